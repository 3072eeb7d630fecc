#include "ledger/budget.h"

#include "ledger/fileerror.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using ledger::Amount;
using ledger::BudgetBook;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

// 食費 and 住居費 in CP932.
const std::string kFood = "\x90\x48\x94\xef";
const std::string kRent = "\x8f\x5a\x8b\x8f\x94\xef";

TEST(BudgetBook, ReadsBothKindsAndKeepsEveryOtherLineAsItWas) {
    testsupport::TempDir dir;
    const std::string bytes = kFood + ",40000\r\n" +              // every month
                              "202412," + kFood + ",60000\r\n" +  // December's own
                              "# a note of the user's\r\n" +      // not understood: kept
                              kRent + ", 78000 \r\n" +            // blanks: read, kept
                              "202413," + kFood + ",1\r\n" +      // no month 13: kept
                              kRent + ",lots\r\n" +               // no number: kept
                              "\r\n";
    WriteBytes(dir / "budget.dat", bytes);
    BudgetBook book = BudgetBook::Load(dir / "budget.dat");
    EXPECT_FALSE(book.Empty());
    EXPECT_EQ(book.For(202411, kFood), Amount::FromWhole(40000));
    EXPECT_EQ(book.For(202412, kFood), Amount::FromWhole(60000));
    EXPECT_EQ(book.For(202412, kRent), Amount::FromWhole(78000));
    EXPECT_EQ(book.For(202412, "other"), std::nullopt);
    book.Save(dir / "budget.dat");
    EXPECT_EQ(ReadBytes(dir / "budget.dat"), bytes);

    // A change rewrites its own line in place; the others keep their bytes.
    book.SetMonthly(kRent, "80000");
    book.Save(dir / "budget.dat");
    EXPECT_EQ(ReadBytes(dir / "budget.dat"),
              kFood + ",40000\r\n202412," + kFood + ",60000\r\n# a note of the user's\r\n" + kRent +
                  ",80000\r\n202413," + kFood + ",1\r\n" + kRent + ",lots\r\n\r\n");
}

TEST(BudgetBook, NoFileIsNoBudgetAndAnUnreadableOneIsAnError) {
    testsupport::TempDir dir;
    EXPECT_TRUE(BudgetBook::Load(dir / "budget.dat").Empty());
    EXPECT_TRUE(BudgetBook::FromLines({"just a note"}).Empty());
    ::mkdir((dir / "budget.dat").c_str(), 0700);  // a folder where the file should be
    EXPECT_THROW(BudgetBook::Load(dir / "budget.dat"), ledger::FileError);
}

TEST(BudgetBook, SettingAddsReplacesAndRemovesLines) {
    BudgetBook book;
    book.SetMonthly(kFood, "40000");
    book.SetMonth(202412, kFood, "60000");
    book.SetMonth(202501, kFood, "0");  // a month with nothing to spend is a budget too
    EXPECT_EQ(book.Lines(),
              (std::vector<std::string>{kFood + ",40000", "202412," + kFood + ",60000",
                                        "202501," + kFood + ",0"}));
    EXPECT_EQ(book.For(202501, kFood), Amount());
    book.SetMonth(202412, kFood, std::nullopt);  // back to the every-month budget
    EXPECT_EQ(book.For(202412, kFood), Amount::FromWhole(40000));
    EXPECT_EQ(book.MonthText(202501, kFood), "0");

    // A duplicate line: the first counts; a change keeps one line.
    BudgetBook twice = BudgetBook::FromLines({kFood + ",1", kFood + ",2"});
    EXPECT_EQ(twice.For(202401, kFood), Amount::FromWhole(1));
    twice.SetMonthly(kFood, "3");
    EXPECT_EQ(twice.Lines(), std::vector<std::string>{kFood + ",3"});
    twice.SetMonthly(kFood, std::nullopt);
    EXPECT_TRUE(twice.Empty());
    // A name with a comma is quoted by the line rules and read back whole.
    BudgetBook quoted;
    quoted.SetMonthly("a,b", "5");
    EXPECT_EQ(BudgetBook::FromLines(quoted.Lines()).For(202401, "a,b"), Amount::FromWhole(5));
}

TEST(BudgetBook, RenamesCarryTheLinesAndRemovalsDropThem) {
    BudgetBook book = BudgetBook::FromLines(
        {kFood + ",40000", "202412," + kFood + ",60000", kRent + ",78000", "note", "x,1"});
    // 食費 and 住居費 swap names; x is deleted.
    book.ApplyCategoryChanges({{kFood, kRent}, {kRent, kFood}}, {"x"});
    EXPECT_EQ(book.Lines(),
              (std::vector<std::string>{kRent + ",40000", "202412," + kRent + ",60000",
                                        kFood + ",78000", "note"}));
}

}  // namespace
