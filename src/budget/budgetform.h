#pragma once

// The toolkit's headers first: moc reads the standard headers the ledger's pull in only
// after them.
#include <QDialog>
#include <QString>

#include "ledger/budget.h"
#include "ledger/categorylist.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QStandardItemModel;

namespace platform {
class GridView;
class Prompts;
}  // namespace platform

namespace budget {

// The budget kept for text typed into a budget cell: nullopt for no budget (an empty cell);
// `refused` set for text that is no amount of 0 or more. Amounts as the day page takes them.
std::optional<std::string> TypedBudget(const QString& typed, bool& refused);
inline const QString kBudgetRefused = QStringLiteral("予算は0以上の数字で入力してください");

// Writes the budgets as budget.dat (the one save path); what failed, in the user's words.
using SaveBudgets = std::function<std::optional<QString>(const ledger::BudgetBook&)>;

// 予算設定: the every-month budget of each expense category, in list order, and their total.
// Enter moves down the 月額 cells, which take amounts as the day page does ("40,000",
// full-width digits); an empty cell is no budget. Escape asks before it drops changes.
class Tbudgetform : public QDialog {
    Q_OBJECT
public:
    explicit Tbudgetform(platform::Prompts& prompts, QWidget* parent = nullptr);

    // Shows the budgets until the user closes the window; 保存して閉じる writes them through
    // `save` (a failure keeps the window open with its edits). The month lines are kept.
    void Edit(const ledger::BudgetBook& budgets, const ledger::CategoryList& categories,
              SaveBudgets save);

    // Called by the cell editor when an edit is finished; false refuses the text.
    bool AcceptAmount(int row, const QString& text);

protected:
    void reject() override;

private:
    void SaveAndClose();  // 保存して閉じる
    void CloseByEscape();
    void ShowTotal();

    // The controls, named in the constructor's table.
    platform::GridView* grid_;   // budgetgrid
    QStandardItemModel* model_;  // one row per expense category, one column 月額
    QLabel* total_;              // budgettotal: 合計
    QLabel* note_;               // budgetnote: why a cell was refused
    QPushButton* saveButton_;    // SpeedButton1: 保存して閉じる
    QPushButton* cancelButton_;  // SpeedButton2: キャンセル

    platform::Prompts& prompts_;
    ledger::BudgetBook budgets_;
    std::vector<std::string> names_;  // the rows' categories (CP932)
    SaveBudgets save_;
    bool edited_ = false;
    bool closing_ = false;
};

}  // namespace budget
