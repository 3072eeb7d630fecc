#pragma once

// The toolkit's headers first: moc reads the standard headers the ledger's pull in only
// after them.
#include <QDialog>

#include "state/appstate.h"
#include "yeartable/yeartable.h"

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace platform {
class Prompts;
}

namespace yeartable {

// 年間収支表: the twelve accounting months of a year by category, with CSV and printing.
// Left and Right (or PageUp and PageDown, 前年 and 翌年) step the year; Tab and Shift+Tab move
// across the months, Up and Down across the rows; Enter or a double click on a cell closes
// the window and hands back where the cell's first entry is, for the day page to show.
class Tyearform : public QDialog {
    Q_OBJECT
public:
    Tyearform(platform::Prompts& prompts, QWidget* parent = nullptr);

    // Shows the year of the page date until the user closes the window; the place of the
    // entry the user asked for, if any. The caller saves the page first. The window reads its
    // own copy of what `state` holds.
    std::optional<EntryPlace> Run(const state::AppState& state, const ledger::Date& today);

    const YearTable& table() const { return table_; }
    // Tallies `year` from the month files and fills the window.
    void ShowYear(int year);

private:
    void OpenCell(int row, int column);
    void ExportCsv();   // CSV書き出し
    void PrintTable();  // 印刷
    void FillTable();

    // The controls, named in the constructor's table.
    QLabel* title_;             // yearTitle
    QTableWidget* grid_;        // yeargrid
    QPushButton* previous_;     // previousYear: 前年
    QPushButton* next_;         // nextYear: 翌年
    QPushButton* csvButton_;    // exportCsv: CSV書き出し
    QPushButton* printButton_;  // printTable: 印刷
    QPushButton* closeButton_;  // closeButton: 閉じる

    platform::Prompts& prompts_;
    std::optional<state::AppState> book_;
    ledger::Date today_;
    YearTable table_;
    std::optional<EntryPlace> chosen_;
};

}  // namespace yeartable
