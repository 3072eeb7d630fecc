#pragma once

#include <QDialog>

#include "ledger/accountingmonth.h"
#include "platform/prompts.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace closingday {

// 締め日変更: the closing day (a calendar month, or a day 1 to 28) and, for the 15th, which
// month names the accounting month. Keeps its controls between showings.
class Tsimeform : public QDialog {
    Q_OBJECT
public:
    Tsimeform(platform::Prompts& prompts, QWidget* parent = nullptr);

    // The closing day accepted last: 0 for the calendar month. 0 before the first 決定.
    int result() const { return result_; }

    // Shows the dialog for the closing day now in force; the closing day and naming chosen
    // with 決定, or the current ones when the dialog was closed another way.
    ledger::ClosingDay Ask(const ledger::ClosingDay& current);

    // Before showing: the current closing day and naming choice.
    void Prepare(int closingDay, bool fifteenthNamesFirst);
    // After closing: RadioGroup1's item 0 ("16日から来月度") selected.
    bool FifteenthNamesFirst() const;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void Decide();  // 決定
    void FormShow();
    void UpdateGroupVisibility();

    // The controls; their designer names are their object names (the constructor's table).
    QRadioButton* wholeMonth_;     // RadioButton1: 毎月 1日～月末まで
    QRadioButton* closingDayOn_;   // RadioButton2: 毎月 N 日締
    QLineEdit* closingDay_;        // Edit1: N
    QGroupBox* fifteenthGroup_;    // RadioGroup1: 15日締めの場合
    QRadioButton* fifteenthNext_;  // RadioGroupItem0: 16日から来月度
    QRadioButton* fifteenthThis_;  // RadioGroupItem1: 16日から今月度
    QPushButton* decideButton_;    // Button1: 決定

    platform::Prompts& prompts_;
    int result_ = 0;
};

}  // namespace closingday
