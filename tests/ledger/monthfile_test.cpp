#include "ledger/monthfile.h"
#include "ledger/cp932.h"
#include "ledger/fileerror.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using ledger::Date;
using ledger::DayRow;
using ledger::MonthStore;
using ledger::ToCp932;
using Lines = std::vector<std::string>;

namespace {

// 食費 (expense), 給料 (income), Coffee (expense).
ledger::CategoryList Categories() {
    ledger::GridTable t(4, 4);
    t.SetCell(0, 1, ToCp932("支出"));
    t.SetCell(1, 1, ToCp932("食費"));
    t.SetCell(0, 2, ToCp932("収入"));
    t.SetCell(1, 2, ToCp932("給料"));
    t.SetCell(1, 3, "Coffee");
    return ledger::CategoryList::FromTable(t);
}

class MonthStoreTest : public testing::Test {
protected:
    testsupport::TempDir dir;
    MonthStore store{dir.path()};

    void WriteMonth(const char* yyyymm, const std::string& bytes) {
        testsupport::WriteBytes(dir / (std::string(yyyymm) + ".csv"), bytes);
    }
    std::string MonthBytes(const char* yyyymm) {
        return testsupport::ReadBytes(dir / (std::string(yyyymm) + ".csv"));
    }
};

TEST_F(MonthStoreTest, PathIsYearMonthCsvInTheDataFolder) {
    EXPECT_EQ(store.MonthFilePath({2024, 3, 5}), dir / "202403.csv");
    EXPECT_EQ(store.MonthFilePath({987, 11, 1}), dir / "098711.csv");
}

TEST_F(MonthStoreTest, SavesExactBytes) {
    const std::string food = ToCp932("食費");
    store.SaveDayRows({2024, 3, 5}, {DayRow{food, "", "500", ""},
                                     DayRow{food, ToCp932("スーパー 2軒"), "1,200", "a\"b"},
                                     DayRow{"", "x", "1", ""},      // no category: left out
                                     DayRow{food, "x", "", "m"}});  // no amount: left out
    EXPECT_EQ(MonthBytes("202403"), "20240305," + food + ",,500,\r\n" + "20240305," + food + ",\"" +
                                        ToCp932("スーパー 2軒") + "\",\"1,200\",\"a\"\"b\"\r\n");
}

TEST_F(MonthStoreTest, RoundTripsAndKeepsOtherDays) {
    const std::vector<DayRow> rows = {
        {ToCp932("食費"), ToCp932("表示 \"ソ\""), "-98.5", ToCp932("メモ, です")},
        {"Coffee", "", "300", ""},
        {ToCp932("給料"), "  ", "1e3", "\t"},
    };
    WriteMonth("202403", "20240304,a,,1,\r\nbroken line without date\r\n\r\n");
    store.SaveDayRows({2024, 3, 5}, rows);
    EXPECT_EQ(store.LoadDayRows({2024, 3, 5}), rows);
    EXPECT_EQ(store.LoadDayRows({2024, 3, 4}), (std::vector<DayRow>{{"a", "", "1", ""}}));
    EXPECT_TRUE(store.LoadDayRows({2024, 3, 6}).empty());
    EXPECT_TRUE(store.LoadDayRows({2024, 4, 5}).empty());  // no file
    // Lines of other days, even unreadable ones, stay where they were.
    EXPECT_TRUE(MonthBytes("202403").starts_with(
        "20240304,a,,1,\r\nbroken line without date\r\n\r\n20240305,"));
}

TEST_F(MonthStoreTest, LastSavedDayGoesToTheEnd) {
    store.SaveDayRows({2024, 3, 1}, {{"a", "", "1", ""}});
    store.SaveDayRows({2024, 3, 2}, {{"b", "", "2", ""}});
    store.SaveDayRows({2024, 3, 1}, {{"a", "", "1", ""}, {"c", "", "3", ""}});
    EXPECT_EQ(MonthBytes("202403"), "20240302,b,,2,\r\n20240301,a,,1,\r\n20240301,c,,3,\r\n");
    // A day whose rows all lack a category or an amount disappears; the file stays.
    store.SaveDayRows({2024, 3, 2}, {{"", "", "", ""}, {"b", "", "", ""}});
    EXPECT_EQ(MonthBytes("202403"), "20240301,a,,1,\r\n20240301,c,,3,\r\n");
    store.SaveDayRows({2024, 5, 2}, {{"", "", "", ""}});
    EXPECT_TRUE(std::filesystem::exists(dir / "202405.csv"));
    EXPECT_EQ(MonthBytes("202405"), "");
}

// Leaving a page that was only looked at writes nothing: the file keeps its bytes (its day
// where it was) and is not replaced. A change writes it as always.
TEST_F(MonthStoreTest, ADayLeftUnchangedIsNotWrittenAgain) {
    const std::string before = "20240301,a,,1,\r\n20240301,b,\"x y\",2,\r\n20240302,c,,3,\r\n";
    WriteMonth("202403", before);
    const auto inode = [&] {
        struct stat st {};
        ::stat((dir / "202403.csv").c_str(), &st);
        return st.st_ino;
    };
    const auto original = inode();
    store.SaveDayEntries({2024, 3, 1}, store.LoadDayEntries({2024, 3, 1}));
    store.SaveDayRows({2024, 3, 1}, store.LoadDayRows({2024, 3, 1}));  // joined again: the same
    store.SaveDayRows({2024, 3, 31}, {});
    EXPECT_EQ(MonthBytes("202403"), before);
    EXPECT_EQ(inode(), original);
    // One row fewer, or the rows in another order, is a change.
    store.SaveDayRows({2024, 3, 1}, {{"b", "x y", "2", ""}, {"a", "", "1", ""}});
    EXPECT_EQ(MonthBytes("202403"),
              "20240302,c,,3,\r\n20240301,b,\"x y\",2,\r\n20240301,a,,1,\r\n");
    store.SaveDayRows({2024, 3, 1}, {{"b", "x y", "2", ""}});
    EXPECT_EQ(MonthBytes("202403"), "20240302,c,,3,\r\n20240301,b,\"x y\",2,\r\n");
}

TEST_F(MonthStoreTest, DescriptionWithoutQuotesShiftsFields) {
    WriteMonth("202403", "20240305,a,x y,500,\r\n");
    EXPECT_EQ(store.LoadDayRows({2024, 3, 5}), (std::vector<DayRow>{{"a", "x", "y", "500"}}));
}

TEST_F(MonthStoreTest, SaveFailureLeavesTheFileUnchanged) {
    MonthStore missing(dir / "no-such-folder");
    EXPECT_THROW(missing.SaveDayRows({2024, 3, 5}, {{"a", "", "1", ""}}), ledger::FileError);
    std::filesystem::create_directory(dir / "202403.csv");  // a folder in the file's place
    EXPECT_THROW(store.SaveDayRows({2024, 3, 5}, {{"a", "", "1", ""}}), ledger::FileError);
}

TEST_F(MonthStoreTest, ReadPeriodAcrossTwoFilesInDateOrder) {
    WriteMonth("202402",
               "20240226,a,,1,\r\n20240210,x,,9,\r\n20240229,b,,2,\r\n20240226,c,,3,\r\n");
    WriteMonth("202403", "20240325,e,,5,\r\n\r\n20240326,y,,9,\r\n20240301,d,,4,\r\n");
    Lines lines = {"kept"};
    store.ReadPeriodLines({2024, 2, 26}, {2024, 3, 25}, true, lines);
    EXPECT_EQ(lines, (Lines{"kept", "20240226,a,,1,", "20240226,c,,3,", "20240229,b,,2,",
                            "20240301,d,,4,", "20240325,e,,5,"}));
}

TEST_F(MonthStoreTest, ReadPeriodReadsOneFileOnceWhenBothEndsShareIt) {
    // Closing on the 28th after a 28-day February: 1 to 28 March, one file, each line once.
    WriteMonth("202303", "20230328,b,,2,\r\n20230301,a,,1,\r\n20230329,c,,3,\r\n");
    Lines lines;
    store.ReadPeriodLines({2023, 3, 1}, {2023, 3, 28}, true, lines);
    EXPECT_EQ(lines, (Lines{"20230301,a,,1,", "20230328,b,,2,"}));
}

TEST_F(MonthStoreTest, ReadPeriodFallsBackToTextOrderForLinesOfNoDay) {
    // Calendar month: lines are not filtered, so a line of no day forces the sorted list.
    WriteMonth("202403", "20240302,b,,2,\r\nzzz\r\n20240301,a,,1,\r\n");
    Lines lines;
    store.ReadPeriodLines({2024, 3, 1}, {2024, 3, 31}, false, lines);
    EXPECT_EQ(lines, (Lines{"20240301,a,,1,", "20240302,b,,2,", "zzz"}));
    // With a closing day, a blank-only line has no field and stays too.
    WriteMonth("202403", "20240302,b,,2,\r\n \t\r\n");
    lines.clear();
    store.ReadPeriodLines({2024, 3, 1}, {2024, 3, 31}, true, lines);
    EXPECT_EQ(lines, (Lines{" \t", "20240302,b,,2,"}));
}

TEST_F(MonthStoreTest, SumPeriodSignsByCategoryKind) {
    const std::string food = ToCp932("食費");
    const std::string pay = ToCp932("給料");
    WriteMonth("202402", "20240225," + food + ",,999,\r\n20240226," + pay + ",,5000,\r\n");
    WriteMonth("202403", "20240301," + food + ",,1200,\r\n20240301,coffee,,300.5,\r\n" +
                             "20240302,gone,,700,\r\n20240303," + food + ",,\"1,000\",\r\n" +
                             "20240325," + food + ",,abc,\r\n20240326," + food + ",,888,\r\n" +
                             "bad," + food + ",,1,\r\n");
    auto categories = Categories();
    // 26 Feb to 25 Mar: +5000 - 1200 - 300.5; unknown category, "1,000" and "abc" count 0.
    EXPECT_EQ(store.SumPeriod({2024, 2, 26}, {2024, 3, 25}, 3, false, categories).raw(), 34995000);
    EXPECT_EQ(store.SumPeriod({2024, 2, 26}, {2024, 3, 25}, 3, true, categories).raw(), -15005000);
    EXPECT_EQ(store.SumPeriod({2024, 3, 1}, {2024, 3, 31}, 3, false, categories).raw(), -23885000);
    EXPECT_EQ(store.SumPeriod({2024, 4, 1}, {2024, 4, 30}, 3, false, categories).raw(), 0);
}

}  // namespace

