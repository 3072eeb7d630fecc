#include "windowdrag.h"

#include <QMouseEvent>
#include <QWidget>

namespace platform {

void WindowDrag::Install(QWidget* handle) {
    handle->installEventFilter(new WindowDrag(handle));
}

WindowDrag::WindowDrag(QWidget* handle) : QObject(handle), handle_(handle) {}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != handle_)
        return false;
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseMove) {
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    QWidget* window = handle_->window();
    const QPoint global = mouse->globalPosition().toPoint();
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        offset_ = global - window->frameGeometry().topLeft();
        return true;
    }
    if (event->type() == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton)) {
        window->move(global - offset_);
        return true;
    }
    return false;
}

}  // namespace platform
