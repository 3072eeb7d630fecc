#pragma once

// The toolkit's headers first: moc reads the standard headers the ledger's pull in only
// after them.
#include <QDialog>

#include "budget/budgetform.h"
#include "expensegraph/expensesummary.h"
#include "ledger/date.h"
#include "state/appstate.h"

#include <optional>

class QLabel;
class QTableWidget;
class QToolButton;
class QPushButton;

namespace platform {
class Prompts;
}
namespace skin {
struct SkinImages;
}

namespace expensegraph {

// 1ヶ月の支出グラフ: every expense category's total over one accounting month as a table and
// a pie, with the month's income, expense and balance, and each category's budget and what
// is left of it; 前月 and 翌月 step the month. A right click on a row (or B, or この月の予算)
// sets a category's own budget for the month shown.
class Tgraphform : public QDialog {
    Q_OBJECT
public:
    Tgraphform(const skin::SkinImages& skin, platform::Prompts& prompts, QWidget* parent = nullptr);

    // Shows the accounting month of the page date until the user closes the window. The
    // caller saves the page first. The window reads its own copy of what `state` holds; a
    // month's budget set here is written through `save`.
    void Run(const state::AppState& state, budget::SaveBudgets save);
    // The summary shown.
    const ExpenseSummary& summary() const { return summary_; }

    // The accounting month of `date`: sums the month files and fills the window.
    void ShowMonthOf(const ledger::Date& date);

private:
    void ShowPreviousMonth();  // 前月
    void ShowNextMonth();      // 翌月
    void FillSummaryTable();
    void DrawPie();
    // Asks this month's budget of the category on table row `row` and saves it.
    void SetMonthBudget(int row);
    int MonthKey() const;  // the month shown, as budget.dat names it

    platform::Prompts& prompts_;
    // The controls; their designer names are their object names (the constructor's table).
    QLabel* title_;               // Label1: the span; dragging it moves the window
    QLabel* pie_;                 // Image2
    QTableWidget* table_;         // grid: 費目, 構成比(%), 金額
    QLabel* totalExpense_;        // Label3
    QLabel* totalIncome_;         // Label4
    QLabel* balance_;             // Label5
    QLabel* incomeCaption_;       // Label6: "m月度総収入："
    QLabel* expenseCaption_;      // Label7: "m月度総支出："
    QLabel* balanceCaption_;      // Label8: "m月度収支："
    QToolButton* previousMonth_;  // SpeedButton5
    QToolButton* nextMonth_;      // SpeedButton4
    QPushButton* closeButton_;    // SpeedButton1: 閉じる
    QLabel* budgetTotals_;        // budgetsum: 予算合計 and 残り合計
    QPushButton* monthBudget_;    // monthBudget: この月の予算

    std::optional<state::AppState> book_;
    budget::SaveBudgets save_;
    ExpenseSummary summary_;
    ledger::Date baseDate_;
};

}  // namespace expensegraph
