#include "monthfile.h"

#include "csvline.h"
#include "textcompare.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace ledger {
namespace {

// Whether the line's first field is `key` (eight digits).
bool FirstFieldIs(std::string_view line, std::string_view key, std::string& scratch) {
    if (StartsWithPlainDate(line))
        return line.substr(0, 8) == key;
    return FirstFieldView(line, scratch) == key;
}

// The line's first field as an integer, as the span readers compare dates.
std::optional<int> LineDate(std::string_view line, std::string& scratch) {
    if (StartsWithPlainDate(line)) {
        int n = 0;
        for (size_t k = 0; k < 8; ++k)
            n = n * 10 + (line[k] - '0');
        return n;
    }
    return ParseInt(FirstFieldView(line, scratch));
}

// Whether `text` (lines each ended by CR LF) holds exactly `lines`.
bool SameLines(const std::vector<std::string_view>& lines, std::string_view text) {
    size_t at = 0;
    for (std::string_view line : lines) {
        if (text.substr(at, line.size()) != line || text.substr(at + line.size(), 2) != "\r\n")
            return false;
        at += line.size() + 2;
    }
    return at == text.size();
}

}  // namespace

MonthStore::MonthStore(std::filesystem::path dataFolder, SyncMode sync)
    : dataFolder_(std::move(dataFolder)), sync_(sync) {}

std::filesystem::path MonthStore::MonthFilePath(const Date& date) const {
    return dataFolder_ / (Yyyymm(date) + ".csv");
}

std::vector<DayEntry> DayEntriesIn(std::string_view monthBytes, const std::string& dayKey) {
    std::vector<DayEntry> entries;
    std::string scratch;
    std::vector<std::string> fields;
    ForEachLine(monthBytes, [&](std::string_view line) {
        if (!FirstFieldIs(line, dayKey, scratch))
            return;
        SplitLineInto(line, fields);
        DayEntry entry;
        for (size_t k = 0; k < entry.cells.size() && k + 1 < fields.size(); ++k)
            entry.cells[k] = fields[k + 1];
        entry.line = line;
        entries.push_back(std::move(entry));
    });
    return entries;
}

std::optional<std::string> ReplaceDayLines(std::string_view monthBytes, const std::string& dayKey,
                                           const std::vector<DayEntry>& entries) {
    std::string scratch;
    std::vector<std::string_view> oldDay;
    ForEachLine(monthBytes, [&](std::string_view line) {
        if (FirstFieldIs(line, dayKey, scratch))
            oldDay.push_back(line);
    });
    std::string dayLines;
    for (const DayEntry& entry : entries) {
        if (std::optional<std::string> line = EntryLine(dayKey, entry))
            dayLines.append(*line).append("\r\n");
    }
    // A day whose lines the file already holds, the same and in the same order, is not
    // written again: leaving a page that was only looked at costs no write and no wait for
    // the disk. (Written, the day's lines would move to the end of the file; where they
    // stand changes nothing for any reader.)
    if (SameLines(oldDay, dayLines))
        return std::nullopt;
    std::string bytes;
    bytes.reserve(monthBytes.size() + dayLines.size());
    ForEachLine(monthBytes, [&](std::string_view line) {
        if (!FirstFieldIs(line, dayKey, scratch))
            bytes.append(line).append("\r\n");
    });
    bytes += dayLines;
    return bytes;
}

std::vector<DayEntry> MonthStore::LoadDayEntries(const Date& date) const {
    std::optional<std::string> bytes = ReadWholeFile(MonthFilePath(date));
    if (!bytes)
        return {};
    return DayEntriesIn(*bytes, Yyyymmdd(date));
}

std::vector<DayRow> MonthStore::LoadDayRows(const Date& date) const {
    std::vector<DayRow> rows;
    for (DayEntry& entry : LoadDayEntries(date))
        rows.push_back(std::move(entry.cells));
    return rows;
}

void MonthStore::SaveDayRows(const Date& date, const std::vector<DayRow>& rows) const {
    std::vector<DayEntry> entries;
    entries.reserve(rows.size());
    for (const DayRow& row : rows)
        entries.push_back({row, {}});
    SaveDayEntries(date, entries);
}

