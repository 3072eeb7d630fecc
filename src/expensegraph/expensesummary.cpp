#include "expensegraph/expensesummary.h"

#include "ledger/categorytotals.h"
#include "ledger/date.h"
#include "ledger/numberformat.h"

#include <algorithm>
#include <iterator>

namespace expensegraph {

ledger::Amount ExpenseSummary::TotalExpense() const {
    ledger::Amount total;
    for (const ExpenseEntry& entry : entries)
        total += entry.total;
    return total;
}

ExpenseSummary BuildExpenseSummary(const ledger::MonthStore& store,
                                   const ledger::CategoryList& categories,
                                   const ledger::ClosingDay& closing, const ledger::Date& date) {
    ExpenseSummary summary;
    const ledger::AccountingMonth span = ledger::AccountingMonthOf(date, closing);
    summary.first = span.first;
    summary.last = span.last;
    const int from = ledger::DateNumber(span.first);
    const int to = ledger::DateNumber(span.last);

    // The second file's lines count only when their date is an integer, which is asked of
    // every line anyway.
    std::vector<std::string> lines = ledger::ReadLines(store.MonthFilePath(span.first));
    if (span.last.month != span.first.month) {
        std::vector<std::string> more = ledger::ReadLines(store.MonthFilePath(span.last));
        lines.insert(lines.end(), std::make_move_iterator(more.begin()),
                     std::make_move_iterator(more.end()));
    }
    const std::vector<ledger::Amount> totals = ledger::SumByCategory(
        lines, categories, [from, to](int day) { return day >= from && day <= to; });

    for (int k = 0; k < categories.size(); ++k) {
        const ledger::Amount total = totals[static_cast<size_t>(k)];
        if (categories.IsIncome(k)) {
            summary.income += total;
        } else {
            summary.entries.push_back({categories.Name(k), ledger::RoundToCents(total)});
        }
    }
    // Ascending; equal totals keep their list order (the exchange sort never swaps them).
    std::stable_sort(
        summary.entries.begin(), summary.entries.end(),
        [](const ExpenseEntry& a, const ExpenseEntry& b) { return a.total < b.total; });
    return summary;
}

}  // namespace expensegraph
