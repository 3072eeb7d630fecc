#pragma once

// The toolkit's headers first: moc reads the standard headers the ledger's pull in only
// after them.
#include <QObject>
#include <QString>

#include "ledger/accountingmonth.h"
#include "mainwindow/daypage.h"
#include "mainwindow/pageprotocol.h"
#include "mainwindow/windowlook.h"

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QWidget;

namespace platform {
class Prompts;
}
namespace state {
struct AppState;
}

namespace mainwindow {

class DayGrid;
class DayModel;

// The main window's day page and its protocol: the one road between the screen and the month
// files. It shows a day (rows, both balances, the date label), writes the page's day after
// every accepted edit and before every page change, and asks before rows the file will not
// take are left behind. Everything that reads the month files starts with ShowDay of the
// page's own day, so that what is on the screen is in the files.
class PageController : public PageProtocol {
public:
    PageController(QWidget& window, state::AppState& state, DayModel& model, DayGrid& grid,
                   const PageLabels& labels, QWidget& focusSink, platform::Prompts& prompts);

    // The page-change protocol: commit an open cell edit, save the page's day, then show
    // `newDate` with its balances. The same day again keeps the rows and the cursor. False,
    // the page as it was, when the edit was refused, the day could not be saved or the user
    // kept rows the file would not take.
    bool ShowDay(const ledger::Date& newDate);
    // ShowDay, then the row `row` of that day becomes the current row (an entry asked for
    // elsewhere, as a cell of the year table).
    bool ShowEntry(const ledger::Date& date, int row);
    // Shows `date` without saving (start-up), the keyboard on the grid at row 1, 費目.
    void ShowPage(const ledger::Date& date);
    // Reads the page's day again, keeping the rows the file does not hold and the cursor.
    void ReloadPage();
    // Both balances and the date label.
    void ShowPageLabels();
    void RefreshRowIcons() { day_.RefreshRowIcons(); }
    // Writes the page's day; what failed, in the user's words.
    std::optional<QString> WriteDay();
    // For the commands that read the page's accounting month (export, printing): saves the
    // page, then reads the month's lines in date order. False, the user told, on failure.
    bool ReadPageMonth(ledger::AccountingMonth& span, std::vector<std::string>& lines);

    bool SavePage() override;
    bool ConfirmLeavePage() override;
    void SaveEdits() override;
    void CellEdited(int row) override;
    void ShowSavedPageDay(const ledger::Date& date) override;
    ledger::Date PageDate() const override;
    bool PageUnreadable() const override { return loadFailed_; }

private:
    void LoadPage(const ledger::Date& date);
    // Writes the page's day; a failure is told with the path and the reason, the rows staying
    // on the page. With tellAgain false it is told once until a save succeeds. True when saved.
    bool WriteAndReport(bool tellAgain);
    bool PageIsEmpty() const;
    void RefreshDayTotal();
    // 今月の収支 and 今月の残り予算 (shown only where the month has a budget).
    void RefreshMonthTotal();

    QWidget& window_;
    state::AppState& state_;
    DayModel& model_;
    DayGrid& grid_;
    QLabel& dateLabel_;
    QLabel& dayTotalLabel_;
    QLabel& monthTotalLabel_;
    QLabel& budgetLabel_;
    QWidget& focusSink_;
    platform::Prompts& prompts_;
    DayPage day_;
    // The day shown could not be read: it is not saved over.
    bool loadFailed_ = false;
    // A failed save after an edit was reported; the next ones are not, until one succeeds.
    bool saveFailureShown_ = false;
};

}  // namespace mainwindow
