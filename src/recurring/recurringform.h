#pragma once

// The toolkit's headers first: moc reads the standard headers the ledger's pull in only
// after them.
#include <QDialog>
#include <QString>

#include "ledger/categorylist.h"
#include "ledger/recurring.h"

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace platform {
class Prompts;
}

namespace recurring {

// Writes the templates as recurring.dat (the one save path); what failed, in the user's words.
using SaveRecurring = std::function<std::optional<QString>(const ledger::RecurringBook&)>;

// 定期入力: the recurring entries, one row each with its next date, and the fields of the
// current one beside the list: 費目, 摘要, 金額, メモ, the rule picked from a list with its
// number or weekday, the first and last dates and what a date on a weekend becomes.
// 追加 (Ctrl+N) adds one, 削除 (Ctrl+D) deletes the current one; Escape asks before it drops
// changes.
class Trecurringform : public QDialog {
    Q_OBJECT
public:
    explicit Trecurringform(platform::Prompts& prompts, QWidget* parent = nullptr);

    // Shows the templates until the user closes the window; 保存して閉じる writes them through
    // `save` (a failure keeps the window open with its edits).
    void Edit(const ledger::RecurringBook& book, const ledger::CategoryList& categories,
              const ledger::Date& today, SaveRecurring save);

protected:
    void reject() override;

private:
    void AddTemplate();
    void DeleteTemplate();
    void ShowTemplate(int row);  // the fields of the current template
    void FieldsChanged();        // into the current template
    void FillRow(int row);
    void ShowRuleFields();
    void SaveAndClose();
    void CloseByEscape();
    // Refuses an amount that is no number, with a note; false when refused.
    bool AmountAccepted();

    QTableWidget* list_;         // recurringgrid
    QComboBox* category_;        // category
    QLineEdit* description_;     // description
    QLineEdit* amount_;          // amount
    QLineEdit* memo_;            // memo
    QComboBox* rule_;            // rule
    QSpinBox* number_;           // number: the day of the month, or the months between
    QComboBox* weekday_;         // weekday
    QDateEdit* first_;           // firstDate
    QCheckBox* hasLast_;         // hasLastDate
    QDateEdit* last_;            // lastDate
    QComboBox* shift_;           // weekendShift
    QLabel* note_;               // recurringnote
    QPushButton* addButton_;     // addButton: 追加
    QPushButton* deleteButton_;  // deleteButton: 削除
    QPushButton* saveButton_;    // SpeedButton1: 保存して閉じる
    QPushButton* cancelButton_;  // SpeedButton2: キャンセル

    platform::Prompts& prompts_;
    ledger::RecurringBook book_;
    ledger::CategoryList categories_;
    ledger::Date today_;
    SaveRecurring save_;
    bool filling_ = false;
    bool edited_ = false;
    bool closing_ = false;
};

}  // namespace recurring
