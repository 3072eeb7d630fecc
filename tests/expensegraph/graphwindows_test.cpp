#include "expensegraph/graphform.h"
#include "mainwindow/fixture.h"
#include "support/widgets.h"
#include "yeargraph/monthgraph.h"
#include "yeartable/yearform.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>

using testsupport::Child;
using testsupport::Click;
using testsupport::MainFormTest;

namespace {

// By keyboard: Left/PageUp and Right/PageDown step the month, Up and Down scroll the table,
// which starts at its top for every month; no category name is cut off unseen.
TEST_F(MainFormTest, ExpenseGraphByKeyboard) {
    WriteMonth("202403", {"20240301,水道光熱費,,8000,", "20240302,趣味・娯楽,,500,"});
    ASSERT_TRUE(Start());
    std::vector<QString> titles;
    std::vector<int> scrolled;
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* window = qobject_cast<expensegraph::Tgraphform*>(&dialog);
        if (!window)
            return int(QDialog::Rejected);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        QWidget* keys = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        const QFontMetrics metrics(Child<QTableWidget>(window, "grid")->font());
        for (int r = 0; r < Child<QTableWidget>(window, "grid")->rowCount(); ++r) {
            const QTableWidgetItem* name = Child<QTableWidget>(window, "grid")->item(r, 0);
            EXPECT_EQ(name->toolTip(), name->text());
            if (name->text() == "水道光熱費" || name->text() == "趣味・娯楽") {
                EXPECT_LE(metrics.horizontalAdvance(name->text()) + 18 + 8,
                          Child<QTableWidget>(window, "grid")->columnWidth(0))
                    << name->text().toStdString();
            }
        }
        QScrollBar* bar = Child<QTableWidget>(window, "grid")->verticalScrollBar();
        QTest::keyClick(keys, Qt::Key_Down);
        QTest::keyClick(keys, Qt::Key_Down);
        scrolled.push_back(bar->value());
        QTest::keyClick(keys, Qt::Key_Up);
        scrolled.push_back(bar->value());
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_PageUp, Qt::Key_PageDown}) {
            QTest::keyClick(keys, key);
            titles.push_back(Child<QLabel>(window, "Label1")->text());
            scrolled.push_back(bar->value());
        }
        QTest::keyClick(keys, Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());
        return int(QDialog::Accepted);
    };
    Find<QToolButton>("SpeedButton8")->click();
    EXPECT_EQ(scrolled, (std::vector<int>{2, 1, 0, 0, 0, 0}));
    ASSERT_EQ(titles.size(), 4u);
    EXPECT_TRUE(titles[0].contains("2024年4月1日")) << titles[0].toStdString();
    EXPECT_TRUE(titles[1].contains("2024年3月1日")) << titles[1].toStdString();
    EXPECT_TRUE(titles[2].contains("2024年2月1日")) << titles[2].toStdString();
    EXPECT_TRUE(titles[3].contains("2024年3月1日")) << titles[3].toStdString();
}

// Opening the expense graph first saves the page, so what is on the screen is counted; the
// table lists the largest first with the colours of the pie, and the labels follow.
TEST_F(MainFormTest, ExpenseGraphCountsThePageAndFillsTheTable) {
    WriteMonth("202403",
               {"20240301,住居費,,80000,", "20240302,給料,,250000,", "20240304,食費,,1000.5,"});
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    EditCell(0, 2, "2000");  // on the page, not yet in the file
    expensegraph::Tgraphform* window = nullptr;
    QStringList rows;
    QString expense, income, balance, captionIncome, title;
    std::vector<QString> stepped;
    prompts.dialogHandler = [&](QDialog& dialog) {
        window = qobject_cast<expensegraph::Tgraphform*>(&dialog);
        if (!window)
            return int(QDialog::Rejected);
        for (int r = 0; r < Child<QTableWidget>(window, "grid")->rowCount(); ++r) {
            rows << Child<QTableWidget>(window, "grid")->item(r, 0)->text() + "|" +
                        Child<QTableWidget>(window, "grid")->item(r, 1)->text() + "|" +
                        Child<QTableWidget>(window, "grid")->item(r, 2)->text();
        }
        EXPECT_EQ(Child<QTableWidget>(window, "grid")->item(0, 0)->background().color(),
                  form->state().chartColors[0]);
        EXPECT_EQ(Child<QTableWidget>(window, "grid")->item(1, 0)->background().color(),
                  form->state().chartColors[1]);
        expense = Child<QLabel>(window, "Label3")->text();
        income = Child<QLabel>(window, "Label4")->text();
        balance = Child<QLabel>(window, "Label5")->text();
        captionIncome = Child<QLabel>(window, "Label6")->text();
        title = Child<QLabel>(window, "Label1")->text();
        Click(window, "SpeedButton4");  // 翌月: nothing there
        stepped.push_back(Child<QLabel>(window, "Label3")->text());
        stepped.push_back(Child<QTableWidget>(window, "grid")->item(0, 1)->text());
        Click(window, "SpeedButton5");
        Click(window, "SpeedButton5");  // 前月 twice: February
        stepped.push_back(Child<QLabel>(window, "Label1")->text());
        return int(QDialog::Accepted);
    };
    Find<QToolButton>("SpeedButton8")->click();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(MonthText("202403"),
              "20240301,住居費,,80000,\r\n20240302,給料,,250000,\r\n20240304,食費,,1000.5,\r\n"
              "20240305,食費,,2000,\r\n");
    ASSERT_EQ(rows.size(), 10);  // the shipped list: ten expense categories and 給料
    EXPECT_EQ(rows[0], "住居費|96.4%|¥80,000");
    EXPECT_EQ(rows[1], "食費|3.6%|¥3,001");  // 3000.5 in the table's whole units
    EXPECT_TRUE(rows[2].endsWith("|0.0%|¥0")) << rows[2].toStdString();
    EXPECT_EQ(expense, "¥83,000.5");
    EXPECT_EQ(income, "¥250,000");
    EXPECT_EQ(balance, "¥166,999.5");
    EXPECT_EQ(captionIncome, "3月度総収入：");
    EXPECT_EQ(title, "1ヶ月の支出グラフ   2024年3月1日～2024年3月31日");
    EXPECT_EQ(stepped[0], "¥0");
    EXPECT_EQ(stepped[1], "");  // no expense: no percentages
    EXPECT_EQ(stepped[2], "1ヶ月の支出グラフ   2024年2月1日～2024年2月29日");
    // The summary stays with the main window.
    EXPECT_EQ(form->findChild<expensegraph::Tgraphform*>("graphform")->summary().first,
              (ledger::Date{2024, 2, 1}));
}

