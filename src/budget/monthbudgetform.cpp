#include "budget/monthbudgetform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "budget/budgetform.h"
#include "ledger/numberformat.h"
#include "platform/fonts.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace budget {

Tmonthbudgetform::Tmonthbudgetform(platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setWindowTitle(QStringLiteral("この月の予算"));
    setFont(platform::UiFont(12));
    caption_ = new QLabel(this);
    caption_->setFont(platform::UiFont(13, true));
    category_ = new QComboBox(this);
    amount_ = new QLineEdit(this);
    amount_->setAlignment(Qt::AlignRight);
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
    okButton_->setAutoDefault(false);
    cancelButton_->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("費目"), category_);
    form->addRow(QStringLiteral("この月の予算"), amount_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addLayout(form);
    layout->addWidget(note_);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    platform::NameControls({
        {caption_, "monthcaption"},
        {category_, "monthcategory"},
        {amount_, "monthamount"},
        {note_, "monthnote"},
        {okButton_, "okButton"},
        {cancelButton_, "cancelButton"},
    });
    connect(category_, &QComboBox::currentIndexChanged, this, &Tmonthbudgetform::ShowCategory);
    connect(okButton_, &QPushButton::clicked, this, &Tmonthbudgetform::Confirm);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    platform::DialogKeys::On(*this).Escape([this] { reject(); }).Enter([this] { Confirm(); });
}

std::optional<MonthBudgetChoice> Tmonthbudgetform::Ask(const ledger::BudgetBook& budgets,
                                                       const ledger::CategoryList& categories,
                                                       int monthKey, const std::string& category) {
    budgets_ = budgets;
    monthKey_ = monthKey;
    choice_.reset();
    caption_->setText(QStringLiteral("%1年%2月度の予算").arg(monthKey / 100).arg(monthKey % 100));
    names_.clear();
    category_->blockSignals(true);
    category_->clear();
    int current = 0;
    for (int k = 0; k < categories.size(); ++k) {
        if (categories.IsIncome(k))
            continue;
        if (categories.Name(k) == category)
            current = static_cast<int>(names_.size());
        names_.push_back(categories.Name(k));
        category_->addItem(platform::FromCp932(categories.Name(k)));
    }
    category_->setCurrentIndex(current);
    category_->blockSignals(false);
    ShowCategory();
    amount_->setFocus();
    amount_->selectAll();
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    prompts_.RunDialog(*this);
    return choice_;
}

void Tmonthbudgetform::ShowCategory() {
    const int index = category_->currentIndex();
    if (index < 0 || static_cast<size_t>(index) >= names_.size())
        return;
    const std::string& name = names_[static_cast<size_t>(index)];
    amount_->setText(
        QString::fromStdString(budgets_.MonthText(monthKey_, name).value_or(std::string())));
    const std::optional<std::string> monthly = budgets_.MonthlyText(name);
    note_->setStyleSheet(QString());
    note_->setText(monthly ? QStringLiteral("空欄にすると毎月の予算 ¥%1 に戻ります")
                                 .arg(QString::fromStdString(ledger::FormatNumber(
                                     ledger::AmountOrZero(*monthly), "#,0.##")))
                           : QStringLiteral("空欄にするとこの月の予算はなくなります"));
}

void Tmonthbudgetform::Confirm() {
    const int index = category_->currentIndex();
    if (index < 0 || static_cast<size_t>(index) >= names_.size())
        return;
    bool refused = false;
    std::optional<std::string> amount = TypedBudget(amount_->text(), refused);
    if (refused) {
        note_->setStyleSheet(QStringLiteral("color: rgb(200, 30, 30);"));
        note_->setText(kBudgetRefused);
        amount_->setFocus();
        return;
    }
    choice_ = MonthBudgetChoice{names_[static_cast<size_t>(index)], std::move(amount)};
    accept();
}

}  // namespace budget
