#pragma once

#include <QPoint>
#include <QWidget>

#include <memory>
#include <optional>

#include "daymodel.h"
#include "daypage.h"
#include "ledger/accountingmonth.h"
#include "ledger/folders.h"
#include "ledger/gridcellfile.h"
#include "pageprotocol.h"
#include "platform/clock.h"
#include "platform/prompts.h"
#include "skin/builtinicons.h"
#include "skin/skin.h"
#include "state/appstate.h"
#include "windowlook.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace mainwindow {

class DayGrid;
class PageController;
class PageSearch;
class RowCommands;
class WindowKeys;

// The main window: one day page of the account book, its balances, the date navigation
// and the window menu. Owns the state every dialog works on.
class Tmainform : public QWidget {
    Q_OBJECT
public:
    Tmainform(ledger::ProgramFolders folders, platform::Prompts& prompts,
              const platform::Clock& clock, QWidget* parent = nullptr);
    ~Tmainform() override;

    // Start-up: folders, settings, categories and today's page. False when the program
    // cannot start (no category list); the user has been told why.
    bool FormCreate();

    // What the window holds, for tests and tools; commands change it, not its readers.
    const state::AppState& state() const { return state_; }
    DayModel& model() { return model_; }

    // The page-change protocol: commit an open cell edit, save the page's day, then show
    // `newDate` with its balances. False, with the page left as it was, when the edit was
    // refused, the day could not be saved or the user kept rows the file would not take.
    //
    // A command that reads the month files (a report, an export) starts with
    // ShowDay(state().pageDate), so that what is on the screen is in the files, and stops
    // when it returns false. Each feature lives in its folder behind one entry point; its
    // command here is a row of the command table and a line or two.
    bool ShowDay(const ledger::Date& newDate);

    // Closes as the close button does, without questions: for the end of a session.
    void Terminate();
    // Saves the page and the settings now (the session manager asks before logging out).
    void SaveAll();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The commands of the command table (mainform.cpp), by what they do.
    void StepDay(int days);  // PageUp, PageDown: the previous or the next day
    void PreviousDay() { StepDay(-1); }
    void NextDay() { StepDay(+1); }
    void GoToToday();
    void OpenCalendar();
    void EditCategories();
    void OpenExpenseGraph();
    void OpenYearGraph();
    void OpenYearTable();
    void EditBudgets();
    void EditRecurring();
    void ImportStatement();
    // Asks about the recurring entries due by today, and enters what the user chose.
    void OfferDueEntries();
    // After a page change: asks when the page reached a due date (once per run after
    // 今はしない).
    void OfferDueEntriesIfReached();
    void ExportCsv();
    void PrintBook();
    void ImportFromService();
    // A network import's reply that the program did not live to merge: offered at start-up.
    void OfferPendingNetReply();
    void MakeBackup();
    void RestoreBackup();
    void ChangeClosingDay();
    void ToggleExpenseOnly();
    void OpenCalculator();
    void MinimiseProgram();
    void CloseWindow();
    void OpenWindowMenuAtPointer();

    void BuildControls();
    void BuildCommands();
    // Writes ini.ini; what failed, in the user's words.
    std::optional<QString> WriteSettings();
    // Saves the page's day and ini.ini. With askOnFailure the user decides whether a day
    // that cannot be written may be left (false: stay open); without, failures are logged.
    bool FormClose(bool askOnFailure);

    // The controls the window works with; every control's designer name is its object name,
    // set where it is made (BuildControls, BuildCommands).
    DayGrid* grid_ = nullptr;               // maingrid
    PageLabels labels_;                     // labeldate, Labelday, labelsub, labelbudget
    QPushButton* focusSink_ = nullptr;      // focusbutton: takes the focus off the grid
    QToolButton* menuButton_ = nullptr;     // SpeedButton3
    QMenu* windowMenu_ = nullptr;           // PopupMenu1
    QMenu* gridMenu_ = nullptr;             // PopupMenu2
    QAction* expenseOnlyAction_ = nullptr;  // N13

    platform::Prompts& prompts_;
    const platform::Clock& clock_;
    state::AppState state_;
    DayModel model_;
    // The day page and its protocol (made once the controls are there).
    std::unique_ptr<PageController> page_;
    skin::SkinImages skin_;
    std::unique_ptr<RowCommands> rows_;
    std::unique_ptr<PageSearch> search_;
    WindowKeys* keys_ = nullptr;  // owned as a child
    bool closing_ = false;
    // ini.ini exists but could not be read: it is not written over.
    bool iniUnreadable_ = false;
    bool terminating_ = false;
    // A backup was restored: the window ends without writing anything over it.
    bool restored_ = false;
    // The earliest date a recurring entry is next due, and whether the user put them off.
    std::optional<ledger::Date> recurringDue_;
    bool recurringPutOff_ = false;
};

}  // namespace mainwindow
