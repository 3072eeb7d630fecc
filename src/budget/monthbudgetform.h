#pragma once

// The toolkit's headers first: moc reads the standard headers the ledger's pull in only
// after them.
#include <QDialog>

#include "ledger/budget.h"
#include "ledger/categorylist.h"

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class Prompts;
}

namespace budget {

// What the user set: a category's own budget for one accounting month, or none (nullopt),
// which gives the month back to the every-month budget.
struct MonthBudgetChoice {
    std::string category;  // CP932
    std::optional<std::string> amount;
};

// この月の予算: one expense category's budget for one accounting month (a bonus month, a
// trip), apart from its every-month budget.
class Tmonthbudgetform : public QDialog {
    Q_OBJECT
public:
    explicit Tmonthbudgetform(platform::Prompts& prompts, QWidget* parent = nullptr);

    // Asks for the month `monthKey` (yyyymm), starting on `category`; nullopt when the user
    // cancelled.
    std::optional<MonthBudgetChoice> Ask(const ledger::BudgetBook& budgets,
                                         const ledger::CategoryList& categories, int monthKey,
                                         const std::string& category);

private:
    void ShowCategory();
    void Confirm();

    QLabel* caption_;            // monthcaption
    QComboBox* category_;        // monthcategory
    QLineEdit* amount_;          // monthamount
    QLabel* note_;               // monthnote: the every-month budget, or why the text is refused
    QPushButton* okButton_;      // okButton
    QPushButton* cancelButton_;  // cancelButton

    platform::Prompts& prompts_;
    ledger::BudgetBook budgets_;
    std::vector<std::string> names_;
    int monthKey_ = 0;
    std::optional<MonthBudgetChoice> choice_;
};

}  // namespace budget