TEST_F(MainFormTest, ExpenseGraphBalanceBelowZeroKeepsItsMinusAfterTheSign) {
    WriteMonth("202403", {"20240301,食費,,1500,", "20240302,給料,,1000,"});
    ASSERT_TRUE(Start());
    QString balance;
    prompts.dialogHandler = [&](QDialog& dialog) {
        if (auto* window = qobject_cast<expensegraph::Tgraphform*>(&dialog))
            balance = Child<QLabel>(window, "Label5")->text();
        return int(QDialog::Accepted);
    };
    Find<QAction>("N12")->trigger();
    EXPECT_EQ(balance, "¥-500");
}

// The month graph: the page's year, a scale from the table, the series kept between showings
// and a scale of 0 refused with the last chart left as it was.
TEST_F(MainFormTest, MonthGraphKeepsItsSeriesAndRefusesAScaleOfZero) {
    WriteMonth("202403", {"20240301,食費,,12000,", "20240302,給料,,250000,"});
    ASSERT_TRUE(Start());
    yeargraph::Tmonthgraph* window = nullptr;
    int scale = 0;
    std::function<void(yeargraph::Tmonthgraph&)> step;
    prompts.dialogHandler = [&](QDialog& dialog) {
        window = qobject_cast<yeargraph::Tmonthgraph*>(&dialog);
        if (window && step)
            step(*window);
        return int(QDialog::Accepted);
    };
    step = [&](yeargraph::Tmonthgraph& w) {
        EXPECT_EQ(Child<QComboBox>(&w, "ComboBox1")->count(), 13);
        EXPECT_EQ(Child<QComboBox>(&w, "ComboBox1")->itemText(0), "総支出");
        EXPECT_EQ(Child<QComboBox>(&w, "ComboBox1")->itemText(2), "食費");
        scale = Child<QSpinBox>(&w, "SpinEdit1")->value();
        Child<QComboBox>(&w, "ComboBox1")->setCurrentIndex(1);  // 総収入
    };
    Find<QAction>("N14")->trigger();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(scale, 50000);
    EXPECT_EQ(window->selectedSeries(), 1);
    EXPECT_EQ(Child<QSpinBox>(window, "SpinEdit1")->value(), 500000);

    step = [&](yeargraph::Tmonthgraph& w) {
        EXPECT_EQ(Child<QComboBox>(&w, "ComboBox1")->currentIndex(), 1);  // kept
        const QImage before = w.ChartImage();
        Child<QSpinBox>(&w, "SpinEdit1")->setValue(0);
        Click(&w, "SpeedButton1");
        EXPECT_EQ(w.ChartImage(), before);
        Child<QSpinBox>(&w, "SpinEdit1")->setValue(1000000);
        Click(&w, "SpeedButton1");
        EXPECT_NE(w.ChartImage(), before);
    };
    prompts.shown.clear();
    Find<QAction>("N14")->trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "error");
}

}  // namespace

namespace {

// 年間収支表 by keyboard: it opens on the page's month, Right and Left step the year, Tab
// moves across the months, and Enter shows the cell's first entry on the day page.
TEST_F(MainFormTest, YearTableByKeyboardOpensTheEntryOfACell) {
    WriteMonth("202402",
               {"20240210,食費,,500,", "20240214,食費,パン,300,", "20240214,食費,米,900,"});
    WriteMonth("202302", {"20230201,食費,,111,"});
    ASSERT_TRUE(Start());
    ShowActive();
    std::vector<QString> titles;
    QString cell;
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* window = qobject_cast<yeartable::Tyearform*>(&dialog);
        if (!window)
            return int(QDialog::Rejected);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        auto* grid = Child<QTableWidget>(window, "yeargrid");
        EXPECT_EQ(grid->currentColumn(), 2);  // March, the page's month
        titles.push_back(Child<QLabel>(window, "yearTitle")->text());
        QTest::keyClick(grid, Qt::Key_Left);
        titles.push_back(Child<QLabel>(window, "yearTitle")->text());
        cell = grid->item(0, 1)->text();  // 食費, February 2023
        QTest::keyClick(grid, Qt::Key_Right);
        titles.push_back(Child<QLabel>(window, "yearTitle")->text());
        QTest::keyClick(grid, Qt::Key_Backtab);  // February
        cell += " " + grid->item(0, 1)->text();
        // 食費's first entry of February in date order: 10 February's.
        QTest::keyClick(grid, Qt::Key_Return);
        return int(window->result());
    };
    Trigger("yeartable1");
    EXPECT_EQ(titles, (std::vector<QString>{"2024年 年間収支表", "2023年 年間収支表",
                                            "2024年 年間収支表"}));
    EXPECT_EQ(cell, "111 1,700");
    EXPECT_EQ(LabelText("labeldate").left(10), "2024/02/10");
    EXPECT_EQ(grid().currentIndex().row(), 0);
}

}  // namespace
