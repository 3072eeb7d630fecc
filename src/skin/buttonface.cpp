#include "skin/buttonface.h"

#include <QAbstractButton>
#include <QIcon>
#include <QImage>

namespace skin {

void DressButton(QAbstractButton* button, const QString& glyph) {
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral(
        "QToolButton { border: none; background: transparent; }"
        "QToolButton:hover { background: rgba(255, 255, 255, 90); border-radius: 6px; }"
        "QToolButton:pressed { background: rgba(74, 140, 220, 60); border-radius: 6px; }"
        "QToolButton:disabled { background: transparent; }"));
    if (glyph.isEmpty())
        return;
    const QString path = QStringLiteral(":/skin/%1.png").arg(glyph);
    button->setIcon(QIcon(path));
    button->setIconSize(QImage(path).size());
}

}  // namespace skin
