#include "expensegraph/expensesummary.h"
#include "ledger/cp932.h"
#include "ledger/gridcellfile.h"
#include "ledger/numberformat.h"
#include "yeargraph/monthtally.h"
#include "yeartable/yeartable.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

using ledger::Amount;
using ledger::ToCp932;

namespace {

// 食費 and 住居 (expenses), 給料 (income), Coffee (expense, Latin name).
ledger::CategoryList Categories() {
    ledger::GridTable t(4, 5);
    t.SetCell(1, 1, ToCp932("食費"));
    t.SetCell(1, 2, ToCp932("住居"));
    t.SetCell(0, 3, ToCp932("収入"));
    t.SetCell(1, 3, ToCp932("給料"));
    t.SetCell(1, 4, "Coffee");
    return ledger::CategoryList::FromTable(t);
}

Amount A(const char* text) {
    return ledger::AmountOrZero(text);
}

class ReportTallyTest : public testing::Test {
protected:
    testsupport::TempDir dir;
    ledger::MonthStore store{dir.path()};
    ledger::CategoryList categories = Categories();

    void Month(const char* yyyymm, const std::vector<std::string>& utf8Lines) {
        std::string bytes;
        for (const std::string& line : utf8Lines)
            bytes += ToCp932(line) + "\r\n";
        testsupport::WriteBytes(dir / (std::string(yyyymm) + ".csv"), bytes);
    }
};

// Closing day 25, page date 26 March: 26 March to 25 April from both files; lines outside
// the span, of unknown categories or of another letter case count nowhere; decimals round.
TEST_F(ReportTallyTest, SummaryOfAClosingDayMonthAcrossTwoFiles) {
    Month("202403", {"20240325,食費,,9999,", "20240326,食費,,100,", "20240331,給料,,5000,",
                     "20240330,住居,,0.126,", "20240330,coffee,,7,", "20240330,消えた,,8,"});
    Month("202404", {"20240425,食費,,20.5,", "20240426,食費,,9999,", "x,食費,,9999,",
                     "20240401,Coffee,,100,"});
    const expensegraph::ExpenseSummary s =
        expensegraph::BuildExpenseSummary(store, categories, {25, true}, {2024, 3, 26});
    EXPECT_EQ(s.first, (ledger::Date{2024, 3, 26}));
    EXPECT_EQ(s.last, (ledger::Date{2024, 4, 25}));
    ASSERT_EQ(s.entries.size(), 3u);  // every expense category, the income apart
    EXPECT_EQ(s.entries[0].name, ToCp932("住居"));
    EXPECT_EQ(s.entries[0].total, A("0.13"));
    // Ascending: Coffee (100) before 食費 (120.5), although 食費 comes first in the list.
    EXPECT_EQ(s.entries[1].name, "Coffee");
    EXPECT_EQ(s.entries[1].total, A("100"));
    EXPECT_EQ(s.entries[2].name, ToCp932("食費"));
    EXPECT_EQ(s.entries[2].total, A("120.5"));
    EXPECT_EQ(s.income, A("5000"));
    EXPECT_EQ(s.TotalExpense(), A("220.63"));
}

TEST_F(ReportTallyTest, SummaryWithoutLinesListsEveryExpenseCategoryAtZero) {
    const expensegraph::ExpenseSummary s =
        expensegraph::BuildExpenseSummary(store, categories, {0, true}, {2024, 2, 10});
    EXPECT_EQ(s.first, (ledger::Date{2024, 2, 1}));
    EXPECT_EQ(s.last, (ledger::Date{2024, 2, 29}));
    ASSERT_EQ(s.entries.size(), 3u);
    EXPECT_EQ(s.entries[0].name, ToCp932("食費"));  // all 0: list order
    EXPECT_EQ(s.entries[2].name, "Coffee");
    EXPECT_EQ(s.TotalExpense(), Amount());
}

// The year's tally: a closing day reaches into the neighbouring years' files.
TEST_F(ReportTallyTest, TallyCrossesTheYearUnderAClosingDay) {
    Month("202312", {"20231225,食費,,1,", "20231226,食費,,10,", "20231231,給料,,300,"});
    Month("202401", {"20240125,食費,,20.125,", "20240126,食費,,4000,"});
    Month("202412", {"20241210,住居,,5,", "20241211,住居,,50,"});
    Month("202501", {"20250110,住居,,500,", "20250111,住居,,5000,"});
    // Closing day 25, named by its last day: January is 26 Dec 2023 to 25 Jan 2024.
    yeargraph::MonthTally t = yeargraph::TallyYear(store, categories, {25, true}, 2024);
    EXPECT_FALSE(t.unmatchedMonth);
    std::vector<std::string> january;
    for (int position = 0; position < 6; ++position)
        january.push_back(t.Text(1, position));
    EXPECT_EQ(january, (std::vector<std::string>{"30.13", "300", "30.13", "0", "300", "0"}));
    EXPECT_EQ(t.Text(2, 0), "4000");
    // Closing day 10, named by its first day: December is 11 Dec 2024 to 10 Jan 2025.
    t = yeargraph::TallyYear(store, categories, {10, true}, 2024);
    EXPECT_EQ(t.Text(12, 2 + 1), "550");
    EXPECT_EQ(t.Text(12, 0), "550");
    EXPECT_EQ(t.spans[11].first, (ledger::Date{2024, 12, 11}));
    EXPECT_EQ(t.ChartLines(0)[11], "550,12" + ToCp932("月"));
    EXPECT_EQ(t.ChartLines(1)[0], "0,1" + ToCp932("月"));
}

TEST(AutoScale, EachBoundaryOfItsTable) {
    const std::pair<int64_t, int64_t> cases[] = {
        {0, 10000},         {9999, 10000},       {10000, 50000},      {49999, 50000},
        {50000, 100000},    {99999, 100000},     {100000, 500000},    {499999, 500000},
        {500000, 1000000},  {999999, 1000000},   {1000000, 5000000},  {4999999, 5000000},
        {5000000, 6010000}, {8333333, 10000000}, {8333334, 10010000},
    };
    for (const auto& [peak, scale] : cases)
        EXPECT_EQ(yeargraph::AutoScale(peak), scale) << peak;
    // A value with decimals is no whole number and counts 0 for the peak.
    EXPECT_EQ(yeargraph::PeakOf({"12000.5,1月", "9000,2月", "abc,3月"}), 9000);
}

}  // namespace

