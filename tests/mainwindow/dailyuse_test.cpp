// What a month of real entries asks of the day page: nothing typed vanishes or counts wrong,
// and everything is reached by keys. Each test drives the window as a user does: keys, the
// real clipboard, the window's own menus.
#include "fixture.h"
#include "mainwindow/findform.h"
#include "support/widgets.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using testsupport::Child;
using testsupport::Click;
using testsupport::MainFormTest;
using Answer = platform::Prompts::Answer;

namespace {

class DailyUseTest : public MainFormTest {
protected:
    // Types an amount or memo into a closed cell as the keyboard does: the first key opens
    // the editor with it, the rest follow, Enter leaves.
    void TypeInto(int row, int column, const QString& text) {
        grid().setCurrentIndex(model().index(row, column));
        QTest::keyClick(&grid(), text.at(0).toLatin1());
        auto* line = qobject_cast<QLineEdit*>(grid().OpenEditor());
        ASSERT_NE(line, nullptr);
        QTest::keyClicks(line, text.mid(1));
        Key(line, Qt::Key_Return);
    }
    // Text an input method or a paste puts into the open editor, then Enter.
    void CommitInto(int row, int column, const QString& text) {
        grid().setCurrentIndex(model().index(row, column));
        Key(&grid(), Qt::Key_F2);
        auto* line = qobject_cast<QLineEdit*>(grid().OpenEditor());
        ASSERT_NE(line, nullptr);
        line->selectAll();
        line->insert(text);
        Key(line, Qt::Key_Return);
    }
    QLabel* Hint() { return grid().findChild<QLabel*>("amountHint"); }
    // Runs `inMenu` on the popup menu a key opens, once it is up.
    QMenu* WithMenu(const std::function<void(QMenu&)>& inMenu, const std::function<void()>& open) {
        QMenu* seen = nullptr;
        QTimer::singleShot(100, [&] {
            seen = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (seen)
                inMenu(*seen);
            else if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
        });
        open();
        QApplication::processEvents();
        return seen;
    }
};

// Typed entries are in the month file before any page change: the month balance, the search
// and a crash all see them. Insert, delete and paste save too.
TEST_F(DailyUseTest, EveryAcceptedEditReachesTheFileAtOnce) {
    WriteMonth("202403", {"20240301,給料,,450000,"});
    ASSERT_TRUE(Start());
    ShowActive();
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ¥450,000");
    EditCell(0, 0, "食費");
    TypeInto(0, 2, "1280");
    EXPECT_EQ(MonthText("202403"), "20240301,給料,,450000,\r\n20240305,食費,,1280,\r\n");
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ¥448,720");
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ▲ ¥1,280");

    TypeInto(0, 3, "teisyoku");
    EXPECT_EQ(MonthText("202403"), "20240301,給料,,450000,\r\n20240305,食費,,1280,teisyoku\r\n");

    // Insert puts an empty row before the entry; a pasted memo and amount on it are saved.
    grid().setCurrentIndex(model().index(0, 3));
    Key(&grid(), Qt::Key_Insert);
    EditCell(0, 0, "日用品");
    QGuiApplication::clipboard()->setText("300");
    grid().setCurrentIndex(model().index(0, 2));
    Key(&grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(MonthText("202403"),
              "20240301,給料,,450000,\r\n20240305,日用品,,300,\r\n"
              "20240305,食費,,1280,teisyoku\r\n");
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ¥448,420");

    // Search finds what is on the screen.
    Find<QAction>("search1")->trigger();
    Child<QLineEdit>(Find<mainwindow::TFindDialog>("FindDialog1"), "Edit1")->setText("teisyoku");
    Click(Find<mainwindow::TFindDialog>("FindDialog1"), "FindButton");
    EXPECT_TRUE(prompts.shown.empty());
    Find<mainwindow::TFindDialog>("FindDialog1")->close();

    // Delete: gone from the file at once.
    grid().setCurrentIndex(model().index(0, 2));
    Key(&grid(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(MonthText("202403"), "20240301,給料,,450000,\r\n20240305,食費,,1280,teisyoku\r\n");
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ¥448,720");
}

// What people type and paste is stored as the plain number and counts everywhere; what is
// still no number is refused with a word, never stored as text that counts as 0.
TEST_F(DailyUseTest, AmountsAsPeopleTypeAndPasteThem) {
    ASSERT_TRUE(Start());
    ShowActive();
    EditCell(0, 0, "食費");
    TypeInto(0, 2, "1,280");
    EXPECT_EQ(Cell(0, 2), "1280");
    for (const char* typed : {"１２８０", "１，２８０", "￥1,280", "1,280円"}) {
        CommitInto(0, 2, "1");
        CommitInto(0, 2, QString::fromUtf8(typed));
        EXPECT_EQ(Cell(0, 2), "1280") << typed;
    }
    EXPECT_EQ(MonthText("202403"), "20240305,食費,,1280,\r\n");
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ▲ ¥1,280");

    // Pasted through the real clipboard, as from a bank's web page.
    grid().setCurrentIndex(model().index(0, 2));
    QGuiApplication::clipboard()->setText(QStringLiteral("￥2,400"));
    Key(&grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(0, 2), "2400");
    EXPECT_EQ(MonthText("202403"), "20240305,食費,,2400,\r\n");

    for (const char* refused : {"24,00", "二千円"}) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(refused));
        Key(&grid(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Cell(0, 2), "2400") << refused;
        ASSERT_NE(Hint(), nullptr) << refused;
        EXPECT_TRUE(Hint()->isVisible()) << refused;
        EXPECT_EQ(Hint()->text(), "金額は数字で入力してください");
    }
    EXPECT_EQ(MonthText("202403"), "20240305,食費,,2400,\r\n");
    EXPECT_TRUE(prompts.shown.empty());
}

// A row typed without its amount (or category) is not written; leaving the page or closing
// the window asks once, and いいえ keeps the page with the cursor on that row.
TEST_F(DailyUseTest, RowsWithoutAnAmountAreNotDroppedUnasked) {
    ASSERT_TRUE(Start());
    ShowActive();
    EditCell(0, 0, "食費");
    TypeInto(0, 3, "later");
    grid().setCurrentIndex(model().index(0, 0));

    const QString question = "金額（または費目）のない行は保存されません。破棄しますか？";
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"PageDown", [&] { Key(&grid(), Qt::Key_PageDown); }},
        {"PageUp", [&] { Key(&grid(), Qt::Key_PageUp); }},
        {"close", [&] { EXPECT_FALSE(form->close()); }},
    };
    for (const auto& [way, leave] : ways) {
        prompts.shown.clear();
        prompts.answers = {Answer::No};
        leave();
        ASSERT_EQ(prompts.shown.size(), 1u) << way;
        EXPECT_EQ(prompts.shown[0].caption, "確認");
        EXPECT_EQ(prompts.shown[0].text, question);
        EXPECT_EQ(prompts.shown[0].buttons, platform::Prompts::Buttons::YesNo);
        EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 5})) << way;
        EXPECT_EQ(Cell(0, 3), "later") << way;
        EXPECT_EQ(grid().currentIndex(), model().index(0, 2)) << way;
    }
    // A report of the same day does not leave the page: nothing asked, the row stays.
    prompts.shown.clear();
    Find<QAction>("N12")->trigger();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(Cell(0, 3), "later");

    // The amount typed: nothing to ask any more.
    TypeInto(0, 2, "680");
    Key(&grid(), Qt::Key_PageDown);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(MonthText("202403"), "20240305,食費,,680,later\r\n");

    // はい drops the row as the file rule says.
    TypeInto(0, 3, "no amount");
    prompts.answers = {Answer::Yes};
    Key(&grid(), Qt::Key_PageDown);
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 7}));
}

