#include "csvexport/csvexport.h"
#include "ledger/cp932.h"
#include "ledger/gridcellfile.h"
#include "statement/statementforms.h"
#include "statement/statementimport.h"
#include "statement/statementreader.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

using ledger::Date;
using ledger::ToCp932;
using namespace statement;

namespace {

// 食費, 日用品 and 交通費 (expenses), 給料 and その他収入 (incomes).
ledger::CategoryList Categories() {
    ledger::GridTable t(2, 6);
    const char* names[] = {"食費", "日用品", "交通費", "給料", "その他収入"};
    for (int k = 0; k < 5; ++k) {
        t.SetCell(1, k + 1, ToCp932(names[k]));
        if (k >= 3)
            t.SetCell(0, k + 1, ToCp932("収入"));
    }
    return ledger::CategoryList::FromTable(t);
}

StatementTable Read(const std::string& bytes, const ReadOptions& options = {}) {
    auto result = ReadStatement(bytes, options);
    EXPECT_TRUE(std::holds_alternative<StatementTable>(result))
        << (std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "");
    return std::holds_alternative<StatementTable>(result) ? std::get<StatementTable>(result)
                                                          : StatementTable{};
}

TEST(StatementForms, DatesAndAmountsAsStatementsWriteThem) {
    const std::pair<const char*, const char*> dates[] = {
        {"2024/12/10", "20241210"},
        {"2024/1/5", "20240105"},
        {"2024-12-10", "20241210"},
        {"20241210", "20241210"},
        {"2024年12月10日", "20241210"},
        {"２０２４／１２／１０", "20241210"},
        {"R6.12.10", "20241210"},
        {"r6.12.10", "20241210"},
        {"令和6年12月10日", "20241210"},
        {"令和元年5月1日", "20190501"},
        {"H31.4.30", "20190430"},
        {"平成31年4月30日", "20190430"},
        {"2024/12/10 13:05", "20241210"},
        {" \"2024/02/29\" ", "20240229"},
        {"2023/02/29", ""},
        {"12/10", ""},
        {"2024/13/01", ""},
        {"R6.12", ""},
        {"abc", ""},
        {"", ""},
        {"2024/12/10x", ""},
        {"1234567", ""},
    };
    for (const auto& [text, expected] : dates) {
        const std::optional<Date> d = ParseStatementDate(text);
        EXPECT_EQ(d ? ledger::Yyyymmdd(*d) : std::string(), expected) << text;
    }
    const std::pair<const char*, const char*> amounts[] = {
        {"1,280", "1280"},
        {"￥1,280", "1280"},
        {"1,280円", "1280"},
        {"-1,280", "-1280"},
        {"△1,280", "-1280"},
        {"▲500", "-500"},
        {"１，２８０", "1280"},
        {"\"3,000\"", "3000"},
        {"+200", "200"},
        {"12.5", "12.5"},
        {"", ""},
        {"12,80", ""},
        {"abc", ""},
        {"1e3", ""},
        {"△-5", ""},
    };
    for (const auto& [text, expected] : amounts)
        EXPECT_EQ(ParseStatementAmount(text).value_or(""), expected) << text;
}

TEST(StatementReader, DetectsEncodingSeparatorAndHeader) {
    const std::string utf8 =
        "日付\t摘要\tお支払金額\tお預り金額\t差引残高\r\n"
        "2024/12/01\tスーパー\t1,280\t\t98,720\r\n";
    StatementTable t = Read(utf8);
    EXPECT_EQ(t.encoding, Encoding::Utf8);
    EXPECT_EQ(t.separator, Separator::Tab);
    EXPECT_TRUE(t.header);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0][1], "スーパー");
    EXPECT_EQ(t.lineNumbers[0], 2);

    t = Read("\xEF\xBB\xBF" +
             std::string("利用日,利用店名,利用金額\n2024/12/02,\"カフェ, 駅前\",450\n"));
    EXPECT_EQ(t.encoding, Encoding::Utf8Bom);
    EXPECT_EQ(t.separator, Separator::Comma);
    EXPECT_EQ(t.headerCells[0], "利用日");
    EXPECT_EQ(t.rows[0][1], "カフェ, 駅前");

    t = Read(ToCp932("利用日,利用店名,利用金額\r\n2024/12/02,コンビニ,300\r\n"));
    EXPECT_EQ(t.encoding, Encoding::Cp932);
    EXPECT_EQ(t.rows[0][1], "コンビニ");
    // What the user sets wins over what is detected.
    t = Read(ToCp932("2024/12/02,コンビニ,300\r\n"), {Encoding::Cp932, Separator::Tab, false});
    EXPECT_EQ(t.separator, Separator::Tab);
    EXPECT_EQ(t.rows[0].size(), 1u);
}

