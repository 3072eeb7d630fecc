#include "state/chartcolors.h"

#include <cstdint>

namespace state {

std::array<QColor, 33> MakeChartColors() {
    std::array<QColor, 33> colors = {
        QColor(107, 107, 255), QColor(73, 220, 0),    QColor(255, 211, 62),  QColor(255, 85, 0),
        QColor(255, 142, 212), QColor(180, 242, 120), QColor(243, 192, 34),  QColor(169, 220, 103),
        QColor(53, 216, 118),  QColor(42, 194, 232),  QColor(158, 158, 255), QColor(164, 181, 156),
        QColor(255, 235, 166), QColor(255, 131, 69),  QColor(255, 255, 244), QColor(226, 243, 209),
        QColor(180, 217, 195), QColor(191, 224, 232), QColor(222, 209, 255), QColor(255, 223, 207)};
    uint32_t state = 0;
    auto draw = [&state] {
        state = state * 134775813u + 1u;  // wraps modulo 2^32
        return static_cast<int>((uint64_t(state) * 255u) >> 32);
    };
    for (size_t i = 20; i < colors.size(); ++i) {
        int blue = draw();
        int green = draw();
        int red = draw();
        colors[i] = QColor(red, green, blue);
    }
    return colors;
}

}  // namespace state
