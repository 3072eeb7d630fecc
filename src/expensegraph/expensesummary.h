#pragma once

#include "ledger/accountingmonth.h"
#include "ledger/amount.h"
#include "ledger/categorylist.h"
#include "ledger/monthfile.h"

#include <string>
#include <vector>

namespace expensegraph {

// One expense category's total over an accounting month, rounded to two decimals.
struct ExpenseEntry {
    std::string name;  // as in the category list (CP932)
    ledger::Amount total;
};

// Where the money of one accounting month went: every expense category of the list, in
// ascending order of total (equal totals in list order), the month's income, and the span.
struct ExpenseSummary {
    std::vector<ExpenseEntry> entries;  // ExpenseSummary
    ledger::Amount income;              // SummaryIncome
    ledger::Date first;                 // spanFirst
    ledger::Date last;                  // spanLast

    ledger::Amount TotalExpense() const;
};

// Sums the month files over the accounting month of `date`: a line counts when its date
// field is an integer inside the span and its category field names a category exactly.
// Throws ledger::FileError when a month file exists but cannot be read.
ExpenseSummary BuildExpenseSummary(const ledger::MonthStore& store,
                                   const ledger::CategoryList& categories,
                                   const ledger::ClosingDay& closing, const ledger::Date& date);

}  // namespace expensegraph
