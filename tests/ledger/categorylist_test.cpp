#include "ledger/categorylist.h"
#include "ledger/cp932.h"
#include "ledger/fileerror.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

using ledger::CategoryList;
using ledger::GridTable;
using ledger::ToCp932;
using Strings = std::vector<std::string>;

namespace {

TEST(GridCellFile, WritesTheStoredFormatAndReadsItBack) {
    testsupport::TempDir dir;
    GridTable t(3, 2);
    t.SetColumnWidth(0, 87);
    t.SetCell(0, 0, ToCp932("支出/収入"));
    t.SetCell(2, 0, "a,b,c");
    t.SetCell(1, 1, "two\r\nlines");  // stored with TAB and 0x08, read back as its first line
    t.SetCell(2, 1, "lf\nonly");
    ledger::WriteGridCellFile(dir / "g.dat", t);
    EXPECT_EQ(testsupport::ReadBytes(dir / "g.dat"),
              "3,2\r\ncw 0,87\r\ncw 1,64\r\ncw 2,64\r\n0,0," + ToCp932("支出/収入") +
                  "\r\n2,0,a,b,c\r\n1,1,two\t\blines\r\n2,1,lf\bonly\r\n");
    GridTable back = ledger::ReadGridCellFile(dir / "g.dat");
    EXPECT_EQ(back.cols(), 3);
    EXPECT_EQ(back.rows(), 2);
    EXPECT_EQ(back.ColumnWidth(0), 87);
    EXPECT_EQ(back.Cell(2, 0), "a,b,c");
    EXPECT_EQ(back.Cell(1, 1), "two");
    EXPECT_EQ(back.Cell(2, 1), "lf\nonly");
    EXPECT_EQ(back.Cell(5, 5), "");
}

TEST(GridCellFile, RefusesMissingAndCorruptFiles) {
    testsupport::TempDir dir;
    const auto path = dir / "setting.dat";
    try {
        ledger::ReadGridCellFile(path);
        FAIL();
    } catch (const ledger::GridFileError& e) {
        EXPECT_EQ(std::string(e.what()), "File " + path.string() + " not found");
    }
    for (const char* bytes : {"", "\r\n1,1,x\r\n", "20\r\n", "a,b\r\n", "0,12\r\n", "20,0\r\n",
                              "-1,5\r\n", "100000,100000\r\n"}) {
        testsupport::WriteBytes(path, bytes);
        try {
            ledger::ReadGridCellFile(path);
            FAIL() << bytes;
        } catch (const ledger::GridFileError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "File contains no data or corrupt file " + path.string());
        }
    }
}

TEST(GridCellFile, IgnoresLinesOutsideTheTable) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "g.dat",
                            "2,2\r\ncw 9,50\r\n5,0,x\r\n0,7,y\r\nnonsense\r\n1,1,ok\r\n");
    GridTable t = ledger::ReadGridCellFile(dir / "g.dat");
    EXPECT_EQ(t.Cell(1, 1), "ok");
    EXPECT_EQ(t.Cell(0, 0), "");
}

GridTable CategoryTable() {
    GridTable t(20, 7);
    auto set = [&](int c, int r, const char* utf8) { t.SetCell(c, r, ToCp932(utf8)); };
    set(0, 0, "支出/収入");
    set(1, 0, "費目");
    set(0, 1, "支出");
    set(1, 1, "食費");
    set(2, 1, "スーパー");
    set(3, 1, "外食, ランチ");
    set(5, 1, "読まれない");  // after the empty column 4
    set(1, 2, "Coffee");      // empty kind: an expense
    set(0, 3, "収入");
    set(1, 3, "給料");
    set(0, 4, "収入");  // empty name: the list ends here
    set(1, 5, "後");
    set(2, 5, "五番目の摘要");
    return t;
}

TEST(CategoryList, ReadsKindsNamesAndPresets) {
    testsupport::TempDir dir;
    ledger::WriteGridCellFile(dir / "setting.dat", CategoryTable());
    CategoryList list = CategoryList::Load(dir / "setting.dat");
    EXPECT_EQ(list.Names(), (Strings{ToCp932("食費"), "Coffee", ToCp932("給料")}));
    EXPECT_FALSE(list.IsIncome(0));
    EXPECT_FALSE(list.IsIncome(1));
    EXPECT_TRUE(list.IsIncome(2));
    EXPECT_FALSE(list.IsIncome(3));
    EXPECT_EQ(list.Presets(0), (Strings{ToCp932("スーパー"), ToCp932("外食, ランチ")}));
    EXPECT_TRUE(list.Presets(1).empty());
    // Presets are read for rows past the first empty name as well.
    EXPECT_EQ(list.Presets(4), (Strings{ToCp932("五番目の摘要")}));
    EXPECT_TRUE(list.Presets(30).empty());
    EXPECT_EQ(list.CategoryIndex("COFFEE"), 1);
    EXPECT_EQ(list.CategoryIndex(ToCp932("給料")), 2);
    EXPECT_EQ(list.CategoryIndex(ToCp932("後")), -1);
    EXPECT_EQ(list.CategoryIndex(""), -1);
}

TEST(CategoryList, ReadsAtMostTwentyFiveCategories) {
    GridTable t(2, 31);
    for (int r = 1; r <= 30; ++r)
        t.SetCell(1, r, "c" + std::to_string(r));
    t.SetCell(1, 26, "c1");
    EXPECT_EQ(CategoryList::FromTable(t).size(), 25);
    EXPECT_EQ(CategoryList::FromTable(t).CategoryIndex("C1"), 0);  // first match wins
}

TEST(CategoryList, ShippedDefaultListReads) {
    CategoryList list = CategoryList::Load(VANTREL_DEFAULT_SETTING_DAT);
    ASSERT_EQ(list.size(), 11);
    EXPECT_EQ(list.Name(0), ToCp932("食費"));
    int pay = list.CategoryIndex(ToCp932("給料"));
    ASSERT_GE(pay, 0);
    EXPECT_TRUE(list.IsIncome(pay));
    for (int i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list.IsIncome(i), i == pay) << i;
        EXPECT_FALSE(list.Presets(i).empty()) << i;
    }
}

}  // namespace
