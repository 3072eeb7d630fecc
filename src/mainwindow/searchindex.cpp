#include "searchindex.h"

#include "ledger/csvline.h"
#include "ledger/textcompare.h"
#include "ledger/textfile.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace mainwindow {

SearchIndex::SearchIndex(std::vector<std::string> lines)
    : blocks_(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end())) {
    lines_.assign(blocks_.begin(), blocks_.end());
}

SearchIndex SearchIndex::Build(const std::filesystem::path& dataFolder) {
    // Sorted as text without regard to case. A line written the usual way starts with eight
    // digits and a comma, where that order is the date's: the date decides first, and only
    // lines of one day are compared as text (the result is the same, much sooner).
    struct Keyed {
        uint32_t date;  // the leading "yyyymmdd,", or kNoDate
        std::string_view line;
    };
    constexpr uint32_t kNoDate = UINT32_MAX;
    SearchIndex index;
    std::vector<Keyed> keyed;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder, ec)) {
        const std::filesystem::path& path = entry.path();
        if (path.extension() != ".csv" || !entry.is_regular_file(ec))
            continue;
        std::optional<std::string> bytes = ledger::ReadWholeFile(path);
        if (!bytes)
            continue;
        index.blocks_.push_back(std::move(*bytes));
        ledger::ForEachLine(index.blocks_.back(), [&](std::string_view line) {
            // A line of the index starts with a whole number of six characters (yyyymm).
            if (!ledger::ParseInt(line.substr(0, 6)).has_value())
                return;
            uint32_t date = line.size() >= 9 && line[8] == ',' ? 0 : kNoDate;
            for (size_t k = 0; date != kNoDate && k < 8; ++k) {
                const char c = line[k];
                date = c >= '0' && c <= '9' ? date * 10 + static_cast<uint32_t>(c - '0') : kNoDate;
            }
            keyed.push_back({date, line});
        });
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.date != kNoDate && b.date != kNoDate) {
            if (a.date != b.date)
                return a.date < b.date;
            return ledger::CompareIgnoreCase(a.line.substr(9), b.line.substr(9)) < 0;
        }
        return ledger::CompareIgnoreCase(a.line, b.line) < 0;
    });
    index.lines_.reserve(keyed.size());
    for (const Keyed& k : keyed)
        index.lines_.push_back(k.line);
    return index;
}

std::optional<size_t> SearchIndex::FindNext(const std::string& text) {
    if (text != lastText_)
        position_ = 0;
    lastText_ = text;
    for (size_t k = position_; k < lines_.size(); ++k) {
        if (lines_[k].find(text) != std::string::npos)
            return k;
    }
    return std::nullopt;
}

std::optional<ledger::Date> SearchIndex::DateOf(size_t line) const {
    const std::string first = ledger::FirstField(lines_.at(line));
    const std::optional<int> number = ledger::ParseInt(first);
    if (!number || first.size() != 8)
        return std::nullopt;
    const ledger::Date date{*number / 10000, *number / 100 % 100, *number % 100};
    if (!date.IsValid())
        return std::nullopt;  // no day to show: matched, but no jump
    return date;
}

std::optional<ledger::Date> SearchIndex::JumpTo(size_t line) {
    std::optional<ledger::Date> date = DateOf(line);
    if (date)
        position_ = line + 1;
    return date;
}

size_t SearchIndex::SameLinesBefore(size_t line) const {
    // Equal lines sort next to each other among the lines of their day.
    size_t count = 0;
    for (size_t k = line; k > 0; --k) {
        if (lines_[k - 1] == lines_[line])
            ++count;
        else if (lines_[k - 1].substr(0, 9) != lines_[line].substr(0, 9))
            break;
    }
    return count;
}

}  // namespace mainwindow
