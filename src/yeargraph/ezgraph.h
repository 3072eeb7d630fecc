#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QPainter;

namespace yeargraph {

// Hue (0 to 359), delta (largest minus smallest component) and value (largest component),
// in whole numbers.
struct Hsv {
    int hue = 0;
    int delta = 0;
    int value = 0;
};
Hsv RgbToHsv(int r, int g, int b);
// The inverse, with the delta in the place of a saturation on the scale 0 to 255.
// Components may fall outside 0 to 255 for values below 50; the caller clamps.
void HsvToRgb(const Hsv& hsv, int& r, int& g, int& b);
// A bar's drop-shadow colour: the bar colour 50 darker in value, clamped into range.
QColor ShadowOf(const QColor& bar);

// TezGraph: a small bar chart. The caller sets the fields and calls Draw with a painter and
// the size to fill, so that one routine draws into a window, an image or a printer.
class TezGraph {
public:
    int BarStep = 40;
    int BarWidth = 20;
    QColor BarColor = QColor(255, 0, 0);
    QColor BackColor = QColor(255, 255, 245);
    QString Title;
    QString UnitCaption;
    QFont Font;
    int Margin = 5;
    int AxisLeft = 64;
    long long MaxValue = 100;  // must be above 0: Draw draws the frame alone otherwise
    QStringList Data;          // one line per bar: value, a comma, the label ("12000,1月")
    // A limit per bar (a budget), drawn as a stepped line across the bars with its caption in
    // the corner; none where a bar has no value here. Empty: no line.
    std::vector<std::optional<double>> Limits;
    QColor LimitColor = QColor(210, 40, 40);
    QString LimitCaption;

    void Draw(QPainter& painter, int width, int height) const;
    // The value axis's labels: "0", half the scale and the scale, as "#,0".
    QStringList AxisLabels() const;
};

}  // namespace yeargraph
