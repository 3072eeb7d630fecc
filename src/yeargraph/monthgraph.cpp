#include "yeargraph/monthgraph.h"

#include "budget/monthbudget.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "ledger/fileerror.h"
#include "platform/errortext.h"
#include "platform/fonts.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"
#include "skin/builtinicons.h"
#include "skin/buttonface.h"
#include "skin/dialogchrome.h"
#include "skin/skin.h"
#include "state/appstate.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <limits>

namespace yeargraph {
namespace {

constexpr QSize kSize(689, 393);
constexpr QSize kChartSize(641, 297);
// The list icons show the list's own background where they are magenta.
const QColor kMagenta(255, 0, 255);

}  // namespace

Tmonthgraph::Tmonthgraph(const skin::SkinImages& skin, platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), prompts_(prompts) {
    platform::DialogKeys::On(*this).Escape([this] { accept(); });
    const skin::DialogChrome chrome =
        skin::DressDialog(*this, skin, kSize, QStringLiteral("月別収入・支出グラフ"));
    title_ = chrome.title;
    title_->setGeometry(24, 10, 633, 17);
    title_->setFont(platform::UiFont(12, true));

    closeCross_ = new QToolButton(this);
    closeCross_->setGeometry(660, 6, 16, 16);
    closeCross_->setAutoRaise(true);
    closeCross_->setText(QStringLiteral("×"));
    closeCross_->setFocusPolicy(Qt::NoFocus);
    closeCross_->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));

    chart_ = new QLabel(this);
    chart_->setGeometry(QRect(QPoint(24, 46), kChartSize));

    scale_ = new QSpinBox(this);
    scale_->setGeometry(24, 352, 73, 21);
    // No limits of its own: a scale of 0 or below is refused when it is drawn.
    scale_->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    scale_->setSingleStep(10000);
    // Seven digits and the arrows in the 73 pixels the window gives the scale.
    scale_->setFont(platform::UiFont(11));
    auto* unit = new QLabel(QStringLiteral("Y"), this);
    unit->setGeometry(104, 356, 20, 16);

    series_ = new QComboBox(this);
    series_->setGeometry(160, 352, 113, 22);
    series_->setIconSize(QSize(18, 16));

    drawButton_ =
        skin::MakeTextButton(this, QStringLiteral("グラフ描画"), QRect(280, 352, 97, 25), true);
    drawButton_->setStyleSheet(QStringLiteral("color: rgb(70, 70, 70);"));
    closeButton_ =
        skin::MakeTextButton(this, QStringLiteral("閉じる"), QRect(592, 352, 73, 25), true);

    platform::NameControls({
        {title_, "Label1"},
        {chart_, "Image2"},
        {scale_, "SpinEdit1"},
        {series_, "ComboBox1"},
        {drawButton_, "SpeedButton1"},
        {closeButton_, "SpeedButton2"},
        {closeCross_, "SpeedButton6"},
    });
    connect(drawButton_, &QPushButton::clicked, this, &Tmonthgraph::DrawChart);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(closeCross_, &QToolButton::clicked, this, &QDialog::accept);
    connect(series_, &QComboBox::currentIndexChanged, this, &Tmonthgraph::ChooseSeries);
}

void Tmonthgraph::Run(const state::AppState& state) {
    book_.emplace(state);
    if (QWidget* p = parentWidget()) {
        move(p->x() + (p->width() - width()) / 2, p->y() + (p->height() - height()) / 2);
    }
    TallyTheYear();
    AutoScale();
    DrawChart();
    prompts_.RunDialog(*this);
}

