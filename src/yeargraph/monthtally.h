#pragma once

#include "ledger/accountingmonth.h"
#include "ledger/amount.h"
#include "ledger/categorylist.h"
#include "ledger/monthfile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace yeargraph {

// The twelve accounting months of a year, one list of totals per month: position 0 the
// total expense, 1 the total income, 2 + k category k of the list. The two totals add the
// category totals rounded to two decimals, as the charts and the year table show them. The
// month graph and the year table both read this one tally.
struct MonthTally {
    static constexpr int kExpense = 0;
    static constexpr int kIncome = 1;
    static constexpr int kFirstCategory = 2;

    int year = 0;
    std::array<std::vector<ledger::Amount>, 12> totals;  // index m - 1 for month m
    // Per month, the lines of no listed category (the charts leave them out).
    std::array<ledger::Amount, 12> unlisted{};
    // The days each month spans.
    std::array<ledger::AccountingMonth, 12> spans{};
    // A month number no accounting month was named after (never with closing days 0 to 28).
    bool unmatchedMonth = false;

    // Month m's total at `position` (0 where there is none) as the text "#0.##": two
    // decimals at most, no separators, as the chart reads it.
    std::string Text(int m, int position) const;
    // The series at `position` as chart lines "value,m月" for m = 1 to 12.
    std::vector<std::string> ChartLines(int position) const;
};

// The accounting month named after month `m` of `year`.
ledger::AccountingMonth AccountingMonthNamed(int year, int m, const ledger::ClosingDay& closing,
                                             bool* matched = nullptr);

// Tallies the year from the month files (a closing day reaches into the neighbouring months
// and years). Throws ledger::FileError when a month file exists but cannot be read.
MonthTally TallyYear(const ledger::MonthStore& store, const ledger::CategoryList& categories,
                     const ledger::ClosingDay& closing, int year);

// The chart's scale for the largest whole value of a series.
int64_t AutoScale(int64_t peak);
// The largest of the chart lines' values read as whole numbers (0 for any other text).
int64_t PeakOf(const std::vector<std::string>& chartLines);

}  // namespace yeargraph