// Commands that show the same day again keep the row and column; the delete question names
// its row, and after a delete the next Ctrl+D has a row to delete.
TEST_F(DailyUseTest, TheCursorStaysWhereItWas) {
    WriteMonth("202403",
               {"20240305,食費,スーパー,1280,", "20240305,給料,,450000,", "20240305,日用品,,300,"});
    ASSERT_TRUE(Start());
    ShowActive();
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"graph", [&] { Key(&grid(), Qt::Key_G, Qt::ControlModifier); }},
        {"calendar", [&] { Key(&grid(), Qt::Key_K, Qt::ControlModifier); }},
        {"closing day", [&] { Find<QAction>("N9")->trigger(); }},
        {"month graph", [&] { Key(&grid(), Qt::Key_M, Qt::ControlModifier); }},
    };
    for (const auto& [name, command] : commands) {
        grid().setCurrentIndex(model().index(1, 2));
        command();
        EXPECT_EQ(grid().currentIndex(), model().index(1, 2)) << name;
    }
    EXPECT_EQ(prompts.dialogsRun, 4);

    grid().setCurrentIndex(model().index(0, 2));
    prompts.answers = {Answer::Cancel};
    Key(&grid(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "行を削除します。よろしいですか？\n食費　スーパー　1,280");
    Key(&grid(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Cell(0, 0), "給料");
    // The cursor is on the row that moved up, selected: a second Ctrl+D deletes it.
    EXPECT_EQ(grid().currentIndex(), model().index(0, 2));
    EXPECT_TRUE(grid().selectionModel()->isSelected(model().index(0, 2)));
    Key(&grid(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(prompts.shown.back().text, "行を削除します。よろしいですか？\n給料　450,000");
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_EQ(MonthText("202403"), "20240305,日用品,,300,\r\n");
}

// F2 opens the cell with its text kept, caret at the end; Home and End move the caret
// inside the editor. A key typed on a closed cell still replaces its text.
TEST_F(DailyUseTest, EditingACellKeepsItsText) {
    WriteMonth("202403", {"20240305,食費,,1280,ランチ"});
    ASSERT_TRUE(Start());
    ShowActive();
    grid().setCurrentIndex(model().index(0, 3));
    Key(&grid(), Qt::Key_F2);
    auto* line = qobject_cast<QLineEdit*>(grid().OpenEditor());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), "ランチ");
    EXPECT_FALSE(line->hasSelectedText());
    EXPECT_EQ(line->cursorPosition(), 3);
    QTest::keyClicks(line, "2");
    Key(line, Qt::Key_Home);
    EXPECT_EQ(line->cursorPosition(), 0);
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 5}));
    QTest::keyClicks(line, "1");
    Key(line, Qt::Key_End);
    EXPECT_EQ(line->cursorPosition(), 5);
    Key(line, Qt::Key_Return);
    EXPECT_EQ(Cell(0, 3), "1ランチ2");

    TypeInto(0, 3, "x");
    EXPECT_EQ(Cell(0, 3), "x");
    // Outside an editor Home still goes to today.
    Key(&grid(), Qt::Key_PageDown);
    Key(&grid(), Qt::Key_Home);
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 5}));
}