namespace {

TEST_F(MonthStoreTest, DatesWrittenOtherwiseStillBelongToTheirDay) {
    // Quoted, preceded by blanks, or with blanks before the comma: the same day for every
    // reader, as the splitting rule says.
    WriteMonth("202403",
               "\"20240305\",a,,1,\r\n  20240305,b,,2,\r\n20240305 ,c,,4,\r\n"
               "202403051,d,,8,\r\n20240306,e,,16,\r\n");
    std::vector<DayRow> rows = store.LoadDayRows({2024, 3, 5});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][0], "c");
    ledger::GridTable t(2, 6);
    for (int r = 1; r <= 5; ++r)
        t.SetCell(1, r, std::string(1, char('a' + r - 1)));
    auto categories = ledger::CategoryList::FromTable(t);
    EXPECT_EQ(store.SumPeriod({2024, 3, 5}, {2024, 3, 5}, 3, false, categories).raw(), -70000);
    Lines lines;
    store.ReadPeriodLines({2024, 3, 1}, {2024, 3, 31}, true, lines);
    EXPECT_EQ(lines.size(), 4u);  // 202403051 is no day of the span
    store.SaveDayRows({2024, 3, 5}, {});
    EXPECT_EQ(MonthBytes("202403"), "202403051,d,,8,\r\n20240306,e,,16,\r\n");
}

}  // namespace

