#include "yeargraph/ezgraph.h"

#include "ledger/amount.h"
#include "ledger/numberformat.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace yeargraph {
namespace {

// Rounds halves to even, as the chart's rule asks.
int RoundEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}

QString Grouped(double value) {
    // "#,0": whole units with thousands separators, through the ledger's formatter.
    const auto amount =
        ledger::Amount::FromRaw(static_cast<int64_t>(std::llround(value * ledger::Amount::kScale)));
    return QString::fromStdString(ledger::FormatNumber(amount, "#,0"));
}

// Text with its top-left corner at (x, y), on the current background.
void TextAt(QPainter& p, int x, int y, const QString& text) {
    const QFontMetrics fm(p.font());
    const QRect box(x, y, fm.horizontalAdvance(text), fm.height());
    p.fillRect(box, p.background());
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

// The chart's font, made smaller where a text would not fit its room: a value label wider
// than the step between bars would cover its neighbours, an axis label wider than the room
// left of the axis would run off the picture. Never below 7 px.
QFont FittingFont(const QFont& font, const QString& text, int room) {
    QFont fitted = font;
    int size = fitted.pixelSize() > 0 ? fitted.pixelSize() : QFontMetrics(fitted).height();
    while (size > 7 && QFontMetrics(fitted).horizontalAdvance(text) > room)
        fitted.setPixelSize(--size);
    return fitted;
}

// A line from a to b that covers a but not b, as the chart's rule draws lines.
void LineTo(QPainter& p, QPoint a, QPoint b) {
    if (a == b)
        return;
    const QPoint step((b.x() > a.x()) - (b.x() < a.x()), (b.y() > a.y()) - (b.y() < a.y()));
    p.drawLine(a, b - step);
}

}  // namespace

Hsv RgbToHsv(int r, int g, int b) {
    Hsv hsv;
    hsv.value = std::max({r, g, b});
    hsv.delta = hsv.value - std::min({r, g, b});
    if (hsv.delta == 0) {
        hsv.hue = 0;
    } else if (r == hsv.value) {
        hsv.hue = (60 * (g - b)) / hsv.delta;
    } else if (g == hsv.value) {
        hsv.hue = (60 * (b - r)) / hsv.delta + 120;
    } else {
        hsv.hue = (60 * (r - g)) / hsv.delta + 240;
    }
    if (hsv.hue < 0)
        hsv.hue += 360;
    return hsv;
}

void HsvToRgb(const Hsv& hsv, int& r, int& g, int& b) {
    const int s = hsv.delta;
    const int v = hsv.value;
    const int f = hsv.hue % 60;
    const int p = (v * (255 - s)) / 255;
    const int q = (v * (255 - static_cast<int>(s * f / 60.0))) / 255;
    const int t = (v * (255 - static_cast<int>(s * (60 - f) / 60.0))) / 255;
    if (hsv.hue < 60) {
        r = v, g = t, b = p;
    } else if (hsv.hue < 120) {
        r = q, g = v, b = p;
    } else if (hsv.hue < 180) {
        r = p, g = v, b = t;
    } else if (hsv.hue < 240) {
        r = p, g = q, b = v;
    } else if (hsv.hue < 300) {
        r = t, g = p, b = v;
    } else {
        // The truncation taken after the subtraction here.
        r = v, g = p, b = (v * static_cast<int>(255 - s * f / 60.0)) / 255;
    }
}

