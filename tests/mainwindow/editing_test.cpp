#include "fixture.h"

#include <QInputMethodEvent>
#include <QTest>
#include <QToolButton>

#include <functional>

using testsupport::MainFormTest;
using Answer = platform::Prompts::Answer;

namespace {

TEST_F(MainFormTest, AmountsAreCheckedWhenTheCellIsLeft) {
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    for (const char* ok : {"1000", " 1000 ", "-250", "12.5", "1e3"}) {
        EditCell(0, 2, ok);
        EXPECT_EQ(Cell(0, 2), QString(ok).trimmed()) << ok;
    }
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ▲ ¥1,000");
    for (const char* refused : {"10,00", "abc", ""}) {
        EditCell(0, 2, refused);
        EXPECT_EQ(Cell(0, 2), "1e3") << refused;
        // The cursor is back on the cell with its editor open, and a note under it says why.
        QApplication::processEvents();
        EXPECT_EQ(grid().currentIndex(), model().index(0, 2));
        ASSERT_NE(grid().OpenEditor(), nullptr) << refused;
        auto* hint = grid().findChild<QLabel*>("amountHint");
        ASSERT_NE(hint, nullptr) << refused;
        EXPECT_FALSE(hint->isHidden()) << refused;
        EXPECT_EQ(hint->text(), "金額は数字で入力してください");
        grid().FinishEditing();
    }
    EXPECT_TRUE(prompts.shown.empty());  // no message box in the way of typing
    // An empty amount left empty is not checked.
    model().AppendEmptyRow();
    EditCell(1, 2, "");
    QApplication::processEvents();
    EXPECT_EQ(grid().OpenEditor(), nullptr);
}

TEST_F(MainFormTest, MemoLineBreaksBecomeBlanks) {
    ASSERT_TRUE(Start());
    EditCell(0, 3, "一行目\r\n二行目\nend");
    EXPECT_EQ(Cell(0, 3), "一行目  二行目 end");
}

TEST_F(MainFormTest, TextWithoutCp932FormIsRefusedWithAMessage) {
    ASSERT_TRUE(Start());
    EditCell(0, 3, "ランチ");
    EditCell(0, 3, "寿司🍣");
    EXPECT_EQ(Cell(0, 3), "ランチ");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "error");
    EXPECT_TRUE(prompts.shown[0].text.contains("🍣"));
}

TEST_F(MainFormTest, PickListsOfferCategoriesAndTheirPresets) {
    WriteMonth("202403", {"20240305,食費,外食,900,", "20240305,なくなった費目,x,1,"});
    ASSERT_TRUE(Start());
    auto* combo = qobject_cast<QComboBox*>(OpenEditor(0, 0));
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->count(), 11);
    EXPECT_EQ(combo->currentText(), "食費");
    grid().FinishEditing();
    combo = qobject_cast<QComboBox*>(OpenEditor(0, 1));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->itemText(0), "スーパー");
    EXPECT_EQ(combo->currentText(), "外食");
    grid().FinishEditing();
    combo = qobject_cast<QComboBox*>(OpenEditor(1, 1));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 0);  // unknown category: nothing to pick
    grid().FinishEditing();
    EXPECT_EQ(Cell(1, 1), "x");
}

TEST_F(MainFormTest, EnterWalksTheCellsAndAddsARowPastTheLast) {
    ASSERT_TRUE(Start());
    grid().setCurrentIndex(model().index(0, 0));
    for (int column = 1; column < 4; ++column) {
        QTest::keyClick(&grid(), Qt::Key_Return);
        EXPECT_EQ(grid().currentIndex(), model().index(0, column));
    }
    QTest::keyClick(&grid(), Qt::Key_Return);
    EXPECT_EQ(model().rowCount(), 2);
    EXPECT_EQ(grid().currentIndex(), model().index(1, 0));
}

