#include "skin/buttonface.h"

#include "platform/fonts.h"

#include <QAbstractButton>
#include <QEvent>
#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionToolButton>
#include <QToolButton>

namespace skin {
namespace {

// Paints a dressed button: its face alone, lit a little under the pointer and tinted while
// pressed. Painted here rather than through a style sheet, which would put the whole
// window under the style sheet machinery and cost the start several milliseconds.
class FacePainter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        auto* button = static_cast<QAbstractButton*>(watched);
        QPainter p(button);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(button->rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        if (button->isEnabled() && button->isDown()) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(74, 140, 220, 60));
            p.drawRoundedRect(area, 6, 6);
        } else if (button->isEnabled() && button->underMouse()) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 90));
            p.drawRoundedRect(area, 6, 6);
        }
        const QIcon icon = button->icon();
        if (!icon.isNull()) {
            const QSize size = button->iconSize();
            const QRect target(QPoint((button->width() - size.width()) / 2,
                                      (button->height() - size.height()) / 2),
                               size);
            icon.paint(&p, target, Qt::AlignCenter,
                       button->isEnabled() ? QIcon::Normal : QIcon::Disabled);
        }
        return true;
    }
};

}  // namespace

void DressButton(QAbstractButton* button, const QString& glyph) {
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    button->setAttribute(Qt::WA_Hover);
    static FacePainter* painter = new FacePainter();
    button->installEventFilter(painter);
    if (glyph.isEmpty())
        return;
    const QString path = QStringLiteral(":/skin/%1.png").arg(glyph);
    button->setIcon(QIcon(path));
    // The face's size from the file's header; the picture is decoded when first painted.
    button->setIconSize(QImageReader(path).size());
}

QPushButton* MakeTextButton(QWidget* parent, const QString& text, const QRect& geometry,
                            bool flat) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(geometry);
    button->setFont(platform::UiFont(12, true));
    button->setFlat(flat);
    button->setAutoDefault(false);
    return button;
}

}  // namespace skin
