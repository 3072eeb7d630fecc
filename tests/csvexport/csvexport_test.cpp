#include "csvexport/csvexport.h"
#include "csvexport/saveform.h"
#include "ledger/cp932.h"
#include "ledger/gridcellfile.h"
#include "mainwindow/fixture.h"
#include "support/categories.h"
#include "support/widgets.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using csvexport::ExportMode;
using testsupport::Child;
using testsupport::MainFormTest;

namespace {

// 謎 is not in the list.
ledger::CategoryList Categories() {
    return testsupport::FoodAndSalary();
}

std::string Export(const char* utf8Line, ExportMode mode) {
    const auto out = csvexport::ExportLines({ledger::ToCp932(utf8Line)}, Categories(), mode);
    return out.size() == 1 ? ledger::FromCp932(out[0]) : "?";
}

TEST(CsvExport, TheLayoutsLineByLine) {
    const struct {
        ExportMode mode;
        const char* stored;
        const char* written;
    } cases[] = {
        {ExportMode::ExpenseNegative, "20040305,食費,パン,300,", "20040305,食費,パン,-300"},
        {ExportMode::ExpenseNegative, "20040325,給料,,250000,", "20040325,給料,,250000,"},
        {ExportMode::IncomeNegative, "20040325,給料,,250000,", "20040325,給料,,-250000"},
        {ExportMode::IncomeNegative, "20040305,食費,パン,300,", "20040305,食費,パン,300,"},
        {ExportMode::ExpenseNegative, "20040306,謎,x,100,m", "20040306,謎,x,100,m"},
        {ExportMode::IncomeNegative, "20040306,謎,x,100,m", "20040306,謎,x,100,m"},
        {ExportMode::SplitColumns, "20040305,食費,パン,300,", "20040305,食費,パン,300,,"},
        {ExportMode::SplitColumns, "20040325,給料,,250000,", "20040325,給料,,,250000,"},
        {ExportMode::SplitColumns, "20040306,謎,x,100,m", "20040306,謎,x,,,100,m"},
        // Fields with blanks, commas or quotes are quoted in every line joined again.
        {ExportMode::ExpenseNegative, "20040305,食費,\"a b\",5,\"x,y\"",
         "20040305,食費,\"a b\",-5,\"x,y\""},
        {ExportMode::SplitColumns, "20040305,食費,\"say \"\"hi\"\"\",5",
         "20040305,食費,\"say \"\"hi\"\"\",5,,"},
        // Amounts are copied as text, whatever they hold.
        {ExportMode::ExpenseNegative, "20040305,食費,,-1.5,", "20040305,食費,,--1.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Export(c.stored, c.mode), c.written) << c.stored;
}

// By keyboard: the dialog opens on the checked layout and the arrows move the choice.
TEST_F(MainFormTest, CsvOptionsByKeyboard) {
    ASSERT_TRUE(Start());
    std::optional<csvexport::ExportMode> result;
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* options = qobject_cast<csvexport::Tsaveform*>(&dialog);
        if (!options)
            return int(QDialog::Rejected);
        options->show();
        options->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(options));
        EXPECT_EQ(QApplication::focusWidget(), Child<QRadioButton>(options, "RadioButton3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        EXPECT_TRUE(Child<QRadioButton>(options, "RadioButton2")->isChecked());
        EXPECT_EQ(QApplication::focusWidget(), Child<QRadioButton>(options, "RadioButton2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        return dialog.result();
    };
    csvexport::Tsaveform options(prompts);
    result = options.Ask(QStringLiteral("3月分"));
    EXPECT_EQ(result, csvexport::ExportMode::IncomeNegative);
}

// The command: the page saved first, the closing-day span, the proposed name, the options
// kept, the file written whole in CP932 with CR LF; a cancel writes nothing; a file that
// cannot be written is reported with its path and reason and leaves nothing behind.
TEST_F(MainFormTest, CsvExportWritesTheAccountingMonth) {
    testsupport::WriteBytes(home / "ini.ini", "[setting]\r\nsime=25\r\n");
    WriteMonth("202402", {"20240225,食費,,1,", "20240226,食費,パン,300,"});
    WriteMonth("202403", {"20240302,給料,,250000,"});
    clock.Set({2024, 3, 5});
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    EditCell(0, 2, "40");
    int answer = 3;
    QString prompt;
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* options = qobject_cast<csvexport::Tsaveform*>(&dialog);
        if (!options)
            return int(QDialog::Rejected);
        prompt = Child<QLabel>(options, "Label3")->text();
        if (answer == 1)
            Child<QRadioButton>(options, "RadioButton1")->setChecked(true);
        if (answer < 0) {
            QTest::keyClick(Child<QRadioButton>(options, "RadioButton3"), Qt::Key_Escape);
        } else {
            QTest::keyClick(Child<QRadioButton>(options, "RadioButton3"), Qt::Key_Return);
        }
        return dialog.result();
    };
    const auto target = home / "out.csv";
    prompts.fileToSave = QString::fromStdString(target.string());
    Find<QAction>("CSV1")->trigger();
    EXPECT_EQ(prompt, "3月分をcsvファイルに書き出します。");
    // Once written, the export says where the file went.
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "CSV書き出し");
    EXPECT_EQ(prompts.shown[0].text, "次のファイルに書き出しました。\n" + prompts.fileToSave);
    EXPECT_TRUE(prompts.lastProposed.endsWith("/202403.csv")) << prompts.lastProposed.toStdString();
    EXPECT_EQ(prompts.lastFilter, "CSVファイル (*.csv)");
    EXPECT_EQ(ledger::FromCp932(testsupport::ReadBytes(target)),
              "20240226,食費,パン,300,,\r\n20240302,給料,,,250000,\r\n20240305,食費,,40,,\r\n");

    answer = 1;  // the choice is kept for the next export
    Find<QAction>("CSV1")->trigger();
    EXPECT_TRUE(
        Child<QRadioButton>(Find<csvexport::Tsaveform>("saveform"), "RadioButton1")->isChecked());
    EXPECT_EQ(ledger::FromCp932(testsupport::ReadBytes(target)),
              "20240226,食費,パン,-300\r\n20240302,給料,,250000,\r\n20240305,食費,,-40\r\n");

    std::filesystem::remove(target);
    answer = -1;  // Esc: nothing written
    Find<QAction>("CSV1")->trigger();
    EXPECT_FALSE(std::filesystem::exists(target));

    // A folder that cannot be written: a message with the path, no file, no leftovers.
    answer = 3;
    prompts.fileToSave = QString::fromStdString((home / "missing" / "out.csv").string());
    Find<QAction>("CSV1")->trigger();
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back().caption, "error");
    EXPECT_TRUE(prompts.shown.back().text.contains("missing"))
        << prompts.shown.back().text.toStdString();
    EXPECT_FALSE(std::filesystem::exists(home / "missing"));
}

}  // namespace