TEST(StatementReader, WhatIsNoStatementIsRefusedWithAReason) {
    const std::pair<std::string, const char*> cases[] = {
        {std::string("PK\x03\x04\0\0binary", 12), "文字でない"},
        {std::string(kMaxStatementBytes + 1, 'a'), "大きすぎます"},
        {std::string(kMaxLineBytes + 10, 'a'), "長すぎます"},
        {"\r\n\r\n , \r\n", "行がありません"},
    };
    for (const auto& [bytes, reason] : cases) {
        const auto result = ReadStatement(bytes);
        ASSERT_TRUE(std::holds_alternative<std::string>(result)) << reason;
        EXPECT_NE(std::get<std::string>(result).find(reason), std::string::npos)
            << std::get<std::string>(result);
    }
}

TEST(StatementImport, ProposalIsTheMostUsedCategoryTiesToTheLatest) {
    const ledger::CategoryList categories = Categories();
    CategoryHistory h;
    h.Add(ToCp932("ドラッグストア"), 0, {2024, 1, 1});  // 食費
    h.Add(ToCp932("ドラッグストア"), 1, {2024, 3, 1});  // 日用品, the later of a tie
    h.Add(ToCp932("ＳＵＰＥＲ"), 0, {2024, 1, 1});
    h.Add(ToCp932("ＳＵＰＥＲ"), 0, {2024, 1, 2});
    h.Add(ToCp932("ＳＵＰＥＲ"), 1, {2024, 5, 1});
    h.Add(ToCp932("ＳＵＰＥＲ"), 4, {2024, 5, 1});  // an income of the same text
    EXPECT_EQ(h.Propose(ToCp932("ドラッグストア"), false, categories), 1);
    EXPECT_EQ(h.Propose(ToCp932("ｓｕｐｅｒ"), false, categories), 0);  // letter case aside
    EXPECT_EQ(h.Propose(ToCp932("ＳＵＰＥＲ"), true, categories), 4);
    EXPECT_EQ(h.Propose(ToCp932("新しい店"), false, categories), std::nullopt);
}

class StatementBookTest : public testing::Test {
protected:
    testsupport::TempDir dir;
    ledger::MonthStore store{dir.path()};
    ledger::CategoryList categories = Categories();

    std::string Month(const char* yyyymm) {
        return ledger::FromCp932(testsupport::ReadBytes(dir / (std::string(yyyymm) + ".csv")));
    }
};

// A bank statement over three months (withdrawals and deposits in their own columns): the
// categories proposed from the book, duplicates of the book and of an earlier import
// unchecked, unreadable rows listed by line, and the month files' bytes after the import.
TEST_F(StatementBookTest, BankStatementOverThreeMonths) {
    testsupport::WriteBytes(dir / "202410.csv", ToCp932("20241005,日用品,ドラッグストア,980,\r\n"));
    testsupport::WriteBytes(dir / "202411.csv", ToCp932("20241125,給料,給与,250000,\r\n"));
    const StatementTable table =
        Read(ToCp932("日付,摘要,お支払金額,お預り金額,差引残高,メモ\r\n"
                     "2024/10/31,ドラッグストア,\"1,200\",,100000,\r\n"
                     "2024/11/25,給与,,\"250,000\",350000,\r\n"  // in the book: 重複
                     "2024/11/26,ATM,１０，０００,,340000,手数料なし\r\n"
                     "2024/11/31,謎,100,,0,\r\n"        // no such day
                     "2024/12/01,コンビニ,abc,,0,\r\n"  // no amount
                     "R6.12.2,利息,,3,340003,\r\n"));
    const ColumnMapping mapping = GuessMapping(table, categories);
    EXPECT_EQ(mapping.date, 0);
    EXPECT_EQ(mapping.description, 1);
    EXPECT_EQ(mapping.withdrawal, 2);
    EXPECT_EQ(mapping.deposit, 3);
    EXPECT_EQ(mapping.memo, std::vector<int>{5});
    const CategoryHistory history = CategoryHistory::FromBook(store, categories, {2024, 12, 10});
    KnownRows known;
    known.AddBook(store, {2024, 10, 1}, {2024, 12, 31});
    ImportBook imports;
    Preview p = BuildPreview(table, mapping, categories, history, known, {0, 4});
    ASSERT_EQ(p.rows.size(), 4u);
    ASSERT_EQ(p.unreadable.size(), 2u);
    EXPECT_EQ(p.unreadable[0].line, 5);
    EXPECT_EQ(p.unreadable[1].line, 6);
    EXPECT_EQ(ledger::FromCp932(p.rows[0].category), "日用品");  // as the book used it
    EXPECT_TRUE(p.rows[1].duplicate);
    EXPECT_FALSE(p.rows[1].checked);
    EXPECT_EQ(ledger::FromCp932(p.rows[2].category), "食費");  // the expense default
    EXPECT_EQ(p.rows[2].amount, "10000");
    EXPECT_EQ(ledger::FromCp932(p.rows[2].memo), "手数料なし");
    EXPECT_EQ(ledger::FromCp932(p.rows[3].category), "その他収入");  // the income default

    const ImportResult r = ImportRows(store, p, imports);
    EXPECT_EQ(r.imported, 3);
    EXPECT_EQ(r.duplicatesSkipped, 1);
    EXPECT_EQ(r.unreadable, 2);
    EXPECT_EQ(Month("202410"),
              "20241005,日用品,ドラッグストア,980,\r\n"
              "20241031,日用品,ドラッグストア,1200,\r\n");
    EXPECT_EQ(Month("202411"),
              "20241125,給料,給与,250000,\r\n20241126,食費,ATM,10000,手数料なし\r\n");
    EXPECT_EQ(Month("202412"), "20241202,その他収入,利息,3,\r\n");

    // The same statement again: every row is known, from the book or from import.dat.
    testsupport::WriteBytes(dir / "202412.csv", "");  // the user deleted the interest
    imports.Save(dir / "import.dat");
    KnownRows again;
    again.AddBook(store, {2024, 10, 1}, {2024, 12, 31});
    ImportBook::Load(dir / "import.dat").AddTo(again);
    p = BuildPreview(table, mapping, categories, history, again, {0, 4});
    for (const PreviewRow& row : p.rows)
        EXPECT_TRUE(row.duplicate) << row.line;
}

