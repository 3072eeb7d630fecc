#include "simeform.h"

#include "ledger/date.h"
#include "platform/fonts.h"
#include "platform/objectnames.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace closingday {

Tsimeform::Tsimeform(platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      prompts_(prompts) {
    setWindowTitle(QStringLiteral("締め日変更"));
    setModal(true);
    setFont(platform::UiFont(12));

    wholeMonth_ = new QRadioButton(QStringLiteral("毎月 1日～月末まで"), this);
    closingDayOn_ = new QRadioButton(QStringLiteral("毎月"), this);
    closingDay_ = new QLineEdit(QStringLiteral("25"), this);
    closingDay_->setFixedWidth(40);
    closingDay_->setMaxLength(8);
    auto* label1 = new QLabel(QStringLiteral("日締"), this);

    fifteenthGroup_ = new QGroupBox(QStringLiteral("15日締めの場合"), this);
    fifteenthNext_ = new QRadioButton(QStringLiteral("16日から来月度"), fifteenthGroup_);
    fifteenthThis_ = new QRadioButton(QStringLiteral("16日から今月度"), fifteenthGroup_);
    fifteenthNext_->setChecked(true);
    auto* groupLayout = new QVBoxLayout(fifteenthGroup_);
    groupLayout->addWidget(fifteenthNext_);
    groupLayout->addWidget(fifteenthThis_);

    decideButton_ = new QPushButton(QStringLiteral("決定"), this);
    decideButton_->setDefault(true);
    decideButton_->setAutoDefault(true);

    auto* dayRow = new QHBoxLayout;
    dayRow->addWidget(closingDayOn_);
    dayRow->addWidget(closingDay_);
    dayRow->addWidget(label1);
    dayRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wholeMonth_);
    layout->addLayout(dayRow);
    layout->addWidget(fifteenthGroup_);
    layout->addWidget(decideButton_, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(wholeMonth_, &QRadioButton::clicked, this, [this] {
        closingDay_->setEnabled(false);
        fifteenthGroup_->hide();
    });
    connect(closingDayOn_, &QRadioButton::clicked, this, [this] {
        closingDay_->setEnabled(true);
        UpdateGroupVisibility();
    });
    connect(closingDay_, &QLineEdit::textChanged, this, [this] { UpdateGroupVisibility(); });
    platform::NameControls({
        {wholeMonth_, "RadioButton1"},
        {closingDayOn_, "RadioButton2"},
        {closingDay_, "Edit1"},
        {fifteenthGroup_, "RadioGroup1"},
        {fifteenthNext_, "RadioGroupItem0"},
        {fifteenthThis_, "RadioGroupItem1"},
        {decideButton_, "Button1"},
    });
    connect(decideButton_, &QPushButton::clicked, this, &Tsimeform::Decide);
    wholeMonth_->setChecked(true);
    closingDay_->setEnabled(false);
    fifteenthGroup_->hide();
}

ledger::ClosingDay Tsimeform::Ask(const ledger::ClosingDay& current) {
    Prepare(current.day, current.fifteenthNamesFirst);
    if (prompts_.RunDialog(*this) != QDialog::Accepted)
        return current;
    return {result(), FifteenthNamesFirst()};
}

void Tsimeform::Prepare(int closingDay, bool fifteenthNamesFirst) {
    (fifteenthNamesFirst ? fifteenthNext_ : fifteenthThis_)->setChecked(true);
    if (closingDay != 0) {
        closingDayOn_->setChecked(true);
        closingDay_->setText(QString::number(closingDay));
    } else {
        wholeMonth_->setChecked(true);
    }
    FormShow();
}

bool Tsimeform::FifteenthNamesFirst() const {
    return fifteenthNext_->isChecked();
}

void Tsimeform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void Tsimeform::FormShow() {
    closingDay_->setEnabled(!wholeMonth_->isChecked());
    UpdateGroupVisibility();
}

void Tsimeform::UpdateGroupVisibility() {
    // Only the exact text "15" asks how to name the month.
    fifteenthGroup_->setVisible(closingDayOn_->isChecked() &&
                                closingDay_->text() == QStringLiteral("15"));
}

void Tsimeform::Decide() {
    if (wholeMonth_->isChecked()) {
        result_ = 0;
        accept();
        return;
    }
    std::optional<int> day = ledger::ParseInt(closingDay_->text().toStdString());
    if (!day) {
        prompts_.Error(nullptr, QStringLiteral("半角数字で1日から28日の間を指定してください"));
        return;
    }
    if (*day < 1 || *day > 28) {
        prompts_.Error(nullptr, QStringLiteral("1日から28日の間を指定してください"));
        return;
    }
    result_ = *day;
    accept();
}

void Tsimeform::reject() {
    // Escape or the window manager's close: the dialog has no cancel, and the caller
    // keeps the closing day it had.
    QDialog::reject();
}

}  // namespace closingday
