#include "graph/expensesummary.h"

#include "ledger/csvline.h"
#include "ledger/date.h"
#include "ledger/numberformat.h"

#include <algorithm>
#include <unordered_map>

namespace graph {
namespace {

// Each category name's positions in the list; a name listed twice counts for both.
std::unordered_map<std::string, std::vector<int>> PositionsByName(
    const ledger::CategoryList& categories) {
    std::unordered_map<std::string, std::vector<int>> positions;
    for (int k = 0; k < categories.size(); ++k)
        positions[categories.Name(k)].push_back(k);
    return positions;
}

}  // namespace

ledger::Amount ExpenseSummary::TotalExpense() const {
    ledger::Amount total;
    for (const ExpenseEntry& entry : entries)
        total += entry.total;
    return total;
}

ledger::Amount RoundToCents(ledger::Amount total) {
    return ledger::AmountOrZero(ledger::FormatNumber(total, "#0.##"));
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

    const auto positions = PositionsByName(categories);
    std::vector<ledger::Amount> totals(static_cast<size_t>(categories.size()));
    std::vector<std::string> fields;
    auto addLines = [&](const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            // Date, category and amount are the first four fields; the memo is not needed.
            ledger::SplitLineInto(line, fields, 4);
            if (fields.size() < 2)
                continue;
            const std::optional<int> day = ledger::ParseInt(fields[0]);
            if (!day || *day < from || *day > to)
                continue;
            const auto found = positions.find(fields[1]);
            if (found == positions.end())
                continue;
            const ledger::Amount amount =
                fields.size() > 3 ? ledger::AmountOrZero(fields[3]) : ledger::Amount();
            for (int k : found->second)
                totals[static_cast<size_t>(k)] += amount;
        }
    };
    // The second file's lines count only when their date is an integer, which the date test
    // above asks of every line anyway.
    addLines(ledger::ReadLines(store.MonthFilePath(span.first)));
    if (span.last.month != span.first.month)
        addLines(ledger::ReadLines(store.MonthFilePath(span.last)));

    for (int k = 0; k < categories.size(); ++k) {
        const ledger::Amount total = totals[static_cast<size_t>(k)];
        if (categories.IsIncome(k)) {
            summary.income += total;
        } else {
            summary.entries.push_back({categories.Name(k), RoundToCents(total)});
        }
    }
    // Ascending; equal totals keep their list order (the exchange sort never swaps them).
    std::stable_sort(
        summary.entries.begin(), summary.entries.end(),
        [](const ExpenseEntry& a, const ExpenseEntry& b) { return a.total < b.total; });
    return summary;
}

}  // namespace graph