void Tmonthgraph::TallyTheYear() {
    try {
        tally_ = TallyYear(book_->store, book_->categories, book_->settings.closing,
                           book_->pageDate.year);
    } catch (const ledger::FileError& e) {
        prompts_.Error(this,
                       platform::FileErrorText(QStringLiteral("データを読み込めません。"), e));
        tally_ = MonthTally{};
        tally_.year = book_->pageDate.year;
    }
    if (tally_.unmatchedMonth) {
        prompts_.Message(this, QString(), QStringLiteral("error"), platform::Prompts::Icon::None,
                         platform::Prompts::Buttons::OkCancel);
    }
    // The items mirror the tally's positions: 総支出, 総収入, then the categories.
    filling_ = true;
    series_->clear();
    const QImage inout(QStringLiteral(":/skin/inouticons.png"));
    series_->addItem(skin::KeyedPixmap(inout.copy(0, 0, 18, 16), kMagenta),
                     QStringLiteral("総支出"));
    series_->addItem(skin::KeyedPixmap(inout.copy(18, 0, 18, 16), kMagenta),
                     QStringLiteral("総収入"));
    for (int k = 0; k < book_->categories.size(); ++k) {
        const QString name = platform::FromCp932(book_->categories.Name(k));
        if (k < state::IconSet::kBuiltIn) {
            series_->addItem(book_->icons.Icon(k), name);
        } else {
            series_->addItem(name);  // the user's own categories have no icon here
        }
    }
    // A list that got shorter since the series was chosen falls back to the total expense.
    if (selectedSeries_ >= series_->count())
        selectedSeries_ = 0;
    series_->setCurrentIndex(selectedSeries_);
    filling_ = false;
}

std::vector<std::optional<double>> Tmonthgraph::BudgetLine() const {
    // The total expense's budget is every expense category's; income has none.
    std::vector<std::optional<double>> line;
    if (selectedSeries_ == MonthTally::kIncome)
        return line;
    const int category = selectedSeries_ == MonthTally::kExpense
                             ? budget::kAllExpenses
                             : selectedSeries_ - MonthTally::kFirstCategory;
    for (const ledger::AccountingMonth& span : tally_.spans) {
        const std::optional<ledger::Amount> value = budget::BudgetLineValue(
            book_->budgets, book_->categories, budget::MonthKey(span), category);
        line.push_back(value ? std::optional<double>(static_cast<double>(value->raw()) /
                                                     ledger::Amount::kScale)
                             : std::nullopt);
    }
    return line;
}

void Tmonthgraph::AutoScale() {
    const std::vector<std::string> lines = tally_.ChartLines(selectedSeries_);
    // The budget line stays inside the chart as well.
    int64_t peak = PeakOf(lines);
    for (const std::optional<double>& limit : BudgetLine()) {
        if (limit && *limit > static_cast<double>(peak) && *limit < 9e15)
            peak = static_cast<int64_t>(*limit);
    }
    const int64_t scale = yeargraph::AutoScale(peak);
    // The spin box holds an int; no household's year comes near its limit.
    scale_->setValue(static_cast<int>(std::min<int64_t>(scale, std::numeric_limits<int>::max())));
}

void Tmonthgraph::DrawChart() {
    const long long scale = scale_->value();
    if (scale <= 0) {
        // The last chart stays.
        prompts_.Error(this, QStringLiteral("目盛りには1以上の数を指定してください"));
        return;
    }
    Draw(scale);
}

void Tmonthgraph::Draw(long long scale) {
    graph_.BarStep = 46;
    graph_.BarWidth = 25;
    graph_.Font = platform::UiFont(12);
    graph_.Margin = 8;
    graph_.MaxValue = scale;
    graph_.Title = QStringLiteral("月別グラフ（%1）").arg(tally_.year);
    graph_.UnitCaption = QStringLiteral("(Yen)");
    graph_.AxisLeft = 64;
    const auto& colors = book_->chartColors;
    if (selectedSeries_ == 0) {
        graph_.BarColor = colors[3];
    } else if (selectedSeries_ == 1) {
        graph_.BarColor = colors[0];
    } else {
        graph_.BarColor = colors[static_cast<size_t>((selectedSeries_ - 2) % 33)];
    }
    graph_.Limits = BudgetLine();
    graph_.LimitCaption = QStringLiteral("予算");
    graph_.Data.clear();
    for (const std::string& line : tally_.ChartLines(selectedSeries_))
        graph_.Data.push_back(platform::FromCp932(line));
    // Drawn at the screen's pixel density, so the chart is crisp at 200 %.
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(kChartSize * ratio);
    pixmap.setDevicePixelRatio(ratio);
    QPainter p(&pixmap);
    graph_.Draw(p, kChartSize.width(), kChartSize.height());
    p.end();
    chart_->setPixmap(pixmap);
}

QImage Tmonthgraph::ChartImage() const {
    return chart_->pixmap().toImage();
}

void Tmonthgraph::ChooseSeries(int index) {
    if (filling_ || index < 0 || !book_)
        return;
    selectedSeries_ = index;
    AutoScale();
    DrawChart();
}

}  // namespace yeargraph
