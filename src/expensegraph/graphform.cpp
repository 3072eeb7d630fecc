#include "expensegraph/graphform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "budget/monthbudget.h"
#include "budget/monthbudgetform.h"
#include "expensegraph/expensesummary.h"
#include "expensegraph/piechart.h"
#include "ledger/fileerror.h"
#include "ledger/numberformat.h"
#include "platform/errortext.h"
#include "platform/fonts.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"
#include "skin/buttonface.h"
#include "skin/dialogchrome.h"
#include "skin/skin.h"
#include "state/appstate.h"

#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>

#include <cmath>
#include <map>

namespace expensegraph {
namespace {

// Wider and taller than the window was before budgets: two more columns, and the budget
// totals under the table.
constexpr QSize kSize(690, 313);
constexpr int kBelowTable = 24;  // what the controls under the table moved down
constexpr QSize kPieSize(201, 105);

QString Money(ledger::Amount value, const char* pattern) {
    // The yen sign, then the number; a negative number keeps its minus after the sign.
    return QStringLiteral("¥") + QString::fromStdString(ledger::FormatNumber(value, pattern));
}

QString DateText(const ledger::Date& d) {
    return QStringLiteral("%1年%2月%3日").arg(d.year).arg(d.month).arg(d.day);
}

// The share of `part` in `whole` in per cent, as an amount (four decimals).
ledger::Amount Percent(ledger::Amount part, ledger::Amount whole) {
    const long double share = static_cast<long double>(part.raw()) / whole.raw();
    return ledger::Amount::FromRaw(std::llround(share * 100 * ledger::Amount::kScale));
}

QLabel* MakeLabel(QWidget* parent, const QRect& geometry, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setFont(platform::UiFont(12, true));
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

QToolButton* MonthButton(QWidget* parent, Qt::ArrowType arrow, int x, const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setGeometry(x, 236 + kBelowTable, 28, 28);
    button->setAutoRaise(true);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    auto* label = new QLabel(caption, parent);
    label->setGeometry(x - 6, 264 + kBelowTable, 40, 14);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(platform::UiFont(10));
    return button;
}

}  // namespace

Tgraphform::Tgraphform(const skin::SkinImages& skin, platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), prompts_(prompts) {
    const skin::DialogChrome chrome =
        skin::DressDialog(*this, skin, kSize, QStringLiteral("1ヶ月の支出グラフ"));
    title_ = chrome.title;
    title_->setGeometry(24, 9, 653, 27);
    title_->setFont(platform::UiFont(12, true));

    pie_ = new QLabel(this);
    pie_->setGeometry(QRect(QPoint(32, 64), kPieSize));

    table_ = new QTableWidget(0, 5, this);
    table_->setGeometry(272, 48, 389, 185);
    table_->setHorizontalHeaderLabels({QStringLiteral("費目"), QStringLiteral("構成比(%)"),
                                       QStringLiteral("金額"), QStringLiteral("予算"),
                                       QStringLiteral("残り")});
    // The 費目 column takes a five-character name with its icon (水道光熱費, 趣味・娯楽);
    // a longer one of the user's shows whole on hover.
    constexpr int kWidths[] = {106, 56, 70, 70, 70};
    for (int c = 0; c < 5; ++c)
        table_->setColumnWidth(c, kWidths[c]);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(21);
    table_->horizontalHeader()->setFixedHeight(21);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background: rgb(192, 192, 192); border: none;"
        " border-right: 1px solid rgb(160, 160, 160); border-bottom: 1px solid rgb(160, 160, "
        "160); padding-left: 2px; }"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);  // no cell is ever selected
    table_->setFocusPolicy(Qt::NoFocus);
    table_->setIconSize(QSize(18, 16));
    table_->setShowGrid(true);
    table_->setWordWrap(false);
    // A right click on a row sets that category's budget for the month shown.
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const int row = table_->rowAt(pos.y());
        if (row >= 0)
            SetMonthBudget(row);
    });
    budgetTotals_ = MakeLabel(this, QRect(272, 236, 389, 18), Qt::AlignRight);
    budgetTotals_->setFont(platform::UiFont(12));

    incomeCaption_ = MakeLabel(this, QRect(32, 206, 100, 16), Qt::AlignLeft);
    totalIncome_ = MakeLabel(this, QRect(72, 206, 160, 16), Qt::AlignRight);
    expenseCaption_ = MakeLabel(this, QRect(32, 222, 100, 16), Qt::AlignLeft);
    totalExpense_ = MakeLabel(this, QRect(72, 222, 160, 16), Qt::AlignRight);
    balanceCaption_ = MakeLabel(this, QRect(32, 241, 100, 16), Qt::AlignLeft);
    balance_ = MakeLabel(this, QRect(72, 241, 160, 16), Qt::AlignRight);
    auto* Shape1 = new QFrame(this);  // the rule above the balance
    Shape1->setGeometry(32, 238, 201, 1);
    Shape1->setStyleSheet(QStringLiteral("background: rgb(80, 80, 80);"));

    previousMonth_ = MonthButton(this, Qt::LeftArrow, 360, QStringLiteral("前月"));
    nextMonth_ = MonthButton(this, Qt::RightArrow, 392, QStringLiteral("翌月"));
    monthBudget_ = skin::MakeTextButton(this, QStringLiteral("この月の予算"),
                                        QRect(462, 240 + kBelowTable, 100, 25), false);
    monthBudget_->setFocusPolicy(Qt::NoFocus);
    monthBudget_->setToolTip(QStringLiteral("費目のこの月の予算を設定します (B)"));
    closeButton_ = skin::MakeTextButton(this, QStringLiteral("閉じる"),
                                        QRect(592, 240 + kBelowTable, 65, 25), true);
    // The keys are the window's (arrows step the month): no button takes them.
    closeButton_->setFocusPolicy(Qt::NoFocus);
    connect(previousMonth_, &QToolButton::clicked, this, &Tgraphform::ShowPreviousMonth);
    connect(nextMonth_, &QToolButton::clicked, this, &Tgraphform::ShowNextMonth);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(monthBudget_, &QPushButton::clicked, this, [this] { SetMonthBudget(0); });

    platform::NameControls({
        {title_, "Label1"},
        {pie_, "Image2"},
        {table_, "grid"},
        {totalExpense_, "Label3"},
        {totalIncome_, "Label4"},
        {balance_, "Label5"},
        {incomeCaption_, "Label6"},
        {expenseCaption_, "Label7"},
        {balanceCaption_, "Label8"},
        {previousMonth_, "SpeedButton5"},
        {nextMonth_, "SpeedButton4"},
        {closeButton_, "SpeedButton1"},
        {budgetTotals_, "budgetsum"},
        {monthBudget_, "monthBudget"},
    });

    // Escape and Enter close, as the close button does; Left and PageUp show the previous
    // month, Right and PageDown the next; Up and Down scroll the table.
    auto scroll = [this](int rows) {
        QScrollBar* bar = table_->verticalScrollBar();
        bar->setValue(bar->value() + rows * bar->singleStep());
    };
    platform::DialogKeys::On(*this)
        .Escape([this] { closeButton_->click(); })
        .Enter([this] { closeButton_->click(); })
        .Key(Qt::Key_Left, [this] { previousMonth_->click(); })
        .Key(Qt::Key_PageUp, [this] { previousMonth_->click(); })
        .Key(Qt::Key_Right, [this] { nextMonth_->click(); })
        .Key(Qt::Key_PageDown, [this] { nextMonth_->click(); })
        .Key(Qt::Key_B, [this] { SetMonthBudget(0); })
        .Key(Qt::Key_Up, [scroll] { scroll(-1); })
        .Key(Qt::Key_Down, [scroll] { scroll(1); });
}