namespace {

// The year table reads the month graph's own tally: each cell is the tally's, the totals and
// the balance add up, a category with no entries shows 0, and unlisted entries get their row.
TEST_F(ReportTallyTest, YearTableAgreesWithTheTallyUnderAClosingDay) {
    Month("202312", {"20231226,食費,,10,", "20231231,給料,,300,"});
    Month("202401", {"20240125,食費,,20.125,", "20240126,食費,,4000,", "20240126,給料,,5,",
                     "20240127,謎,,7,"});
    Month("202412", {"20241226,住居,,99,"});  // January 2025's under a closing day of 25
    const ledger::ClosingDay closing{25, true};
    const yeargraph::MonthTally tally = yeargraph::TallyYear(store, categories, closing, 2024);
    const yeartable::YearTable table =
        yeartable::BuildYearTable(tally, categories, closing, {2030, 1, 1});
    std::vector<std::string> captions;
    for (const yeartable::YearRow& row : table.rows)
        captions.push_back(ledger::FromCp932(row.caption));
    EXPECT_EQ(captions, (std::vector<std::string>{"食費", "住居", "Coffee", "支出合計", "給料",
                                                  "収入合計", "収支", "未登録の費目"}));
    for (int m = 1; m <= 12; ++m) {
        for (auto [row, position] : {std::pair{0, 2}, {1, 3}, {2, 5}, {3, 0}, {4, 4}, {5, 1}})
            EXPECT_EQ(ledger::FormatNumber(table.Cell(row, m - 1), "#0.##"),
                      tally.Text(m, position))
                << m << " " << row;
    }
    EXPECT_EQ(table.Cell(0, 0), A("30.13"));  // 26 Dec 2023 to 25 Jan 2024
    EXPECT_EQ(table.Cell(0, 1), A("4000"));
    EXPECT_EQ(table.Cell(1, 11), Amount());  // 26 Dec 2024 is the next year's January
    EXPECT_EQ(table.Cell(2, 12), Amount());  // Coffee: nothing all year, 0 not empty
    EXPECT_EQ(table.Cell(3, 12), A("4030.13"));
    EXPECT_EQ(table.Cell(6, 0), A("269.87"));      // 300 - 30.13
    EXPECT_EQ(table.Cell(6, 13), A("-310.4275"));  // (305 - 4030.13) / 12, to the ten-thousandth
    EXPECT_EQ(table.Cell(7, 1), A("7"));
    EXPECT_EQ(table.monthCaptions[0], ToCp932("1月度"));

    // The year under way averages over the months begun: 5 March 2024 is in March's.
    EXPECT_EQ(yeartable::BuildYearTable(tally, categories, closing, {2024, 3, 5}).Cell(3, 13),
              A("1343.3767"));

    const std::string csv = ledger::FromCp932(yeartable::YearTableCsv(table));
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "費目,1月度,2月度,3月度,4月度,5月度,6月度,7月度,8月度,9月度,10月度,11月度,12月度,"
              "合計,月平均");
    EXPECT_NE(csv.find("\r\n食費,30,4000,0,0,0,0,0,0,0,0,0,0,4030,336\r\n"), std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\r\n収支,270,-3995,0,0,0,0,0,0,0,0,0,0,-3725,-310\r\n"), std::string::npos);
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");

    // Where a cell's first entry is: the day and its row on the day page.
    auto place = yeartable::FirstEntryOf(store, categories, closing, table, 0, 1);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->day, (ledger::Date{2024, 1, 26}));
    EXPECT_EQ(place->row, 0);
    place = yeartable::FirstEntryOf(store, categories, closing, table, 5, 1);  // 収入合計
    ASSERT_TRUE(place);
    EXPECT_EQ(place->day, (ledger::Date{2024, 1, 26}));
    EXPECT_EQ(place->row, 1);  // after that day's 食費
    place = yeartable::FirstEntryOf(store, categories, closing, table, 7, 13);  // unlisted, year
    ASSERT_TRUE(place);
    EXPECT_EQ(place->day, (ledger::Date{2024, 1, 27}));
    EXPECT_FALSE(yeartable::FirstEntryOf(store, categories, closing, table, 2, 12));
}

}  // namespace