QColor ShadowOf(const QColor& bar) {
    Hsv hsv = RgbToHsv(bar.red(), bar.green(), bar.blue());
    hsv.value -= 50;
    int r = 0, g = 0, b = 0;
    HsvToRgb(hsv, r, g, b);
    return QColor(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
}

QStringList TezGraph::AxisLabels() const {
    return {QStringLiteral("0"), Grouped(static_cast<double>(MaxValue) / 2.0),
            Grouped(static_cast<double>(MaxValue))};
}

void TezGraph::Draw(QPainter& p, int width, int height) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(Font);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(BackColor);
    // 1. Background and frame.
    p.setPen(Qt::black);
    p.setBrush(BackColor);
    p.drawRect(0, 0, width - 1, height - 1);

    // 2. Title, bold and grey.
    QFont bold = Font;
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(QColor(80, 80, 80));
    const QFontMetrics titleMetrics(bold);
    TextAt(p, (width - titleMetrics.horizontalAdvance(Title)) / 2, Margin, Title);
    p.setFont(Font);
    p.setPen(Qt::black);

    // 3. The plot area.
    const int th = titleMetrics.height();
    const int top = th + 4 * Margin;
    const int bottom = height - (th + 2 * Margin);
    const int left = AxisLeft;
    const int h = bottom - top;
    if (MaxValue <= 0) {
        // No valid scale: the window refuses one before it gets here.
        p.restore();
        return;
    }

    // 4. The value axis and its three ticks.
    LineTo(p, {left, top}, {left, bottom});
    const int mid = bottom - (bottom - top) / 2;
    for (int y : {top, bottom, mid})
        LineTo(p, {left, y}, {left + 2, y});

    // 5. Grid lines, light grey, then the pen black again.
    p.setPen(QColor(240, 240, 240));
    for (int i = 0; i <= 10; ++i) {
        const int y = bottom - RoundEven(i * (h / 10.0));
        LineTo(p, {left + 3, y}, {width - Margin, y});
    }
    p.setPen(Qt::black);
    // 6. The base line.
    LineTo(p, {left, bottom}, {width - Margin, bottom});

    // 7. Axis labels, ending Margin pixels left of the axis.
    const QFontMetrics fm(Font);
    auto rightAligned = [&](const QString& text, int y) {
        p.setFont(FittingFont(Font, text, left - Margin - 1));
        TextAt(p, left - Margin - QFontMetrics(p.font()).horizontalAdvance(text), y, text);
        p.setFont(Font);
    };
    const QStringList labels = AxisLabels();
    rightAligned(labels[0], bottom - fm.height() / 2);
    rightAligned(labels[2], top - fm.height() / 2);
    rightAligned(UnitCaption, top - fm.height() / 2 - fm.height() - Margin);
    rightAligned(labels[1], (bottom - top) / 2 + top - fm.height() / 2);

    // 8. The bars, each with a four-pixel shadow; their captions come after the limit line,
    //    so that the line never runs through a value.
    struct BarCaptions {
        int x;
        int top;
        QString label;
        QString value;
    };
    std::vector<BarCaptions> captions;
    const QColor shadow = ShadowOf(BarColor);
    for (int k = 0; k < Data.size(); ++k) {
        // The value, a comma, the label: the value is plain digits, so the first comma is
        // where the comma rules split the line.
        const QString valueText = Data[k].section(QLatin1Char(','), 0, 0).trimmed();
        const QString label = Data[k].section(QLatin1Char(','), 1).trimmed();
        int x = left + BarStep / 2 + BarStep * k;
        const double v = valueText.toDouble();
        int y = RoundEven(bottom - v / static_cast<double>(MaxValue) * h);
        const int barTop = y;
        const int barX = x;
        p.setPen(Qt::NoPen);
        p.setBrush(shadow);
        for (int s = 0; s < 4; ++s) {
            ++x;
            ++y;
            if (y < bottom)
                p.drawRect(QRect(QPoint(x, y), QPoint(x + BarWidth - 1, bottom - 1)));
        }
        p.setBrush(BarColor);
        if (barTop < bottom)
            p.drawRect(QRect(QPoint(barX, barTop), QPoint(barX + BarWidth - 1, bottom - 1)));
        captions.push_back({x, barTop, label, Grouped(v)});
    }

    // 9. The limit line: across each bar's step, with a riser where the next step differs;
    //    a limit above the scale runs along the top.
    bool anyLimit = false;
    QPen limitPen(LimitColor, 2, Qt::DashLine);
    p.setPen(limitPen);
    p.setBrush(Qt::NoBrush);
    // The previous step's height; -1 after a bar without a limit.
    int previousY = -1;
    for (size_t k = 0; k < Limits.size() && k < static_cast<size_t>(Data.size()); ++k) {
        if (!Limits[k]) {
            previousY = -1;
            continue;
        }
        anyLimit = true;
        const double v = std::min(*Limits[k], static_cast<double>(MaxValue));
        const int y = RoundEven(bottom - std::max(v, 0.0) / static_cast<double>(MaxValue) * h);
        const int x0 = left + BarStep * static_cast<int>(k) + BarStep / 4;
        const int x1 = x0 + BarStep;
        if (previousY >= 0 && previousY != y)
            p.drawLine(x0, previousY, x0, y);
        p.drawLine(x0, y, x1, y);
        previousY = y;
    }
    // 10. Each bar's label below it and its value above it.
    p.setBrush(BackColor);
    p.setPen(Qt::black);
    for (const BarCaptions& bar : captions) {
        auto centred = [&](const QString& text, int at, bool above) {
            p.setFont(FittingFont(Font, text, BarStep - 2));
            const QFontMetrics m(p.font());
            TextAt(p, (BarWidth / 2 + bar.x) - m.horizontalAdvance(text) / 2,
                   above ? at - m.height() : at, text);
            p.setFont(Font);
        };
        centred(bar.label, bottom + Margin, false);
        centred(bar.value, bar.top - Margin, true);
    }
    if (anyLimit && !LimitCaption.isEmpty()) {
        p.setPen(LimitColor);
        const QString caption = QStringLiteral("--- ") + LimitCaption;
        TextAt(p, width - Margin - fm.horizontalAdvance(caption) - 2, Margin, caption);
    }
    p.restore();
}

}  // namespace yeargraph
