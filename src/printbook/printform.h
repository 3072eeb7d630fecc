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

// 印刷プレビュー: the account book's pages one at a time, through the grid printer, and
// printed on request (a printer of the system, or a PDF file where there is none).
class Tprintform : public QDialog {
    Q_OBJECT
public:
    Tprintform(platform::Prompts& prompts, QWidget* parent = nullptr);
    ~Tprintform() override;

    // Shows the book's first page until the user closes the window.
    void Run(const AccountBook& book);

    void Button1Click();  // 前のページ
    void Button2Click();  // 次のページ
    void Button5Click();  // プリンタ設定
    void Button3Click();  // 印刷

    printbook::TQelSGridPrinter& gridPrinter() { return gridPrinter_; }
    QPrinter& printer() { return *printer_; }
    const QImage& page() const { return page_; }

    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button5;
    QPushButton* Button3;
    QPushButton* Button4;   // 閉じる
    QLabel* NoPrinterNote;  // says that pages go to a PDF file
    QScrollArea* ScrollBox1;
    QLabel* Image1;

private:
    void FormShow();
    void ShowPage();
    void UpdateButtons();
    void UsePrinter();
    void EndPage();
    void DrawCell(int column, int row, const QRect& rect);

    platform::Prompts& prompts_;
    std::unique_ptr<QPrinter> printer_;
    printbook::PrintGrid grid_;
    printbook::TQelSGridPrinter gridPrinter_;
    QString title_;
    QImage page_;
};

}  // namespace printbook
