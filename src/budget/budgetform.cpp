#include "budget/budgetform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "ledger/numberformat.h"
#include "platform/amounttext.h"
#include "platform/fonts.h"
#include "platform/gridview.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace budget {
namespace {

using Icon = platform::Prompts::Icon;
using Buttons = platform::Prompts::Buttons;
using Answer = platform::Prompts::Answer;

// The 月額 cells: text typed as on the day page, checked by the window before it is kept.
class AmountDelegate : public platform::GridDelegate {
public:
    AmountDelegate(Tbudgetform& form, platform::GridView& grid)
        : platform::GridDelegate(grid), form_(form) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setAlignment(Qt::AlignRight);
        view_.EditorOpened(editor);
        return editor;
    }
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        if (!form_.AcceptAmount(index.row(), static_cast<QLineEdit*>(editor)->text()))
            view_.RefuseEdit(index);
    }

private:
    Tbudgetform& form_;
};

// A budget as its cell shows it: "40,000"; empty for none.
QString Shown(const std::optional<std::string>& stored) {
    if (!stored)
        return QString();
    return QString::fromStdString(ledger::FormatNumber(ledger::AmountOrZero(*stored), "#,0.##"));
}

}  // namespace

std::optional<std::string> TypedBudget(const QString& typed, bool& refused) {
    refused = false;
    if (typed.trimmed().isEmpty())
        return std::nullopt;
    const std::optional<QString> amount = platform::AmountToStore(typed);
    if (!amount ||
        ledger::ParseAmount(amount->toStdString()).value_or(ledger::Amount()) < ledger::Amount()) {
        refused = true;
        return std::nullopt;
    }
    return amount->toStdString();
}

Tbudgetform::Tbudgetform(platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setWindowTitle(QStringLiteral("予算設定"));
    setFont(platform::UiFont(12));
    auto* caption =
        new QLabel(QStringLiteral("支出の費目ごとの毎月の予算（空欄は予算なし）"), this);
    grid_ = new platform::GridView(this);
    model_ = new QStandardItemModel(0, 1, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("月額")});
    grid_->setModel(model_);
    grid_->setItemDelegate(new AmountDelegate(*this, *grid_));
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::EditKeyPressed);
    grid_->setTabKeyNavigation(false);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->setMinimumWidth(120);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    total_ = new QLabel(this);
    total_->setFont(platform::UiFont(13, true));
    total_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    note_ = new QLabel(this);
    note_->setStyleSheet(QStringLiteral("color: rgb(200, 30, 30);"));
    saveButton_ = new QPushButton(QStringLiteral("保存して閉じる"), this);
    cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
    for (QPushButton* b : {saveButton_, cancelButton_})
        b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(grid_, 1);
    layout->addWidget(total_);
    layout->addWidget(note_);
    layout->addLayout(buttons);
    resize(380, 600);

    platform::NameControls({
        {grid_, "budgetgrid"},
        {total_, "budgettotal"},
        {note_, "budgetnote"},
        {saveButton_, "SpeedButton1"},
        {cancelButton_, "SpeedButton2"},
    });
    connect(saveButton_, &QPushButton::clicked, this, &Tbudgetform::SaveAndClose);
    connect(cancelButton_, &QPushButton::clicked, this, &Tbudgetform::CloseByEscape);
    platform::DialogKeys::On(*this).Escape([this] { CloseByEscape(); });
}

void Tbudgetform::Edit(const ledger::BudgetBook& budgets, const ledger::CategoryList& categories,
                       SaveBudgets save) {
    budgets_ = budgets;
    save_ = std::move(save);
    edited_ = false;
    closing_ = false;
    note_->clear();
    names_.clear();
    model_->removeRows(0, model_->rowCount());
    QStringList rowCaptions;
    for (int k = 0; k < categories.size(); ++k) {
        if (categories.IsIncome(k))
            continue;
        names_.push_back(categories.Name(k));
        auto* cell = new QStandardItem(Shown(budgets_.MonthlyText(categories.Name(k))));
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        model_->appendRow(cell);
        rowCaptions << platform::FromCp932(categories.Name(k));
    }
    model_->setVerticalHeaderLabels(rowCaptions);
    ShowTotal();
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(0, 0));
    grid_->setFocus();
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    prompts_.RunDialog(*this);
}

bool Tbudgetform::AcceptAmount(int row, const QString& text) {
    if (row < 0 || row >= static_cast<int>(names_.size()))
        return true;
    const std::string& name = names_[static_cast<size_t>(row)];
    bool refused = false;
    const std::optional<std::string> stored = TypedBudget(text, refused);
    if (refused) {
        note_->setText(kBudgetRefused);
        return false;
    }
    note_->clear();
    if (stored == budgets_.MonthlyText(name))
        return true;
    budgets_.SetMonthly(name, stored);
    model_->item(row, 0)->setText(Shown(stored));
    edited_ = true;
    ShowTotal();
    return true;
}

void Tbudgetform::ShowTotal() {
    ledger::Amount total;
    for (const std::string& name : names_) {
        if (std::optional<std::string> text = budgets_.MonthlyText(name))
            total += ledger::AmountOrZero(*text);
    }
    total_->setText(QStringLiteral("合計 ¥") +
                    QString::fromStdString(ledger::FormatNumber(total, "#,0.##")));
}

void Tbudgetform::SaveAndClose() {
    if (!grid_->FinishEditing())
        return;  // a refused amount is back in its cell
    if (std::optional<QString> failure = save_(budgets_)) {
        prompts_.Error(this, *failure);
        return;  // the edits stay
    }
    closing_ = true;
    accept();
}

void Tbudgetform::CloseByEscape() {
    if (!grid_->FinishEditing())
        return;
    if (edited_ && prompts_.Message(this, QStringLiteral("確認"),
                                    QStringLiteral("変更を保存せずに閉じますか？"), Icon::Question,
                                    Buttons::YesNo) != Answer::Yes) {
        grid_->setFocus();
        return;
    }
    closing_ = true;
    QDialog::reject();
}

void Tbudgetform::reject() {
    // The window's close button asks as Escape does.
    if (closing_) {
        QDialog::reject();
        return;
    }
    CloseByEscape();
}

}  // namespace budget
