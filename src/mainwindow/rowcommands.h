#pragma once

#include <QString>

class QWidget;

namespace platform {
class Prompts;
}

namespace mainwindow {

class DayGrid;
class DayModel;
class PageProtocol;

// The commands on the page's rows and cells: コピー and 貼り付け of one cell, 新規行, and 行削除
// of the selected row or of the row under the pointer. Every change is saved at once
// through the page protocol.
class RowCommands {
public:
    RowCommands(QWidget& window, PageProtocol& page, DayGrid& grid, DayModel& model,
                platform::Prompts& prompts);

    // The bottom-right selected cell's text to the clipboard.
    void Copy();
    // The clipboard's text into 金額 (by the amount rule, as typed) or メモ; line breaks
    // become blanks.
    void Paste();
    // An empty row at the end, its 費目 cell selected.
    void Append();
    // The lowest row with a selected cell in 摘要, 金額 or メモ.
    void DeleteSelected();
    // The row under the last press of the mouse (the grid's own menu).
    void DeleteUnderPointer();

private:
    void Delete(int row);
    // The row as the delete question names it: its cells, the amount with separators.
    QString Summary(int row) const;

    QWidget& window_;
    PageProtocol& page_;
    DayGrid& grid_;
    DayModel& model_;
    platform::Prompts& prompts_;
};

}  // namespace mainwindow
