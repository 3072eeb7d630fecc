#include "daypage.h"

#include "budget/monthbudget.h"
#include "ledger/accountingmonth.h"
#include "ledger/numberformat.h"
#include "platform/textcodec.h"

#include <filesystem>
#include <system_error>

namespace mainwindow {

DayPage::DayPage(state::AppState& state, DayModel& model) : state_(state), model_(model) {}

void DayPage::LoadDay(const ledger::Date& date) {
    std::error_code ec;
    if (!std::filesystem::exists(state_.store.MonthFilePath(date), ec)) {
        model_.Reset({});
        return;
    }
    model_.Reset(state_.store.LoadDayEntries(date));
    RefreshRowIcons();
}

void DayPage::SaveDay(const ledger::Date& date) {
    state_.store.SaveDayEntries(date, model_.Entries());
}

ledger::Amount DayPage::DaySum(int column, int firstRow, int lastRow) const {
    ledger::Amount total;
    for (int row = firstRow; row <= lastRow; ++row) {
        int index = state_.categories.CategoryIndex(model_.Bytes(row, DayModel::kCategory));
        if (index < 0)
            continue;
        total += ledger::BalanceChange(ledger::AmountOrZero(model_.Bytes(row, column)),
                                       state_.categories.IsIncome(index), state_.expenseOnly);
    }
    return total;
}

QString DayPage::DayTotalText() const {
    ledger::Amount total = DaySum(DayModel::kAmount, 0, model_.rowCount() - 1);
    QString caption =
        state_.expenseOnly ? QStringLiteral("今日の支出 ") : QStringLiteral("今日の収支 ");
    return caption + platform::FromUtf8(ledger::FormatBalance(total));
}

QString DayPage::MonthTotalText(const ledger::Date& date) const {
    ledger::AccountingMonth span = ledger::AccountingMonthOf(date, state_.settings.closing);
    // With no file anywhere in the span the month has nothing to sum. A closing day makes the
    // span reach into the previous or next calendar month, whose file counts as much as the
    // page's own. (The yen sign shows where the fixed text says "\0".)
    std::error_code ec;
    if (!std::filesystem::exists(state_.store.MonthFilePath(span.first), ec) &&
        !std::filesystem::exists(state_.store.MonthFilePath(span.last), ec)) {
        return QStringLiteral("今月の収支 ¥0");
    }
    ledger::Amount total =
        state_.store.SumPeriod(span.first, span.last, 3, state_.expenseOnly, state_.categories);
    QString caption =
        state_.expenseOnly ? QStringLiteral("今月の総支出 ") : QStringLiteral("今月の収支 ");
    return caption + platform::FromUtf8(ledger::FormatBalance(total));
}

std::optional<ledger::Amount> DayPage::RemainingBudget(const ledger::Date& date) const {
    // Without budgets nothing more is read.
    if (state_.budgets.Empty())
        return std::nullopt;
    const budget::MonthBudget month = budget::BudgetOfMonthOf(
        state_.store, state_.budgets, state_.categories, state_.settings.closing, date);
    if (!month.any)
        return std::nullopt;
    return month.totalRemaining;
}

QString DayPage::DateText(const ledger::Date& date) {
    return platform::FromUtf8(ledger::FormatPageDate(date));
}

std::optional<int> DayPage::IconFor(const std::string& category) const {
    int position = state_.categories.CategoryIndex(category);
    if (position < 0)
        return std::nullopt;
    return state_.icons.HasIcon(position) ? position : -1;
}

void DayPage::RefreshRowIcons() {
    for (int row = 0; row < model_.rowCount(); ++row)
        RefreshRowIcon(row);
}

void DayPage::RefreshRowIcon(int row) {
    if (std::optional<int> icon = IconFor(model_.Bytes(row, DayModel::kCategory))) {
        model_.SetIconPosition(row, *icon);
    }
}

}  // namespace mainwindow
