#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <array>

namespace skin {

// The eleven icons of the fixed categories, cut from the 198 x 16 strip: icon k is the 18 x 16
// piece at x 18 k. The strip's pixel (0, 0) gives the colour drawn as transparent.
struct BuiltinIcons {
    static constexpr int kCount = 11;

    std::array<QImage, kCount> pieces;
    QColor background;

    static BuiltinIcons FromStrip(const QImage& strip);
    static BuiltinIcons Builtin();
};

// A picture drawn with `key` as its transparent colour.
QPixmap KeyedPixmap(const QImage& image, const QColor& key);

}  // namespace skin
