#pragma once

#include "ledger/accountingmonth.h"
#include "ledger/amount.h"
#include "ledger/budget.h"
#include "ledger/categorylist.h"
#include "ledger/monthfile.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace budget {

// The key of an accounting month in budget.dat: its name's year × 100 + month.
int MonthKey(const ledger::AccountingMonth& span);

// One expense category over an accounting month: what it may spend and what it spent.
struct CategoryBudget {
    std::string name;  // CP932
    std::optional<ledger::Amount> budget;
    ledger::Amount spent;
    // Budget minus spent; nothing without a budget.
    std::optional<ledger::Amount> Remaining() const;
};

// The budgets of an accounting month beside what was spent.
struct MonthBudget {
    std::vector<CategoryBudget> categories;  // the expense categories, in list order
    ledger::Amount totalBudget;              // 予算合計: of the budgeted categories
    ledger::Amount totalRemaining;           // 残り合計: their remainders added, overruns too
    bool any = false;                        // some category has a budget this month

    // The line of a category by name; null when it is no expense category of the list.
    const CategoryBudget* Find(const std::string& name) const;
};

// `spent` gives what the category at a list position spent in the month.
MonthBudget BudgetOfMonth(const ledger::BudgetBook& budgets, const ledger::CategoryList& categories,
                          int monthKey, const std::function<ledger::Amount(int position)>& spent);

// The budgets of the accounting month that holds `date`, from the month files as saved.
// Throws ledger::FileError when a month file exists but cannot be read.
MonthBudget BudgetOfMonthOf(const ledger::MonthStore& store, const ledger::BudgetBook& budgets,
                            const ledger::CategoryList& categories,
                            const ledger::ClosingDay& closing, const ledger::Date& date);

// The sum of the expense categories' budgets in an accounting month (nullopt when none has
// one), or a single category's budget: the month graph's line.
std::optional<ledger::Amount> BudgetLineValue(const ledger::BudgetBook& budgets,
                                              const ledger::CategoryList& categories, int monthKey,
                                              int categoryOrAll);
constexpr int kAllExpenses = -1;

}  // namespace budget
