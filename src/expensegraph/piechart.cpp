#include "expensegraph/piechart.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace expensegraph {
namespace {

int RoundEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}

// One filled sector covering bearings 0 to `angle` degrees, clockwise from 12 o'clock, of the
// ellipse in (0, 0)-(width, round(width / 2)); a red pixel marks where it ends.
void DrawSector(QPainter& p, int width, int angle) {
    const int r = RoundEven((width - 1) / 2.0);
    const double theta = (angle - 180) * std::numbers::pi / 180.0;
    const double x = r - r * std::sin(theta);
    const double y = r + r * std::cos(theta);
    const QPoint end(RoundEven(x), RoundEven(y / 2));
    const QRectF ellipse(0, 0, width, RoundEven(width / 2.0));
    if (angle % 360 == 0) {
        p.drawEllipse(ellipse);
    } else {
        // The sector runs from the radial through `end` counter-clockwise to the top. The
        // toolkit takes angles on the ellipse as if it were a circle, so the end point's
        // angle is taken in the ellipse's own scale.
        const QPointF centre = ellipse.center();
        const double startDegrees = std::atan2(-(end.y() - centre.y()) / (ellipse.height() / 2),
                                               (end.x() - centre.x()) / (ellipse.width() / 2)) *
                                    180.0 / std::numbers::pi;
        double span = 90.0 - startDegrees;
        while (span < 0)
            span += 360.0;
        while (span >= 360.0)
            span -= 360.0;
        p.drawPie(ellipse, static_cast<int>(std::lround(startDegrees * 16)),
                  static_cast<int>(std::lround(span * 16)));
    }
    p.save();
    p.setPen(QColor(255, 0, 0));
    p.drawPoint(end);
    p.restore();
}

}  // namespace

void DrawExpensePie(QPainter& p, int width, int height,
                    const std::vector<ledger::Amount>& ascending,
                    const std::array<QColor, 33>& colors, const QFont& font) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(QRect(0, 0, width, height), Qt::white);
    p.setBrush(Qt::white);
    p.setPen(Qt::black);
    ledger::Amount total;
    for (ledger::Amount a : ascending)
        total += a;
    if (total == ledger::Amount()) {
        p.setFont(font);
        const QString text = QStringLiteral("支出がありません");
        const QFontMetrics fm(font);
        p.drawText(QPoint((width - fm.horizontalAdvance(text)) / 2, 50 + fm.ascent()), text);
        p.restore();
        return;
    }
    if (total.IsNegative()) {
        p.restore();
        return;
    }
    DrawSector(p, width, 0);
    const int n = static_cast<int>(ascending.size());
    const double whole = static_cast<double>(total.raw());
    for (int i = n - 1; i >= 0; --i) {
        int cum = 0;
        // The i + 1 largest entries, each (share × 360, truncated) + 1 degrees. Each later,
        // smaller sector paints over the earlier ones.
        for (int j = n - 1; j >= n - 1 - i; --j) {
            const double share =
                static_cast<double>(ascending[static_cast<size_t>(j)].raw()) / whole;
            cum += static_cast<int>(share * 360.0) + 1;
        }
        if (cum >= 361)
            cum = 360;
        p.setBrush(colors[static_cast<size_t>(i % 33)]);
        DrawSector(p, width, cum);
    }
    p.restore();
}

}  // namespace expensegraph
