#include "skin/builtinicons.h"

#include <QBitmap>

namespace skin {

BuiltinIcons BuiltinIcons::FromStrip(const QImage& strip) {
    BuiltinIcons icons;
    const QImage rgb = strip.convertToFormat(QImage::Format_RGB32);
    icons.background = rgb.isNull() ? QColor(Qt::white) : rgb.pixelColor(0, 0);
    for (int k = 0; k < kCount; ++k)
        icons.pieces[static_cast<size_t>(k)] = rgb.copy(18 * k, 0, 18, 16);
    return icons;
}

BuiltinIcons BuiltinIcons::Builtin() {
    return FromStrip(QImage(QStringLiteral(":/skin/icons.png")));
}

QPixmap KeyedPixmap(const QImage& image, const QColor& key) {
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QPixmap pixmap = QPixmap::fromImage(rgb);
    pixmap.setMask(QBitmap::fromImage(rgb.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    return pixmap;
}

}  // namespace skin
