#pragma once

#include <QDialog>
#include <QImage>

#include <memory>

#include "printbook/gridprinter.h"

class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;

namespace platform {
class Prompts;
}

namespace printbook {

struct AccountBook;

// A table to print: a header row, then the body rows; the header row repeats on every page.
struct PrintSheet {
    QString title;  // printed on each page; names the job and the proposed PDF file
    std::vector<std::vector<QString>> cells;
    std::vector<int> columnWidths;   // screen pixels at 96 dpi
    std::vector<bool> rightAligned;  // per column, for the body rows
    int rowHeight = 24;
    bool landscape = false;
};

// The account book of a month as a sheet: six columns, amounts to the right.
PrintSheet AccountBookSheet(const AccountBook& book);

// 印刷プレビュー: a sheet's pages one at a time, through the grid printer, and printed on
// request (a printer of the system, or a PDF file where there is none).
class Tprintform : public QDialog {
    Q_OBJECT
public:
    Tprintform(platform::Prompts& prompts, QWidget* parent = nullptr);
    ~Tprintform() override;

    // Shows the sheet's first page until the user closes the window.
    void Run(const PrintSheet& sheet);

    printbook::TQelSGridPrinter& gridPrinter() { return gridPrinter_; }
    QPrinter& printer() { return *printer_; }
    const QImage& page() const { return page_; }

private:
    void PreviousPage();  // 前のページ
    void NextPage();      // 次のページ
    void SetUpPrinter();  // プリンタ設定
    void Print();         // 印刷

    void FormShow();
    void ShowPage();
    void UpdateButtons();
    void UsePrinter();
    void EndPage();
    void DrawCell(int column, int row, const QRect& rect);

    // The controls; their designer names are their object names (the constructor's table).
    QPushButton* previousButton_;  // Button1: 前のページ
    QPushButton* nextButton_;      // Button2: 次のページ
    QPushButton* setupButton_;     // Button5: プリンタ設定
    QPushButton* printButton_;     // Button3: 印刷
    QPushButton* closeButton_;     // Button4: 閉じる
    QLabel* noPrinterNote_;        // NoPrinterNote: says that pages go to a PDF file
    QScrollArea* pageArea_;        // ScrollBox1
    QLabel* pageImage_;            // Image1

    platform::Prompts& prompts_;
    std::unique_ptr<QPrinter> printer_;
    printbook::PrintGrid grid_;
    printbook::TQelSGridPrinter gridPrinter_;
    QString title_;
    std::vector<bool> rightAligned_;
    QImage page_;
};

}  // namespace printbook
