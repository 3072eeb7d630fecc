#include "fonts.h"

#include <QString>
#include <QStringList>

namespace platform {

void InstallFontSubstitutions() {
    QFont::insertSubstitutions(QString::fromUtf16(kUiFontFamily),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Sans Serif")});
}

QFont UiFont(int pixelSize, bool bold) {
    QFont font(QString::fromUtf16(kUiFontFamily));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace platform