TEST_F(MainFormTest, EnterInAnEditorCommitsAndMovesOn) {
    ASSERT_TRUE(Start());
    auto* line = qobject_cast<QLineEdit*>(OpenEditor(0, 2));
    ASSERT_NE(line, nullptr);
    line->setText("300");
    QTest::keyClick(line, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Cell(0, 2), "300");
    EXPECT_EQ(grid().currentIndex(), model().index(0, 3));
}

TEST_F(MainFormTest, InsertAndAppendRows) {
    WriteMonth("202403", {"20240305,食費,,1,", "20240305,食費,,2,"});
    ASSERT_TRUE(Start());
    grid().setCurrentIndex(model().index(1, 2));
    QTest::keyClick(&grid(), Qt::Key_Insert);
    ASSERT_EQ(model().rowCount(), 3);
    EXPECT_TRUE(model().IsRowEmpty(1));
    EXPECT_EQ(Cell(2, 2), "2");
    QTest::keyClick(&grid(), Qt::Key_Insert, Qt::ControlModifier);  // not the insert command
    EXPECT_EQ(model().rowCount(), 3);

    Trigger("N1");
    EXPECT_EQ(model().rowCount(), 4);
    EXPECT_EQ(grid().currentIndex(), model().index(3, 0));

    // A double click below the last row appends one; on a cell it does not.
    form->resize(800, 600);
    QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, QPoint(20, 380));
    EXPECT_EQ(model().rowCount(), 5);
}

TEST_F(MainFormTest, DeleteRules) {
    ASSERT_TRUE(Start());
    // One empty row: cleared without a question.
    grid().setCurrentIndex(model().index(0, 1));
    Trigger("MenuItem1");
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(model().rowCount(), 1);

    // One filled row: asked; Cancel keeps it, OK empties it and keeps the row.
    EditCell(0, 0, "食費");
    EditCell(0, 2, "10");
    grid().setCurrentIndex(model().index(0, 2));
    prompts.answers = {Answer::Cancel};
    Trigger("MenuItem1");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "確認");
    // The question names the row it deletes.
    EXPECT_EQ(prompts.shown[0].text, "行を削除します。よろしいですか？\n食費　10");
    EXPECT_EQ(Cell(0, 2), "10");
    prompts.answers = {Answer::Ok};
    Trigger("MenuItem1");
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_TRUE(model().IsRowEmpty(0));

    // Several rows: only the lowest selected row goes, and only through 摘要 to メモ.
    for (int r = 0; r < 3; ++r) {
        if (r > 0)
            model().AppendEmptyRow();
        EditCell(r, 3, QString::number(r));
    }
    grid().setCurrentIndex(model().index(0, 0));
    grid().selectionModel()->select(QItemSelection(model().index(0, 0), model().index(2, 0)),
                                    QItemSelectionModel::ClearAndSelect);
    Trigger("MenuItem1");  // 費目 column only: nothing
    EXPECT_EQ(model().rowCount(), 3);
    grid().selectionModel()->select(QItemSelection(model().index(0, 1), model().index(1, 2)),
                                    QItemSelectionModel::ClearAndSelect);
    prompts.answers = {Answer::Ok};
    QTest::keyRelease(&grid(), Qt::Key_Delete);
    ASSERT_EQ(model().rowCount(), 2);
    EXPECT_EQ(Cell(0, 3), "0");
    EXPECT_EQ(Cell(1, 3), "2");
}

TEST_F(MainFormTest, PopupDeleteTakesTheRowUnderThePointer) {
    WriteMonth("202403", {"20240305,食費,,1,", "20240305,食費,,2,"});
    ASSERT_TRUE(Start());
    form->resize(800, 600);
    QRect second = grid().visualRect(model().index(1, 1));
    QTest::mousePress(grid().viewport(), Qt::LeftButton, {}, second.center());
    prompts.answers = {Answer::Ok};
    Trigger("deleteRow1");
    ASSERT_EQ(model().rowCount(), 1);
    EXPECT_EQ(Cell(0, 2), "1");
    // Below the rows: no target, no question.
    QTest::mousePress(grid().viewport(), Qt::LeftButton, {}, QPoint(10, 350));
    Trigger("deleteRow1");
    EXPECT_EQ(prompts.shown.size(), 1u);
}

