#include "simeform.h"

#include "ledger/date.h"
#include "platform/fonts.h"

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

    RadioButton1 = new QRadioButton(QStringLiteral("毎月 1日～月末まで"), this);
    RadioButton2 = new QRadioButton(QStringLiteral("毎月"), this);
    Edit1 = new QLineEdit(QStringLiteral("25"), this);
    Edit1->setFixedWidth(40);
    Edit1->setMaxLength(8);
    auto* label1 = new QLabel(QStringLiteral("日締"), this);

    RadioGroup1 = new QGroupBox(QStringLiteral("15日締めの場合"), this);
    RadioGroupItem0 = new QRadioButton(QStringLiteral("16日から来月度"), RadioGroup1);
    RadioGroupItem1 = new QRadioButton(QStringLiteral("16日から今月度"), RadioGroup1);
    RadioGroupItem0->setChecked(true);
    auto* groupLayout = new QVBoxLayout(RadioGroup1);
    groupLayout->addWidget(RadioGroupItem0);
    groupLayout->addWidget(RadioGroupItem1);

    Button1 = new QPushButton(QStringLiteral("決定"), this);
    Button1->setDefault(true);
    Button1->setAutoDefault(true);

    auto* dayRow = new QHBoxLayout;
    dayRow->addWidget(RadioButton2);
    dayRow->addWidget(Edit1);
    dayRow->addWidget(label1);
    dayRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioButton1);
    layout->addLayout(dayRow);
    layout->addWidget(RadioGroup1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(RadioButton1, &QRadioButton::clicked, this, [this] {
        Edit1->setEnabled(false);
        RadioGroup1->hide();
    });
    connect(RadioButton2, &QRadioButton::clicked, this, [this] {
        Edit1->setEnabled(true);
        UpdateGroupVisibility();
    });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { UpdateGroupVisibility(); });
    connect(Button1, &QPushButton::clicked, this, &Tsimeform::Button1Click);
    RadioButton1->setChecked(true);
    Edit1->setEnabled(false);
    RadioGroup1->hide();
}

ledger::ClosingDay Tsimeform::Ask(const ledger::ClosingDay& current) {
    Prepare(current.day, current.fifteenthNamesFirst);
    if (prompts_.RunDialog(*this) != QDialog::Accepted)
        return current;
    return {result(), FifteenthNamesFirst()};
}

void Tsimeform::Prepare(int closingDay, bool fifteenthNamesFirst) {
    (fifteenthNamesFirst ? RadioGroupItem0 : RadioGroupItem1)->setChecked(true);
    if (closingDay != 0) {
        RadioButton2->setChecked(true);
        Edit1->setText(QString::number(closingDay));
    } else {
        RadioButton1->setChecked(true);
    }
    FormShow();
}

bool Tsimeform::FifteenthNamesFirst() const {
    return RadioGroupItem0->isChecked();
}

void Tsimeform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void Tsimeform::FormShow() {
    Edit1->setEnabled(!RadioButton1->isChecked());
    UpdateGroupVisibility();
}

void Tsimeform::UpdateGroupVisibility() {
    // Only the exact text "15" asks how to name the month.
    RadioGroup1->setVisible(RadioButton2->isChecked() && Edit1->text() == QStringLiteral("15"));
}

void Tsimeform::Button1Click() {
    if (RadioButton1->isChecked()) {
        result_ = 0;
        accept();
        return;
    }
    std::optional<int> day = ledger::ParseInt(Edit1->text().toStdString());
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
