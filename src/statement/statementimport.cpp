#include "statement/statementimport.h"

#include "ledger/cp932.h"
#include "ledger/csvline.h"
#include "ledger/fileerror.h"
#include "ledger/textcompare.h"
#include "ledger/textfile.h"
#include "statement/statementforms.h"

#include <algorithm>
#include <charconv>
#include <functional>

namespace statement {
namespace {

std::string Trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

const std::string& CellOf(const std::vector<std::string>& row, int column) {
    static const std::string kEmpty;
    return column >= 0 && static_cast<size_t>(column) < row.size()
               ? row[static_cast<size_t>(column)]
               : kEmpty;
}

bool Contains(const std::string& text, std::initializer_list<const char*> words) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::any_of(words.begin(), words.end(),
                       [&](const char* word) { return lower.find(word) != std::string::npos; });
}

std::string Absolute(const std::string& plain) {
    return !plain.empty() && plain.front() == '-' ? plain.substr(1) : plain;
}

int Number(std::string_view text, int fallback) {
    int n = fallback;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    return error == std::errc() && end == text.data() + text.size() ? n : fallback;
}

void ForEachMonthLine(const ledger::MonthStore& store, const ledger::Date& first,
                      const ledger::Date& last,
                      const std::function<void(const std::vector<std::string>&)>& f) {
    std::vector<std::string> fields;
    for (ledger::Date m{first.year, first.month, 1}; m <= last; m = m.AddMonths(1)) {
        const std::optional<std::string> bytes = ledger::ReadWholeFile(store.MonthFilePath(m));
        if (!bytes)
            continue;
        ledger::ForEachLine(*bytes, [&](std::string_view line) {
            ledger::SplitLineInto(line, fields, 5);
            if (fields.size() >= 4)
                f(fields);
        });
    }
}

}  // namespace

ColumnMapping GuessMapping(const StatementTable& table, const ledger::CategoryList& categories) {
    ColumnMapping m;
    if (table.header) {
        for (int c = 0; c < static_cast<int>(table.headerCells.size()); ++c) {
            const std::string word = Trimmed(table.headerCells[static_cast<size_t>(c)]);
            auto take = [&](int& role) {
                if (role < 0)
                    role = c;
            };
            if (Contains(word, {"残高", "balance"}))
                continue;
            if (Contains(word, {"日付", "利用日", "取引日", "年月日", "date"}))
                take(m.date);
            else if (Contains(word, {"費目"}))
                take(m.category);
            else if (Contains(word, {"出金", "お支払", "支払金額", "引出", "withdraw"}))
                take(m.withdrawal);
            else if (Contains(word, {"入金", "お預り", "預入", "預り", "deposit"}))
                take(m.deposit);
            else if (Contains(word, {"金額", "amount"}))
                take(m.amount);
            else if (Contains(word, {"摘要", "利用店", "店名", "内容", "description", "payee"}))
                take(m.description);
            else if (Contains(word, {"メモ", "備考", "memo"}))
                m.memo.push_back(c);
        }
        return m;
    }
    if (table.rows.empty())
        return m;
    const std::vector<std::string>& first = table.rows.front();
    // The program's own export: yyyymmdd, a listed category, description, amounts, memo.
    const std::string firstCategory = [&] {
        try {
            return ledger::ToCp932(CellOf(first, 1));
        } catch (const ledger::Cp932Error&) {
            return std::string();
        }
    }();
    if (first.size() >= 4 && ledger::ParseYyyymmdd(Trimmed(CellOf(first, 0))) &&
        categories.CategoryIndex(firstCategory) >= 0) {
        m.date = 0;
        m.category = 1;
        m.description = 2;
        if (table.columns >= 6) {
            m.withdrawal = 3;
            m.deposit = 4;
            m.memo = {5};
        } else {
            m.amount = 3;
            m.memo = {4};
        }
        return m;
    }
    // Else: the first date, the first amount after it, the first text that is neither.
    for (int c = 0; c < static_cast<int>(first.size()); ++c) {
        const std::string& cell = first[static_cast<size_t>(c)];
        if (m.date < 0 && ParseStatementDate(cell)) {
            m.date = c;
        } else if (m.date >= 0 && m.amount < 0 && ParseStatementAmount(cell)) {
            m.amount = c;
        } else if (m.description < 0 && !Trimmed(cell).empty() && !ParseStatementAmount(cell)) {
            m.description = c;
        }
    }
    return m;
}

