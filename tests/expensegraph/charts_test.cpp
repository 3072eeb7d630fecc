#include "expensegraph/piechart.h"
#include "platform/fonts.h"
#include "state/chartcolors.h"
#include "yeargraph/ezgraph.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <set>

#include <cmath>
#include <numbers>

using ledger::Amount;

namespace {

const std::array<QColor, 33> kColors = state::MakeChartColors();

QImage Pie(const std::vector<Amount>& ascending) {
    QImage image(201, 105, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    expensegraph::DrawExpensePie(p, 201, 105, ascending, kColors, platform::UiFont(12));
    return image;
}

// The pixel at a bearing (degrees clockwise from 12 o'clock) halfway out from the centre of
// the pie's ellipse (201 wide, 100 high).
QColor At(const QImage& image, double bearing) {
    const double a = bearing * std::numbers::pi / 180.0;
    const int x = static_cast<int>(std::lround(100.5 + 50 * std::sin(a)));
    const int y = static_cast<int>(std::lround(50 - 25 * std::cos(a)));
    return image.pixelColor(x, y);
}

TEST(Pie, OneCategoryFillsTheEllipseInColourZero) {
    const QImage image = Pie({Amount(), Amount(), Amount::FromWhole(1200)});
    for (double bearing : {10.0, 90.0, 180.0, 270.0, 350.0})
        EXPECT_EQ(At(image, bearing), kColors[0]) << bearing;
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));      // outside the ellipse
    EXPECT_EQ(image.pixelColor(100, 103), QColor(Qt::white));  // below it: half as high
}

TEST(Pie, LargerSliceStartsAtTwelveClockwiseInColourZero) {
    // 300 of 400: the largest takes bearings 0 to 271, the other the rest.
    const QImage image = Pie({Amount::FromWhole(100), Amount::FromWhole(300)});
    for (double bearing : {5.0, 90.0, 180.0, 260.0})
        EXPECT_EQ(At(image, bearing), kColors[0]) << bearing;
    for (double bearing : {285.0, 315.0, 355.0})
        EXPECT_EQ(At(image, bearing), kColors[1]) << bearing;
}

TEST(Pie, NoExpenseShowsTheTextAndNothingElse) {
    const QImage image = Pie({Amount(), Amount()});
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == QColor(Qt::white))
                continue;
            // Only the text, in the band below y 50.
            EXPECT_GE(y, 50) << x << "," << y;
            EXPECT_LT(y, 70) << x << "," << y;
            ++dark;
        }
    }
    EXPECT_GT(dark, 50);
}

TEST(BarChart, ShadowColoursOfTheWorkedExamples) {
    EXPECT_EQ(yeargraph::ShadowOf(QColor(255, 85, 0)), QColor(205, 68, 0));
    EXPECT_EQ(yeargraph::ShadowOf(QColor(107, 107, 255)), QColor(86, 86, 205));
    const yeargraph::Hsv hsv = yeargraph::RgbToHsv(255, 85, 0);
    EXPECT_EQ(hsv.hue, 20);
    EXPECT_EQ(hsv.delta, 255);
    EXPECT_EQ(hsv.value, 255);
    // Darker than value 50: clamped, never wrapped.
    EXPECT_EQ(yeargraph::ShadowOf(QColor(20, 10, 0)), QColor(0, 0, 0));
}