std::optional<std::string> EntryLine(const std::string& dayKey, const DayEntry& entry) {
    if (!entry.line.empty())
        return entry.line;
    const DayRow& row = entry.cells;
    if (row[0].empty() || row[2].empty())
        return std::nullopt;
    return JoinLine({dayKey, row[0], row[1], row[2], row[3]});
}

int MonthStore::AppendToDay(const Date& date, const std::vector<DayRow>& rows,
                            bool skipIdentical) const {
    std::vector<DayEntry> day = LoadDayEntries(date);
    // Each row the day held matches one identical row at most: two equal rows received
    // (two coffees of the same price) stand for two entries, and only as many as the day
    // already holds are taken as already there.
    const size_t before = day.size();
    std::vector<bool> matched(before, false);
    int added = 0;
    for (const DayRow& row : rows) {
        if (skipIdentical) {
            size_t k = 0;
            while (k < before && (matched[k] || day[k].cells != row))
                ++k;
            if (k < before) {
                matched[k] = true;
                continue;
            }
        }
        day.push_back(DayEntry{row, {}});
        ++added;
    }
    if (added > 0)
        SaveDayEntries(date, day);
    return added;
}

int MonthStore::AppendToDays(const std::map<Date, std::vector<DayRow>>& days,
                             bool skipIdentical) const {
    int added = 0;
    std::string scratch;
    std::vector<std::string> fields;
    for (auto first = days.begin(); first != days.end();) {
        auto end = first;
        while (end != days.end() && end->first.year == first->first.year &&
               end->first.month == first->first.month) {
            ++end;
        }
        // The month's other lines stay where they are; each day named moves to the end with
        // its rows after its old lines, in date order.
        std::map<std::string, std::vector<std::string_view>> dayLines;
        for (auto it = first; it != end; ++it)
            dayLines[Yyyymmdd(it->first)];
        const std::filesystem::path path = MonthFilePath(first->first);
        const std::optional<std::string> old = ReadWholeFile(path);
        std::string bytes;
        bytes.reserve(old ? old->size() + 4096 : 4096);
        if (old) {
            ForEachLine(*old, [&](std::string_view line) {
                const std::string_view key =
                    StartsWithPlainDate(line) ? line.substr(0, 8) : FirstFieldView(line, scratch);
                const auto found = dayLines.find(std::string(key));
                if (found != dayLines.end())
                    found->second.push_back(line);
                else
                    bytes.append(line).append("\r\n");
            });
        }
        int monthAdded = 0;
        for (auto it = first; it != end; ++it) {
            const std::string key = Yyyymmdd(it->first);
            std::vector<DayRow> present;
            for (std::string_view line : dayLines[key]) {
                bytes.append(line).append("\r\n");
                if (skipIdentical) {
                    SplitLineInto(line, fields);
                    DayRow cells;
                    for (size_t k = 0; k < cells.size() && k + 1 < fields.size(); ++k)
                        cells[k] = fields[k + 1];
                    present.push_back(std::move(cells));
                }
            }
            // As in AppendToDay: each row the day held matches one identical row at most.
            std::vector<bool> matched(present.size(), false);
            for (const DayRow& row : it->second) {
                if (skipIdentical) {
                    size_t k = 0;
                    while (k < present.size() && (matched[k] || present[k] != row))
                        ++k;
                    if (k < present.size()) {
                        matched[k] = true;
                        continue;
                    }
                }
                const std::optional<std::string> line = EntryLine(key, DayEntry{row, {}});
                if (!line)
                    continue;
                bytes.append(*line).append("\r\n");
                ++monthAdded;
            }
        }
        if (monthAdded > 0)
            WriteFileAtomic(path, bytes, sync_);
        added += monthAdded;
        first = end;
    }
    return added;
}

