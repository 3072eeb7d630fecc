#include "recurring/dueform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "ledger/amount.h"
#include "ledger/numberformat.h"
#include "platform/fonts.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace recurring {
namespace {

QString DateText(const ledger::Date& d) {
    return platform::FromUtf8(ledger::FormatPageDate(d));
}

}  // namespace

Tdueform::Tdueform(platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setWindowTitle(QStringLiteral("定期入力の確認"));
    setFont(platform::UiFont(12));
    caption_ = new QLabel(this);
    caption_->setWordWrap(true);
    table_ = new QTableWidget(0, 5, this);
    table_->setHorizontalHeaderLabels({QStringLiteral("日付"), QStringLiteral("費目"),
                                       QStringLiteral("摘要"), QStringLiteral("金額"),
                                       QStringLiteral("メモ")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(22);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (auto [column, width] : {std::pair{0, 150}, {1, 100}, {2, 130}, {3, 90}})
        table_->setColumnWidth(column, width);
    warning_ = new QLabel(this);
    warning_->setWordWrap(true);
    warning_->setStyleSheet(QStringLiteral("color: rgb(200, 30, 30);"));
    enterButton_ = new QPushButton(QStringLiteral("入力する"), this);
    laterButton_ = new QPushButton(QStringLiteral("今はしない"), this);
    skipButton_ = new QPushButton(QStringLiteral("スキップ"), this);
    for (QPushButton* b : {enterButton_, laterButton_, skipButton_})
        b->setAutoDefault(false);
    enterButton_->setToolTip(
        QStringLiteral("チェックした行を入力します（外した行は入力せずに済みにします）"));
    laterButton_->setToolTip(QStringLiteral("次の起動のときにもう一度たずねます"));
    skipButton_->setToolTip(QStringLiteral("どの行も入力せずに済みにします"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(skipButton_);
    buttons->addStretch(1);
    buttons->addWidget(enterButton_);
    buttons->addWidget(laterButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(table_, 1);
    layout->addWidget(warning_);
    layout->addLayout(buttons);
    resize(640, 360);

    platform::NameControls({
        {caption_, "duecaption"},
        {table_, "duegrid"},
        {warning_, "duewarning"},
        {enterButton_, "enterButton"},
        {laterButton_, "laterButton"},
        {skipButton_, "skipButton"},
    });
    connect(enterButton_, &QPushButton::clicked, this, [this] { Answer(DueAnswer::Kind::Enter); });
    connect(laterButton_, &QPushButton::clicked, this, [this] { Answer(DueAnswer::Kind::Later); });
    connect(skipButton_, &QPushButton::clicked, this, [this] { Answer(DueAnswer::Kind::Skip); });
    // Space checks the current row, Enter answers 入力する, Escape 今はしない.
    platform::DialogKeys::On(*this)
        .Escape([this] { Answer(DueAnswer::Kind::Later); })
        .Enter([this] { Answer(DueAnswer::Kind::Enter); })
        .Key(Qt::Key_Space, [this] {
            QTableWidgetItem* box = table_->item(table_->currentRow(), 0);
            if (box && (box->flags() & Qt::ItemIsUserCheckable)) {
                box->setCheckState(box->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            }
        });
}

DueAnswer Tdueform::Ask(const std::vector<ledger::DueEntry>& due) {
    answer_ = DueAnswer{};
    answer_.chosen.assign(due.size(), false);
    caption_->setText(
        QStringLiteral("定期入力の日が来ました（%1件）。入力する行にチェックを付けてください。")
            .arg(due.size()));
    table_->setRowCount(static_cast<int>(due.size()));
    bool unlisted = false;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const ledger::DueEntry& entry = due[static_cast<size_t>(r)];
        auto* date = new QTableWidgetItem(DateText(entry.date));
        date->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                       (entry.categoryListed ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
        date->setCheckState(entry.categoryListed ? Qt::Checked : Qt::Unchecked);
        table_->setItem(r, 0, date);
        auto* category = new QTableWidgetItem(platform::FromCp932(entry.row[0]));
        if (!entry.categoryListed) {
            unlisted = true;
            category->setForeground(QColor(200, 30, 30));
            category->setToolTip(QStringLiteral("費目リストにない費目です"));
        }
        table_->setItem(r, 1, category);
        table_->setItem(r, 2, new QTableWidgetItem(platform::FromCp932(entry.row[1])));
        auto* amount = new QTableWidgetItem(QString::fromStdString(
            ledger::FormatNumber(ledger::AmountOrZero(entry.row[2]), "#,0.##")));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(r, 3, amount);
        table_->setItem(r, 4, new QTableWidgetItem(platform::FromCp932(entry.row[3])));
    }
    warning_->setText(unlisted ? QStringLiteral("赤い費目は費目リストにないため入力されません。"
                                                "定期入力（Ctrl+R）で費目を直してください。")
                               : QString());
    warning_->setVisible(unlisted);
    table_->setCurrentCell(0, 0);
    table_->setFocus();
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    prompts_.RunDialog(*this);
    return answer_;
}

void Tdueform::Answer(DueAnswer::Kind kind) {
    answer_.kind = kind;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const QTableWidgetItem* box = table_->item(r, 0);
        answer_.chosen[static_cast<size_t>(r)] = box && box->checkState() == Qt::Checked;
    }
    accept();
}

void Tdueform::reject() {
    Answer(DueAnswer::Kind::Later);
}

}  // namespace recurring
