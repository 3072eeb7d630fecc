#include "mainwindow/pagecontroller.h"

#include "ledger/numberformat.h"

#include "ledger/fileerror.h"
#include "mainwindow/daygrid.h"
#include "mainwindow/daymodel.h"
#include "platform/errortext.h"
#include "platform/prompts.h"
#include "state/appstate.h"

#include <QLabel>
#include <QWidget>

namespace mainwindow {
namespace {

using platform::FileErrorText;
using Icon = platform::Prompts::Icon;
using Buttons = platform::Prompts::Buttons;
using Answer = platform::Prompts::Answer;

}  // namespace

PageController::PageController(QWidget& window, state::AppState& state, DayModel& model,
                               DayGrid& grid, const PageLabels& labels, QWidget& focusSink,
                               platform::Prompts& prompts)
    : window_(window),
      state_(state),
      model_(model),
      grid_(grid),
      dateLabel_(*labels.date),
      dayTotalLabel_(*labels.dayTotal),
      monthTotalLabel_(*labels.monthTotal),
      budgetLabel_(*labels.budget),
      focusSink_(focusSink),
      prompts_(prompts),
      day_(state, model) {}

ledger::Date PageController::PageDate() const {
    return state_.pageDate;
}

void PageController::LoadPage(const ledger::Date& date) {
    state_.pageDate = date;
    grid_.ContentReplaced();
    try {
        day_.LoadDay(date);
        loadFailed_ = false;
    } catch (const ledger::FileError& e) {
        // The page shows nothing, and is not saved over the unreadable day.
        model_.Reset({});
        loadFailed_ = true;
        prompts_.Error(&window_, FileErrorText(QStringLiteral("データを読み込めません。"), e));
    }
    grid_.SelectRowStart(0);
}

std::optional<QString> PageController::WriteDay() {
    // An unreadable day is not saved over while its page holds nothing; rows typed onto it
    // are saved, and the save refuses on its own a month file it cannot read, so they stay
    // on the page with the reason instead of vanishing at the next page change.
    if (loadFailed_ && PageIsEmpty())
        return std::nullopt;
    try {
        day_.SaveDay(state_.pageDate);
        return std::nullopt;
    } catch (const ledger::FileError& e) {
        return FileErrorText(QStringLiteral("データを保存できませんでした。"), e);
    }
}

bool PageController::PageIsEmpty() const {
    for (int row = 0; row < model_.rowCount(); ++row) {
        if (!model_.IsRowEmpty(row))
            return false;
    }
    return true;
}

bool PageController::SavePage() {
    // A refused amount puts the cursor back into its cell: the page stays.
    if (!grid_.FinishEditing())
        return false;
    return WriteAndReport(true);
}

bool PageController::WriteAndReport(bool tellAgain) {
    const std::optional<QString> failure = WriteDay();
    if (failure && (tellAgain || !saveFailureShown_))
        prompts_.Error(&window_,
                       *failure + QStringLiteral("\n\n入力した内容は画面に残っています。"));
    saveFailureShown_ = failure.has_value();
    return !failure;
}

void PageController::ShowPageLabels() {
    RefreshDayTotal();
    RefreshMonthTotal();
    dateLabel_.setText(DayPage::DateText(state_.pageDate));
}

bool PageController::ShowDay(const ledger::Date& newDate) {
    focusSink_.setFocus();
    if (!SavePage()) {
        grid_.setFocus();
        return false;
    }
    // The same day again (a report, an export, the closing day): the rows on the screen are
    // what was just saved, so they stay, and so does the cursor. Rows the file does not take
    // stay too. A day that could not be read is read again.
    if (newDate == state_.pageDate && !loadFailed_) {
        ShowPageLabels();
        grid_.setFocus();
        return true;
    }
    if (!ConfirmLeavePage())
        return false;
    ShowPage(newDate);
    return true;
}

bool PageController::ConfirmLeavePage() {
    int unsaved = -1;
    for (int row = 0; row < model_.rowCount() && unsaved < 0; ++row) {
        if (model_.IsRowUnsaved(row))
            unsaved = row;
    }
    if (unsaved < 0)
        return true;
    if (prompts_.Message(
            &window_, QStringLiteral("確認"),
            QStringLiteral("金額（または費目）のない行は保存されません。破棄しますか？"),
            Icon::Question, Buttons::YesNo) == Answer::Yes) {
        return true;
    }
    // The cursor goes where the row lacks something: its amount, or else its category.
    const int column = model_.Bytes(unsaved, DayModel::kCategory).empty() ? DayModel::kCategory
                                                                          : DayModel::kAmount;
    grid_.PlaceCursor(unsaved, column);
    grid_.setFocus();
    return false;
}

void PageController::SaveEdits() {
    // Told once: every further edit would fail the same way until the disk is mended, and
    // the page change tries again and says so.
    WriteAndReport(false);
    RefreshDayTotal();
    RefreshMonthTotal();
}

void PageController::ReloadPage() {
    const QModelIndex cursor = grid_.currentIndex();
    std::vector<ledger::DayEntry> unsaved = model_.UnsavedEntries();
    LoadPage(state_.pageDate);
    model_.AppendEntries(unsaved);
    day_.RefreshRowIcons();
    ShowPageLabels();
    grid_.PlaceCursor(cursor.row(), cursor.column());
    grid_.setFocus();
}

bool PageController::ShowEntry(const ledger::Date& date, int row) {
    if (!ShowDay(date))
        return false;
    grid_.PlaceCursor(row, 0);
    return true;
}

void PageController::ShowSavedPageDay(const ledger::Date& date) {
    LoadPage(date);
    ShowPageLabels();
}

void PageController::ShowPage(const ledger::Date& date) {
    ShowSavedPageDay(date);
    // The keyboard goes back to the grid, at row 1, 費目.
    grid_.setFocus();
}

void PageController::RefreshDayTotal() {
    dayTotalLabel_.setText(day_.DayTotalText());
}

void PageController::RefreshMonthTotal() {
    try {
        monthTotalLabel_.setText(day_.MonthTotalText(state_.pageDate));
        const std::optional<ledger::Amount> left = day_.RemainingBudget(state_.pageDate);
        if (left) {
            budgetLabel_.setText(QStringLiteral("今月の残り予算 ¥") +
                                 QString::fromStdString(ledger::FormatNumber(*left, "#,0")));
            budgetLabel_.setStyleSheet(
                left->IsNegative() ? QStringLiteral("color: rgb(200, 30, 30);") : QString());
        }
        budgetLabel_.setVisible(left.has_value());
    } catch (const ledger::FileError& e) {
        monthTotalLabel_.setText(QStringLiteral("今月の収支 ―"));
        budgetLabel_.hide();
        prompts_.Error(&window_, FileErrorText(QStringLiteral("データを読み込めません。"), e));
    }
}

bool PageController::ReadPageMonth(ledger::AccountingMonth& span, std::vector<std::string>& lines) {
    // What is on the page goes to its month file first.
    if (!ShowDay(state_.pageDate))
        return false;
    span = ledger::AccountingMonthOf(state_.pageDate, state_.settings.closing);
    try {
        state_.store.ReadPeriodLines(span.first, span.last, state_.settings.closing.day != 0,
                                     lines);
        return true;
    } catch (const ledger::FileError& e) {
        prompts_.Error(&window_, FileErrorText(QStringLiteral("データを読み込めません。"), e));
        return false;
    }
}

void PageController::CellEdited(int row) {
    day_.RefreshRowIcon(row);
    // Every accepted edit is in the month file at once: the month's balance, the search,
    // the graphs and the backup see the page, and a crash loses nothing typed.
    SaveEdits();
}

}  // namespace mainwindow
