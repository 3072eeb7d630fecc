#include "budget/budgetform.h"
#include "budget/monthbudget.h"
#include "budget/monthbudgetform.h"
#include "expensegraph/graphform.h"
#include "ledger/cp932.h"
#include "mainwindow/fixture.h"
#include "support/categories.h"
#include "support/widgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using ledger::Amount;
using ledger::ToCp932;
using testsupport::Child;
using testsupport::MainFormTest;
using Answer = platform::Prompts::Answer;

namespace {

// Under a closing day of 25 the accounting month of 30 December 2024 runs from 26 December
// to 25 January and is named January 2025: its own budget line counts, not the every-month
// one, and only the entries inside it are spent.
TEST(MonthBudget, RemainderUnderAClosingDayAcrossTheYear) {
    testsupport::TempDir dir;
    const ledger::MonthStore store(dir.path());
    auto month = [&](const char* yyyymm, const std::string& utf8) {
        testsupport::WriteBytes(dir / (std::string(yyyymm) + ".csv"), ToCp932(utf8));
    };
    month("202412", "20241225,食費,,999,\r\n20241227,食費,,1000,\r\n20241228,給料,,5,\r\n");
    month("202501", "20250120,食費,,2500.5,\r\n20250126,食費,,777,\r\n");
    const ledger::BudgetBook budgets = ledger::BudgetBook::FromLines(
        {ToCp932("食費,40000"), ToCp932("202501,食費,3000"), ToCp932("給料,1")});
    const ledger::CategoryList categories = testsupport::FoodAndSalary();
    const budget::MonthBudget january =
        budget::BudgetOfMonthOf(store, budgets, categories, {25, true}, {2024, 12, 30});
    ASSERT_EQ(january.categories.size(), 1u);  // expense categories only
    EXPECT_EQ(january.categories[0].spent, ledger::AmountOrZero("3500.5"));
    EXPECT_EQ(january.totalBudget, Amount::FromWhole(3000));
    EXPECT_EQ(january.totalRemaining, ledger::AmountOrZero("-500.5"));  // over
    EXPECT_TRUE(january.any);

    // December's span (26 Nov to 25 Dec) takes the every-month budget.
    const budget::MonthBudget december =
        budget::BudgetOfMonthOf(store, budgets, categories, {25, true}, {2024, 12, 25});
    EXPECT_EQ(december.totalRemaining, Amount::FromWhole(40000 - 999));
    // Without any line for the category there is no budget at all.
    EXPECT_FALSE(budget::BudgetOfMonthOf(store, {}, categories, {25, true}, {2024, 12, 25}).any);
    EXPECT_EQ(budget::BudgetLineValue(budgets, categories, 202501, budget::kAllExpenses),
              Amount::FromWhole(3000));
    EXPECT_EQ(budget::BudgetLineValue(budgets, categories, 202501, 1), std::nullopt);  // income
}

// 予算設定 by keyboard: typed amounts as on the day page, Enter down the cells, the total,
// a refused amount, Escape asking before it drops changes, and the file written on save.
TEST_F(MainFormTest, BudgetWindowByKeyboard) {
    testsupport::WriteBytes(home / "budget.dat", ToCp932("# kept\r\n202403,食費,1\r\n"));
    ASSERT_TRUE(Start());
    ShowActive();
    EXPECT_FALSE(Find<QLabel>("labelbudget")->isVisibleTo(form.get()) &&
                 LabelText("labelbudget").contains("¥0"));
    std::vector<QString> seen;
    int round = 0;
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* window = qobject_cast<budget::Tbudgetform*>(&dialog);
        if (!window)
            return int(QDialog::Rejected);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        auto* grid = Child<platform::GridView>(window, "budgetgrid");
        EXPECT_EQ(grid->model()->headerData(0, Qt::Vertical).toString(), "食費");
        EXPECT_EQ(grid->currentIndex().row(), 0);
        // F2 opens the cell's editor; the text goes in as an input method would put it.
        auto type = [&](const QString& text) {
            QTest::keyClick(grid, Qt::Key_F2);
            auto* editor = qobject_cast<QLineEdit*>(grid->OpenEditor());
            ASSERT_NE(editor, nullptr);
            editor->setText(text);
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents();  // the cursor moves once the editor is gone
        };
        if (round++ == 0) {
            type("４０，０００");
            seen.push_back(grid->model()->index(0, 0).data().toString());
            seen.push_back(QString::number(grid->currentIndex().row()));
            type("-5");  // refused: the editor stays on the cell with a note
            seen.push_back(Child<QLabel>(window, "budgetnote")->text());
            QTest::keyClick(grid->OpenEditor(), Qt::Key_Escape);  // the editor
            seen.push_back(Child<QLabel>(window, "budgettotal")->text());
            prompts.answers = {Answer::No};
            QTest::keyClick(grid, Qt::Key_Escape);  // asks; いいえ stays
            seen.push_back(prompts.shown.back().text);
            EXPECT_TRUE(window->isVisible());
            prompts.answers = {Answer::Yes};
            QTest::keyClick(grid, Qt::Key_Escape);
            EXPECT_FALSE(window->isVisible());
            return int(QDialog::Rejected);
        }
        type("1,280");
        Child<QPushButton>(window, "SpeedButton1")->click();
        return int(window->result());
    };
    Trigger("budget1");
    EXPECT_EQ(seen, (std::vector<QString>{"40,000", "1", "予算は0以上の数字で入力してください",
                                          "合計 ¥40,000", "変更を保存せずに閉じますか？"}));
    EXPECT_EQ(testsupport::ReadBytes(home / "budget.dat"), ToCp932("# kept\r\n202403,食費,1\r\n"));