bool CategoryHistory::Folded::operator()(const std::string& a, const std::string& b) const {
    return ledger::CompareIgnoreCase(a, b) < 0;
}

CategoryHistory CategoryHistory::FromBook(const ledger::MonthStore& store,
                                          const ledger::CategoryList& categories,
                                          const ledger::Date& today) {
    CategoryHistory history;
    std::map<std::string, int> positions;
    for (int k = 0; k < categories.size(); ++k)
        positions.emplace(categories.Name(k), k);
    ForEachMonthLine(store, today.AddMonths(-36), today, [&](const std::vector<std::string>& f) {
        const auto found = positions.find(f[1]);
        const std::optional<ledger::Date> date = ledger::ParseYyyymmdd(f[0]);
        if (found != positions.end() && date && !f[2].empty())
            history.Add(f[2], found->second, *date);
    });
    return history;
}

void CategoryHistory::Add(const std::string& description, int category, const ledger::Date& date) {
    Use& use = uses_[description][category];
    ++use.count;
    use.last = std::max(use.last, date);
}

std::optional<int> CategoryHistory::Propose(const std::string& description, bool income,
                                            const ledger::CategoryList& categories) const {
    const auto found = uses_.find(description);
    if (found == uses_.end())
        return std::nullopt;
    std::optional<int> best;
    Use bestUse;
    for (const auto& [category, use] : found->second) {
        if (category >= categories.size() || categories.IsIncome(category) != income)
            continue;
        if (!best || use.count > bestUse.count ||
            (use.count == bestUse.count && use.last > bestUse.last)) {
            best = category;
            bestUse = use;
        }
    }
    return best;
}

bool KnownRows::Less::operator()(const std::tuple<int, int64_t, std::string>& a,
                                 const std::tuple<int, int64_t, std::string>& b) const {
    if (std::get<0>(a) != std::get<0>(b))
        return std::get<0>(a) < std::get<0>(b);
    if (std::get<1>(a) != std::get<1>(b))
        return std::get<1>(a) < std::get<1>(b);
    return ledger::CompareIgnoreCase(std::get<2>(a), std::get<2>(b)) < 0;
}

void KnownRows::Add(const ledger::Date& date, ledger::Amount amount,
                    const std::string& description) {
    rows_.emplace(ledger::DateNumber(date), amount.Abs().raw(), description);
}

bool KnownRows::Contains(const ledger::Date& date, ledger::Amount amount,
                         const std::string& description) const {
    return rows_.count({ledger::DateNumber(date), amount.Abs().raw(), description}) != 0;
}

void KnownRows::AddBook(const ledger::MonthStore& store, const ledger::Date& first,
                        const ledger::Date& last) {
    ForEachMonthLine(store, first, last, [&](const std::vector<std::string>& f) {
        if (const std::optional<ledger::Date> date = ledger::ParseYyyymmdd(f[0]))
            Add(*date, ledger::AmountOrZero(f[3]), f[2]);
    });
}

