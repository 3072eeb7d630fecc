#include "budget.h"

#include "csvline.h"
#include "textfile.h"

#include <algorithm>
#include <charconv>

namespace ledger {
namespace {

// "yyyymm" with a month of 1 to 12: an accounting month's name.
std::optional<int> MonthKey(std::string_view text) {
    if (text.size() != 6)
        return std::nullopt;
    int key = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), key);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    const int month = key % 100;
    if (month < 1 || month > 12 || key < 100)
        return std::nullopt;
    return key;
}

}  // namespace

BudgetBook::Line BudgetBook::Parse(std::string raw) {
    Line line;
    const std::vector<std::string> fields = SplitLine(raw);
    line.raw = std::move(raw);
    std::optional<int> key;
    if (fields.size() == 3 && (key = MonthKey(fields[0])) && !fields[1].empty()) {
        if (std::optional<Amount> value = ParseAmount(fields[2])) {
            line.kind = Kind::Month;
            line.yyyymm = *key;
            line.category = fields[1];
            line.amount = fields[2];
            line.value = *value;
        }
    } else if (fields.size() == 2 && !fields[0].empty()) {
        if (std::optional<Amount> value = ParseAmount(fields[1])) {
            line.kind = Kind::Monthly;
            line.category = fields[0];
            line.amount = fields[1];
            line.value = *value;
        }
    }
    return line;
}

BudgetBook BudgetBook::FromLines(const std::vector<std::string>& lines) {
    BudgetBook book;
    book.lines_.reserve(lines.size());
    for (const std::string& raw : lines)
        book.lines_.push_back(Parse(raw));
    return book;
}

BudgetBook BudgetBook::Load(const std::filesystem::path& path) {
    return FromLines(ReadLines(path));
}

void BudgetBook::Save(const std::filesystem::path& path) const {
    WriteLinesAtomic(path, Lines());
}

std::vector<std::string> BudgetBook::Lines() const {
    std::vector<std::string> out;
    out.reserve(lines_.size());
    for (const Line& line : lines_) {
        if (!line.raw.empty() || line.kind == Kind::Other) {
            out.push_back(line.raw);
        } else if (line.kind == Kind::Monthly) {
            out.push_back(JoinLine({line.category, line.amount}));
        } else {
            out.push_back(JoinLine({std::to_string(line.yyyymm), line.category, line.amount}));
        }
    }
    return out;
}

bool BudgetBook::Empty() const {
    return std::none_of(lines_.begin(), lines_.end(),
                        [](const Line& line) { return line.kind != Kind::Other; });
}

const BudgetBook::Line* BudgetBook::Find(Kind kind, int yyyymm, std::string_view category) const {
    for (const Line& line : lines_) {
        if (line.kind == kind && line.category == category &&
            (kind != Kind::Month || line.yyyymm == yyyymm)) {
            return &line;
        }
    }
    return nullptr;
}

std::optional<std::string> BudgetBook::MonthlyText(std::string_view category) const {
    const Line* line = Find(Kind::Monthly, 0, category);
    return line ? std::optional<std::string>(line->amount) : std::nullopt;
}

std::optional<std::string> BudgetBook::MonthText(int yyyymm, std::string_view category) const {
    const Line* line = Find(Kind::Month, yyyymm, category);
    return line ? std::optional<std::string>(line->amount) : std::nullopt;
}

std::optional<Amount> BudgetBook::For(int yyyymm, std::string_view category) const {
    if (const Line* own = Find(Kind::Month, yyyymm, category))
        return own->value;
    if (const Line* monthly = Find(Kind::Monthly, 0, category))
        return monthly->value;
    return std::nullopt;
}

void BudgetBook::Set(Kind kind, int yyyymm, const std::string& category,
                     const std::optional<std::string>& amount) {
    const std::optional<Amount> value = amount ? ParseAmount(*amount) : std::nullopt;
    bool placed = false;
    auto matches = [&](const Line& line) {
        return line.kind == kind && line.category == category &&
               (kind != Kind::Month || line.yyyymm == yyyymm);
    };
    for (auto it = lines_.begin(); it != lines_.end();) {
        if (!matches(*it)) {
            ++it;
            continue;
        }
        if (placed || !value) {
            it = lines_.erase(it);
            continue;
        }
        if (it->amount != *amount) {
            it->raw.clear();
            it->amount = *amount;
            it->value = *value;
        }
        placed = true;
        ++it;
    }
    if (!placed && value) {
        Line line;
        line.kind = kind;
        line.yyyymm = kind == Kind::Month ? yyyymm : 0;
        line.category = category;
        line.amount = *amount;
        line.value = *value;
        lines_.push_back(std::move(line));
    }
}

void BudgetBook::SetMonthly(const std::string& category, const std::optional<std::string>& amount) {
    Set(Kind::Monthly, 0, category, amount);
}

void BudgetBook::SetMonth(int yyyymm, const std::string& category,
                          const std::optional<std::string>& amount) {
    Set(Kind::Month, yyyymm, category, amount);
}

void BudgetBook::ApplyCategoryChanges(const std::map<std::string, std::string>& renamed,
                                      const std::set<std::string>& removed) {
    std::erase_if(lines_, [&](const Line& line) {
        return line.kind != Kind::Other && removed.count(line.category) != 0;
    });
    for (Line& line : lines_) {
        if (line.kind == Kind::Other)
            continue;
        const auto found = renamed.find(line.category);
        if (found != renamed.end() && found->second != line.category) {
            line.category = found->second;
            line.raw.clear();
        }
    }
}

}  // namespace ledger
