// Prints the account book of a generated month to a PDF file, as the program prints it, for
// the README's picture:
//   vantrel_printsample OUTPUT.pdf [ENTRIES]
#include "synthetic.h"

#include "platform/prompts.h"
#include "printbook/accountbook.h"
#include "printbook/printform.h"

#include <QApplication>
#include <QPrinter>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

namespace {

// Plays the user: the preview's 印刷, and "Print to File (PDF)" in the print dialog.
class PrintToFile : public platform::QtPrompts {
public:
    explicit PrintToFile(QString file) : file_(std::move(file)) {}
    int RunDialog(QDialog& dialog) override {
        if (auto* preview = qobject_cast<printbook::Tprintform*>(&dialog))
            preview->findChild<QPushButton*>(QStringLiteral("Button3"))->click();
        return QDialog::Accepted;
    }
    bool PrintDialog(QWidget*, QPrinter& printer) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file_);
        printer.setPageSize(QPageSize(QPageSize::A4));
        return true;
    }

private:
    QString file_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf [ENTRIES=60]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 2 ? std::atoi(argv[2]) : 60;
    const ledger::Date month{2024, 3, 1};
    const auto book = printbook::BuildAccountBook(synthetic::MonthLines(month, entries, 7),
                                                  synthetic::Categories(), month);
    PrintToFile prompts(QString::fromLocal8Bit(argv[1]));
    printbook::Tprintform window(prompts);
    window.printer().setPageSize(QPageSize(QPageSize::A4));
    window.Run(printbook::AccountBookSheet(book));
    std::printf("wrote %s\n", argv[1]);
    return 0;
}