Preview BuildPreview(const StatementTable& table, const ColumnMapping& mapping,
                     const ledger::CategoryList& categories, const CategoryHistory& history,
                     const KnownRows& known, const Defaults& defaults) {
    Preview preview;
    preview.rows.reserve(table.rows.size());
    for (size_t k = 0; k < table.rows.size(); ++k) {
        const std::vector<std::string>& cells = table.rows[k];
        const int line = table.lineNumbers[k];
        auto refuse = [&](const char* reason) { preview.unreadable.push_back({line, reason}); };
        const std::optional<ledger::Date> date = ParseStatementDate(CellOf(cells, mapping.date));
        if (!date) {
            refuse("日付を読めません");
            continue;
        }
        std::optional<std::string> amount;
        bool income = false;
        if (mapping.amount >= 0) {
            amount = ParseStatementAmount(CellOf(cells, mapping.amount));
            if (amount) {
                const bool negative = amount->front() == '-';
                income = mapping.positiveIsExpense ? negative : !negative;
                if (ledger::AmountOrZero(*amount) == ledger::Amount())
                    income = false;
            }
        } else {
            const std::optional<std::string> out =
                ParseStatementAmount(CellOf(cells, mapping.withdrawal));
            const std::optional<std::string> in =
                ParseStatementAmount(CellOf(cells, mapping.deposit));
            if (out && ledger::AmountOrZero(*out) != ledger::Amount()) {
                amount = out;
            } else if (in && ledger::AmountOrZero(*in) != ledger::Amount()) {
                amount = in;
                income = true;
            }
        }
        if (!amount) {
            refuse("金額を読めません");
            continue;
        }
        PreviewRow row;
        row.line = line;
        row.date = *date;
        row.amount = Absolute(*amount);
        try {
            row.description = ledger::ToCp932(Trimmed(CellOf(cells, mapping.description)));
            std::string memo;
            for (int column : mapping.memo) {
                const std::string part = Trimmed(CellOf(cells, column));
                if (!part.empty())
                    memo += (memo.empty() ? "" : " ") + part;
            }
            row.memo = ledger::ToCp932(memo);
            int category = -1;
            if (mapping.category >= 0) {
                category = categories.ExactIndex(
                    ledger::ToCp932(Trimmed(CellOf(cells, mapping.category))));
                if (category >= 0)
                    income = categories.IsIncome(category);
            }
            if (category < 0)
                category = history.Propose(row.description, income, categories)
                               .value_or(income ? defaults.income : defaults.expense);
            if (category >= 0 && category < categories.size())
                row.category = categories.Name(category);
        } catch (const ledger::Cp932Error&) {
            refuse("Shift-JISで書けない文字があります");
            continue;
        }
        row.duplicate = known.Contains(row.date, ledger::AmountOrZero(row.amount), row.description);
        row.checked = !row.duplicate && !row.category.empty();
        preview.rows.push_back(std::move(row));
    }
    return preview;
}

std::optional<std::pair<ledger::Date, ledger::Date>> SpanOf(const StatementTable& table,
                                                            const ColumnMapping& mapping) {
    std::optional<std::pair<ledger::Date, ledger::Date>> span;
    for (const std::vector<std::string>& cells : table.rows) {
        if (const std::optional<ledger::Date> d = ParseStatementDate(CellOf(cells, mapping.date))) {
            if (!span)
                span = std::pair{*d, *d};
            span->first = std::min(span->first, *d);
            span->second = std::max(span->second, *d);
        }
    }
    return span;
}

ImportBook ImportBook::Load(const std::filesystem::path& path) {
    ImportBook book;
    book.lines_ = ledger::ReadLines(path);
    return book;
}

void ImportBook::Save(const std::filesystem::path& path) const {
    ledger::WriteLinesAtomic(path, lines_);
}

std::string ImportBook::KeyOf(const StatementTable& table) {
    std::string key;
    if (!table.header)
        return "columns:" + std::to_string(table.columns);
    for (const std::string& cell : table.headerCells)
        key += Trimmed(cell) + "\t";
    try {
        return ledger::ToCp932(key);
    } catch (const ledger::Cp932Error&) {
        return {};  // not remembered
    }
}

