#include "fixture.h"

#include "state/chartcolors.h"

#include <QAction>
#include <QMenu>

using testsupport::MainFormTest;
using testsupport::ReadBytes;

namespace {

TEST_F(MainFormTest, FirstStartAndCloseWriteTheFiles) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(std::filesystem::is_directory(home / "data"));
    EXPECT_TRUE(std::filesystem::is_directory(home / "pacs"));
    EXPECT_EQ(form->windowTitle(), "Vantrel");
    EXPECT_EQ(LabelText("labeldate"), "2024/03/05 (火)");
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ¥0");
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ¥0");
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_TRUE(prompts.shown.empty());
    form->close();
    EXPECT_EQ(ReadBytes(home / "ini.ini"),
              "[setting]\r\nclipbmp=\r\ndisplayclip=0\r\nsime=0\r\nsime15before=1\r\n"
              "[ExtImg]\r\nnum=0\r\n");
    EXPECT_TRUE(std::filesystem::exists(home / "data" / "202403.csv"));
    EXPECT_EQ(ReadBytes(home / "data" / "202403.csv"), "");
}

TEST_F(MainFormTest, MissingCategoryListRefusesToStartAndWritesNothing) {
    std::filesystem::remove(home / "setting.dat");
    EXPECT_FALSE(Start());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "注意");
    EXPECT_EQ(prompts.shown[0].text, "setting.dat がありません");
    form.reset();
    EXPECT_FALSE(std::filesystem::exists(home / "ini.ini"));
    EXPECT_FALSE(std::filesystem::exists(home / "data"));
}

TEST_F(MainFormTest, CorruptCategoryListRefusesToStart) {
    testsupport::WriteBytes(home / "setting.dat", "garbage\r\n");
    EXPECT_FALSE(Start());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "error");
    EXPECT_TRUE(prompts.shown[0].text.contains("File contains no data or corrupt file "));
}

TEST_F(MainFormTest, UnreadableIniIsReportedAndNotOverwritten) {
    std::filesystem::create_directory(home / "ini.ini");  // cannot be read as a file
    ASSERT_TRUE(Start());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].text.contains("ini.ini"));
    form->close();
    EXPECT_TRUE(std::filesystem::is_directory(home / "ini.ini"));
}

TEST_F(MainFormTest, WindowMenuHoldsEveryItemInOrder) {
    ASSERT_TRUE(Start());
    QStringList items;
    for (QAction* a : Find<QMenu>("PopupMenu1")->actions()) {
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(
        items.join('|'),
        "今日へ...（入力完了）|-|行削除|新規行|-|CSV書き出し|NET機能|明細取込|締め日変更|-|電卓|-|"
        "コピー|貼り付け|検索|-|合計を総支出のみ表示|-|月別グラフ|年間収支表|定期入力|"
        "予算設定|家計簿印刷|-|"
        "バックアップ作成|バックアップ読み込み");
    EXPECT_EQ(Find<QAction>("N2")->shortcut(), QKeySequence("Ctrl+T"));
    EXPECT_EQ(Find<QAction>("N13")->shortcut(), QKeySequence("F8"));
    EXPECT_EQ(Find<QAction>("N11")->shortcut(), QKeySequence("Ctrl+K"));
    EXPECT_EQ(Find<QAction>("N16")->shortcut(), QKeySequence("Ctrl+H"));
    EXPECT_EQ(Find<QAction>("yeartable1")->shortcut(), QKeySequence("Ctrl+Y"));
    EXPECT_EQ(Find<QAction>("budget1")->shortcut(), QKeySequence("Ctrl+B"));
    EXPECT_EQ(Find<QAction>("recurring1")->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(Find<QAction>("statement1")->shortcut(), QKeySequence("Ctrl+I"));
    EXPECT_TRUE(Find<QAction>("backup1")->isVisible());
    EXPECT_TRUE(Find<QAction>("backuprevert1")->isVisible());
    EXPECT_FALSE(Find<QMenu>("PopupMenu1")->actions().contains(Find<QAction>("N11")));
}

TEST_F(MainFormTest, ClosingWithAnUnwritableDayAsksBeforeLosingIt) {
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    EditCell(0, 2, "800");
    BreakDataFolder();
    prompts.answers.push_back(platform::Prompts::Answer::No);
    EXPECT_FALSE(form->close());  // the user chose to stay
    EXPECT_EQ(prompts.shown.back().caption, "警告");
    EXPECT_EQ(Cell(0, 2), "800");
    RepairDataFolder();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(MonthText("202403"), "20240305,食費,,800,\r\n");
}

TEST(ChartColors, FixedAndGeneratedColours) {
    auto colors = state::MakeChartColors();
    EXPECT_EQ(colors[0], QColor(107, 107, 255));
    EXPECT_EQ(colors[19], QColor(255, 223, 207));
    const int generated[13][3] = {{219, 8, 0},    {171, 69, 51}, {94, 41, 81},   {121, 20, 108},
                                  {15, 214, 17},  {93, 233, 74}, {177, 83, 197}, {78, 183, 215},
                                  {118, 84, 41},  {71, 210, 62}, {222, 38, 122}, {248, 197, 73},
                                  {210, 226, 125}};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(colors[20 + i], QColor(generated[i][0], generated[i][1], generated[i][2])) << i;
    }
}

}  // namespace

