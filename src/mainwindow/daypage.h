#pragma once

#include "daymodel.h"
#include "state/appstate.h"

#include "ledger/amount.h"

#include <QString>

#include <optional>

namespace mainwindow {

// The day page's own work, apart from any widget: filling the rows from the month file,
// writing them back, the two balances and the row icons.
class DayPage {
public:
    DayPage(state::AppState& state, DayModel& model);

    // Fills the rows with the day's entries (one empty row when there are none).
    void LoadDay(const ledger::Date& date);
    // Writes the rows as the day's lines. Throws ledger::FileError; the file is then as it was.
    void SaveDay(const ledger::Date& date);

    // The balance of model rows first to last: incomes added (left out when expense-only),
    // expenses subtracted, rows of unknown categories skipped.
    ledger::Amount DaySum(int column, int firstRow, int lastRow) const;

    // "今日の収支 ¥…" or, expense-only, "今日の支出 …".
    QString DayTotalText() const;
    // The accounting month's balance of `date` from the month files.
    QString MonthTotalText(const ledger::Date& date) const;
    // What is left of the budgets of the accounting month of `date` (overruns count against
    // it), from the month files; nullopt when no expense category has a budget that month.
    std::optional<ledger::Amount> RemainingBudget(const ledger::Date& date) const;
    static QString DateText(const ledger::Date& date);

    // The category position whose icon a row of that category shows: -1 for none, and
    // nullopt for a name not in the category list (the row keeps its icon).
    std::optional<int> IconFor(const std::string& category) const;
    // Sets the icon of every row whose category is in the list.
    void RefreshRowIcons();
    // Sets one row's icon after its category cell was edited.
    void RefreshRowIcon(int row);

private:
    state::AppState& state_;
    DayModel& model_;
};

}  // namespace mainwindow