std::optional<ImportBook::Remembered> ImportBook::Find(const std::string& key) const {
    if (key.empty())
        return std::nullopt;
    for (const std::string& line : lines_) {
        const std::vector<std::string> f = ledger::SplitLine(line);
        if (f.size() < 14 || f[0] != "map" || f[1] != key)
            continue;
        Remembered r;
        r.encoding = static_cast<Encoding>(std::clamp(Number(f[2], 0), 0, 3));
        r.separator = static_cast<Separator>(std::clamp(Number(f[3], 0), 0, 2));
        r.mapping.date = Number(f[4], -1);
        r.mapping.description = Number(f[5], -1);
        r.mapping.amount = Number(f[6], -1);
        r.mapping.withdrawal = Number(f[7], -1);
        r.mapping.deposit = Number(f[8], -1);
        r.mapping.category = Number(f[9], -1);
        std::string_view memo = f[10];
        while (!memo.empty()) {
            const size_t semicolon = memo.find(';');
            const int column = Number(memo.substr(0, semicolon), -1);
            if (column >= 0)
                r.mapping.memo.push_back(column);
            memo = semicolon == std::string_view::npos ? std::string_view()
                                                       : memo.substr(semicolon + 1);
        }
        r.mapping.positiveIsExpense = f[11] != "0";
        r.defaults.expense = Number(f[12], -1);
        r.defaults.income = Number(f[13], -1);
        return r;
    }
    return std::nullopt;
}

void ImportBook::Remember(const std::string& key, const Remembered& r) {
    if (key.empty())
        return;
    std::string memo;
    for (int column : r.mapping.memo)
        memo += (memo.empty() ? "" : ";") + std::to_string(column);
    const std::string line =
        ledger::JoinLine({"map", key, std::to_string(static_cast<int>(r.encoding)),
                          std::to_string(static_cast<int>(r.separator)),
                          std::to_string(r.mapping.date), std::to_string(r.mapping.description),
                          std::to_string(r.mapping.amount), std::to_string(r.mapping.withdrawal),
                          std::to_string(r.mapping.deposit), std::to_string(r.mapping.category),
                          memo.empty() ? "-" : memo, r.mapping.positiveIsExpense ? "1" : "0",
                          std::to_string(r.defaults.expense), std::to_string(r.defaults.income)});
    for (std::string& existing : lines_) {
        const std::vector<std::string> f = ledger::SplitLine(existing);
        if (f.size() >= 2 && f[0] == "map" && f[1] == key) {
            existing = line;
            return;
        }
    }
    lines_.insert(lines_.begin(), line);
}

void ImportBook::AddImported(const PreviewRow& row) {
    lines_.push_back(
        ledger::JoinLine({"done", ledger::Yyyymmdd(row.date), row.amount, row.description}));
}

void ImportBook::AddTo(KnownRows& known) const {
    for (const std::string& line : lines_) {
        const std::vector<std::string> f = ledger::SplitLine(line);
        if (f.size() < 3 || f[0] != "done")
            continue;
        if (const std::optional<ledger::Date> date = ledger::ParseYyyymmdd(f[1]))
            known.Add(*date, ledger::AmountOrZero(f[2]), f.size() > 3 ? f[3] : std::string());
    }
}

ImportResult ImportRows(const ledger::MonthStore& store, const Preview& preview, ImportBook& book) {
    ImportResult result;
    result.unreadable = static_cast<int>(preview.unreadable.size());
    std::map<ledger::Date, std::vector<const PreviewRow*>> days;
    for (const PreviewRow& row : preview.rows) {
        if (row.checked && !row.category.empty())
            days[row.date].push_back(&row);
        else if (row.duplicate)
            ++result.duplicatesSkipped;
        else
            ++result.notChosen;
    }
    std::map<ledger::Date, std::vector<ledger::DayRow>> cells;
    for (const auto& [date, rows] : days) {
        for (const PreviewRow* row : rows)
            cells[date].push_back({row->category, row->description, row->amount, row->memo});
    }
    // A month file at a time: one durable write holds every day of the month.
    result.imported = store.AppendToDays(cells, false);
    for (const auto& [date, rows] : days) {
        for (const PreviewRow* row : rows)
            book.AddImported(*row);
    }
    return result;
}

}  // namespace statement