void MonthStore::SaveDayEntries(const Date& date, const std::vector<DayEntry>& entries) const {
    const std::filesystem::path path = MonthFilePath(date);
    const std::optional<std::string> old = ReadWholeFile(path);
    // A month without a file gets one, even with no line in it.
    const std::optional<std::string> bytes =
        ReplaceDayLines(old ? *old : std::string_view(), Yyyymmdd(date), entries);
    if (bytes || !old)
        WriteFileAtomic(path, bytes ? *bytes : std::string_view(), sync_);
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
    for (const std::string& line : working) {
        keys.push_back(StartsWithPlainDate(line) ? line.substr(0, 8) : FirstField(line));
    }

    if (closingDaySet) {
        const int from = DateNumber(first);
        const int to = DateNumber(last);
        size_t kept = 0;
        for (size_t k = 0; k < working.size(); ++k) {
            // A line with no field at all stays; it belongs to no day and so forces the
            // sorted fallback below.
            bool keep = HasNoField(working[k]);
            if (!keep) {
                int n = ParseInt(keys[k]).value_or(0);
                keep = n >= from && n <= to;
            }
            if (!keep)
                continue;
            if (kept != k) {
                working[kept] = std::move(working[k]);
                keys[kept] = std::move(keys[k]);
            }
            ++kept;
        }
        working.resize(kept);
        keys.resize(kept);
    }

    // Date order: the days first, first + 1, ... first + 32 in turn, each day's lines in
    // file order. Lines whose first field is none of those days are counted out.
    std::vector<std::string> dayKeys;
    for (int offset = 0; offset <= 32; ++offset)
        dayKeys.push_back(Yyyymmdd(first.AddDays(offset)));
    std::vector<std::vector<size_t>> byDay(dayKeys.size());
    size_t placed = 0;
    for (size_t k = 0; k < working.size(); ++k) {
        auto it = std::lower_bound(dayKeys.begin(), dayKeys.end(), keys[k]);
        if (it == dayKeys.end() || *it != keys[k])
            continue;
        byDay[static_cast<size_t>(it - dayKeys.begin())].push_back(k);
        ++placed;
    }
    if (placed == working.size()) {
        lines.reserve(lines.size() + working.size());
        for (const std::vector<size_t>& day : byDay) {
            for (size_t k : day)
                lines.push_back(std::move(working[k]));
        }
        return;
    }
    // Some line belongs to no day of the span: deliver everything sorted as text instead.
    std::stable_sort(
        working.begin(), working.end(),
        [](const std::string& a, const std::string& b) { return CompareIgnoreCase(a, b) < 0; });
    lines.insert(lines.end(), working.begin(), working.end());
}

Amount MonthStore::SumPeriod(const Date& first, const Date& last, int amountField, bool expenseOnly,
                             const CategoryList& categories) const {
    const int from = DateNumber(first);
    const int to = DateNumber(last);
    Amount total;
    std::string scratch;
    std::vector<std::string_view> fields;
    // Category names repeat on almost every line: remember each distinct spelling's position,
    // with its first eight bytes as a number, so that a name is told from the others by
    // comparing numbers (category names are seldom longer than four characters).
    struct Seen {
        uint64_t head;
        std::string spelling;
        int index;
    };
    const auto headOf = [](std::string_view name) {
        uint64_t head = 0;
        if (!name.empty())
            std::memcpy(&head, name.data(), std::min<size_t>(8, name.size()));
        return head;
    };
    std::vector<Seen> seen;
    auto categoryIndex = [&](std::string_view name) {
        const uint64_t head = headOf(name);
        for (const Seen& s : seen) {
            if (s.head == head && s.spelling.size() == name.size() &&
                (name.size() <= 8 || std::string_view(s.spelling).substr(8) == name.substr(8)))
                return s.index;
        }
        int index = categories.CategoryIndex(name);
        seen.push_back({head, std::string(name), index});
        return index;
    };
    auto addLine = [&](std::string_view line) {
        std::optional<int> day = LineDate(line, scratch);
        if (!day || *day < from || *day > to)
            return;
        // Fields after the amount (the memo) are not needed.
        SplitLineViews(line, fields, scratch, static_cast<size_t>(std::max(amountField, 1)) + 1);
        int index = fields.size() > 1 ? categoryIndex(fields[1]) : -1;
        if (index < 0)
            return;
        Amount amount = amountField >= 0 && static_cast<size_t>(amountField) < fields.size()
                            ? AmountOrZero(fields[static_cast<size_t>(amountField)])
                            : Amount();
        total += BalanceChange(amount, categories.IsIncome(index), expenseOnly);
    };
    if (std::optional<std::string> bytes = ReadWholeFile(MonthFilePath(first))) {
        ForEachLine(*bytes, addLine);
    }
    // The second month is read only when the two ends differ in month number; its lines
    // count when their date is an integer in the span, as the first month's do.
    if (last.month != first.month) {
        if (std::optional<std::string> bytes = ReadWholeFile(MonthFilePath(last))) {
            ForEachLine(*bytes, addLine);
        }
    }
    return total;
}

}  // namespace ledger