// A composition begun on a memo cell without an editor stays with the grid (a focus change
// would make the input method drop it, losing the first letters); its committed text opens
// the editor. The input method is on over メモ only.
TEST_F(MainFormTest, InputMethodCompositionStaysWholeAndOpensTheEditor) {
    WriteMonth("202403", {"20240305,食費,,100,前のメモ"});
    ASSERT_TRUE(Start());
    ShowActive();
    grid().setCurrentIndex(model().index(0, 3));
    EXPECT_TRUE(grid().inputMethodQuery(Qt::ImEnabled).toBool());
    for (const char* preedit : {"k", "か", "かいもの"}) {
        QInputMethodEvent composing(QString::fromUtf8(preedit), {});
        QApplication::sendEvent(&grid(), &composing);
        EXPECT_EQ(grid().OpenEditor(), nullptr) << preedit;
        EXPECT_EQ(QApplication::focusWidget(), &grid()) << preedit;
    }
    QInputMethodEvent commit;
    commit.setCommitString("買い物");
    QApplication::sendEvent(&grid(), &commit);
    auto* line = qobject_cast<QLineEdit*>(grid().OpenEditor());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), "買い物");  // typing replaces the cell's text, as a key does
    Key(line, Qt::Key_Return);
    EXPECT_EQ(Cell(0, 3), "買い物");

    // Off over the amount (digits as typed) and the pick lists, in the editor too.
    for (int column : {0, 1, 2}) {
        grid().setCurrentIndex(model().index(0, column));
        EXPECT_FALSE(grid().inputMethodQuery(Qt::ImEnabled).toBool()) << column;
    }
    QWidget* amount = OpenEditor(0, 2);
    ASSERT_NE(amount, nullptr);
    EXPECT_FALSE(amount->inputMethodQuery(Qt::ImEnabled).toBool());
    grid().FinishEditing();
}

TEST_F(MainFormTest, PageKeysWorkInsideAnOpenEditor) {
    ASSERT_TRUE(Start());
    form->show();
    EditCell(0, 0, "食費");
    auto* line = qobject_cast<QLineEdit*>(OpenEditor(0, 2));
    ASSERT_NE(line, nullptr);
    line->setText("480");
    QTest::keyPress(line, Qt::Key_PageDown);
    QTest::keyRelease(line, Qt::Key_PageDown);
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 6}));
    EXPECT_EQ(MonthText("202403"), "20240305,食費,,480,\r\n");
    QTest::keyPress(&grid(), Qt::Key_PageUp);
    QTest::keyRelease(&grid(), Qt::Key_PageUp);
    EXPECT_EQ(Cell(0, 2), "480");
    form->ShowDay({2024, 1, 1});
    Key(&grid(), Qt::Key_Home);
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 5}));
}

// An input method that takes the press of PageDown or Home (next candidates, a move inside
// the composition) lets the release through: that release must not page.
TEST_F(MainFormTest, PagingKeyReleasedWithoutItsPressDoesNotPage) {
    ASSERT_TRUE(Start());
    auto* line = qobject_cast<QLineEdit*>(OpenEditor(0, 3));
    ASSERT_NE(line, nullptr);
    for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home}) {
        QTest::keyRelease(line, key);
        EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 5})) << key;
        EXPECT_EQ(grid().OpenEditor(), line);
    }
    Key(line, Qt::Key_PageDown);
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 6}));
}

}  // namespace

