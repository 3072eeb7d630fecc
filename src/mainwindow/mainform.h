#pragma once

#include <QPoint>
#include <QWidget>

#include <memory>
#include <optional>

#include "daymodel.h"
#include "daypage.h"
#include "ledger/accountingmonth.h"
#include "ledger/folders.h"
#include "platform/clock.h"
#include "platform/prompts.h"
#include "searchindex.h"
#include "skin/builtinicons.h"
#include "skin/skin.h"
#include "state/appstate.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace closingday {
class Tsimeform;
}
namespace categories {
class THIMOKUForm;
}
namespace expensegraph {
class Tgraphform;
}
namespace yeargraph {
class Tmonthgraph;
}
namespace printbook {
class Tprintform;
}

namespace mainwindow {

class DayGrid;
class TFindDialog;
class Tcalendarform;

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

    state::AppState& state() { return state_; }
    DayModel& model() { return model_; }
    DayPage& page() { return page_; }

    // The page-change protocol: commit an open cell edit, save the page's day, then show
    // `newDate` with its balances. False, with the page left as it was, when the edit was
    // refused or the day could not be saved.
    //
    // A command that reads the month files (a report, an export) starts with
    // ShowDay(state().pageDate), so that what is on the screen is in the files, and stops
    // when it returns false. A window is one entry point that takes what it needs and hands
    // back a result, made on first use; its command here is a line or two.
    bool ShowDay(const ledger::Date& newDate);

    // Commands, under their handler names.
    void SpeedButton1Click();   // previous day (PageUp)
    void SpeedButton2Click();   // next day (PageDown)
    void SpeedButton9Click();   // today (Home, Ctrl+T)
    void SpeedButton4Click();   // calendar (Ctrl+K)
    void SpeedButton7Click();   // categories (Ctrl+H)
    void SpeedButton8Click();   // monthly expense graph (Ctrl+G)
    void N14Click();            // 月別グラフ (Ctrl+M)
    void CSV1Click();           // CSV書き出し: the accounting month into a CSV file
    void N15Click();            // 家計簿印刷: the account book, previewed and printed
    void add1Click();           // NET機能: entries kept by the web service into the book
    void backup1Click();        // バックアップ作成 (hidden in the menu)
    void backuprevert1Click();  // バックアップ読み込み (hidden in the menu)
    void copy1Click();          // コピー (Ctrl+C): the bottom-right selected cell
    void paste1Click();         // 貼り付け (Ctrl+V): into 金額 or メモ
    void Find1Click();          // 検索 (Ctrl+F): opens the find dialog
    void FindDialog1Find();     // 次を検索
    void N9Click();             // 締め日変更
    void N13Click();            // 合計を総支出のみ表示 (F8)
    void N1Click();             // 新規行 (Ctrl+N)
    void MenuItem1Click();      // 行削除 of the window menu (Ctrl+D), Delete in the grid
    void deleteRow1Click();     // 行削除 of the grid's popup: the row under the pointer
    void calClick();            // 電卓
    void RefreshDayTotal();
    void RefreshMonthTotal();

    // Closes as the close button does, without questions: for the end of a session.
    void Terminate();
    // Saves the page and the settings now (the session manager asks before logging out).
    void SaveAll();

    // The window's controls under their designer names.
    DayGrid* maingrid;
    QLabel* Label1;             // title area; dragging it moves the window
    QLabel* Image4;             // window icon
    QWidget* imagemain;         // the skin behind everything
    QLabel* labeldate;          // page date
    QLabel* Labelday;           // day balance
    QLabel* labelsub;           // accounting-month balance
    QToolButton* SpeedButton1;  // previous day
    QToolButton* SpeedButton2;  // next day
    QToolButton* SpeedButton9;  // today
    QToolButton* SpeedButton4;  // calendar
    QToolButton* SpeedButton7;  // category settings
    QToolButton* SpeedButton8;  // graph
    QToolButton* SpeedButton3;  // window menu
    QToolButton* SpeedButton5;  // minimise
    QToolButton* SpeedButton6;  // close
    QPushButton* focusbutton;   // takes the focus off the grid before a save

