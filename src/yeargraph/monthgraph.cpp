#include "yeargraph/monthgraph.h"
#include "platform/dialogkeys.h"

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
    Label1 = chrome.title;
    Label1->setGeometry(24, 10, 633, 17);
    Label1->setFont(platform::UiFont(12, true));

    SpeedButton6 = new QToolButton(this);
    SpeedButton6->setGeometry(660, 6, 16, 16);
    SpeedButton6->setAutoRaise(true);
    SpeedButton6->setText(QStringLiteral("×"));
    SpeedButton6->setFocusPolicy(Qt::NoFocus);
    SpeedButton6->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(QRect(QPoint(24, 46), kChartSize));

    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setGeometry(24, 352, 73, 21);
    // No limits of its own: a scale of 0 or below is refused when it is drawn.
    SpinEdit1->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    SpinEdit1->setSingleStep(10000);
    // Seven digits and the arrows in the 73 pixels the window gives the scale.
    SpinEdit1->setFont(platform::UiFont(11));
    auto* unit = new QLabel(QStringLiteral("Y"), this);
    unit->setGeometry(104, 356, 20, 16);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(160, 352, 113, 22);
    ComboBox1->setIconSize(QSize(18, 16));

    SpeedButton1 =
        skin::MakeTextButton(this, QStringLiteral("グラフ描画"), QRect(280, 352, 97, 25), true);
    SpeedButton1->setStyleSheet(QStringLiteral("color: rgb(70, 70, 70);"));
    SpeedButton2 =
        skin::MakeTextButton(this, QStringLiteral("閉じる"), QRect(592, 352, 73, 25), true);

    connect(SpeedButton1, &QPushButton::clicked, this, &Tmonthgraph::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpeedButton6, &QToolButton::clicked, this, &QDialog::accept);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &Tmonthgraph::ComboBox1Change);
}

void Tmonthgraph::Run(const state::AppState& state) {
    book_.emplace(state);
    if (QWidget* p = parentWidget()) {
        move(p->x() + (p->width() - width()) / 2, p->y() + (p->height() - height()) / 2);
    }
    SpeedButton3Click();
    AutoScale();
    SpeedButton1Click();
    prompts_.RunDialog(*this);
}

void Tmonthgraph::SpeedButton3Click() {
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
    ComboBox1->clear();
    const QImage inout(QStringLiteral(":/skin/inouticons.png"));
    ComboBox1->addItem(skin::KeyedPixmap(inout.copy(0, 0, 18, 16), kMagenta),
                       QStringLiteral("総支出"));
    ComboBox1->addItem(skin::KeyedPixmap(inout.copy(18, 0, 18, 16), kMagenta),
                       QStringLiteral("総収入"));
    for (int k = 0; k < book_->categories.size(); ++k) {
        const QString name = platform::FromCp932(book_->categories.Name(k));
        if (k < state::IconSet::kBuiltIn) {
            ComboBox1->addItem(book_->icons.Icon(k), name);
        } else {
            ComboBox1->addItem(name);  // the user's own categories have no icon here
        }
    }
    // A list that got shorter since the series was chosen falls back to the total expense.
    if (selectedSeries_ >= ComboBox1->count())
        selectedSeries_ = 0;
    ComboBox1->setCurrentIndex(selectedSeries_);
    filling_ = false;
}

void Tmonthgraph::AutoScale() {
    const std::vector<std::string> lines = tally_.ChartLines(selectedSeries_);
    const int64_t scale = yeargraph::AutoScale(PeakOf(lines));
    // The spin box holds an int; no household's year comes near its limit.
    SpinEdit1->setValue(
        static_cast<int>(std::min<int64_t>(scale, std::numeric_limits<int>::max())));
}

void Tmonthgraph::SpeedButton1Click() {
    const long long scale = SpinEdit1->value();
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
    Image2->setPixmap(pixmap);
}

QImage Tmonthgraph::ChartImage() const {
    return Image2->pixmap().toImage();
}

void Tmonthgraph::ComboBox1Change(int index) {
    if (filling_ || index < 0 || !book_)
        return;
    selectedSeries_ = index;
    AutoScale();
    SpeedButton1Click();
}

}  // namespace yeargraph
