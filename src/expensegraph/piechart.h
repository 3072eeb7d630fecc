#pragma once

#include "ledger/amount.h"

#include <QColor>
#include <QFont>

#include <array>
#include <vector>

class QPainter;

namespace expensegraph {

// Draws the expense pie of a summary on a canvas `width` wide: white, then an ellipse half
// as high as wide whose sectors run clockwise from 12 o'clock, the largest total first in
// colour 0; "支出がありません" when there is no expense. `ascending` holds the totals in the
// summary's order (smallest first).
void DrawExpensePie(QPainter& painter, int width, int height,
                    const std::vector<ledger::Amount>& ascending,
                    const std::array<QColor, 33>& colors, const QFont& font);

}  // namespace expensegraph