// F10 opens the window menu anywhere, Shift+F10 and the Menu key outside the grid; in the
// grid they open the grid's own menu. Arrows and Enter run an item.
TEST_F(DailyUseTest, TheWindowMenuByKeyboard) {
    ASSERT_TRUE(Start());
    ShowActive();
    QAction* active = nullptr;
    QMenu* menu = WithMenu(
        [&](QMenu& m) {
            active = m.activeAction();
            Key(&m, Qt::Key_Down);  // 行削除
            Key(&m, Qt::Key_Down);  // 新規行
            Key(&m, Qt::Key_Return);
        },
        [&] { Key(&grid(), Qt::Key_F10); });
    EXPECT_EQ(menu, Find<QMenu>("PopupMenu1"));
    EXPECT_EQ(active, Find<QAction>("N2"));
    EXPECT_EQ(model().rowCount(), 2);  // 新規行 ran

    for (Qt::Key key : {Qt::Key_Menu, Qt::Key_F10}) {
        const Qt::KeyboardModifiers mods = key == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier;
        grid().setFocus();
        EXPECT_EQ(WithMenu([](QMenu& m) { m.close(); }, [&] { Key(&grid(), key, mods); }),
                  Find<QMenu>("PopupMenu2"))
            << key;
        Find<QPushButton>("focusbutton")->setFocus();
        EXPECT_EQ(WithMenu([](QMenu& m) { m.close(); },
                           [&] { Key(Find<QPushButton>("focusbutton"), key, mods); }),
                  Find<QMenu>("PopupMenu1"))
            << key;
    }
}

// The entry found becomes the current row, a second match on the same day moves the
// cursor to it, and the find dialog leaves the rows' memos in sight.
TEST_F(DailyUseTest, SearchPutsTheCursorOnTheEntryFound) {
    WriteMonth("202403", {"20240301,食費,,1,", "20240310,食費,,300,夕飯の弁当",
                          "20240310,日用品,,5,", "20240310,食費,,200,弁当"});
    ASSERT_TRUE(Start());
    ShowActive();
    grid().setCurrentIndex(model().index(0, 3));
    Find<QAction>("search1")->trigger();
    auto* dialog = Find<mainwindow::TFindDialog>("FindDialog1");
    Child<QLineEdit>(dialog, "Edit1")->setText("弁当");
    // The index is sorted: "食費,,200,弁当" comes before "食費,,300,夕飯の弁当".
    Click(dialog, "FindButton");
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 10}));
    EXPECT_EQ(grid().currentIndex().row(), 2);
    Click(dialog, "FindButton");
    EXPECT_EQ(grid().currentIndex().row(), 0);

    const QRect memo = grid().visualRect(model().index(0, mainwindow::DayModel::kMemo));
    const QRect memoColumn(grid().viewport()->mapToGlobal(QPoint(memo.left(), 0)),
                           QSize(memo.width(), grid().viewport()->height()));
    EXPECT_FALSE(dialog->frameGeometry().intersects(memoColumn));
    dialog->close();
}

}  // namespace