// A card statement with one signed amount; the mapping is remembered by its header line.
TEST_F(StatementBookTest, CardStatementAndItsRememberedMapping) {
    const StatementTable table =
        Read("利用日,利用店名,利用金額\n2024/12/03,書店,1980\n2024/12/04,返品,-500\n");
    ColumnMapping mapping = GuessMapping(table, categories);
    EXPECT_EQ(mapping.amount, 2);
    EXPECT_TRUE(mapping.positiveIsExpense);
    const Preview p = BuildPreview(table, mapping, categories, {}, {}, {2, 3});
    EXPECT_EQ(ledger::FromCp932(p.rows[0].category), "交通費");
    EXPECT_EQ(ledger::FromCp932(p.rows[1].category), "給料");  // a refund counts as income
    EXPECT_EQ(p.rows[1].amount, "500");

    ImportBook book = ImportBook::FromLines({"# kept", "done,20240101,1,x"});
    mapping.memo = {0, 1};
    book.Remember(ImportBook::KeyOf(table), {mapping, Encoding::Utf8, Separator::Comma, {2, 3}});
    book.Save(dir / "import.dat");
    const std::optional<ImportBook::Remembered> found =
        ImportBook::Load(dir / "import.dat").Find(ImportBook::KeyOf(table));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->mapping, mapping);
    EXPECT_EQ(found->defaults.expense, 2);
    EXPECT_EQ(found->encoding, Encoding::Utf8);
    EXPECT_EQ(testsupport::ReadBytes(dir / "import.dat").substr(0, 4), "map,");
    EXPECT_NE(testsupport::ReadBytes(dir / "import.dat").find("# kept\r\ndone,20240101,1,x\r\n"),
              std::string::npos);
}

// The program's own export imports back, in each of its three layouts, into the same rows.
TEST_F(StatementBookTest, OwnExportRoundTripsInEveryLayout) {
    const std::vector<std::string> lines = {ToCp932("20241201,食費,パン,300,朝"),
                                            ToCp932("20241225,給料,給与,250000,")};
    for (auto mode : {csvexport::ExportMode::ExpenseNegative, csvexport::ExportMode::IncomeNegative,
                      csvexport::ExportMode::SplitColumns}) {
        std::string bytes;
        for (const std::string& line : csvexport::ExportLines(lines, categories, mode))
            bytes += line + "\r\n";
        const StatementTable table = Read(bytes);
        EXPECT_FALSE(table.header);
        const Preview p =
            BuildPreview(table, GuessMapping(table, categories), categories, {}, {}, {0, 4});
        ASSERT_EQ(p.rows.size(), 2u) << static_cast<int>(mode);
        std::vector<std::string> back;
        for (const PreviewRow& row : p.rows) {
            back.push_back(ledger::Yyyymmdd(row.date) + "," + row.category + "," + row.description +
                           "," + row.amount + "," + row.memo);
        }
        EXPECT_EQ(back, lines) << static_cast<int>(mode);
    }
}

}  // namespace