namespace {

// Many days appended at once give the bytes of one day after another, each month file
// written once; rows identical to one the day held are skipped only when asked.
TEST_F(MonthStoreTest, AppendingManyDaysMatchesOneDayAfterAnother) {
    const std::string before = ledger::ToCp932(
        "20240305,食費,米,900,\r\n20240301,給料,給与,1,\r\nnote\r\n20240305,食費,パン,300,\r\n");
    const ledger::DayRow bread = {ledger::ToCp932("食費"), ledger::ToCp932("パン"), "300", ""};
    const ledger::DayRow tea = {ledger::ToCp932("食費"), ledger::ToCp932("お茶"), "150", ""};
    const std::map<ledger::Date, std::vector<ledger::DayRow>> days = {
        {{2024, 3, 1}, {tea}}, {{2024, 3, 5}, {bread, tea}}, {{2024, 4, 2}, {tea, tea}}};
    for (bool skip : {false, true}) {
        testsupport::WriteBytes(dir / "202403.csv", before);
        std::filesystem::remove(dir / "202404.csv");
        int oneByOne = 0;
        for (const auto& [date, rows] : days)
            oneByOne += store.AppendToDay(date, rows, skip);
        const std::string march = testsupport::ReadBytes(dir / "202403.csv");
        const std::string april = testsupport::ReadBytes(dir / "202404.csv");

        testsupport::WriteBytes(dir / "202403.csv", before);
        std::filesystem::remove(dir / "202404.csv");
        EXPECT_EQ(store.AppendToDays(days, skip), oneByOne) << skip;
        EXPECT_EQ(testsupport::ReadBytes(dir / "202403.csv"), march) << skip;
        EXPECT_EQ(testsupport::ReadBytes(dir / "202404.csv"), april) << skip;
        // Skipped: the bread March 5 already held. The two teas of April 2 are two entries.
        EXPECT_EQ(oneByOne, skip ? 4 : 5);
    }
}

}  // namespace
