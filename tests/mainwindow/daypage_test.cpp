#include "fixture.h"
#include "mainwindow/calendarform.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QToolButton>

using testsupport::MainFormTest;

namespace {

TEST_F(MainFormTest, DayAndMonthBalances) {
    WriteMonth("202403", {"20240305,給料,,5000,", "20240305,食費,スーパー,1200,",
                          "20240301,食費,,300,", "20240305,消えた費目,,999,"});
    ASSERT_TRUE(Start());
    EXPECT_EQ(model().rowCount(), 3);
    EXPECT_EQ(Cell(2, 0), "消えた費目");  // shown, counted nowhere
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ¥3,800");
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ¥3,500");
    Trigger("N13");
    EXPECT_TRUE(Find<QAction>("N13")->isChecked());
    EXPECT_EQ(LabelText("Labelday"), "今日の支出 ▲ ¥1,200");
    EXPECT_EQ(LabelText("labelsub"), "今月の総支出 ▲ ¥1,500");
    Trigger("N13");
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ¥3,800");
}

TEST_F(MainFormTest, MonthBalanceFollowsTheClosingDay) {
    testsupport::WriteBytes(home / "ini.ini", "[setting]\r\nsime=25\r\n");
    WriteMonth("202402", {"20240226,食費,,100,", "20240225,食費,,7,"});
    WriteMonth("202403", {"20240325,食費,,200,", "20240326,食費,,400,"});
    ASSERT_TRUE(Start());
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ▲ ¥300");  // 26 Feb to 25 Mar
    ASSERT_TRUE(form->ShowDay({2024, 3, 26}));
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ▲ ¥400");  // 26 Mar to 25 Apr
    EXPECT_EQ(LabelText("labeldate"), "2024/03/26 (火)");
}

TEST_F(MainFormTest, NextAndPreviousDayCrossMonths) {
    WriteMonth("202404", {"20240401,食費,,50,"});
    clock.Set({2024, 3, 31});
    ASSERT_TRUE(Start());
    Press("SpeedButton2");
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 4, 1}));
    EXPECT_EQ(LabelText("labeldate"), "2024/04/01 (月)");
    EXPECT_EQ(Cell(0, 2), "50");
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ▲ ¥50");
    Press("SpeedButton1");
    Press("SpeedButton1");
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 30}));
    clock.Set({2024, 5, 9});
    Press("SpeedButton9");
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 5, 9}));
}

TEST_F(MainFormTest, RowsWithoutAnAmountAreNotKept) {
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    EXPECT_EQ(Cell(0, 0), "食費");
    Press("SpeedButton2");
    Press("SpeedButton1");
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_TRUE(model().IsRowEmpty(0));
}

TEST_F(MainFormTest, UntouchedCellsKeepTheirBytesEvenWhenNotCp932) {
    std::filesystem::create_directories(home / "data");
    const std::string line = "20240305,\x90\x48\x94\xEF,\x81\x20\xFF,100,\x80memo";
    testsupport::WriteBytes(home / "data" / "202403.csv", "20240301,a,,1,\r\n" + line + "\r\n");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Cell(0, 1).contains(QChar(0xFFFD)));
    EditCell(0, 2, "150");  // another cell of the row is edited
    Press("SpeedButton2");
    Press("SpeedButton1");
    EXPECT_EQ(testsupport::ReadBytes(home / "data" / "202403.csv"),
              "20240301,a,,1,\r\n20240305,\x90\x48\x94\xEF,\x81\x20\xFF,150,\x80memo\r\n");
}

TEST_F(MainFormTest, FailedSaveKeepsThePageAndTriesAgainLater) {
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    EditCell(0, 2, "640");
    BreakDataFolder();
    EXPECT_FALSE(form->ShowDay({2024, 3, 6}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "error");
    EXPECT_TRUE(prompts.shown[0].text.contains(
        QString::fromStdString((home / "data" / "202403.csv").string())));
    EXPECT_TRUE(prompts.shown[0].text.contains("Not a directory"));
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 5}));
    EXPECT_EQ(Cell(0, 2), "640");

    RepairDataFolder();
    EXPECT_TRUE(form->ShowDay({2024, 3, 6}));
    EXPECT_EQ(MonthText("202403"), "20240305,食費,,640,\r\n");
}

TEST_F(MainFormTest, UnreadableDayIsNotSavedOver) {
    std::filesystem::create_directories(home / "data" / "202403.csv");  // unreadable as a file
    ASSERT_TRUE(Start());
    EXPECT_EQ(prompts.shown.size(), 2u);  // the day, then the month total
    EXPECT_TRUE(form->ShowDay({2024, 4, 1}));
    EXPECT_TRUE(std::filesystem::is_directory(home / "data" / "202403.csv"));
}

