#include "ledger/accountingmonth.h"

#include <gtest/gtest.h>

using ledger::AccountingMonthOf;
using ledger::Date;

namespace {

struct Case {
    Date x;
    int closing;
    bool fifteenthNamesFirst;
    Date first, last, label;
};

TEST(AccountingMonth, Spans) {
    const std::vector<Case> cases = {
        {{2024, 3, 3}, 25, true, {2024, 2, 26}, {2024, 3, 25}, {2024, 3, 25}},
        {{2024, 3, 26}, 25, true, {2024, 3, 26}, {2024, 4, 25}, {2024, 4, 25}},
        {{2024, 3, 25}, 25, true, {2024, 2, 26}, {2024, 3, 25}, {2024, 3, 25}},
        {{2024, 3, 20}, 10, true, {2024, 3, 11}, {2024, 4, 10}, {2024, 3, 11}},
        {{2024, 3, 20}, 15, true, {2024, 3, 16}, {2024, 4, 15}, {2024, 3, 16}},
        {{2024, 3, 20}, 15, false, {2024, 3, 16}, {2024, 4, 15}, {2024, 4, 15}},
        {{2024, 3, 20}, 14, false, {2024, 3, 15}, {2024, 4, 14}, {2024, 3, 15}},
        {{2023, 3, 5}, 28, true, {2023, 3, 1}, {2023, 3, 28}, {2023, 3, 28}},
        {{2024, 3, 5}, 28, true, {2024, 2, 29}, {2024, 3, 28}, {2024, 3, 28}},
        {{2024, 2, 15}, 0, true, {2024, 2, 1}, {2024, 2, 29}, {2024, 2, 1}},
        {{2023, 2, 15}, 0, true, {2023, 2, 1}, {2023, 2, 28}, {2023, 2, 1}},
        {{2024, 1, 31}, 0, true, {2024, 1, 1}, {2024, 1, 31}, {2024, 1, 1}},
        {{2024, 1, 1}, 1, true, {2023, 12, 2}, {2024, 1, 1}, {2023, 12, 2}},
        {{2024, 12, 31}, 25, true, {2024, 12, 26}, {2025, 1, 25}, {2025, 1, 25}},
        // A closing day outside 1 to 28 counts as the calendar month.
        {{2024, 4, 10}, 31, true, {2024, 4, 1}, {2024, 4, 30}, {2024, 4, 1}},
    };
    for (const Case& c : cases) {
        ledger::AccountingMonth m = AccountingMonthOf(c.x, {c.closing, c.fifteenthNamesFirst});
        EXPECT_EQ(m.first, c.first) << ledger::Yyyymmdd(c.x) << " C=" << c.closing;
        EXPECT_EQ(m.last, c.last) << ledger::Yyyymmdd(c.x) << " C=" << c.closing;
        EXPECT_EQ(m.label, c.label) << ledger::Yyyymmdd(c.x) << " C=" << c.closing;
    }
}

TEST(AccountingMonth, EveryDayOfSeveralYearsLiesInItsMonth) {
    // Each day belongs to exactly one accounting month of 28 to 31 days, for every closing day.
    for (int c = 0; c <= 28; ++c) {
        for (Date d{2023, 1, 1}; d <= Date{2025, 12, 31}; d = d.AddDays(1)) {
            ledger::AccountingMonth m = AccountingMonthOf(d, {c, true});
            ASSERT_LE(m.first, d) << c;
            ASSERT_GE(m.last, d) << c;
            long length = m.last.ToDays() - m.first.ToDays() + 1;
            ASSERT_GE(length, 28) << ledger::Yyyymmdd(d) << " C=" << c;
            ASSERT_LE(length, 31) << ledger::Yyyymmdd(d) << " C=" << c;
            ASSERT_EQ(AccountingMonthOf(m.last.AddDays(1), {c, true}).first, m.last.AddDays(1));
        }
    }
}

TEST(Date, CalendarHelpers) {
    EXPECT_EQ((Date{2024, 1, 31}.AddMonths(1)), (Date{2024, 2, 29}));
    EXPECT_EQ((Date{2023, 1, 31}.AddMonths(1)), (Date{2023, 2, 28}));
    EXPECT_EQ((Date{2024, 3, 31}.AddMonths(-1)), (Date{2024, 2, 29}));
    EXPECT_EQ((Date{2024, 3, 31}.AddMonths(1)), (Date{2024, 4, 30}));
    EXPECT_EQ((Date{2024, 1, 15}.AddMonths(-13)), (Date{2022, 12, 15}));
    EXPECT_EQ((Date{2024, 2, 29}.AddDays(1)), (Date{2024, 3, 1}));
    EXPECT_EQ((Date{2024, 12, 31}.AddDays(1)), (Date{2025, 1, 1}));
    EXPECT_EQ(ledger::Yyyymmdd({2024, 3, 5}), "20240305");
    EXPECT_EQ(ledger::Yyyymm({2024, 3, 5}), "202403");
    EXPECT_EQ(ledger::FormatPageDate({2024, 3, 5}), "2024/03/05 (火)");
    EXPECT_EQ(ledger::FormatPageDate({2026, 12, 13}), "2026/12/13 (日)");
    EXPECT_EQ(ledger::FormatPageDate({2026, 12, 12}), "2026/12/12 (土)");
    EXPECT_EQ(ledger::ParseYyyymmdd("20240229"), (Date{2024, 2, 29}));
    EXPECT_FALSE(ledger::ParseYyyymmdd("20230229"));
    EXPECT_FALSE(ledger::ParseYyyymmdd("2024035"));
    EXPECT_EQ(ledger::ParseInt(" 15"), 15);
    EXPECT_EQ(ledger::ParseInt("-3"), -3);
    EXPECT_FALSE(ledger::ParseInt("15 "));
    EXPECT_FALSE(ledger::ParseInt("+-3"));
    EXPECT_FALSE(ledger::ParseInt("１５"));
    EXPECT_FALSE(ledger::ParseInt("99999999999"));
}

}  // namespace
