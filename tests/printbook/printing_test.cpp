#include "mainwindow/fixture.h"
#include "platform/fonts.h"
#include "printbook/gridprinter.h"
#include "printbook/printform.h"
#include "support/widgets.h"

#include <QAction>
#include <QDir>
#include <QFontMetrics>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

using testsupport::Child;
using testsupport::Click;
using testsupport::MainFormTest;

namespace {

// What a command prints on its standard output.
std::string Output(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return out;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

// The account book of a month that needs two pages, previewed page by page and printed to a
// PDF file that is read back: title, amounts with separators, 合計, page numbers, two pages.
TEST_F(MainFormTest, AccountBookPreviewsAndPrintsToPdf) {
    std::vector<std::string> lines;
    for (int k = 0; k < 60; ++k)
        lines.push_back("202403" + std::string(k < 30 ? "01" : "02") + ",食費,スーパー,1200,");
    lines.push_back("20240303,給料,,250000,");
    lines.push_back("20240303,給料,,15000,フリマ売上");
    lines.push_back("20240304,消えた費目,,5,");
    WriteMonth("202403", lines);
    ASSERT_TRUE(Start());
    const auto pdf = home / "book.pdf";
    QString jobTitle;
    QString dialogFolder;
    prompts.printHandler = [&](QPrinter& printer) {
        jobTitle = printer.docName();
        dialogFolder = QDir::currentPath();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        printer.setPageSize(QPageSize(QPageSize::A4));
        return true;
    };
    std::vector<std::pair<bool, bool>> buttons;  // 前のページ, 次のページ enabled
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto* preview = qobject_cast<printbook::Tprintform*>(&dialog);
        if (!preview)
            return int(QDialog::Rejected);
        // The preview on A4 paper, whatever printer the machine has.
        preview->printer().setPageSize(QPageSize(QPageSize::A4));
        Click(preview, "Button5");  // no setup answered: nothing changes
        buttons.push_back({Child<QPushButton>(preview, "Button1")->isEnabled(),
                           Child<QPushButton>(preview, "Button2")->isEnabled()});
        EXPECT_FALSE(preview->page().isNull());
        Click(preview, "Button2");
        buttons.push_back({Child<QPushButton>(preview, "Button1")->isEnabled(),
                           Child<QPushButton>(preview, "Button2")->isEnabled()});
        Click(preview, "Button1");
        buttons.push_back({Child<QPushButton>(preview, "Button1")->isEnabled(),
                           Child<QPushButton>(preview, "Button2")->isEnabled()});
        Click(preview, "Button3");
        return int(QDialog::Accepted);
    };
    const QString folderBefore = QDir::currentPath();
    Find<QAction>("N15")->trigger();
    EXPECT_EQ(buttons,
              (std::vector<std::pair<bool, bool>>{{false, true}, {true, false}, {false, true}}));
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_TRUE(prompts.shown.empty()) << prompts.shown.front().text.toStdString();
    const std::string info = Output("pdfinfo '" + pdf.string() + "'");
    const size_t pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info;
    EXPECT_EQ(std::stoi(info.substr(pages + 6)), 2) << info;
    const std::string text = Output("pdftotext -layout '" + pdf.string() + "' -");
    for (const char* expected : {"2024年03月度の家計簿", "1,200", "250,000", "72,000", "合計",
                                 "1/2", "2/2", "費目リストにない項目です", "日付"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    // On paper the cells keep their inset: an amount and the memo beside it stay apart.
    EXPECT_NE(text.find("フリマ売上"), std::string::npos) << text;
    EXPECT_EQ(text.find("15,000フリマ売上"), std::string::npos) << text;
    // The job carries the book's title, and the dialog proposes it as a PDF file in the
    // documents folder (the toolkit's dialog proposes the job's name in the current folder).
    EXPECT_EQ(jobTitle, "2024年03月度の家計簿");
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QDir(documents).exists())
        documents = QDir::homePath();
    EXPECT_EQ(QDir(dialogFolder).canonicalPath(), QDir(documents).canonicalPath());
    EXPECT_EQ(QDir::currentPath(), folderBefore);  // put back after the dialog
}

// A text wider than its column is cut between two characters: the longest start that fits.
TEST(GridPrinter, TextIsCutAtACharacter) {
    const QFont font = platform::UiFont(14);
    const QFontMetrics metrics(font);
    const QString memo = QStringLiteral("スーパーで食料品と日用品をまとめ買い🍣した");
    for (int width : {0, 20, 61, 100, 170, 1000}) {
        const QString cut = printbook::CutToWidth(metrics, memo, width);
        EXPECT_TRUE(memo.startsWith(cut)) << width;
        EXPECT_LE(metrics.horizontalAdvance(cut), std::max(width, 0)) << width;
        if (cut.size() < memo.size()) {
            // One more character would not fit.
            const qsizetype next = memo.at(cut.size()).isHighSurrogate() ? 2 : 1;
            EXPECT_GT(metrics.horizontalAdvance(memo.left(cut.size() + next)), width) << width;
            EXPECT_FALSE(cut.size() > 0 && cut.back().isHighSurrogate()) << width;
        }
    }
}

// A print that fails is said, never shown as done.
TEST_F(MainFormTest, AFailedPrintIsReported) {
    WriteMonth("202403", {"20240301,食費,,100,"});
    ASSERT_TRUE(Start());
    prompts.printHandler = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(
            QString::fromStdString((home / "no" / "such" / "x.pdf").string()));
        return true;
    };
    prompts.dialogHandler = [&](QDialog& dialog) {
        if (auto* preview = qobject_cast<printbook::Tprintform*>(&dialog))
            Click(preview, "Button3");
        return int(QDialog::Accepted);
    };
    Find<QAction>("N15")->trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "error");
    EXPECT_TRUE(prompts.shown[0].text.contains("x.pdf"));
}

}  // namespace
