#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "amount.h"
#include "categorylist.h"
#include "date.h"
#include "textfile.h"

namespace ledger {

// One entry of a day without its date: 費目, 摘要, 金額, メモ, as CP932 bytes.
using DayRow = std::array<std::string, 4>;

// A day's entry with the line it was read from. A row nobody changed is written back as
// that line, byte for byte: lines written by other tools (an unquoted blank inside a
// description, a sixth field) would not come back the same through the comma rules.
struct DayEntry {
    DayRow cells;
    // The line as read; empty for a row made or changed on the page.
    std::string line;
};

// The line a day's entry is written as (`dayKey` is its "yyyymmdd"): the line as read, or
// one joined from its cells; nullopt for a row without a category or an amount, which is
// not written.
std::optional<std::string> EntryLine(const std::string& dayKey, const DayEntry& entry);

// A month file's bytes, read and written a day at a time (MonthStore is the file around
// these). The entries of the day `dayKey` ("yyyymmdd") in the order of the lines.
std::vector<DayEntry> DayEntriesIn(std::string_view monthBytes, const std::string& dayKey);
// The month file's new bytes with the day's lines replaced by `entries` at the end (see
// MonthStore::SaveDayEntries); nullopt when the bytes already hold exactly those lines for
// the day, so that nothing needs writing.
std::optional<std::string> ReplaceDayLines(std::string_view monthBytes, const std::string& dayKey,
                                           const std::vector<DayEntry>& entries);

// The month ledger files of a data folder: one file "yyyymm.csv" per calendar month, one
// line "yyyymmdd,category,description,amount,memo" per entry, grouped by day in the order
// the days were last saved. Every operation reads the file whole and writes it whole.
class MonthStore {
public:
    explicit MonthStore(std::filesystem::path dataFolder, SyncMode sync = SyncMode::Durable);

    const std::filesystem::path& dataFolder() const { return dataFolder_; }

    // data folder / "yyyymm.csv" of the date's calendar month.
    std::filesystem::path MonthFilePath(const Date& date) const;

    // The entries of that day in file order; empty when the month file does not exist.
    std::vector<DayEntry> LoadDayEntries(const Date& date) const;
    // Same, cells only.
    std::vector<DayRow> LoadDayRows(const Date& date) const;

    // Replaces the day's lines by `entries`, appended at the end of the file: an entry that
    // carries its line as read is written as that line; others are joined from their cells,
    // and left out when they lack a category or an amount. Writes the file even when no line
    // remains; a file that already holds exactly those lines for the day is left as it is.
    // Throws FileError; the file is then unchanged.
    void SaveDayEntries(const Date& date, const std::vector<DayEntry>& entries) const;
    // Same, for rows made from cells only.
    void SaveDayRows(const Date& date, const std::vector<DayRow>& rows) const;
    // Appends rows to the day's entries and saves the day once (every row that came from
    // elsewhere: the network import, recurring entries). With skipIdentical a row whose
    // four cells equal an entry the day already held is not added again, so that a merge run
    // twice adds nothing the second time; each entry held matches one row at most, so that
    // two equal rows given are two entries (two coffees). Returns how many
    // were added. Throws FileError; the file is then unchanged.
    int AppendToDay(const Date& date, const std::vector<DayRow>& rows, bool skipIdentical) const;
    // The same for many days at once, each month file read and written once (atomically,
    // durably): the bytes are those of AppendToDay day after day in date order. A month
    // that cannot be written throws FileError; the months before it stay written.
    int AppendToDays(const std::map<Date, std::vector<DayRow>>& days, bool skipIdentical) const;

    // Appends to `lines` the lines of the days first to last in date order. With
    // closingDaySet the month file of `last` is read as well, and lines outside the span
    // are dropped.
    void ReadPeriodLines(const Date& first, const Date& last, bool closingDaySet,
                         std::vector<std::string>& lines) const;

    // The balance of the lines dated first to last: incomes added (left out when
    // expenseOnly), expenses subtracted, lines of unknown categories skipped.
    // `amountField` is the index of the amount among the split fields.
    Amount SumPeriod(const Date& first, const Date& last, int amountField, bool expenseOnly,
                     const CategoryList& categories) const;

private:
    std::filesystem::path dataFolder_;
    SyncMode sync_;
};

}  // namespace ledger