TEST(BarChart, BarsStandWhereTheRuleSaysAndAValueAboveTheScaleIsClipped) {
    yeargraph::TezGraph g;
    g.BarStep = 46;
    g.BarWidth = 25;
    g.Margin = 8;
    g.AxisLeft = 64;
    g.MaxValue = 10000;
    g.Font = platform::UiFont(12);
    g.BarColor = QColor(255, 85, 0);
    g.Title = QStringLiteral("月別グラフ（2024）");
    g.UnitCaption = QStringLiteral("(Yen)");
    for (int m = 1; m <= 12; ++m)
        g.Data << QStringLiteral("%1,%2月").arg(m == 3 ? 50000 : m == 5 ? 0 : 5000).arg(m);
    QImage image(641, 297, QImage::Format_RGB32);
    QPainter p(&image);
    g.Draw(p, 641, 297);
    p.end();
    const int th = QFontMetrics([] {
                       QFont f = platform::UiFont(12);
                       f.setBold(true);
                       return f;
                   }())
                       .height();
    const int top = th + 32;
    const int bottom = 297 - (th + 16);
    const int half = (top + bottom) / 2;
    for (int m = 1; m <= 12; ++m) {
        const int x = 87 + 46 * (m - 1);
        const int y = bottom - (bottom - top) / 4;  // a quarter up: inside every 5000 bar
        if (m == 5) {
            EXPECT_NE(image.pixelColor(x + 2, y), g.BarColor) << m;  // a value of 0: no bar
            continue;
        }
        EXPECT_EQ(image.pixelColor(x + 2, y), g.BarColor) << m;
        EXPECT_EQ(image.pixelColor(x + 24, y), g.BarColor) << m;
        EXPECT_NE(image.pixelColor(x - 1, y), g.BarColor) << m;
        // The shadow shows four pixels right of the bar.
        EXPECT_EQ(image.pixelColor(x + 27, y), QColor(205, 68, 0)) << m;
    }
    // Half the scale: the 5000 bars end at mid height; the 50000 bar runs out of the plot.
    EXPECT_NE(image.pixelColor(87 + 2, half - 6), g.BarColor);
    EXPECT_EQ(image.pixelColor(87 + 46 * 2 + 2, top - 2), g.BarColor);
    EXPECT_EQ(image.pixelColor(87 + 46 * 2 + 2, 1), g.BarColor);
    // The frame and the background.
    EXPECT_EQ(image.pixelColor(0, 100), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(630, 150), g.BackColor);
}

// The budget line: a step per month at its height, none where a month has no budget, and a
// budget above the scale along the top.
TEST(BarChart, BudgetLineStepsAcrossTheBars) {
    yeargraph::TezGraph g;
    g.BarStep = 46;
    g.BarWidth = 25;
    g.Margin = 8;
    g.MaxValue = 10000;
    g.Font = platform::UiFont(12);
    for (int m = 1; m <= 4; ++m)
        g.Data << QStringLiteral("0,%1月").arg(m);
    g.Limits = {5000.0, 5000.0, std::nullopt, 20000.0};
    g.LimitCaption = QStringLiteral("予算");
    QImage image(300, 297, QImage::Format_RGB32);
    QPainter p(&image);
    g.Draw(p, 300, 297);
    p.end();
    QFont bold = platform::UiFont(12);
    bold.setBold(true);
    const int th = QFontMetrics(bold).height();
    const int top = th + 32;
    const int bottom = 297 - (th + 16);
    // The rows of a bar's step where the line's colour shows.
    auto lineRows = [&](int k) {
        std::set<int> rows;
        for (int x = 64 + 46 * k + 14; x < 64 + 46 * k + 54; ++x) {
            for (int y = 0; y < 297; ++y) {
                if (image.pixelColor(x, y) == g.LimitColor)
                    rows.insert(y);
            }
        }
        return rows;
    };
    const int half = bottom - (bottom - top) / 2;
    // A two-pixel pen on the value's row, give or take the rounding of the half.
    auto near = [](const std::set<int>& rows, int y) {
        return !rows.empty() && *rows.begin() >= y - 2 && *rows.rbegin() <= y + 2;
    };
    EXPECT_TRUE(near(lineRows(0), half));
    EXPECT_TRUE(near(lineRows(1), half));
    EXPECT_TRUE(near(lineRows(3), top));
    for (int y : lineRows(2))
        EXPECT_LT(y, top - 10);  // only the caption's pixels, if any: no line in month 3
}

TEST(BarChart, AxisLabelsOfTheTenThousandScale) {
    yeargraph::TezGraph g;
    g.MaxValue = 10000;
    EXPECT_EQ(g.AxisLabels(), (QStringList{"0", "5,000", "10,000"}));
    g.MaxValue = 50000;
    EXPECT_EQ(g.AxisLabels(), (QStringList{"0", "25,000", "50,000"}));
}

}  // namespace
