#include "printbook/accountbook.h"
#include "ledger/cp932.h"
#include "ledger/gridcellfile.h"
#include "support/categories.h"

#include <gtest/gtest.h>

using printbook::AccountBook;

namespace {

ledger::CategoryList Categories() {
    return testsupport::FoodAndSalary();
}

TEST(AccountBook, RowsByKindTotalsAndUnknownCategories) {
    std::vector<std::string> lines;
    for (const char* utf8 :
         {"20040305,食費,パン,1200,朝食", "20040325,給料,,250000,", "20040326,食費,,abc,",
          "20040327,消えた,x,99,m", "x", "20040328,食費,\"a b\",0.5"}) {
        lines.push_back(ledger::ToCp932(utf8));
    }
    const AccountBook book = printbook::BuildAccountBook(lines, Categories(), {2004, 3, 25});
    EXPECT_EQ(book.title, "2004年03月度の家計簿");
    using Row = AccountBook::Row;
    const std::vector<Row> expected = {
        {"日付", "費目", "摘要", "支出", "収入", "メモ"},
        {"20040305", "食費", "パン", "1,200", "", "朝食"},
        {"20040325", "給料", "", "", "250,000", ""},
        {"20040326", "食費", "", "0", "", ""},
        {"", "", "", "", "", "費目リストにない項目です"},
        {"", "", "", "", "", "費目リストにない項目です"},
        {"20040328", "食費", "a b", "1", "", ""},
        {"合計", "", "", "1,201", "250,000", ""},
    };
    EXPECT_EQ(book.rows, expected);
    EXPECT_EQ(book.expense, ledger::AmountOrZero("1200.5"));
}

TEST(AccountBook, AnEmptyMonthHasTheHeaderAndZeroTotals) {
    const AccountBook book = printbook::BuildAccountBook({}, Categories(), {2024, 12, 1});
    ASSERT_EQ(book.rows.size(), 2u);
    EXPECT_EQ(book.rows[1], (AccountBook::Row{"合計", "", "", "0", "0", ""}));
    EXPECT_EQ(book.title, "2024年12月度の家計簿");
}

}  // namespace
