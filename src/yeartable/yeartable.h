#pragma once

#include "ledger/accountingmonth.h"
#include "ledger/amount.h"
#include "ledger/categorylist.h"
#include "ledger/date.h"
#include "ledger/monthfile.h"
#include "yeargraph/monthtally.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace yeartable {

// One row of the year table: twelve accounting months, their sum and their average.
struct YearRow {
    enum class Kind { Category, ExpenseTotal, IncomeTotal, Balance, Unlisted };
    Kind kind = Kind::Category;
    int category = -1;    // the list position of a category row
    std::string caption;  // CP932
    std::array<ledger::Amount, 12> months{};
    ledger::Amount total;
    ledger::Amount average;
};

// 年間収支表: every expense category in list order, 支出合計, every income category, 収入合計,
// 収支, and the entries of no listed category, over the twelve accounting months of a year.
struct YearTable {
    int year = 0;
    std::array<std::string, 12> monthCaptions;  // CP932: "1月度", or "1月" without a closing day
    std::vector<YearRow> rows;
    std::array<ledger::AccountingMonth, 12> spans{};
    int averagedMonths = 12;  // what 月平均 divides by

    // The column captions after the row captions: the months, 合計, 月平均 (CP932).
    std::vector<std::string> ColumnCaptions() const;
    // A cell's amount; column 0 to 11 a month, 12 the total, 13 the average.
    ledger::Amount Cell(int row, int column) const;
};

constexpr int kColumns = 14;  // twelve months, 合計, 月平均

// The table from the year's tally (the month graph's own). The average divides by twelve,
// or, for the year that holds `today`, by the accounting months begun by then.
YearTable BuildYearTable(const yeargraph::MonthTally& tally, const ledger::CategoryList& categories,
                         const ledger::ClosingDay& closing, const ledger::Date& today);

// The table as a spreadsheet reads it: CP932, CR LF, a header row, then one row per table row;
// amounts rounded to whole yen as shown, without separators, negatives with a minus sign.
std::string YearTableCsv(const YearTable& table);

// Where an entry lies on the day page: its day and its row among that day's entries.
struct EntryPlace {
    ledger::Date day;
    int row = 0;
};

// The first entry, in date order, that counts towards a cell: a category's own entries, any
// expense or income of the list for the totals, any listed entry for 収支, an unlisted one for
// its row; over the column's month, or the year for 合計 and 月平均. nullopt when there is
// none. Throws ledger::FileError when a month file exists but cannot be read.
std::optional<EntryPlace> FirstEntryOf(const ledger::MonthStore& store,
                                       const ledger::CategoryList& categories,
                                       const ledger::ClosingDay& closing, const YearTable& table,
                                       int row, int column);

}  // namespace yeartable
