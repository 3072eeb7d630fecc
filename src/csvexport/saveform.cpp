#include "csvexport/saveform.h"
#include "platform/dialogkeys.h"

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
    Label3 = new QLabel(this);
    Label3->setGeometry(8, 8, 253, 20);
    Label3->setAlignment(Qt::AlignCenter);
    RadioButton1 = Choice(this, 34, QStringLiteral("支出を－、収入を＋とする。"), false);
    RadioButton2 = Choice(this, 58, QStringLiteral("支出を＋、収入を－とする。"), false);
    RadioButton3 = Choice(this, 82, QStringLiteral("支出、収入をカラム分けして書き出し"), true);
    RadioButton3->setChecked(true);
    SpeedButton1 = skin::MakeTextButton(this, QStringLiteral("実行"), QRect(60, 118, 80, 28), true);
    SpeedButton2 =
        skin::MakeTextButton(this, QStringLiteral("キャンセル"), QRect(148, 118, 96, 28), true);
    connect(SpeedButton1, &QPushButton::clicked, this, &Tsaveform::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, [this] {
        result_.reset();
        done(QDialog::Rejected);
    });
    platform::DialogKeys::On(*this).Escape([this] { SpeedButton2->click(); }).Enter([this] {
        SpeedButton1->click();
    });
}

std::optional<ExportMode> Tsaveform::Ask(const QString& prompt) {
    Label3->setText(prompt);
    result_.reset();
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    prompts_.RunDialog(*this);
    return result_;
}

void Tsaveform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The keyboard starts on the layout chosen; the arrows move the choice.
    for (QRadioButton* choice : {RadioButton1, RadioButton2, RadioButton3}) {
        if (choice->isChecked())
            choice->setFocus(Qt::OtherFocusReason);
    }
}

void Tsaveform::SpeedButton1Click() {
    if (RadioButton1->isChecked()) {
        result_ = ExportMode::ExpenseNegative;
    } else if (RadioButton2->isChecked()) {
        result_ = ExportMode::IncomeNegative;
    } else if (RadioButton3->isChecked()) {
        result_ = ExportMode::SplitColumns;
    } else {
        return;  // nothing chosen: the dialog stays
    }
    done(QDialog::Accepted);
}

}  // namespace csvexport