namespace {

TEST_F(MainFormTest, TerminationSavesWithoutAsking) {
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    EditCell(0, 2, "90");
    BreakDataFolder();
    form->show();
    form->Terminate();  // the save fails: no question, the program ends all the same
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(form->isVisible());
    RepairDataFolder();

    // With a writable folder the page reaches its file.
    prompts.shown.clear();
    form.reset();
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    EditCell(0, 2, "90");
    form->Terminate();
    EXPECT_EQ(MonthText("202403"), "20240305,食費,,90,\r\n");
    EXPECT_TRUE(std::filesystem::exists(home / "ini.ini"));
}

}  // namespace

namespace {

// A save killed half way leaves a hidden temporary file; the next start removes the
// program's own and touches nothing else.
TEST_F(MainFormTest, StartRemovesLeftoverTemporaryFilesOfOurWrites) {
    std::filesystem::create_directories(home / "data");
    const std::vector<std::filesystem::path> ours = {
        home / "data" / ".202403.csv.AbC123", home / "data" / ".199912.csv.zzzzzz",
        home / ".ini.ini.Xy12Z9", home / ".setting.dat.q1w2e3"};
    const std::vector<std::filesystem::path> others = {
        home / "data" / "202403.csv",        home / "data" / ".202403.csv.toolong1",
        home / "data" / ".notes.txt.abcdef", home / "data" / ".2024.csv.abcdef",
        home / ".202403.csv.abcdef",         home / "data" / ".ini.ini.abcdef",
        home / ".setting.dat.ab-def"};
    for (const auto& path : ours)
        testsupport::WriteBytes(path, "half");
    for (const auto& path : others)
        testsupport::WriteBytes(path, "keep");
    ASSERT_TRUE(Start());
    for (const auto& path : ours)
        EXPECT_FALSE(std::filesystem::exists(path)) << path;
    for (const auto& path : others)
        EXPECT_EQ(testsupport::ReadBytes(path), "keep") << path;
}

}  // namespace

namespace {

// The backup commands behind the hidden menu items: the page and the closing day reach the
// files first; a restore refuses the book's own folder, replaces the book and ends the
// program without writing anything over what it restored.
TEST_F(MainFormTest, BackupAndRestoreCommands) {
    WriteMonth("202403", {"20240301,食費,,100,"});
    testsupport::WriteBytes(home / "ini.ini", "[setting]\r\nsime=25\r\n");
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    EditCell(0, 2, "40");
    testsupport::TempDir elsewhere;  // outside the book: a backup inside it is never restored
    const std::filesystem::path place = elsewhere.path();
    prompts.folderToChoose = QString::fromStdString(place.string());
    Find<QAction>("backup1")->trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].text.endsWith("\" フォルダにバックアップを作成しました。"))
        << prompts.shown[0].text.toStdString();
    std::filesystem::path backup;
    for (const auto& e : std::filesystem::directory_iterator(place))
        backup = e.path();
    EXPECT_EQ(MonthText("202403"), "20240301,食費,,100,\r\n20240305,食費,,40,\r\n");
    EXPECT_EQ(ledger::FromCp932(testsupport::ReadBytes(backup / "data" / "202403.csv")),
              "20240301,食費,,100,\r\n20240305,食費,,40,\r\n");

    // The book's own folder is refused before anything is touched.
    prompts.folderToChoose = QString::fromStdString(home.path().string());
    prompts.answers = {platform::Prompts::Answer::Ok};
    Find<QAction>("backuprevert1")->trigger();
    EXPECT_EQ(prompts.shown.back().caption, "error");

    // A real backup: the book is replaced and the program ends without saving over it.
    EditCell(0, 3, "not saved");
    testsupport::WriteBytes(home / "data" / "202403.csv", "");
    prompts.folderToChoose = QString::fromStdString(backup.string());
    prompts.answers = {platform::Prompts::Answer::Ok};
    Find<QAction>("backuprevert1")->trigger();
    EXPECT_EQ(prompts.shown.back().text, "データ読み込み完了。ソフトを再起動してください。");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(MonthText("202403"), "20240301,食費,,100,\r\n20240305,食費,,40,\r\n");
    EXPECT_EQ(testsupport::ReadBytes(home / "ini.ini"), testsupport::ReadBytes(backup / "ini.ini"));
}

}  // namespace
