#include "statement/statementform.h"
#include "ledger/cp932.h"
#include "mainwindow/fixture.h"
#include "support/widgets.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using ledger::ToCp932;
using testsupport::Child;
using testsupport::MainFormTest;

namespace {

// A card statement imported by keys alone: Ctrl+I, the file, Enter. The preview proposes
// 費目 from the book and marks the row the book holds; an edited cell is imported as edited;
// the page shows the new row; the next statement of the same card keeps the mapping.
TEST_F(MainFormTest, CardStatementImportedByKeyboard) {
    WriteMonth("202402", {"20240210,食費,スーパー,1500,", "20240220,交通費,電車,300,"});
    testsupport::WriteBytes(home / "card.csv", ToCp932("利用日,利用店名,利用金額,備考\r\n"
                                                       "2024/02/20,電車,300,\r\n"
                                                       "2024/03/01,スーパー,\"2,480\",卵\r\n"
                                                       "2024/03/05,書店,1200,\r\n"
                                                       "2024/03/xx,謎,1,\r\n"));
    prompts.fileToOpen = QString::fromStdString((home / "card.csv").string());
    ASSERT_TRUE(Start());
    QStringList seen;
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* window = qobject_cast<statement::Tstatementform*>(&dialog);
        if (!window)
            return int(QDialog::Rejected);
        auto* table = Child<QTableWidget>(window, "previewgrid");
        for (int r = 0; r < table->rowCount(); ++r) {
            seen << table->item(r, 0)->text() + " " + table->item(r, 1)->text() + " " +
                        table->item(r, 3)->text() + " " + table->item(r, 6)->text() +
                        (table->item(r, 0)->checkState() == Qt::Checked ? " ✓" : "");
        }
        seen << Child<QLabel>(window, "previewsummary")->text();
        table->item(2, 1)->setText("趣味・娯楽");  // 書店: the user's own choice
        QTest::keyClick(window, Qt::Key_Return);   // 取り込む
        return int(window->result());
    };
    Trigger("statement1");
    EXPECT_EQ(seen, (QStringList{"2024/02/20 交通費 300 重複", "2024/03/01 食費 2480  ✓",
                                 "2024/03/05 食費 1200  ✓",
                                 "3行（重複 1行）　読めない行: 5行目（日付を読めません）"}));
    EXPECT_EQ(MonthText("202403"),
              "20240301,食費,スーパー,2480,卵\r\n20240305,趣味・娯楽,書店,1200,\r\n");
    EXPECT_EQ(prompts.shown.back().text,
              "2行を取り込みました。\n重複としてとばした行: 1行\n読めない行: 1行");
    EXPECT_EQ(Cell(0, 1), "書店");  // 5 March, the page's day

    // The same card next month: the mapping as left (memo from 備考, card sign) is kept, and
    // the rows imported before are marked.
    testsupport::WriteBytes(home / "card.csv", ToCp932("利用日,利用店名,利用金額,備考\r\n"
                                                       "2024/03/05,書店,1200,\r\n"
                                                       "2024/04/02,書店,800,雑誌\r\n"));
    seen.clear();
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* window = qobject_cast<statement::Tstatementform*>(&dialog);
        if (!window)
            return int(QDialog::Rejected);
        auto* table = Child<QTableWidget>(window, "previewgrid");
        for (int r = 0; r < table->rowCount(); ++r)
            seen << table->item(r, 1)->text() + " " + table->item(r, 5)->text() + " " +
                        table->item(r, 6)->text();
        Child<QPushButton>(window, "closeButton")->click();
        return int(QDialog::Rejected);
    };
    Trigger("statement1");
    EXPECT_EQ(seen, (QStringList{"趣味・娯楽  重複", "趣味・娯楽 雑誌 "}));
}

// What is no statement is said before any window shows, and nothing is written.
TEST_F(MainFormTest, AFileThatIsNoStatementIsRefused) {
    testsupport::WriteBytes(home / "photo.jpg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10));
    prompts.fileToOpen = QString::fromStdString((home / "photo.jpg").string());
    ASSERT_TRUE(Start());
    int shown = 0;
    prompts.dialogHandler = [&](QDialog&) { return ++shown, int(QDialog::Rejected); };
    Trigger("statement1");
    EXPECT_EQ(shown, 0);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_TRUE(prompts.shown.back().text.contains("明細のCSVファイルではありません"));
    EXPECT_FALSE(std::filesystem::exists(home / "import.dat"));
}

}  // namespace
