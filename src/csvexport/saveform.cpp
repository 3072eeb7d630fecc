#include "csvexport/saveform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "platform/fonts.h"
#include "platform/prompts.h"
#include "skin/buttonface.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace csvexport {
namespace {

QRadioButton* Choice(QWidget* parent, int y, const QString& text, bool bold) {
    auto* button = new QRadioButton(text, parent);
    button->setGeometry(24, y, 236, 22);
    button->setFont(platform::UiFont(12, bold));
    return button;
}

}  // namespace

Tsaveform::Tsaveform(platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), prompts_(prompts) {
    setWindowTitle(QStringLiteral("CSV書き出し"));
    setFixedSize(269, 159);
    setFont(platform::UiFont(12));
    prompt_ = new QLabel(this);
    prompt_->setGeometry(8, 8, 253, 20);
    prompt_->setAlignment(Qt::AlignCenter);
    expenseNegative_ = Choice(this, 34, QStringLiteral("支出を－、収入を＋とする。"), false);
    incomeNegative_ = Choice(this, 58, QStringLiteral("支出を＋、収入を－とする。"), false);
    splitColumns_ = Choice(this, 82, QStringLiteral("支出、収入をカラム分けして書き出し"), true);
    splitColumns_->setChecked(true);
    executeButton_ =
        skin::MakeTextButton(this, QStringLiteral("実行"), QRect(60, 118, 80, 28), true);
    cancelButton_ =
        skin::MakeTextButton(this, QStringLiteral("キャンセル"), QRect(148, 118, 96, 28), true);
    platform::NameControls({
        {prompt_, "Label3"},
        {expenseNegative_, "RadioButton1"},
        {incomeNegative_, "RadioButton2"},
        {splitColumns_, "RadioButton3"},
        {executeButton_, "SpeedButton1"},
        {cancelButton_, "SpeedButton2"},
    });
    connect(executeButton_, &QPushButton::clicked, this, &Tsaveform::Execute);
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        result_.reset();
        done(QDialog::Rejected);
    });
    platform::DialogKeys::On(*this).Escape([this] { cancelButton_->click(); }).Enter([this] {
        executeButton_->click();
    });
}

std::optional<ExportMode> Tsaveform::Ask(const QString& prompt) {
    prompt_->setText(prompt);
    result_.reset();
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    prompts_.RunDialog(*this);
    return result_;
}

void Tsaveform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The keyboard starts on the layout chosen; the arrows move the choice.
    for (QRadioButton* choice : {expenseNegative_, incomeNegative_, splitColumns_}) {
        if (choice->isChecked())
            choice->setFocus(Qt::OtherFocusReason);
    }
}

void Tsaveform::Execute() {
    if (expenseNegative_->isChecked()) {
        result_ = ExportMode::ExpenseNegative;
    } else if (incomeNegative_->isChecked()) {
        result_ = ExportMode::IncomeNegative;
    } else if (splitColumns_->isChecked()) {
        result_ = ExportMode::SplitColumns;
    } else {
        return;  // nothing chosen: the dialog stays
    }
    done(QDialog::Accepted);
}

}  // namespace csvexport