TEST_F(MainFormTest, CategoryReloadSetsKindsAnew) {
    WriteMonth("202403", {"20240305,食費,,100,"});
    ASSERT_TRUE(Start());
    EXPECT_FALSE(model().data(model().index(0, 0), Qt::ForegroundRole).isValid());
    // 食費 becomes an income in the category list; the row takes the income colours.
    ledger::GridTable t = ledger::ReadGridCellFile(home / "setting.dat");
    t.SetCell(0, 1, ledger::ToCp932("収入"));
    ledger::WriteGridCellFile(home / "setting.dat", t);
    Press("SpeedButton7");
    EXPECT_EQ(model().data(model().index(0, 3), Qt::ForegroundRole).value<QBrush>().color(),
              QColor(Qt::white));
    EXPECT_EQ(model().data(model().index(0, 3), Qt::BackgroundRole).value<QBrush>().color(),
              QColor(116, 168, 240));
}

}  // namespace

namespace {

TEST_F(MainFormTest, GridPaintsRowsByPositionAndKind) {
    WriteMonth("202403", {"20240305,食費,,1,", "20240305,給料,,2,", "20240305,交通費,,3,",
                          "20240305,日用品,,4,"});
    ASSERT_TRUE(Start());
    auto background = [&](int row, int column) {
        return model().data(model().index(row, column), Qt::BackgroundRole).value<QBrush>().color();
    };
    EXPECT_EQ(background(0, 0), QColor(241, 244, 249));  // page row 1
    EXPECT_EQ(background(1, 3), QColor(116, 168, 240));  // page row 2: an income
    EXPECT_EQ(model().data(model().index(1, 0), Qt::ForegroundRole).value<QBrush>().color(),
              QColor(Qt::white));
    EXPECT_EQ(background(2, 2), QColor(241, 244, 249));
    EXPECT_EQ(background(3, 1), QColor(Qt::white));
    EXPECT_EQ(model().data(model().index(0, 2), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(model().data(model().index(0, 3), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_FALSE(model().data(model().index(0, 0), Qt::DecorationRole).isNull());

    form->show();
    grid().clearSelection();
    grid().setCurrentIndex({});
    QImage cells = grid().viewport()->grab().toImage();
    const QColor border(216, 216, 216);
    auto pixel = [&](int x, int y) { return QColor(cells.pixel(x, y)); };
    const int rightOfFirst = grid().columnViewportPosition(0) + grid().columnWidth(0) - 1;
    EXPECT_EQ(pixel(rightOfFirst, grid().rowViewportPosition(0) + 13), border);
    const int lastColumnRight = grid().columnViewportPosition(3) + grid().columnWidth(3) - 1;
    EXPECT_NE(pixel(lastColumnRight, grid().rowViewportPosition(0) + 13), border);
    EXPECT_EQ(pixel(200, grid().rowViewportPosition(3) + 25), border);  // the last row's bottom
    EXPECT_NE(pixel(200, grid().rowViewportPosition(0) + 25), border);

    model().AppendEmptyRow();  // the bottom border moves to the new last row
    cells = grid().viewport()->grab().toImage();
    EXPECT_NE(pixel(200, grid().rowViewportPosition(3) + 25), border);
    EXPECT_EQ(pixel(200, grid().rowViewportPosition(4) + 25), border);

    // The header row: its picture stretched behind the captions.
    QImage header = grid().horizontalHeader()->grab().toImage();
    QImage picture = skin::SkinImages::Builtin().toprowbg;
    EXPECT_EQ(QColor(header.pixel(100, 3)), QColor(picture.pixel(20, 3)));
}

}  // namespace

namespace {

// A closing day makes the span reach into the previous month: its entries count even while
// the page's own month has no file yet.
TEST_F(MainFormTest, MonthBalanceCountsTheSpanBeforeThePageMonthHasAFile) {
    testsupport::WriteBytes(home / "ini.ini", "[setting]\r\nsime=25\r\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ¥0");  // no file anywhere in the span
    form.reset();
    WriteMonth("202402", {"20240226,食費,,100,", "20240225,食費,,7,"});
    ASSERT_TRUE(Start());
    ASSERT_FALSE(std::filesystem::exists(home / "data" / "202403.csv"));
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ▲ ¥100");
}

// A stray NUL (a damaged block, another tool) neither hides the lines after it nor loses
// them at the next save.
TEST_F(MainFormTest, NulByteInAMonthFileLosesNothing) {
    std::filesystem::create_directories(home / "data");
    const std::string food = ledger::ToCp932("食費");
    const std::string before = "20240304," + food + ",,2," + std::string("x\0y", 3) + "\r\n";
    const std::string after = "20240306," + food + ",,300,\r\n";
    testsupport::WriteBytes(home / "data" / "202403.csv",
                            before + "20240305," + food + ",,100,\r\n" + after);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Cell(0, 2), "100");
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ▲ ¥402");
    EditCell(0, 2, "150");
    Press("SpeedButton2");
    EXPECT_EQ(testsupport::ReadBytes(home / "data" / "202403.csv"),
              before + after + "20240305," + food + ",,150,\r\n");
    EXPECT_EQ(Cell(0, 2), "300");
}

// Lines written by other tools come back byte for byte when nobody edited their row, even
// where the comma rules would read them otherwise (an unquoted blank, a sixth field).
TEST_F(MainFormTest, UntouchedRowsAreWrittenBackAsTheyWereRead) {
    std::filesystem::create_directories(home / "data");
    const std::string food = ledger::ToCp932("食費");
    const std::string foreign = "20240305," + food + "," + ledger::ToCp932("スーパー 特売") +
                                ",500," + ledger::ToCp932("メモ") + ",extra";
    const std::string quoted = "20240305,\"" + food + "\",,\"70\",";
    testsupport::WriteBytes(home / "data" / "202403.csv", foreign + "\r\n" + quoted + "\r\n");
    ASSERT_TRUE(Start());
    ASSERT_EQ(model().rowCount(), 2);
    Press("SpeedButton2");
    Press("SpeedButton1");
    EXPECT_EQ(testsupport::ReadBytes(home / "data" / "202403.csv"),
              foreign + "\r\n" + quoted + "\r\n");
    // An edited row is written by the rules.
    EditCell(1, 3, "m");
    Press("SpeedButton2");
    EXPECT_EQ(testsupport::ReadBytes(home / "data" / "202403.csv"),
              foreign + "\r\n20240305," + food + ",,70,m\r\n");
}

// Captions such as 確認 stand alone: no program name is appended to any window's title.
TEST_F(MainFormTest, DialogCaptionsCarryNoProgramName) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(form->windowTitle(), "Vantrel");
}

// The calendar's month buttons wear the arrows of the day buttons, not their captions.
TEST_F(MainFormTest, CalendarMonthButtonsAreNotCaptionedAsDays) {
    ASSERT_TRUE(Start());
    auto face = [](QToolButton* button) {
        return button->icon()
            .pixmap(QSize(42, 58))
            .toImage()
            .convertToFormat(QImage::Format_ARGB32);
    };
    QDialog* calendar = Dialog<QDialog>("calendarform", "SpeedButton4");
    ASSERT_NE(calendar, nullptr);
    const QImage prevMonth = face(calendar->findChild<QToolButton*>("SpeedButton2"));
    const QImage nextMonth = face(calendar->findChild<QToolButton*>("SpeedButton3"));
    const QImage prevDay = face(Find<QToolButton>("SpeedButton1"));
    const QImage nextDay = face(Find<QToolButton>("SpeedButton2"));
    // Same arrow (the top of the face), another caption (the bottom).
    EXPECT_EQ(prevMonth.copy(0, 0, 42, 36), prevDay.copy(0, 0, 42, 36));
    EXPECT_EQ(nextMonth.copy(0, 0, 42, 36), nextDay.copy(0, 0, 42, 36));
    EXPECT_NE(prevMonth.copy(0, 36, 42, 22), prevDay.copy(0, 36, 42, 22));
    EXPECT_NE(nextMonth.copy(0, 36, 42, 22), nextDay.copy(0, 36, 42, 22));
}

}  // namespace

namespace {

// A line of megabytes (pasted by another tool) is shown cut, kept whole, and survives its
// editor: QLineEdit would cut it at 32767 characters.
TEST_F(MainFormTest, HugeCellIsShownCutAndKeptWhole) {
    std::filesystem::create_directories(home / "data");
    const std::string memo(200000, 'm');
    const std::string line = "20240305," + ledger::ToCp932("食費") + ",,100," + memo;
    testsupport::WriteBytes(home / "data" / "202403.csv", line + "\r\n");
    ASSERT_TRUE(Start());
    form->show();
    grid().viewport()->repaint();
    EXPECT_LE(model().data(model().index(0, 3), Qt::DisplayRole).toString().size(),
              mainwindow::DayModel::kDisplayLimit + 1);
    auto* editor = qobject_cast<QLineEdit*>(OpenEditor(0, 3));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text().size(), static_cast<qsizetype>(memo.size()));
    editor->end(false);
    editor->insert(QStringLiteral("!"));
    grid().FinishEditing();
    Press("SpeedButton2");
    EXPECT_EQ(testsupport::ReadBytes(home / "data" / "202403.csv"), line + "!\r\n");
}

}  // namespace
