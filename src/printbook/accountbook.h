#pragma once

#include "ledger/amount.h"
#include "ledger/categorylist.h"
#include "ledger/date.h"

#include <array>
#include <string>
#include <vector>

namespace printbook {

// The printed account book of one accounting month: a header row, one row per entry
// (日付, 費目, 摘要, 支出, 収入, メモ; UTF-8 text), and the 合計 row.
struct AccountBook {
    using Row = std::array<std::string, 6>;
    std::string title;      // "yyyy年mm月度の家計簿" of the label date
    std::vector<Row> rows;  // the header first, the totals last
    ledger::Amount expense;
    ledger::Amount income;
};

// Builds the book from the month's lines in the order ReadPeriodLines delivers them (CP932).
// A line whose category is not in the list, or that has fewer than two fields, becomes a row
// holding only "費目リストにない項目です" in メモ; an amount that is not a number prints 0.
AccountBook BuildAccountBook(const std::vector<std::string>& lines,
                             const ledger::CategoryList& categories, const ledger::Date& label);

}  // namespace printbook