    QMenu* PopupMenu1;       // the window menu
    QMenu* PopupMenu2;       // the grid's menu
    QAction* N2;             // 今日へ...（入力完了）
    QAction* MenuItem1;      // 行削除
    QAction* N1;             // 新規行
    QAction* csvExport1;     // CSV書き出し
    QAction* NET1;           // NET機能
    QAction* N9;             // 締め日変更
    QAction* cal;            // 電卓
    QAction* copy1;          // コピー
    QAction* paste1;         // 貼り付け
    QAction* search1;        // 検索
    QAction* N13;            // 合計を総支出のみ表示
    QAction* N14;            // 月別グラフ
    QAction* print1;         // 家計簿印刷
    QAction* N11;            // カレンダー (hidden; Ctrl+K)
    QAction* N12;            // グラフ (hidden; Ctrl+G)
    QAction* N16;            // 費目設定 (hidden; Ctrl+H)
    QAction* backup1;        // バックアップ作成 (hidden)
    QAction* backuprevert1;  // バックアップ読み込み (hidden)
    QAction* deleteRow1;     // 行削除 of the grid's menu
    QAction* newRow1;        // 新規行 of the grid's menu

    // The dialogs, made on first use.
    Tcalendarform* calendarform();
    closingday::Tsimeform* simeform();
    categories::THIMOKUForm* himokuform();
    expensegraph::Tgraphform* graphform();
    yeargraph::Tmonthgraph* monthgraph();
    TFindDialog* findDialog();
    printbook::Tprintform* printform();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void ShowPageLabels();
    // The one road from the page to its month file: commits an open edit and writes the
    // page's day. False, with the user told and the page as it was, when the edit was
    // refused or the day could not be written.
    bool SavePage();
    // For the commands that read the page's accounting month (export, printing): saves the
    // page, then reads the month's lines in date order. False, the user told, on failure.
    bool ReadPageMonth(ledger::AccountingMonth& span, std::vector<std::string>& lines);
    // Whether every row of the page is empty.
    bool PageIsEmpty() const;
    // Write the page's day / ini.ini; what failed, in the user's words.
    std::optional<QString> WriteDay();
    std::optional<QString> WriteSettings();
    // Shows `date`'s rows; the labels are left to ShowPageLabels.
    void LoadPage(const ledger::Date& date);
    // Steps 3 to 7 of a page change: rows, balances, date label, keyboard on the grid.
    void ShowPage(const ledger::Date& date);
    void DeleteRow(int row);
    // The row as the delete question names it: its cells, the amount with separators.
    QString RowSummary(int row) const;
    // Before the page shows another day: rows typed without an amount or a category are
    // not written, so the user is asked once whether to drop them. False (the cursor on
    // that row) to stay.
    bool ConfirmLeavePage();
    // After an accepted edit: the day into its month file, then both balances.
    void SaveEdits();
    // Reads the page's day again, keeping the rows the file does not hold and the cursor.
    void ReloadPage();
    // The page row written as `line`, the occurrence-th of equal ones.
    std::optional<int> RowOfLine(const ledger::Date& day, std::string_view line,
                                 size_t occurrence) const;
    // Puts the find dialog where it leaves the rows in sight.
    void PlaceFindDialog(QWidget& dialog);
    // The window menu under its button, first item highlighted.
    void OpenWindowMenu();
    // F10, Shift+F10 and the Menu key; true when the key opened a menu.
    bool OpenMenuByKey(const QKeyEvent& key);
    void OnCellEdited(int row, int column);
    // Saves the page's day and ini.ini. With askOnFailure the user decides whether a day
    // that cannot be written may be left (false: stay open); without, failures are logged.
    bool FormClose(bool askOnFailure);
    // Reads the category list file; false (the user told) when it cannot be read.
    bool LoadCategories();

    platform::Prompts& prompts_;
    const platform::Clock& clock_;
    state::AppState state_;
    DayModel model_;
    DayPage page_;
    Tcalendarform* calendarform_ = nullptr;
    closingday::Tsimeform* simeform_ = nullptr;
    categories::THIMOKUForm* himokuform_ = nullptr;
    expensegraph::Tgraphform* graphform_ = nullptr;
    yeargraph::Tmonthgraph* monthgraph_ = nullptr;
    TFindDialog* findDialog_ = nullptr;
    printbook::Tprintform* printform_ = nullptr;
    // The search's lines while the find dialog is open.
    std::optional<SearchIndex> searchIndex_;
    skin::SkinImages skin_;
    bool closing_ = false;
    // The day shown could not be read: it is not saved over.
    bool loadFailed_ = false;
    // ini.ini exists but could not be read: it is not written over.
    bool iniUnreadable_ = false;
    bool terminating_ = false;
    // A failed save after an edit was reported; the next ones are not, until one succeeds.
    bool saveFailureShown_ = false;
    // A backup was restored: the window ends without writing anything over it.
    bool restored_ = false;
    // The paging key whose press this window saw; its release pages.
    int pagingKeyDown_ = 0;
};

}  // namespace mainwindow
