#include "mainform.h"

#include "book.h"
#include "calendarform.h"
#include "daygrid.h"
#include "daygriddelegate.h"
#include "pagecontroller.h"
#include "pagesearch.h"
#include "platform/amounttext.h"
#include "rowcommands.h"
#include "windowkeys.h"
#include "windowlook.h"

#include "backup/backupcommands.h"
#include "budget/budgetform.h"
#include "categories/himokuform.h"
#include "closingday/simeform.h"
#include "csvexport/exportmonth.h"
#include "expensegraph/graphform.h"
#include "ledger/accountingmonth.h"
#include "netimport/importfromservice.h"
#include "netimport/replystate.h"
#include "platform/calculator.h"
#include "platform/objectnames.h"
#include "printbook/accountbook.h"
#include "printbook/printform.h"
#include "recurring/offerdue.h"
#include "recurring/recurringform.h"
#include "statement/statementform.h"
#include "yeargraph/monthgraph.h"
#include "yeartable/yearform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace mainwindow {
namespace {

using Icon = platform::Prompts::Icon;
using Buttons = platform::Prompts::Buttons;
using Answer = platform::Prompts::Answer;

}  // namespace

Tmainform::Tmainform(ledger::ProgramFolders folders, platform::Prompts& prompts,
                     const platform::Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      prompts_(prompts),
      clock_(clock),
      state_(std::move(folders)),
      skin_(skin::SkinImages::Builtin()) {
    BuildControls();
    BuildCommands();
    page_ = std::make_unique<PageController>(*this, state_, model_, *grid_, labels_, *focusSink_,
                                             prompts_);
    rows_ = std::make_unique<RowCommands>(*this, *page_, *grid_, model_, prompts_);
    search_ = std::make_unique<PageSearch>(*this, *page_, *grid_, model_, state_.folders.Data(),
                                           prompts_);
    keys_ =
        new WindowKeys(*this, *grid_, *windowMenu_, *menuButton_,
                       {[this] { StepDay(-1); }, [this] { StepDay(+1); }, [this] { GoToToday(); }});
}

Tmainform::~Tmainform() = default;

bool Tmainform::ShowDay(const ledger::Date& newDate) {
    return page_->ShowDay(newDate);
}

void Tmainform::BuildControls() {
    labels_ = DressMainWindow(*this, skin_);

    // The buttons: designer name (the object name), face, place, command.
    struct ButtonRow {
        const char* objectName;
        const char* glyph;
        QRect geometry;
        void (Tmainform::*run)();
        const char16_t* tip;
    };
    // clang-format off
    static const ButtonRow kButtons[] = {
        {"SpeedButton1", "glyph_prev", {32, 44, 42, 58}, &Tmainform::PreviousDay, nullptr},
        {"SpeedButton2", "glyph_next", {80, 44, 42, 58}, &Tmainform::NextDay, nullptr},
        {"SpeedButton9", "glyph_today", {128, 44, 42, 58}, &Tmainform::GoToToday, nullptr},
        {"SpeedButton4", "glyph_calendar", {192, 44, 58, 58}, &Tmainform::OpenCalendar, nullptr},
        {"SpeedButton7", "glyph_categories", {256, 44, 58, 58}, &Tmainform::EditCategories, nullptr},
        {"SpeedButton8", "glyph_graph", {312, 44, 58, 58}, &Tmainform::OpenExpenseGraph, nullptr},
        // The chrome: what the user sees of these is the skin's top-right corner.
        {"SpeedButton3", "", {656, 8, 71, 17}, &Tmainform::OpenWindowMenuAtPointer, u"メニュー"},
        {"SpeedButton5", "", {739, 8, 16, 16}, &Tmainform::MinimiseProgram, u"最小化"},
        {"SpeedButton6", "", {768, 8, 16, 16}, &Tmainform::CloseWindow, u"閉じる"},
    };
    // clang-format on
    for (const ButtonRow& row : kButtons) {
        QToolButton* button = MakeFlatButton(this, QLatin1String(row.glyph), row.geometry);
        button->setObjectName(QLatin1String(row.objectName));
        if (row.tip != nullptr)
            button->setToolTip(QString::fromUtf16(row.tip));
        connect(button, &QToolButton::clicked, this, row.run);
    }
    menuButton_ = findChild<QToolButton*>(QStringLiteral("SpeedButton3"));

    grid_ = new DayGrid(model_, state_.categories, this);
    grid_->setObjectName(QStringLiteral("maingrid"));
    grid_->setGeometry(31, 166, 731, 401);
    grid_->SetHeaderImage(skin_.toprowbg);
    model_.SetLook([this](int iconPosition, const std::string& category) {
        DayModel::RowLook look;
        look.icon = state_.icons.Icon(iconPosition);
        look.income = state_.categories.IsIncome(state_.categories.CategoryIndex(category));
        return look;
    });
    connect(&grid_->delegate(), &DayGridDelegate::cellEdited, this,
            [this](int row, int) { page_->CellEdited(row); });
    connect(&grid_->delegate(), &DayGridDelegate::amountRefused, this,
            [this](const QModelIndex& index) { grid_->ShowHint(index, platform::kAmountRefused); });
    // An inserted row changes no line of the file; the page is saved all the same, so that
    // nothing typed before the insert waits for a page change.
    connect(grid_, &DayGrid::rowInserted, this, [this] { page_->SaveEdits(); });
    connect(&model_, &DayModel::textRefused, this,
            [this](const QString& why) { prompts_.Error(this, why); });
    connect(grid_, &DayGrid::appendRowRequested, this, [this] { rows_->Append(); });
    connect(grid_, &DayGrid::deleteSelectedRowRequested, this, [this] { rows_->DeleteSelected(); });
    connect(grid_, &DayGrid::popupRequested, this,
            [this](const QPoint& pos) { gridMenu_->exec(pos); });

    focusSink_ = new QPushButton(this);
    focusSink_->setObjectName(QStringLiteral("focusbutton"));
    focusSink_->setGeometry(-100, -100, 10, 10);  // outside the visible area
}

void Tmainform::BuildCommands() {
    // The command table: one row per command of the window menu, the hidden shortcuts and
    // the grid's menu. The designer name is the object name; a new group of the window menu
    // starts after a separator.
    enum class Place { WindowMenu, ShortcutOnly, GridMenu };
    struct CommandRow {
        const char* objectName;
        const char16_t* caption;
        const char* key;  // portable text ("Ctrl+T"); empty for none
        void (*run)(Tmainform&);
        Place place;
        int group;
    };
    // clang-format off
    static const CommandRow kCommands[] = {
        {"N2", u"今日へ...（入力完了）", "Ctrl+T", [](Tmainform& w) { w.GoToToday(); }, Place::WindowMenu, 1},
        {"MenuItem1", u"行削除", "Ctrl+D", [](Tmainform& w) { w.rows_->DeleteSelected(); }, Place::WindowMenu, 2},
        {"N1", u"新規行", "Ctrl+N", [](Tmainform& w) { w.rows_->Append(); }, Place::WindowMenu, 2},
        {"CSV1", u"CSV書き出し", "", [](Tmainform& w) { w.ExportCsv(); }, Place::WindowMenu, 3},
        {"NET1", u"NET機能", "", [](Tmainform& w) { w.ImportFromService(); }, Place::WindowMenu, 3},
        {"statement1", u"明細取込", "Ctrl+I", [](Tmainform& w) { w.ImportStatement(); }, Place::WindowMenu, 3},
        {"N9", u"締め日変更", "", [](Tmainform& w) { w.ChangeClosingDay(); }, Place::WindowMenu, 3},
        {"cal", u"電卓", "", [](Tmainform& w) { w.OpenCalculator(); }, Place::WindowMenu, 4},
        {"copy1", u"コピー", "Ctrl+C", [](Tmainform& w) { w.rows_->Copy(); }, Place::WindowMenu, 5},
        {"paste1", u"貼り付け", "Ctrl+V", [](Tmainform& w) { w.rows_->Paste(); }, Place::WindowMenu, 5},
        {"search1", u"検索", "Ctrl+F", [](Tmainform& w) { w.search_->Open(); }, Place::WindowMenu, 5},
        {"N13", u"合計を総支出のみ表示", "F8", [](Tmainform& w) { w.ToggleExpenseOnly(); }, Place::WindowMenu, 6},
        {"N14", u"月別グラフ", "Ctrl+M", [](Tmainform& w) { w.OpenYearGraph(); }, Place::WindowMenu, 7},
        {"yeartable1", u"年間収支表", "Ctrl+Y", [](Tmainform& w) { w.OpenYearTable(); }, Place::WindowMenu, 7},
        {"recurring1", u"定期入力", "Ctrl+R", [](Tmainform& w) { w.EditRecurring(); }, Place::WindowMenu, 7},
        {"budget1", u"予算設定", "Ctrl+B", [](Tmainform& w) { w.EditBudgets(); }, Place::WindowMenu, 7},
        {"N15", u"家計簿印刷", "", [](Tmainform& w) { w.PrintBook(); }, Place::WindowMenu, 7},
        {"backup1", u"バックアップ作成", "", [](Tmainform& w) { w.MakeBackup(); }, Place::WindowMenu, 8},
        {"backuprevert1", u"バックアップ読み込み", "", [](Tmainform& w) { w.RestoreBackup(); }, Place::WindowMenu, 8},
        {"N11", u"カレンダー", "Ctrl+K", [](Tmainform& w) { w.OpenCalendar(); }, Place::ShortcutOnly, 0},
        {"N12", u"グラフ", "Ctrl+G", [](Tmainform& w) { w.OpenExpenseGraph(); }, Place::ShortcutOnly, 0},
        {"N16", u"費目設定", "Ctrl+H", [](Tmainform& w) { w.EditCategories(); }, Place::ShortcutOnly, 0},
        {"deleteRow1", u"行削除", "", [](Tmainform& w) { w.rows_->DeleteUnderPointer(); }, Place::GridMenu, 0},
        {"newRow1", u"新規行", "", [](Tmainform& w) { w.rows_->Append(); }, Place::GridMenu, 0},
    };
    // clang-format on
    windowMenu_ = new QMenu(this);
    windowMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    gridMenu_ = new QMenu(this);
    gridMenu_->setObjectName(QStringLiteral("PopupMenu2"));
    int group = 0;
    for (const CommandRow& row : kCommands) {
        auto* action = new QAction(QString::fromUtf16(row.caption), this);
        action->setObjectName(QLatin1String(row.objectName));
        if (*row.key != '\0') {
            action->setShortcut(QKeySequence(QLatin1String(row.key), QKeySequence::PortableText));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        connect(action, &QAction::triggered, this, [this, run = row.run] { run(*this); });
        switch (row.place) {
            case Place::WindowMenu:
                if (group != 0 && row.group != group)
                    windowMenu_->addSeparator();
                group = row.group;
                windowMenu_->addAction(action);
                addAction(action);  // its shortcut works whether or not the menu is open
                break;
            case Place::ShortcutOnly:
                addAction(action);
                break;
            case Place::GridMenu:
                gridMenu_->addAction(action);
                break;
        }
    }
    expenseOnlyAction_ = findChild<QAction*>(QStringLiteral("N13"));
    expenseOnlyAction_->setCheckable(true);
}

bool Tmainform::FormCreate() {
    // Only the main window carries the program's name: an application display name would be
    // appended to every dialog's caption ("確認 — Vantrel"), and those captions are fixed.
    setWindowTitle(QStringLiteral("Vantrel"));
    setFixedSize(800, 600);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    const BookOpening opening = OpenBook(state_, skin::BuiltinIcons::Builtin(), clock_.Today());
    for (const BookNotice& notice : opening.notices) {
        if (notice.kind == BookNotice::Kind::Warning) {
            prompts_.Message(this, QStringLiteral("注意"), notice.text, Icon::Warning, Buttons::Ok);
        } else {
            prompts_.Error(this, notice.text);
        }
    }
    iniUnreadable_ = opening.iniUnreadable;
    if (!opening.usable)
        return false;

    // The dialogs are made on first use: the start shows the same window sooner.
    page_->ShowPage(state_.pageDate);
    // A network import's reply that was never merged comes first, once the window is up.
    if (netimport::ReadReplyState(state_.folders.NetWorkFile()) != netimport::ReplyState::None)
        QTimer::singleShot(0, this, [this] { OfferPendingNetReply(); });
    // Recurring entries due by today are offered once the window is up.
    recurringDue_ = state_.recurring.NextDue();
    if (recurringDue_ && *recurringDue_ <= clock_.Today())
        QTimer::singleShot(0, this, [this] { OfferDueEntries(); });
    return true;
}

std::optional<QString> Tmainform::WriteSettings() {
    if (iniUnreadable_)
        return std::nullopt;  // kept as it is: it could not be read at start-up
    return SaveSettings(state_);
}

void Tmainform::StepDay(int days) {
    if (page_->ShowDay(state_.pageDate.AddDays(days)))
        OfferDueEntriesIfReached();
}

void Tmainform::GoToToday() {
    if (page_->ShowDay(clock_.Today()))
        OfferDueEntriesIfReached();
}

void Tmainform::OpenCalendar() {
    // The day is saved before the calendar shows; the page then shows the day picked, or
    // the same day again when the calendar was left with Escape.
    if (!page_->SavePage())
        return;
    const ledger::Date picked =
        platform::ChildOnFirstUse<Tcalendarform>(
            *this, "calendarform", [this] { return new Tcalendarform(clock_, skin_, this); })
            .Pick(state_.pageDate, prompts_)
            .value_or(state_.pageDate);
    if (page_->ShowDay(picked))
        OfferDueEntriesIfReached();
}

void Tmainform::EditCategories() {
    if (!grid_->FinishEditing())
        return;
    // The editor works on its own copy; the category list file is written through the one
    // save path here, and the icon slots it hands back are the window's from now on.
    const categories::THIMOKUForm::IconSlots iconSlots =
        platform::ChildOnFirstUse<categories::THIMOKUForm>(
            *this, "himokuform",
            [this] { return new categories::THIMOKUForm(prompts_, skin_, this); })
            .Edit(state_, [this](const ledger::GridTable& table,
                                 const categories::CategoryChanges& changes) {
                return SaveCategoryList(state_, table, changes);
            });
    state_.settings.extIconCount = iconSlots.settings.extIconCount;
    state_.settings.extIconNames = iconSlots.settings.extIconNames;
    state_.icons = iconSlots.icons;
    // Saved or not, the list is read again from the file, as are the rows' icons.
    if (std::optional<QString> failure = LoadCategoryList(state_)) {
        prompts_.Error(this, *failure);
        return;
    }
    page_->RefreshRowIcons();
    grid_->viewport()->update();
}

void Tmainform::OpenExpenseGraph() {
    // What is on the page is counted: it goes to its month file first.
    if (!page_->ShowDay(state_.pageDate))
        return;
    platform::ChildOnFirstUse<expensegraph::Tgraphform>(*this, "graphform", [this] {
        return new expensegraph::Tgraphform(skin_, prompts_, this);
    }).Run(state_, [this](const ledger::BudgetBook& budgets) {
        return SaveBudgets(state_, budgets);
    });
    // A month's budget set there shows at once.
    page_->ShowPageLabels();
}

void Tmainform::OpenYearGraph() {
    // The month files as they stand: the page is not saved first.
    platform::ChildOnFirstUse<yeargraph::Tmonthgraph>(*this, "monthgraph", [this] {
        return new yeargraph::Tmonthgraph(skin_, prompts_, this);
    }).Run(state_);
}

void Tmainform::EditBudgets() {
    if (!grid_->FinishEditing())
        return;
    platform::ChildOnFirstUse<budget::Tbudgetform>(*this, "budgetform", [this] {
        return new budget::Tbudgetform(prompts_, this);
    }).Edit(state_.budgets, state_.categories, [this](const ledger::BudgetBook& budgets) {
        return SaveBudgets(state_, budgets);
    });
    page_->ShowPageLabels();
}

void Tmainform::EditRecurring() {
    if (!grid_->FinishEditing())
        return;
    platform::ChildOnFirstUse<recurring::Trecurringform>(
        *this, "recurringform", [this] { return new recurring::Trecurringform(prompts_, this); })
        .Edit(state_.recurring, state_.categories, clock_.Today(),
              [this](const ledger::RecurringBook& book) { return SaveRecurring(state_, book); });
    // A template that is due already is offered now.
    recurringPutOff_ = false;
    OfferDueEntries();
}

void Tmainform::ImportStatement() {
    // What is on the page is in its month file before the import adds to it.
    if (!page_->ShowDay(state_.pageDate))
        return;
    const std::optional<statement::ImportResult> imported =
        platform::ChildOnFirstUse<statement::Tstatementform>(*this, "statementform", [this] {
            return new statement::Tstatementform(prompts_, this);
        }).Run(state_, clock_.Today());
    // The page may have new rows; rows the file does not take stay, and the cursor.
    if (imported) {
        page_->ReloadPage();
        page_->ShowPageLabels();
    }
}

void Tmainform::OfferDueEntries() {
    if (state_.recurringUnreadable || closing_)
        return;
    // What is on the page is in its month file before rows are added to it.
    if (!page_->ShowDay(state_.pageDate))
        return;
    const recurring::OfferResult offered =
        recurring::OfferDueEntries(*this, state_.store, state_.categories, state_.recurring,
                                   state_.folders.RecurringFile(), clock_.Today(), prompts_);
    recurringDue_ = state_.recurring.NextDue();
    recurringPutOff_ = offered.asked && !offered.bookChanged;
    if (offered.added > 0) {
        page_->ReloadPage();
        page_->ShowPageLabels();
    }
}

void Tmainform::OfferDueEntriesIfReached() {
    if (!recurringPutOff_ && recurringDue_ && *recurringDue_ <= state_.pageDate &&
        *recurringDue_ <= clock_.Today()) {
        OfferDueEntries();
    }
}

void Tmainform::OpenYearTable() {
    // What is on the page is counted: it goes to its month file first.
    if (!page_->ShowDay(state_.pageDate))
        return;
    const std::optional<yeartable::EntryPlace> place =
        platform::ChildOnFirstUse<yeartable::Tyearform>(*this, "yearform", [this] {
            return new yeartable::Tyearform(prompts_, this);
        }).Run(state_, clock_.Today());
    // A cell asked for: its first entry becomes the page's current row.
    if (place)
        page_->ShowEntry(place->day, place->row);
}

void Tmainform::ExportCsv() {
    ledger::AccountingMonth span;
    std::vector<std::string> lines;
    if (page_->ReadPageMonth(span, lines))
        csvexport::ExportMonth(*this, span, lines, state_.categories, prompts_);
}

void Tmainform::ImportFromService() {
    // What is on the page is in its month file before the import adds to it.
    if (!page_->ShowDay(state_.pageDate))
        return;
    // The day is read again after the merge (it may have new rows); rows the file does not
    // take stay on the page, and the cursor where it was.
    netimport::ImportFromService(*this, state_.ini, state_.store, state_.categories,
                                 state_.folders.NetWorkFile(), prompts_,
                                 [this] { page_->ReloadPage(); });
    if (std::optional<QString> failure = WriteSettings())
        prompts_.Error(this, *failure);
}

void Tmainform::OfferPendingNetReply() {
    if (!page_->ShowDay(state_.pageDate))
        return;
    netimport::OfferPendingReply(*this, state_.store, state_.categories,
                                 state_.folders.NetWorkFile(), prompts_,
                                 [this] { page_->ReloadPage(); });
}

void Tmainform::MakeBackup() {
    // What is on the page, and the closing day, are in the files before they are copied.
    if (!page_->ShowDay(state_.pageDate))
        return;
    if (std::optional<QString> failure = WriteSettings()) {
        prompts_.Error(this, *failure);
        return;
    }
    backup::MakeBackup(*this, state_.folders, prompts_);
}

void Tmainform::RestoreBackup() {
    if (backup::RestoreBackup(*this, state_.folders, prompts_) != backup::Restored::Yes)
        return;
    // The restored files stay exactly as copied: nothing of this run is written over them.
    restored_ = true;
    close();
    QCoreApplication::exit(0);
}

void Tmainform::PrintBook() {
    ledger::AccountingMonth span;
    std::vector<std::string> lines;
    if (!page_->ReadPageMonth(span, lines))
        return;
    platform::ChildOnFirstUse<printbook::Tprintform>(
        *this, "printform", [this] { return new printbook::Tprintform(prompts_, this); })
        .Run(printbook::AccountBookSheet(
            printbook::BuildAccountBook(lines, state_.categories, span.label)));
}

void Tmainform::ChangeClosingDay() {
    state_.settings.closing =
        platform::ChildOnFirstUse<closingday::Tsimeform>(*this, "simeform", [this] {
            return new closingday::Tsimeform(prompts_, this);
        }).Ask(state_.settings.closing);
    page_->ShowDay(state_.pageDate);
}

void Tmainform::ToggleExpenseOnly() {
    state_.expenseOnly = !state_.expenseOnly;
    expenseOnlyAction_->setChecked(state_.expenseOnly);
    page_->ShowPageLabels();
}

void Tmainform::OpenCalculator() {
    if (platform::LaunchCalculator().isEmpty()) {
        prompts_.Message(
            this, QStringLiteral("注意"),
            QStringLiteral(
                "電卓が見つかりません。gnome-calculator などの電卓をインストールしてください。"),
            Icon::Information, Buttons::Ok);
    }
}

bool Tmainform::FormClose(bool askOnFailure) {
    if (restored_)
        return true;
    // With someone to ask, a refused amount keeps the window open with its cell in edit,
    // and rows the file would not take are not dropped unasked.
    if (!grid_->FinishEditing() && askOnFailure)
        return false;
    if (askOnFailure && !page_->ConfirmLeavePage())
        return false;
    // The day and the settings are written each on its own: one failing never keeps the
    // other from being saved.
    std::optional<QString> dayFailure = page_->WriteDay();
    if (dayFailure && askOnFailure &&
        prompts_.Message(this, QStringLiteral("警告"),
                         *dayFailure + QStringLiteral("\n\n保存せずに終了しますか？"),
                         Icon::Warning, Buttons::YesNo) != Answer::Yes) {
        return false;
    }
    std::optional<QString> settingsFailure = WriteSettings();
    if (askOnFailure) {
        if (settingsFailure)
            prompts_.Error(this, *settingsFailure);
        return true;
    }
    // The session is ending and no one can answer a message: the reasons go to the log.
    for (const std::optional<QString>& failure : {dayFailure, settingsFailure}) {
        if (failure)
            std::fprintf(stderr, "vantrel: %s\n", qPrintable(*failure));
    }
    return true;
}

void Tmainform::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!FormClose(!terminating_)) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
}

void Tmainform::Terminate() {
    terminating_ = true;
    close();
    // Also leaves the loop of a dialog that is open now, so the process really ends.
    QCoreApplication::exit(0);
}

void Tmainform::SaveAll() {
    FormClose(false);
}

void Tmainform::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard) {
        keys_->OpenWindowMenu();
        return;
    }
    windowMenu_->exec(event->globalPos());
}

void Tmainform::OpenWindowMenuAtPointer() {
    windowMenu_->exec(QCursor::pos());
}

void Tmainform::MinimiseProgram() {
    // Every window of the program, not only this one.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            w->showMinimized();
    }
}

void Tmainform::CloseWindow() {
    close();
}

}  // namespace mainwindow
