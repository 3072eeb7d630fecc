#include "yeargraph/monthtally.h"

#include "ledger/categorytotals.h"
#include "ledger/csvline.h"
#include "ledger/date.h"
#include "ledger/numberformat.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace yeargraph {

std::string MonthTally::Text(int m, int position) const {
    const std::vector<ledger::Amount>& month = totals[static_cast<size_t>(m - 1)];
    const ledger::Amount value = position >= 0 && static_cast<size_t>(position) < month.size()
                                     ? month[static_cast<size_t>(position)]
                                     : ledger::Amount();
    return ledger::FormatNumber(value, "#0.##");
}

std::vector<std::string> MonthTally::ChartLines(int position) const {
    std::vector<std::string> lines;
    for (int m = 1; m <= 12; ++m)
        lines.push_back(Text(m, position) + "," + std::to_string(m) + "\x8c\x8e");  // 月 in CP932
    return lines;
}

ledger::AccountingMonth AccountingMonthNamed(int year, int m, const ledger::ClosingDay& closing,
                                             bool* matched) {
    const ledger::Date first{year, m, 1};
    ledger::AccountingMonth span{};
    for (const ledger::Date& probe : {first, first.AddMonths(1), first.AddMonths(-1)}) {
        span = ledger::AccountingMonthOf(probe, closing);
        if (span.label.month == m) {
            if (matched)
                *matched = true;
            return span;
        }
    }
    if (matched)
        *matched = false;
    return span;  // the last one found
}

MonthTally TallyYear(const ledger::MonthStore& store, const ledger::CategoryList& categories,
                     const ledger::ClosingDay& closing, int year) {
    MonthTally tally;
    tally.year = year;
    std::vector<std::string> lines;
    for (int m = 1; m <= 12; ++m) {
        bool matched = true;
        const ledger::AccountingMonth span = AccountingMonthNamed(year, m, closing, &matched);
        tally.unmatchedMonth = tally.unmatchedMonth || !matched;
        const size_t index = static_cast<size_t>(m - 1);
        tally.spans[index] = span;
        lines.clear();
        store.ReadPeriodLines(span.first, span.last, closing.day != 0, lines);

        // The span's lines are those ReadPeriodLines delivered: any integer date counts.
        std::vector<ledger::Amount>& month = tally.totals[index];
        month = ledger::SumByCategory(
            lines, categories, [](int) { return true; }, &tally.unlisted[index]);
        // Expense and income from the category totals as kept (two decimals), then the
        // categories.
        ledger::Amount expense;
        ledger::Amount income;
        for (int k = 0; k < categories.size(); ++k) {
            (categories.IsIncome(k) ? income : expense) +=
                ledger::RoundToCents(month[static_cast<size_t>(k)]);
        }
        month.insert(month.begin(), {expense, income});
    }
    return tally;
}

int64_t AutoScale(int64_t peak) {
    for (int64_t bound : {10000, 50000, 100000, 500000, 1000000, 5000000}) {
        if (peak < bound)
            return bound;
    }
    // trunc(peak × 1.2 ÷ 10000) + 1 tens of thousands, in whole numbers; a peak so large
    // that this would overflow keeps the largest scale there is.
    if (peak > std::numeric_limits<int64_t>::max() / 12 - 1)
        return std::numeric_limits<int64_t>::max() / 10000 * 10000;
    return (peak * 12 / 100000 + 1) * 10000;
}

int64_t PeakOf(const std::vector<std::string>& chartLines) {
    int64_t peak = 0;
    for (const std::string& line : chartLines) {
        const std::string value = ledger::FirstField(line);
        int64_t n = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (error == std::errc() && end == value.data() + value.size() && !value.empty())
            peak = std::max(peak, n);
    }
    return peak;
}

}  // namespace yeargraph
