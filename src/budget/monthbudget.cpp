#include "budget/monthbudget.h"

#include "ledger/categorytotals.h"

namespace budget {

int MonthKey(const ledger::AccountingMonth& span) {
    return span.label.year * 100 + span.label.month;
}

std::optional<ledger::Amount> CategoryBudget::Remaining() const {
    if (!budget)
        return std::nullopt;
    return *budget - spent;
}

const CategoryBudget* MonthBudget::Find(const std::string& name) const {
    for (const CategoryBudget& line : categories) {
        if (line.name == name)
            return &line;
    }
    return nullptr;
}

MonthBudget BudgetOfMonth(const ledger::BudgetBook& budgets, const ledger::CategoryList& categories,
                          int monthKey, const std::function<ledger::Amount(int position)>& spent) {
    MonthBudget month;
    for (int k = 0; k < categories.size(); ++k) {
        if (categories.IsIncome(k))
            continue;
        CategoryBudget line;
        line.name = categories.Name(k);
        line.budget = budgets.For(monthKey, line.name);
        line.spent = spent(k);
        if (line.budget) {
            month.any = true;
            month.totalBudget += *line.budget;
            month.totalRemaining += *line.Remaining();
        }
        month.categories.push_back(std::move(line));
    }
    return month;
}

MonthBudget BudgetOfMonthOf(const ledger::MonthStore& store, const ledger::BudgetBook& budgets,
                            const ledger::CategoryList& categories,
                            const ledger::ClosingDay& closing, const ledger::Date& date) {
    const ledger::AccountingMonth span = ledger::AccountingMonthOf(date, closing);
    std::vector<std::string> lines;
    store.ReadPeriodLines(span.first, span.last, closing.day != 0, lines);
    const std::vector<ledger::Amount> totals =
        ledger::SumByCategory(lines, categories, [](int) { return true; });
    return BudgetOfMonth(budgets, categories, MonthKey(span),
                         [&totals](int k) { return totals[static_cast<size_t>(k)]; });
}

std::optional<ledger::Amount> BudgetLineValue(const ledger::BudgetBook& budgets,
                                              const ledger::CategoryList& categories, int monthKey,
                                              int categoryOrAll) {
    if (categoryOrAll != kAllExpenses) {
        if (categoryOrAll < 0 || categoryOrAll >= categories.size() ||
            categories.IsIncome(categoryOrAll)) {
            return std::nullopt;
        }
        return budgets.For(monthKey, categories.Name(categoryOrAll));
    }
    std::optional<ledger::Amount> total;
    for (int k = 0; k < categories.size(); ++k) {
        if (categories.IsIncome(k))
            continue;
        if (std::optional<ledger::Amount> one = budgets.For(monthKey, categories.Name(k)))
            total = total.value_or(ledger::Amount()) + *one;
    }
    return total;
}

}  // namespace budget
