#include "monthfile.h"

#include "csvline.h"
#include "textcompare.h"

#include <algorithm>

namespace ledger {

MonthStore::MonthStore(std::filesystem::path dataFolder, SyncMode sync)
    : dataFolder_(std::move(dataFolder)), sync_(sync) {}

std::filesystem::path MonthStore::MonthFilePath(const Date& date) const {
    return dataFolder_ / (Yyyymm(date) + ".csv");
}

std::vector<DayRow> MonthStore::LoadDayRows(const Date& date) const {
    std::vector<DayRow> rows;
    const std::string key = Yyyymmdd(date);
    std::vector<std::string> fields;
    for (const std::string& line : ReadLines(MonthFilePath(date))) {
        if (FirstField(line) != key) continue;
        SplitLineInto(line, fields);
        DayRow row;
        for (size_t k = 0; k < row.size() && k + 1 < fields.size(); ++k) row[k] = fields[k + 1];
        rows.push_back(std::move(row));
    }
    return rows;
}

void MonthStore::SaveDayRows(const Date& date, const std::vector<DayRow>& rows) const {
    const std::filesystem::path path = MonthFilePath(date);
    const std::string key = Yyyymmdd(date);
    std::vector<std::string> lines = ReadLines(path);
    std::erase_if(lines, [&](const std::string& line) { return FirstField(line) == key; });
    for (const DayRow& row : rows) {
        if (row[0].empty() || row[2].empty()) continue;
        lines.push_back(JoinLine({key, row[0], row[1], row[2], row[3]}));
    }
    WriteLinesAtomic(path, lines, sync_);
}

void MonthStore::ReadPeriodLines(const Date& first, const Date& last, bool closingDaySet,
                                 std::vector<std::string>& lines) const {
    std::vector<std::string> working = ReadLines(MonthFilePath(first));
    if (closingDaySet && Yyyymm(last) != Yyyymm(first)) {
        std::vector<std::string> more = ReadLines(MonthFilePath(last));
        working.insert(working.end(), std::make_move_iterator(more.begin()),
                       std::make_move_iterator(more.end()));
    }
    std::erase_if(working, [](const std::string& line) { return line.empty(); });

    // Each line's first field, split once.
    std::vector<std::string> keys;
    keys.reserve(working.size());
    for (const std::string& line : working) keys.push_back(FirstField(line));

    if (closingDaySet) {
        const int from = DateNumber(first);
        const int to = DateNumber(last);
        size_t kept = 0;
        for (size_t k = 0; k < working.size(); ++k) {
            // A line with no field at all stays; it belongs to no day and so forces the
            // sorted fallback below.
            bool keep = SplitLine(working[k]).empty();
            if (!keep) {
                int n = ParseInt(keys[k]).value_or(0);
                keep = n >= from && n <= to;
            }
            if (!keep) continue;
            if (kept != k) {
                working[kept] = std::move(working[k]);
                keys[kept] = std::move(keys[k]);
            }
            ++kept;
        }
        working.resize(kept);
        keys.resize(kept);
    }

    // Date order: the days of the span in turn, each day's lines in file order.
    std::vector<size_t> ordered;
    ordered.reserve(working.size());
    for (int offset = 0; offset <= 32; ++offset) {
        const std::string day = Yyyymmdd(first.AddDays(offset));
        for (size_t k = 0; k < working.size(); ++k) {
            if (keys[k] == day) ordered.push_back(k);
        }
    }
    if (ordered.size() == working.size()) {
        for (size_t k : ordered) lines.push_back(working[k]);
        return;
    }
    // Some line belongs to no day of the span: deliver everything sorted as text instead.
    std::stable_sort(working.begin(), working.end(), [](const std::string& a, const std::string& b) {
        return CompareIgnoreCase(a, b) < 0;
    });
    lines.insert(lines.end(), working.begin(), working.end());
}

Amount MonthStore::SumPeriod(const Date& first, const Date& last, int amountField,
                             bool expenseOnly, const CategoryList& categories) const {
    std::vector<std::string> lines = ReadLines(MonthFilePath(first));
    if (last.month != first.month) {
        for (std::string& line : ReadLines(MonthFilePath(last))) {
            if (ParseInt(FirstField(line))) lines.push_back(std::move(line));
        }
    }
    const int from = DateNumber(first);
    const int to = DateNumber(last);
    Amount total;
    std::vector<std::string> fields;
    for (const std::string& line : lines) {
        std::optional<int> day = ParseInt(FirstField(line));
        if (!day || *day < from || *day > to) continue;
        SplitLineInto(line, fields);
        int index = fields.size() > 1 ? categories.CategoryIndex(fields[1]) : -1;
        if (index < 0) continue;
        Amount amount = static_cast<size_t>(amountField) < fields.size()
                            ? AmountOrZero(fields[static_cast<size_t>(amountField)])
                            : Amount();
        if (categories.IsIncome(index)) {
            if (!expenseOnly) total += amount;
        } else {
            total -= amount;
        }
    }
    return total;
}

}  // namespace ledger