    Trigger("budget1");
    EXPECT_EQ(testsupport::ReadBytes(home / "budget.dat"),
              ToCp932("# kept\r\n202403,食費,1\r\n食費,1280\r\n"));
    // March has its own 食費 budget of 1; the label shows at once.
    EXPECT_TRUE(Find<QLabel>("labelbudget")->isVisibleTo(form.get()));
    EXPECT_EQ(LabelText("labelbudget"), "今月の残り予算 ¥1");
}

// The label follows every accepted edit, red with a minus sign once over; it counts the
// accounting month under the closing day and hides while the month has no budget.
TEST_F(MainFormTest, RemainingBudgetFollowsEachEdit) {
    testsupport::WriteBytes(home / "budget.dat", ToCp932("食費,1000\r\n住居費,0\r\n"));
    WriteMonth("202403", {"20240301,食費,,300,", "20240302,給料,,99999,"});
    ASSERT_TRUE(Start());
    EXPECT_EQ(LabelText("labelbudget"), "今月の残り予算 ¥700");
    EditCell(0, 0, "食費");
    EditCell(0, 2, "1200");
    EXPECT_EQ(LabelText("labelbudget"), "今月の残り予算 ¥-500");
    EXPECT_TRUE(Find<QLabel>("labelbudget")->styleSheet().contains("200, 30, 30"));
    testsupport::WriteBytes(home / "budget.dat", "");
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Find<QLabel>("labelbudget")->isVisibleTo(form.get()));
}

// The expense graph's budget columns, its totals, and a month's own budget set from a row.
TEST_F(MainFormTest, ExpenseGraphShowsBudgetsAndSetsAMonthsOwn) {
    testsupport::WriteBytes(home / "budget.dat", ToCp932("食費,1000\r\n交通費,500\r\n"));
    WriteMonth("202403", {"20240301,食費,,1300,", "20240302,交通費,,200,"});
    ASSERT_TRUE(Start());
    QStringList rows;
    QString totals;
    prompts.dialogHandler = [&](QDialog& dialog) {
        if (auto* ask = qobject_cast<budget::Tmonthbudgetform*>(&dialog)) {
            EXPECT_EQ(Child<QLabel>(ask, "monthcaption")->text(), "2024年3月度の予算");
            EXPECT_EQ(Child<QComboBox>(ask, "monthcategory")->currentText(), "食費");
            Child<QLineEdit>(ask, "monthamount")->setText("２,０００");
            Child<QPushButton>(ask, "okButton")->click();
            return int(ask->result());
        }
        auto* window = qobject_cast<expensegraph::Tgraphform*>(&dialog);
        if (!window)
            return int(QDialog::Rejected);
        auto* table = Child<QTableWidget>(window, "grid");
        auto row = [&](int r) {
            return QStringList{table->item(r, 0)->text(), table->item(r, 2)->text(),
                               table->item(r, 3)->text(), table->item(r, 4)->text()}
                .join(' ');
        };
        rows << row(0) << row(1) << row(2);
        totals = Child<QLabel>(window, "budgetsum")->text();
        EXPECT_EQ(table->item(0, 4)->foreground().color(), QColor(200, 30, 30));
        QTest::keyClick(window, Qt::Key_B);  // the top row: 食費
        rows << row(0);
        totals += " / " + Child<QLabel>(window, "budgetsum")->text();
        return int(QDialog::Accepted);
    };
    Press("SpeedButton8");
    EXPECT_EQ(rows, (QStringList{"食費 ¥1,300 ¥1,000 ¥-300", "交通費 ¥200 ¥500 ¥300", rows.value(2),
                                 "食費 ¥1,300 ¥2,000 ¥700"}));
    EXPECT_TRUE(rows.value(2).endsWith("  ")) << rows.value(2).toStdString();  // no budget
    EXPECT_EQ(totals, "予算合計 ¥1,500　残り合計 ¥0 / 予算合計 ¥2,500　残り合計 ¥1,000");
    EXPECT_EQ(testsupport::ReadBytes(home / "budget.dat"),
              ToCp932("食費,1000\r\n交通費,500\r\n202403,食費,2000\r\n"));
    EXPECT_EQ(LabelText("labelbudget"), "今月の残り予算 ¥1,000");
}

// A budget.dat that cannot be read is said at the start and never written over.
TEST_F(MainFormTest, UnreadableBudgetsAreNotWrittenOver) {
    std::filesystem::create_directory(home / "budget.dat");
    ASSERT_TRUE(Start());
    ASSERT_FALSE(MessageTexts().empty());
    EXPECT_TRUE(MessageTexts().front().contains("budget.dat を読み込めません"));
    EXPECT_TRUE(form->state().budgetsUnreadable);
    EXPECT_TRUE(std::filesystem::is_directory(home / "budget.dat"));
}

}  // namespace
