#include "fixture.h"
#include "mainwindow/findform.h"
#include "mainwindow/searchindex.h"
#include "support/widgets.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>

using testsupport::Child;
using testsupport::Click;
using testsupport::MainFormTest;

namespace {

// Three entries of two days hold the text: the earlier day, then the later day twice (its
// two entries), then "not found", which repeats until the text changes.
TEST_F(MainFormTest, SearchVisitsEveryMatchInDateOrderThenReportsNone) {
    WriteMonth("202402", {"20240220,食費,,100,お弁当", "20240221,食費,,1,"});
    WriteMonth("202403",
               {"20240310,食費,,300,夕飯の弁当", "20240310,日用品,,5,", "20240310,食費,,200,弁当"});
    ASSERT_TRUE(Start());
    form->show();
    Find<QAction>("search1")->trigger();
    auto* dialog = Find<mainwindow::TFindDialog>("FindDialog1");
    ASSERT_TRUE(dialog->isVisible());
    Child<QLineEdit>(dialog, "Edit1")->setText("弁当");
    std::vector<ledger::Date> visited;
    for (int k = 0; k < 3; ++k) {
        Click(dialog, "FindButton");
        visited.push_back(form->state().pageDate);
    }
    EXPECT_EQ(visited, (std::vector<ledger::Date>{{2024, 2, 20}, {2024, 3, 10}, {2024, 3, 10}}));
    EXPECT_TRUE(prompts.shown.empty());
    for (int k = 0; k < 2; ++k) {
        Click(dialog, "FindButton");
        ASSERT_EQ(prompts.shown.size(), static_cast<size_t>(k + 1));
        EXPECT_EQ(prompts.shown[k].caption, "検索結果");
        EXPECT_EQ(prompts.shown[k].text, "弁当 は見つかりませんでした。");
    }
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 10}));
    // A new text starts at the oldest entry again; a year's digits match every entry.
    Child<QLineEdit>(dialog, "Edit1")->setText("2024");
    Click(dialog, "FindButton");
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 2, 20}));
    // Text that no month file can hold is simply not found.
    Child<QLineEdit>(dialog, "Edit1")->setText("🍣");
    Click(dialog, "FindButton");
    EXPECT_EQ(prompts.shown.back().text, "🍣 は見つかりませんでした。");
    dialog->close();
}

TEST(SearchIndex, DateOrderAndLinesOfNoDay) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "202403.csv", "20240310,b,,1,\r\n20240301,a,,1,\r\nx,c\r\n");
    testsupport::WriteBytes(dir / "202402.csv", "20240229,Z,,1,\r\n");
    testsupport::WriteBytes(dir / "notes.txt", "20240101,n,,1,\r\n");
    mainwindow::SearchIndex index = mainwindow::SearchIndex::Build(dir.path());
    EXPECT_EQ(index.SortedLines(), (std::vector<std::string_view>{
                                       "20240229,Z,,1,", "20240301,a,,1,", "20240310,b,,1,"}));
    // A matching line whose date is no day is matched but does not move the search on.
    mainwindow::SearchIndex odd({"20240301,q,,1,", "2024011x,q,,1,"});
    const std::optional<size_t> first = odd.FindNext("q");
    ASSERT_TRUE(first);
    EXPECT_EQ(odd.Line(*first), "2024011x,q,,1,");
    EXPECT_FALSE(odd.JumpTo(*first));
    EXPECT_EQ(odd.FindNext("q"), first);
}

// Within a day the finds go by the text without regard to case; lines that differ in case
// only, or not at all, in the order the files hold them. A text over a line end is in no line.
TEST(SearchIndex, FindsComeInTextOrderWithoutSortingFirst) {
    mainwindow::SearchIndex index;
    index.AddFile("20240305,x,b,1,\r\n20240305,x,A,1,\r\n20240305,x,a,1,\r\n");
    index.AddFile("20240305,x,A,1,\r\n20240304,x,z,1,");
    std::vector<std::pair<std::string_view, size_t>> visited;
    while (const std::optional<size_t> found = index.FindNext("x,")) {
        visited.emplace_back(index.Line(*found), index.SameLinesBefore(*found));
        ASSERT_TRUE(index.JumpTo(*found));
    }
    EXPECT_EQ(visited, (std::vector<std::pair<std::string_view, size_t>>{{"20240304,x,z,1,", 0},
                                                                         {"20240305,x,A,1,", 0},
                                                                         {"20240305,x,a,1,", 0},
                                                                         {"20240305,x,A,1,", 1},
                                                                         {"20240305,x,b,1,", 0}}));
    EXPECT_FALSE(index.FindNext("1,\r\n2"));
    EXPECT_FALSE(index.FindNext("1,\n2"));
}

TEST_F(MainFormTest, CopyTakesTheBottomRightCellAndPasteOnlyTheTextColumns) {
    WriteMonth("202403", {"20240305,食費,スーパー,100,a", "20240305,日用品,,20,b"});
    ASSERT_TRUE(Start());
    grid().selectionModel()->select(QItemSelection(model().index(0, 0), model().index(1, 2)),
                                    QItemSelectionModel::ClearAndSelect);
    Trigger("copy1");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "20");

    QGuiApplication::clipboard()->setText("二行の\r\nメモ\n");
    for (int column : {0, 1}) {
        grid().setCurrentIndex(model().index(0, column));
        Trigger("paste1");
    }
    EXPECT_EQ(Cell(0, 0), "食費");
    EXPECT_EQ(Cell(0, 1), "スーパー");
    grid().setCurrentIndex(model().index(0, 3));
    Trigger("paste1");
    EXPECT_EQ(Cell(0, 3), "二行の  メモ ");
    QGuiApplication::clipboard()->setText("250");
    grid().setCurrentIndex(model().index(0, 2));
    Trigger("paste1");
    EXPECT_EQ(Cell(0, 2), "250");
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ▲ ¥270");
    Press("SpeedButton2");
    EXPECT_EQ(MonthText("202403"),
              "20240305,食費,スーパー,250,\"二行の  メモ \"\r\n20240305,日用品,,20,b\r\n");
}

}  // namespace