namespace {

// A refused amount ("15,00", a slip for 1,500) gives the cell its old text back and puts the
// cursor back into it with the editor open, whichever way the user left it; nothing that was
// leaving the cell goes on, so the next keys land in 金額 again and the entry is not lost.
TEST_F(MainFormTest, RefusedAmountHoldsTheCursorWhicheverWayTheCellIsLeft) {
    ASSERT_TRUE(Start());
    ShowActive();
    EditCell(0, 0, "食費");
    EditCell(0, 2, "500");
    const std::vector<std::pair<const char*, std::function<void(QLineEdit*)>>> ways = {
        {"Enter", [&](QLineEdit* line) { Key(line, Qt::Key_Return); }},
        {"Tab", [&](QLineEdit* line) { Key(line, Qt::Key_Tab); }},
        {"Down", [&](QLineEdit* line) { Key(line, Qt::Key_Down); }},
        {"click", [&](QLineEdit*) { grid().setCurrentIndex(model().index(0, 3)); }},
        {"PageDown", [&](QLineEdit* line) { Key(line, Qt::Key_PageDown); }},
        {"PageUp", [&](QLineEdit* line) { Key(line, Qt::Key_PageUp); }},
        {"Home", [&](QLineEdit* line) { Key(line, Qt::Key_Home); }},
        {"close", [&](QLineEdit*) { EXPECT_FALSE(form->close()); }},
    };
    for (const auto& [way, leave] : ways) {
        auto* line = qobject_cast<QLineEdit*>(OpenEditor(0, 2));
        ASSERT_NE(line, nullptr) << way;
        line->setText("15,00");
        leave(line);
        QApplication::processEvents();
        EXPECT_EQ(Cell(0, 2), "500") << way;
        EXPECT_EQ(grid().currentIndex(), model().index(0, 2)) << way;
        auto* reopened = qobject_cast<QLineEdit*>(grid().OpenEditor());
        ASSERT_NE(reopened, nullptr) << way;
        EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 5})) << way;
        EXPECT_TRUE(form->isVisible()) << way;
        // What is typed next goes into the amount.
        reopened->setText("1500");
        Key(reopened, Qt::Key_Return);
        EXPECT_EQ(Cell(0, 2), "1500") << way;
        EXPECT_EQ(grid().currentIndex(), model().index(0, 3)) << way;
        EditCell(0, 2, "500");
    }
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(form->close());
    EXPECT_EQ(MonthText("202403"), "20240305,食費,,500,\r\n");
}

TEST_F(MainFormTest, DeletingARowRecomputesTheDayBalance) {
    WriteMonth("202403", {"20240305,食費,,100,", "20240305,食費,,20,"});
    ASSERT_TRUE(Start());
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ▲ ¥120");
    grid().setCurrentIndex(model().index(1, 2));
    Trigger("MenuItem1");
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ▲ ¥100");
    grid().setCurrentIndex(model().index(0, 2));
    Trigger("MenuItem1");  // the last row is emptied, not removed
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ¥0");
}

// After a change to another day the keyboard is back on the grid, at row 1, 費目: F2 opens
// its list. (The same day shown again keeps the cursor: see the daily-use tests.)
TEST_F(MainFormTest, PagingGivesTheKeyboardBackToTheGrid) {
    ASSERT_TRUE(Start());
    ShowActive();
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"PageDown", [&] { Key(&grid(), Qt::Key_PageDown); }},
        {"Home", [&] { Key(&grid(), Qt::Key_Home); }},
        {"PageUp", [&] { Key(&grid(), Qt::Key_PageUp); }},
        {"Ctrl+T", [&] { Find<QAction>("N2")->trigger(); }},
        {"button", [&] { Find<QToolButton>("SpeedButton2")->click(); }},
    };
    for (const auto& [way, page] : ways) {
        grid().setCurrentIndex(model().index(0, 3));
        page();
        EXPECT_EQ(QApplication::focusWidget(), &grid()) << way;
        EXPECT_EQ(grid().currentIndex(), model().index(0, 0)) << way;
        Key(&grid(), Qt::Key_F2);
        EXPECT_NE(qobject_cast<QComboBox*>(grid().OpenEditor()), nullptr) << way;
        grid().FinishEditing();
    }
}

}  // namespace
