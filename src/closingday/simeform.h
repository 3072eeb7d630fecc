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

    // The controls, under their designer names, for the window's own wiring and for tests.
    QRadioButton* RadioButton1;     // 毎月 1日～月末まで
    QRadioButton* RadioButton2;     // 毎月 N 日締
    QLineEdit* Edit1;               // N
    QGroupBox* RadioGroup1;         // 15日締めの場合
    QRadioButton* RadioGroupItem0;  // 16日から来月度
    QRadioButton* RadioGroupItem1;  // 16日から今月度
    QPushButton* Button1;           // 決定

    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormShow();
    void UpdateGroupVisibility();

    platform::Prompts& prompts_;
    int result_ = 0;
};

}  // namespace closingday