void Tgraphform::Run(const state::AppState& state, budget::SaveBudgets save) {
    book_.emplace(state);
    save_ = std::move(save);
    ShowMonthOf(state.pageDate);
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    prompts_.RunDialog(*this);
}

void Tgraphform::ShowMonthOf(const ledger::Date& date) {
    baseDate_ = date;
    try {
        summary_ = BuildExpenseSummary(book_->store, book_->categories, book_->settings.closing,
                                       baseDate_);
    } catch (const ledger::FileError& e) {
        // The month shown stays as it was; the user learns which file could not be read.
        prompts_.Error(this,
                       platform::FileErrorText(QStringLiteral("データを読み込めません。"), e));
        return;
    }
    FillSummaryTable();
}

void Tgraphform::ShowPreviousMonth() {
    ShowMonthOf(baseDate_.AddMonths(-1));
}

void Tgraphform::ShowNextMonth() {
    ShowMonthOf(baseDate_.AddMonths(1));
}

void Tgraphform::FillSummaryTable() {
    const ExpenseSummary& summary = summary_;
    const ledger::Amount totalExpense = summary.TotalExpense();
    const auto& colors = book_->chartColors;
    // The month's budgets beside the totals shown (no file is read again).
    std::map<std::string, ledger::Amount> spent;
    for (const ExpenseEntry& entry : summary.entries)
        spent.emplace(entry.name, entry.total);
    const budget::MonthBudget budgets =
        budget::BudgetOfMonth(book_->budgets, book_->categories, MonthKey(), [&](int k) {
            const auto found = spent.find(book_->categories.Name(k));
            return found == spent.end() ? ledger::Amount() : found->second;
        });
    // Row 1 holds the largest total: the ascending list is written from its end.
    const int n = static_cast<int>(summary.entries.size());
    table_->clearContents();
    table_->setRowCount(n);
    for (int r = 0; r < n; ++r) {
        const ExpenseEntry& entry = summary.entries[static_cast<size_t>(n - 1 - r)];
        auto* name = new QTableWidgetItem(platform::FromCp932(entry.name));
        name->setToolTip(name->text());
        name->setBackground(colors[static_cast<size_t>(r % 33)]);
        const int position = book_->categories.CategoryIndex(entry.name);
        if (position >= 0 && position < state::IconSet::kBuiltIn)
            name->setIcon(book_->icons.Icon(position));
        table_->setItem(r, 0, name);
        auto* share = new QTableWidgetItem();
        auto* amount = new QTableWidgetItem();
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        share->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (totalExpense > ledger::Amount()) {
            share->setText(QString::fromStdString(
                               ledger::FormatNumber(Percent(entry.total, totalExpense), "0.0")) +
                           QStringLiteral("%"));
            amount->setText(Money(entry.total, "#,0"));
        }
        table_->setItem(r, 1, share);
        table_->setItem(r, 2, amount);
        auto* planned = new QTableWidgetItem();
        auto* left = new QTableWidgetItem();
        planned->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        left->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (const budget::CategoryBudget* line = budgets.Find(entry.name); line && line->budget) {
            planned->setText(Money(*line->budget, "#,0"));
            const ledger::Amount remaining = *line->Remaining();
            left->setText(Money(remaining, "#,0"));
            if (remaining.IsNegative())
                left->setForeground(QColor(200, 30, 30));  // over the budget
        }
        table_->setItem(r, 3, planned);
        table_->setItem(r, 4, left);
    }
    table_->scrollToTop();  // every month starts at its largest total

    budgetTotals_->setText(budgets.any ? QStringLiteral("予算合計 %1　残り合計 %2")
                                             .arg(Money(budgets.totalBudget, "#,0"),
                                                  Money(budgets.totalRemaining, "#,0"))
                                       : QString());
    budgetTotals_->setStyleSheet(budgets.totalRemaining.IsNegative()
                                     ? QStringLiteral("color: rgb(200, 30, 30);")
                                     : QString());
    totalExpense_->setText(Money(totalExpense, "#,0.##"));
    totalIncome_->setText(Money(summary.income, "#,0.##"));
    balance_->setText(Money(summary.income - totalExpense, "#,0.##"));
    const int m = ledger::AccountingMonthOf(baseDate_, book_->settings.closing).label.month;
    incomeCaption_->setText(QStringLiteral("%1月度総収入：").arg(m));
    expenseCaption_->setText(QStringLiteral("%1月度総支出：").arg(m));
    balanceCaption_->setText(QStringLiteral("%1月度収支：").arg(m));
    incomeCaption_->setStyleSheet(QStringLiteral("color: %1;").arg(colors[3].name()));
    expenseCaption_->setStyleSheet(QStringLiteral("color: %1;").arg(colors[0].name()));
    title_->setText(QStringLiteral("1ヶ月の支出グラフ   ") + DateText(summary.first) +
                    QStringLiteral("～") + DateText(summary.last));
    DrawPie();
}

