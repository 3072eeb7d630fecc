#include "mainwindow/fixture.h"
#include "support/widgets.h"

#include "categories/himokuform.h"
#include "ledger/categorylist.h"

#include <QBuffer>
#include <QImage>
#include <QPushButton>
#include <QTest>

using testsupport::Child;
using testsupport::Click;
using testsupport::MainFormTest;
using Answer = platform::Prompts::Answer;

namespace {

class HimokuFormTest : public MainFormTest {
protected:
    categories::THIMOKUForm* editor = nullptr;
    categories::CategoryModel* table = nullptr;

    void SetUp() override {
        MainFormTest::SetUp();
        ASSERT_TRUE(Start());
        editor = Dialog<categories::THIMOKUForm>("himokuform", "SpeedButton7");
        ASSERT_TRUE(editor->FormShow());
        table = &editor->model();
    }
    bool Rename(int row, const QString& name) {
        return editor->AcceptEdit(table->index(row, 1), name);
    }
    void PressOn(int row) {
        QRect cell =
            Child<platform::GridView>(editor, "maingrid")->visualRect(table->index(row, 1));
        QTest::mousePress(Child<platform::GridView>(editor, "maingrid")->viewport(), Qt::LeftButton,
                          {}, cell.center());
    }
};

TEST_F(HimokuFormTest, ShowsTheFileWithTheFixedRowsLocked) {
    EXPECT_EQ(editor->windowTitle(), "費目設定");
    ASSERT_EQ(table->rowCount(), 11);
    EXPECT_EQ(table->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "支出/収入");
    EXPECT_EQ(table->headerData(19, Qt::Horizontal, Qt::DisplayRole).toString(), "摘要18");
    EXPECT_EQ(table->Text(0, 1), "食費");
    EXPECT_FALSE(table->flags(table->index(10, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(table->flags(table->index(10, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(table->flags(table->index(10, 2)) & Qt::ItemIsEditable);
    Click(editor, "SpeedButton3");
    EXPECT_TRUE(table->flags(table->index(11, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(table->flags(table->index(11, 1)) & Qt::ItemIsEditable);
}

// By keyboard alone: Tab goes from the table to each button in turn; Escape closes at once
// when nothing changed, and asks first when something did (いいえ stays with the edits).
TEST_F(HimokuFormTest, TabReachesTheButtonsAndEscapeCloses) {
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    Child<platform::GridView>(editor, "maingrid")->setFocus();
    std::vector<QWidget*> reached;
    for (int k = 0; k < 5; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(reached, (std::vector<QWidget*>{Child<QPushButton>(editor, "SpeedButton3"),
                                              Child<QPushButton>(editor, "SpeedButton4"),
                                              Child<QPushButton>(editor, "SpeedButton1"),
                                              Child<QPushButton>(editor, "SpeedButton2"),
                                              Child<platform::GridView>(editor, "maingrid")}));

    // Unchanged: Escape closes without a question.
    QTest::keyClick(Child<platform::GridView>(editor, "maingrid"), Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(prompts.shown.empty());

    ASSERT_TRUE(editor->FormShow());
    editor->show();
    ASSERT_TRUE(Rename(0, "食料品"));
    prompts.answers = {Answer::No};
    QTest::keyClick(Child<platform::GridView>(editor, "maingrid"), Qt::Key_Escape);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "確認");
    EXPECT_EQ(prompts.shown[0].text, "変更を保存せずに閉じますか？");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(table->Text(0, 1), "食料品");
    prompts.answers = {Answer::Yes};
    QTest::keyClick(Child<platform::GridView>(editor, "maingrid"), Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Rejected);
}

TEST_F(HimokuFormTest, DuplicateNamesAreRefused) {
    Click(editor, "SpeedButton3");
    Click(editor, "SpeedButton3");
    struct Case {
        int row;
        const char* name;
        bool accepted;
    };
    const Case cases[] = {
        {11, "食費", false},                                // a fixed category's name
        {11, "費目", false},                                // the header row takes part
        {11, "Coffee", true},       {12, "coffee", false},  // A to Z compare without case
        {12, "ｃｏｆｆｅｅ", true},  // full-width letters compare as they are
    };
    for (const Case& c : cases) {
        prompts.shown.clear();
        bool accepted = Rename(c.row, c.name);
        EXPECT_EQ(accepted, c.accepted) << c.name;
        if (!c.accepted) {
            ASSERT_EQ(prompts.shown.size(), 1u) << c.name;
            EXPECT_EQ(prompts.shown[0].caption, "Vantrel");
            EXPECT_EQ(prompts.shown[0].text,
                      "同じ名前の費目がすでにあります。変更は摘要されません。");
        }
    }
    EXPECT_EQ(table->Text(11, 1), "Coffee");
    EXPECT_EQ(table->Text(12, 1), "ｃｏｆｆｅｅ");
    // Another row's name is empty: emptying this one would make two.
    Click(editor, "SpeedButton3");
    EXPECT_FALSE(Rename(12, ""));
    EXPECT_EQ(table->Text(12, 1), "ｃｏｆｆｅｅ");
}

TEST_F(HimokuFormTest, AddsUpToTwentyFourCategories) {
    for (int i = 0; i < 20; ++i)
        Click(editor, "SpeedButton3");
    EXPECT_EQ(table->rowCount(), 24);  // 25 rows with the header
}

TEST_F(HimokuFormTest, DeletesOnlyTheUsersRows) {
    Click(editor, "SpeedButton3");
    Click(editor, "SpeedButton3");
    Rename(11, "A");
    Rename(12, "B");
    Child<platform::GridView>(editor, "maingrid")
        ->selectionModel()
        ->select(QItemSelection(table->index(9, 0), table->index(11, 3)),
                 QItemSelectionModel::ClearAndSelect);
    prompts.answers = {Answer::Ok};
    Click(editor, "SpeedButton4");
    // Two fixed rows refused, one box each; row 12 removed, B moves up.
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(prompts.shown[0].caption, "確認");
    EXPECT_EQ(prompts.shown[1].caption, "警告");
    EXPECT_EQ(prompts.shown[1].text, "この行は削除できません");
    EXPECT_EQ(table->rowCount(), 12);
    EXPECT_EQ(table->Text(11, 1), "B");

    prompts.answers = {Answer::Cancel};
    Click(editor, "SpeedButton4");
    EXPECT_EQ(table->rowCount(), 12);
}

TEST_F(HimokuFormTest, SavesOnlyWhenConfirmed) {
    const std::string before = testsupport::ReadBytes(home / "setting.dat");
    Click(editor, "SpeedButton3");
    Rename(11, "ペット");
    editor->AcceptEdit(table->index(11, 0), "収入");
    editor->AcceptEdit(table->index(11, 2), "えさ, おやつ");
    prompts.answers = {Answer::No};
    Click(editor, "SpeedButton1");
    EXPECT_EQ(testsupport::ReadBytes(home / "setting.dat"), before);
    ASSERT_TRUE(editor->FormShow());
    EXPECT_EQ(table->rowCount(), 11);

    Click(editor, "SpeedButton3");
    Rename(11, "ペット");
    editor->AcceptEdit(table->index(11, 0), "収入");
    editor->AcceptEdit(table->index(11, 2), "えさ, おやつ");
    prompts.answers = {Answer::Yes};
    Click(editor, "SpeedButton1");
    ledger::CategoryList list = ledger::CategoryList::Load(home / "setting.dat");
    ASSERT_EQ(list.size(), 12);
    EXPECT_EQ(list.Name(11), ledger::ToCp932("ペット"));
    EXPECT_TRUE(list.IsIncome(11));
    EXPECT_EQ(list.Presets(11), (std::vector<std::string>{ledger::ToCp932("えさ, おやつ")}));
    EXPECT_EQ(list.Presets(0), ledger::CategoryList::Load(VANTREL_DEFAULT_SETTING_DAT).Presets(0));
}

TEST_F(HimokuFormTest, IncomeRowsArePaintedBlue) {
    const int pay = 10;  // 給料
    ASSERT_TRUE(table->IsIncome(pay));
    for (int column : {0, 1, 5}) {
        EXPECT_EQ(
            table->data(table->index(pay, column), Qt::BackgroundRole).value<QBrush>().color(),
            QColor(236, 243, 255));
        EXPECT_EQ(
            table->data(table->index(pay, column), Qt::ForegroundRole).value<QBrush>().color(),
            QColor(16, 16, 96));
    }
    EXPECT_EQ(table->data(table->index(0, 1), Qt::BackgroundRole).value<QBrush>().color(),
              QColor(Qt::white));
    EXPECT_EQ(table->data(table->index(0, 2), Qt::BackgroundRole).value<QBrush>().color(),
              QColor(248, 248, 248));
    EXPECT_TRUE(table->data(table->index(0, 1), Qt::FontRole).value<QFont>().bold());
}

std::string Bitmap16() {
    QImage image(16, 16, QImage::Format_RGB888);
    image.fill(qRgb(255, 0, 255));
    image.setPixel(8, 8, qRgb(10, 200, 10));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

// ADD ICON and Del ICON take effect in the editor at once; the editor hands the slots back
// when it closes (キャンセル too), and the main window keeps them and writes them to ini.ini.
TEST_F(HimokuFormTest, AttachesAndDetachesExtraIcons) {
    testsupport::TempDir outside;
    testsupport::WriteBytes(outside / "Cat.BMP", Bitmap16());
    testsupport::WriteBytes(outside / "big.bmp", [] {
        QImage image(15, 16, QImage::Format_RGB888);
        image.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return bytes.toStdString();
    }());
    auto icon = [&](int row) { return table->data(table->index(row, 1), Qt::DecorationRole); };
    prompts.dialogHandler = [&](QDialog& dialog) {
        if (&dialog != editor)
            return int(QDialog::Rejected);
        editor->resize(780, 540);
        for (int i = 0; i < 7; ++i)
            Click(editor, "SpeedButton3");

        // A fixed row: nothing happens.
        PressOn(3);
        prompts.fileToOpen = QString::fromStdString((outside / "Cat.BMP").string());
        Child<QAction>(editor, "ADDICON1")->trigger();

        PressOn(11);  // row 12: slot 0
        Child<QAction>(editor, "ADDICON1")->trigger();
        EXPECT_TRUE(prompts.lastFilter.contains("*.pac"));
        EXPECT_TRUE(std::filesystem::exists(home / "pacs" / "Cat.BMP"));
        EXPECT_FALSE(icon(11).isNull());

        PressOn(16);  // slot 5: the count grows to 6, slots between stay empty
        Child<QAction>(editor, "ADDICON1")->trigger();
        EXPECT_TRUE(icon(14).isNull());
        EXPECT_FALSE(icon(16).isNull());

        // A bitmap of another size is ignored without a message.
        PressOn(12);
        prompts.fileToOpen = QString::fromStdString((outside / "big.bmp").string());
        prompts.shown.clear();
        Child<QAction>(editor, "ADDICON1")->trigger();
        EXPECT_TRUE(icon(12).isNull());
        EXPECT_TRUE(prompts.shown.empty());

        PressOn(11);
        Child<QAction>(editor, "DelICON1")->trigger();
        EXPECT_TRUE(icon(11).isNull());
        EXPECT_TRUE(std::filesystem::exists(home / "pacs" / "Cat.BMP"));
        Click(editor, "SpeedButton2");  // キャンセル: the icons stay as they are
        return int(QDialog::Rejected);
    };
    Press("SpeedButton7");
    const ledger::Settings& settings = form->state().settings;
    EXPECT_EQ(settings.extIconCount, 6);
    EXPECT_EQ(settings.extIconNames[0], "");
    EXPECT_EQ(settings.extIconNames[1], "");
    EXPECT_EQ(settings.extIconNames[3], "");
    EXPECT_EQ(settings.extIconNames[5], "Cat.BMP");
    EXPECT_FALSE(form->state().icons.HasIcon(11));
    EXPECT_TRUE(form->state().icons.HasIcon(16));

    form->close();
    const std::string ini = testsupport::ReadBytes(home / "ini.ini");
    EXPECT_NE(ini.find("num=6\r\n0=\r\n1=\r\n2=\r\n3=\r\n4=\r\n5=Cat.BMP\r\n"), std::string::npos)
        << ini;
}

TEST_F(MainFormTest, CategoryEditorClosingReloadsTheCategories) {
    WriteMonth("202403", {"20240305,ペット,,300,"});
    ASSERT_TRUE(Start());
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ¥0");  // unknown category: counted nowhere
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto& editor = dynamic_cast<categories::THIMOKUForm&>(dialog);
        Click(&editor, "SpeedButton3");
        editor.AcceptEdit(editor.model().index(11, 1), "ペット");
        prompts.answers = {Answer::Yes};
        Click(&editor, "SpeedButton1");
        return editor.result();
    };
    Press("SpeedButton7");
    EXPECT_EQ(form->state().categories.CategoryIndex(ledger::ToCp932("ペット")), 11);
    Press("SpeedButton2");
    Press("SpeedButton1");
    EXPECT_EQ(LabelText("Labelday"), "今日の収支 ▲ ¥300");
}

// A slot whose file is missing (a restore that had no icons, a file moved away) shows no
// icon but keeps its key, so the icon is back once its file is.
TEST_F(MainFormTest, ExtraIconsLoadAtStartAndMissingFilesKeepTheirKeys) {
    std::filesystem::create_directories(home / "pacs");
    testsupport::WriteBytes(home / "pacs" / "a.bmp", Bitmap16());
    testsupport::WriteBytes(home / "ini.ini", "[ExtImg]\r\nnum=3\r\n0=a.bmp\r\n2=gone.bmp\r\n");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(form->state().icons.HasIcon(11));
    EXPECT_FALSE(form->state().icons.HasIcon(12));
    EXPECT_FALSE(form->state().icons.HasIcon(13));
    EXPECT_TRUE(std::filesystem::exists(home / "~temp.tmp"));
    form->close();
    ledger::IniFile ini = ledger::IniFile::Load(home / "ini.ini");
    EXPECT_EQ(ini.ReadString("ExtImg", "0", ""), "a.bmp");
    EXPECT_EQ(ini.Value("ExtImg", "1"), "");
    EXPECT_EQ(ini.Value("ExtImg", "2"), "gone.bmp");

    testsupport::WriteBytes(home / "pacs" / "gone.bmp", Bitmap16());
    form.reset();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(form->state().icons.HasIcon(13));
}

}  // namespace

namespace {

// The list is read up to its first empty name: a save that would hide later categories is
// refused, naming the row, and the editor stays open with its edits.
TEST_F(HimokuFormTest, EmptyNameBeforeNamedRowsIsNotSaved) {
    const std::string before = testsupport::ReadBytes(home / "setting.dat");
    Click(editor, "SpeedButton3");
    Click(editor, "SpeedButton3");
    Rename(12, "ペット");  // row 12 (grid row 13) named, row 11 (grid row 12) empty
    prompts.answers = {Answer::Yes};
    Click(editor, "SpeedButton1");
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[1].caption, "警告");
    EXPECT_TRUE(prompts.shown[1].text.startsWith("12行目")) << prompts.shown[1].text.toStdString();
    EXPECT_EQ(testsupport::ReadBytes(home / "setting.dat"), before);
    EXPECT_EQ(table->Text(12, 1), "ペット");
    EXPECT_EQ(Child<platform::GridView>(editor, "maingrid")->currentIndex(), table->index(11, 1));
    // Named, it saves; an empty row at the end hides nothing and is fine.
    Rename(11, "趣味");
    Click(editor, "SpeedButton3");
    prompts.answers = {Answer::Yes};
    Click(editor, "SpeedButton1");
    EXPECT_EQ(ledger::CategoryList::Load(home / "setting.dat").size(), 13);
}

}  // namespace

namespace {

// A name in setting.dat that is not valid CP932 shows (as U+FFFD) and is painted without
// being encoded back, which it cannot be.
TEST_F(HimokuFormTest, NameThatIsNotCp932IsShownAndPainted) {
    ledger::GridTable t = ledger::ReadGridCellFile(home / "setting.dat");
    t.SetCell(1, 1, "\x81\x20\xFF");
    ledger::WriteGridCellFile(home / "setting.dat", t);
    ASSERT_TRUE(editor->FormShow());
    EXPECT_TRUE(table->Text(0, 1).contains(QChar(0xFFFD)));
    // No category has that name: no icon.
    EXPECT_TRUE(table->data(table->index(0, 1), Qt::DecorationRole).value<QPixmap>().isNull());
    editor->show();
    Child<platform::GridView>(editor, "maingrid")->viewport()->repaint();
    editor->hide();
}

}  // namespace

namespace {

// A renamed category keeps its budgets under its new name; a deleted one's go with it; two
// names swapped keep their own budgets.
TEST_F(HimokuFormTest, BudgetsFollowRenamedAndDeletedCategories) {
    Click(editor, "SpeedButton3");
    Click(editor, "SpeedButton3");
    Rename(11, "ペット");
    Rename(12, "旅行");
    prompts.answers = {Answer::Yes};
    Click(editor, "SpeedButton1");
    const std::string pet = ledger::ToCp932("ペット");
    const std::string trip = ledger::ToCp932("旅行");
    testsupport::WriteBytes(home / "budget.dat", pet + ",5000\r\n202403," + pet + ",9000\r\n" +
                                                     trip + ",20000\r\n# mine\r\n");
    // The window reads budget.dat at its start.
    ASSERT_TRUE(Start());
    editor = Dialog<categories::THIMOKUForm>("himokuform", "SpeedButton7");
    ASSERT_TRUE(editor->FormShow());
    table = &editor->model();
    Rename(11, "ペット用品");
    prompts.answers = {Answer::Yes};
    Click(editor, "SpeedButton1");
    EXPECT_EQ(ledger::FromCp932(testsupport::ReadBytes(home / "budget.dat")),
              "ペット用品,5000\r\n202403,ペット用品,9000\r\n旅行,20000\r\n# mine\r\n");
    EXPECT_EQ(form->state().budgets.For(202403, ledger::ToCp932("ペット用品")),
              ledger::Amount::FromWhole(9000));

    ASSERT_TRUE(editor->FormShow());
    Child<platform::GridView>(editor, "maingrid")->setCurrentIndex(table->index(12, 1));
    prompts.answers = {Answer::Ok};
    Click(editor, "SpeedButton4");  // 旅行, after the editor's question
    prompts.answers = {Answer::Yes};
    Click(editor, "SpeedButton1");
    EXPECT_EQ(ledger::FromCp932(testsupport::ReadBytes(home / "budget.dat")),
              "ペット用品,5000\r\n202403,ペット用品,9000\r\n# mine\r\n");
}

}  // namespace
