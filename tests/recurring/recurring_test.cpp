#include "ledger/recurring.h"
#include "ledger/cp932.h"
#include "mainwindow/fixture.h"
#include "recurring/dueform.h"
#include "recurring/recurringform.h"
#include "support/widgets.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using ledger::ToCp932;
using testsupport::Child;
using testsupport::MainFormTest;
using Answer = platform::Prompts::Answer;

namespace {

// Today is 5 March 2024. Rent on the 1st, entered up to January: February's and March's are
// due; a template of a category no longer listed is shown, unchecked, and never written.
class RecurringWindowTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        testsupport::WriteBytes(home / "recurring.dat",
                                ToCp932("住居費,家賃,78000,,monthly:1,20240101,,,20240131\r\n"
                                        "# 手で書いたメモ\r\n"
                                        "ペット,えさ,800,,monthly:2,20240301\r\n"));
    }
    // Starts the window and lets its first events run: the question comes then.
    void StartAndSettle() {
        ASSERT_TRUE(Start());
        QApplication::processEvents();
    }
};

TEST_F(RecurringWindowTest, DueEntriesAreOfferedAtStartAndEnteredOnce) {
    QStringList rows;
    QString warning;
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* ask = qobject_cast<recurring::Tdueform*>(&dialog);
        if (!ask)
            return int(QDialog::Rejected);
        auto* table = Child<QTableWidget>(ask, "duegrid");
        for (int r = 0; r < table->rowCount(); ++r) {
            rows << table->item(r, 0)->text() + " " + table->item(r, 1)->text() + " " +
                        table->item(r, 3)->text() +
                        (table->item(r, 0)->checkState() == Qt::Checked ? " ✓" : "");
        }
        warning = Child<QLabel>(ask, "duewarning")->text();
        Child<QPushButton>(ask, "enterButton")->click();
        return int(QDialog::Accepted);
    };
    StartAndSettle();
    EXPECT_EQ(rows, (QStringList{"2024/02/01 (木) 住居費 78,000 ✓",
                                 "2024/03/01 (金) 住居費 78,000 ✓", "2024/03/02 (土) ペット 800"}));
    EXPECT_TRUE(warning.contains("費目リストにない")) << warning.toStdString();
    EXPECT_EQ(MonthText("202402"), "20240201,住居費,家賃,78000,\r\n");
    EXPECT_EQ(MonthText("202403"), "20240301,住居費,家賃,78000,\r\n");
    EXPECT_EQ(ledger::FromCp932(testsupport::ReadBytes(home / "recurring.dat")),
              "住居費,家賃,78000,,monthly:1,20240101,,,20240301\r\n"
              "# 手で書いたメモ\r\n"
              "ペット,えさ,800,,monthly:2,20240301\r\n");
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back().text, "定期入力を2件入力しました。");

    // The next start asks about the unlisted one alone, and 今はしない changes nothing.
    rows.clear();
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* ask = qobject_cast<recurring::Tdueform*>(&dialog);
        if (!ask)
            return int(QDialog::Rejected);
        rows << QString::number(Child<QTableWidget>(ask, "duegrid")->rowCount());
        Child<QPushButton>(ask, "laterButton")->click();
        return int(QDialog::Accepted);
    };
    StartAndSettle();
    EXPECT_EQ(rows, QStringList{"1"});
    EXPECT_EQ(MonthText("202403"), "20240301,住居費,家賃,78000,\r\n");
}

// スキップ marks them done without writing; 今はしない is not asked again on a page change.
TEST_F(RecurringWindowTest, SkipMarksDoneAndPuttingOffHoldsForTheRun) {
    int asked = 0;
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* ask = qobject_cast<recurring::Tdueform*>(&dialog);
        if (!ask)
            return int(QDialog::Rejected);
        ++asked;
        Child<QPushButton>(ask, "laterButton")->click();
        return int(QDialog::Accepted);
    };
    StartAndSettle();
    Trigger("N2");          // today
    Press("SpeedButton1");  // the day before
    EXPECT_EQ(asked, 1);

    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* ask = qobject_cast<recurring::Tdueform*>(&dialog);
        if (!ask)
            return int(QDialog::Rejected);
        Child<QPushButton>(ask, "skipButton")->click();
        return int(QDialog::Accepted);
    };
    StartAndSettle();
    EXPECT_FALSE(std::filesystem::exists(home / "data" / "202402.csv"));
    EXPECT_EQ(ledger::RecurringBook::Load(home / "recurring.dat").Template(0).enteredUpTo,
              (ledger::Date{2024, 3, 1}));
}

// 定期入力 by keyboard: a template added with Ctrl+N, its fields filled, saved; being due
// today it is offered at once.
TEST_F(MainFormTest, TemplateMadeInTheWindowIsEnteredWhenDue) {
    ASSERT_TRUE(Start());
    QString next;
    int offered = 0;
    prompts.dialogHandler = [&](QDialog& dialog) {
        if (auto* ask = qobject_cast<recurring::Tdueform*>(&dialog)) {
            ++offered;
            QTest::keyClick(Child<QTableWidget>(ask, "duegrid"), Qt::Key_Return);  // 入力する
            return int(QDialog::Accepted);
        }
        auto* editor = qobject_cast<recurring::Trecurringform*>(&dialog);
        if (!editor)
            return int(QDialog::Rejected);
        editor->show();
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        QTest::keyClick(editor, Qt::Key_N, Qt::ControlModifier);
        if (Child<QTableWidget>(editor, "recurringgrid")->rowCount() != 1) {
            ADD_FAILURE() << "Ctrl+N added no template";
            return int(QDialog::Rejected);
        }
        Child<QComboBox>(editor, "category")->setCurrentText("通信費");
        Child<QLineEdit>(editor, "description")->setText("携帯");
        emit Child<QLineEdit>(editor, "description")->textEdited("携帯");
        Child<QLineEdit>(editor, "amount")->setText("4,980");
        emit Child<QLineEdit>(editor, "amount")->textEdited("4,980");
        Child<QComboBox>(editor, "rule")->setCurrentIndex(0);  // every month on day N
        Child<QSpinBox>(editor, "number")->setValue(5);
        next = Child<QTableWidget>(editor, "recurringgrid")->item(0, 4)->text();
        Child<QPushButton>(editor, "SpeedButton1")->click();
        return int(QDialog::Accepted);
    };
    Trigger("recurring1");
    EXPECT_EQ(next, "2024/03/05 (火)");
    EXPECT_EQ(ledger::FromCp932(testsupport::ReadBytes(home / "recurring.dat")),
              "通信費,携帯,4980,,monthly:5,20240305,,,20240305\r\n");
    EXPECT_EQ(offered, 1);
    EXPECT_EQ(MonthText("202403"), "20240305,通信費,携帯,4980,\r\n");
    EXPECT_EQ(Cell(0, 1), "携帯");  // on the page at once
}

}  // namespace
