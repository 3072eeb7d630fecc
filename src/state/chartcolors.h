#pragma once

#include <QColor>
#include <array>

namespace state {

// The 33 colours the graphs take by index: twenty fixed ones, then thirteen drawn from a
// linear congruential generator that always starts from 0, so they never change.
std::array<QColor, 33> MakeChartColors();

}  // namespace state