int Tgraphform::MonthKey() const {
    return budget::MonthKey(ledger::AccountingMonthOf(baseDate_, book_->settings.closing));
}

void Tgraphform::SetMonthBudget(int row) {
    if (!book_ || row < 0 || row >= table_->rowCount())
        return;
    const int n = static_cast<int>(summary_.entries.size());
    const std::string& category = summary_.entries[static_cast<size_t>(n - 1 - row)].name;
    const std::optional<budget::MonthBudgetChoice> choice =
        platform::ChildOnFirstUse<budget::Tmonthbudgetform>(*this, "monthbudgetform", [this] {
            return new budget::Tmonthbudgetform(prompts_, this);
        }).Ask(book_->budgets, book_->categories, MonthKey(), category);
    if (!choice)
        return;
    ledger::BudgetBook budgets = book_->budgets;
    budgets.SetMonth(MonthKey(), choice->category, choice->amount);
    if (std::optional<QString> failure = save_(budgets)) {
        prompts_.Error(this, *failure);
        return;
    }
    book_->budgets = std::move(budgets);
    FillSummaryTable();
}

void Tgraphform::DrawPie() {
    // Drawn at the screen's pixel density, so the pie is crisp at 200 %.
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(kPieSize * ratio);
    pixmap.setDevicePixelRatio(ratio);
    QPainter p(&pixmap);
    std::vector<ledger::Amount> totals;
    for (const ExpenseEntry& entry : summary_.entries)
        totals.push_back(entry.total);
    DrawExpensePie(p, kPieSize.width(), kPieSize.height(), totals, book_->chartColors,
                   platform::UiFont(12));
    p.end();
    pie_->setPixmap(pixmap);
}

}  // namespace expensegraph
