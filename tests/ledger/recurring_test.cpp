#include "ledger/recurring.h"

#include "ledger/cp932.h"
#include "support/categories.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using ledger::Date;
using ledger::RecurrenceRule;
using ledger::RecurringTemplate;
using ledger::WeekendShift;
using Kind = RecurrenceRule::Kind;

namespace {

RecurringTemplate Make(RecurrenceRule rule, Date first, WeekendShift shift = WeekendShift::None,
                       std::optional<Date> last = std::nullopt) {
    RecurringTemplate t;
    t.row = {ledger::ToCp932("食費"), "", "100", ""};
    t.rule = rule;
    t.first = first;
    t.shift = shift;
    t.last = last;
    return t;
}

std::vector<std::string> Texts(const std::vector<Date>& dates) {
    std::vector<std::string> out;
    for (const Date& d : dates)
        out.push_back(ledger::Yyyymmdd(d));
    return out;
}

// Every rule against the dates it must give, up to a day.
TEST(Recurring, RulesAgainstDates) {
    struct Case {
        const char* what;
        RecurringTemplate t;
        std::optional<Date> after;
        Date to;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"the 31st, in February of a leap year and not",
         Make({Kind::MonthDay, 31}, {2024, 1, 1}),
         std::nullopt,
         {2024, 3, 31},
         {"20240131", "20240229", "20240331"}},
        {"the 31st in 2023's February",
         Make({Kind::MonthDay, 31}, {2023, 2, 1}),
         std::nullopt,
         {2023, 2, 28},
         {"20230228"}},
        {"the last day",
         Make({Kind::LastDay, 1}, {2023, 11, 15}),
         std::nullopt,
         {2024, 2, 29},
         {"20231130", "20231231", "20240131", "20240229"}},
        {"every 6 months from August",
         Make({Kind::EveryMonths, 6}, {2023, 8, 31}),
         std::nullopt,
         {2025, 3, 1},
         {"20230831", "20240229", "20240831", "20250228"}},
        {"29 February yearly",
         Make({Kind::Yearly, 12}, {2024, 2, 29}),
         std::nullopt,
         {2028, 3, 1},
         {"20240229", "20250228", "20260228", "20270228", "20280229"}},
        {"weekly across a year end (Mondays)",
         Make({Kind::Weekly, 1}, {2024, 12, 20}),
         std::nullopt,
         {2025, 1, 10},
         {"20241223", "20241230", "20250106"}},
        {"a Saturday 1st to the Friday before, across the month",
         Make({Kind::MonthDay, 1}, {2024, 5, 1}, WeekendShift::FridayBefore),
         std::nullopt,
         {2024, 6, 30},
         {"20240501", "20240531"}},
        {"a Sunday to the Monday after",
         Make({Kind::MonthDay, 30}, {2024, 6, 1}, WeekendShift::MondayAfter),
         std::nullopt,
         {2024, 7, 31},
         {"20240701", "20240730"}},
        {"a first date in the future",
         Make({Kind::MonthDay, 5}, {2025, 1, 1}),
         std::nullopt,
         {2024, 12, 31},
         {}},
        {"a last date passed",
         Make({Kind::MonthDay, 5}, {2024, 1, 1}, WeekendShift::None, Date{2024, 2, 10}),
         std::nullopt,
         {2024, 12, 31},
         {"20240105", "20240205"}},
        {"after the date entered up to",
         Make({Kind::MonthDay, 10}, {2024, 1, 1}),
         Date{2024, 2, 10},
         {2024, 4, 9},
         {"20240310"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Texts(c.t.Occurrences(c.after, c.to)), c.expected) << c.what;
}

TEST(Recurring, NextDateFollowsWhatWasEntered) {
    RecurringTemplate t = Make({Kind::MonthDay, 27}, {2024, 1, 1});
    EXPECT_EQ(t.NextDate(), (Date{2024, 1, 27}));
    t.enteredUpTo = Date{2024, 3, 27};
    EXPECT_EQ(t.NextDate(), (Date{2024, 4, 27}));
    t.last = Date{2024, 4, 1};
    EXPECT_EQ(t.NextDate(), std::nullopt);
}

// The file: templates read and written back as they were, lines not understood kept in their
// place, a changed template rewritten by the line rules.
TEST(Recurring, FileRoundTripsByteForByte) {
    testsupport::TempDir dir;
    const std::string bytes = ledger::ToCp932(
        "住居費,家賃,78000,,monthly:27,20240101,,friday,20240327\r\n"
        "# 保険は手で\r\n"
        "通信費,携帯,  4980 ,\"月額, 税込\",lastday,20240101,20251231,,\r\n"
        "給料,給与,250000,,weekly:9,20240101\r\n"  // no weekday 9: kept
        "交際費,会費,12000,,yearly,20240229\r\n");
    testsupport::WriteBytes(dir / "recurring.dat", bytes);
    ledger::RecurringBook book = ledger::RecurringBook::Load(dir / "recurring.dat");
    ASSERT_EQ(book.size(), 3);
    EXPECT_EQ(book.Template(0).enteredUpTo, (Date{2024, 3, 27}));
    EXPECT_EQ(book.Template(0).shift, WeekendShift::FridayBefore);
    EXPECT_EQ(book.Template(1).row[3], ledger::ToCp932("月額, 税込"));
    EXPECT_EQ(book.Template(1).last, (Date{2025, 12, 31}));
    EXPECT_EQ(book.Template(2).rule, (RecurrenceRule{Kind::Yearly, 12}));
    book.Save(dir / "recurring.dat");
    EXPECT_EQ(testsupport::ReadBytes(dir / "recurring.dat"), bytes);

    RecurringTemplate rent = book.Template(0);
    rent.enteredUpTo = Date{2024, 4, 26};
    book.SetTemplate(0, rent);
    book.RemoveTemplate(2);
    book.Save(dir / "recurring.dat");
    EXPECT_EQ(ledger::FromCp932(testsupport::ReadBytes(dir / "recurring.dat")),
              "住居費,家賃,78000,,monthly:27,20240101,,friday,20240426\r\n"
              "# 保険は手で\r\n"
              "通信費,携帯,  4980 ,\"月額, 税込\",lastday,20240101,20251231,,\r\n"
              "給料,給与,250000,,weekly:9,20240101\r\n");
}

class RecurringEntryTest : public testing::Test {
protected:
    testsupport::TempDir dir;
    ledger::MonthStore store{dir / "data"};
    ledger::CategoryList categories = testsupport::FoodAndSalary();
    std::filesystem::path file = dir / "recurring.dat";

    void SetUp() override { std::filesystem::create_directories(dir / "data"); }
    std::string Month(const char* yyyymm) {
        return ledger::FromCp932(
            testsupport::ReadBytes(dir / "data" / (std::string(yyyymm) + ".csv")));
    }
};

// Three months unopened: each occurrence once, in date order, across templates; an unlisted
// category is listed but never written, and stays due.
TEST_F(RecurringEntryTest, CatchingUpEntersEachOccurrenceOnceInDateOrder) {
    ledger::RecurringBook book = ledger::RecurringBook::FromLines({
        ledger::ToCp932("食費,生協,3000,,weekly:5,20240401"),
        ledger::ToCp932("給料,給与,250000,,monthly:25,20240101,,,20240325"),
        ledger::ToCp932("ペット,えさ,800,,monthly:1,20240401"),
    });
    const std::vector<ledger::DueEntry> due = ledger::GatherDue(book, categories, {2024, 4, 30});
    std::vector<std::string> seen;
    for (const ledger::DueEntry& d : due)
        seen.push_back(ledger::Yyyymmdd(d.date) + ledger::FromCp932(d.row[0]) +
                       (d.categoryListed ? "" : "!"));
    EXPECT_EQ(seen, (std::vector<std::string>{"20240401ペット!", "20240405食費", "20240412食費",
                                              "20240419食費", "20240425給料", "20240426食費"}));
    const ledger::EnterResult r =
        ledger::EnterDue(store, book, file, due, std::vector<bool>(due.size(), true));
    EXPECT_EQ(r.added, 5);
    EXPECT_EQ(Month("202404"),
              "20240405,食費,生協,3000,\r\n20240412,食費,生協,3000,\r\n20240419,食費,生協,3000,\r\n"
              "20240425,給料,給与,250000,\r\n20240426,食費,生協,3000,\r\n");
    // Nothing is due again by the same day but the unlisted category's.
    const std::vector<ledger::DueEntry> again =
        ledger::GatherDue(ledger::RecurringBook::Load(file), categories, {2024, 4, 30});
    ASSERT_EQ(again.size(), 1u);
    EXPECT_FALSE(again[0].categoryListed);
}

// Death between the two writes: the rows are in their days, the templates not yet marked.
// The next run finds the identical rows and writes nothing twice.
TEST_F(RecurringEntryTest, ACrashBetweenTheTwoSavesEntersNothingTwice) {
    testsupport::WriteBytes(file, ledger::ToCp932("食費,パン,300,朝,monthly:10,20240101\r\n"));
    testsupport::WriteBytes(dir / "data" / "202403.csv",
                            ledger::ToCp932("20240310,食費,米,900,\r\n"));
    ledger::RecurringBook book = ledger::RecurringBook::Load(file);
    std::vector<ledger::DueEntry> due = ledger::GatherDue(book, categories, {2024, 3, 31});
    ASSERT_EQ(due.size(), 3u);
    // The writer is a child process, killed between its two saves.
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        ledger::EnterDue(store, book, file, due, {true, false, true}, [] {
            ::kill(::getpid(), SIGKILL);
            return true;
        });
        ::_exit(0);  // never reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(Month("202401"), "20240110,食費,パン,300,朝\r\n");
    EXPECT_EQ(testsupport::ReadBytes(file),
              ledger::ToCp932("食費,パン,300,朝,monthly:10,20240101\r\n"));

    book = ledger::RecurringBook::Load(file);
    due = ledger::GatherDue(book, categories, {2024, 3, 31});
    const ledger::EnterResult second =
        ledger::EnterDue(store, book, file, due, std::vector<bool>(due.size(), true));
    EXPECT_EQ(second.added, 1);  // February's, passed over the first time
    EXPECT_EQ(second.alreadyThere, 2);
    EXPECT_EQ(Month("202401"), "20240110,食費,パン,300,朝\r\n");
    EXPECT_EQ(Month("202403"), "20240310,食費,米,900,\r\n20240310,食費,パン,300,朝\r\n");
    EXPECT_EQ(ledger::RecurringBook::Load(file).Template(0).enteredUpTo, (Date{2024, 3, 10}));
}

}  // namespace
