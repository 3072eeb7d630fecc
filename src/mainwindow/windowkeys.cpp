#include "mainwindow/windowkeys.h"

#include "mainwindow/daygrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace mainwindow {

WindowKeys::WindowKeys(QWidget& window, DayGrid& grid, QMenu& windowMenu, QToolButton& menuButton,
                       Paging paging)
    : QObject(&window),
      window_(window),
      grid_(grid),
      windowMenu_(windowMenu),
      menuButton_(menuButton),
      paging_(std::move(paging)) {
    qApp->installEventFilter(this);
}

WindowKeys::~WindowKeys() {
    qApp->removeEventFilter(this);
}

void WindowKeys::OpenWindowMenu() {
    QTimer::singleShot(0, &windowMenu_, [this] {
        if (windowMenu_.isVisible() && windowMenu_.activeAction() == nullptr)
            windowMenu_.setActiveAction(windowMenu_.actions().value(0));
    });
    windowMenu_.exec(menuButton_.mapToGlobal(QPoint(0, menuButton_.height())));
}

bool WindowKeys::OpenMenuByKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    const bool f10 = key.key() == Qt::Key_F10 && mods == Qt::NoModifier;
    const bool contextKey = (key.key() == Qt::Key_F10 && mods == Qt::ShiftModifier) ||
                            (key.key() == Qt::Key_Menu && mods == Qt::NoModifier);
    if (!f10 && !contextKey)
        return false;
    // In the grid (not in an open editor) the context key opens the grid's own menu.
    if (contextKey && QApplication::focusWidget() == &grid_ && grid_.OpenEditor() == nullptr) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QCoreApplication::sendEvent(&grid_, &menu);
        return true;
    }
    if (grid_.OpenEditor() != nullptr && !grid_.FinishEditing())
        return true;
    OpenWindowMenu();
    return true;
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &window_ ||
        QApplication::activeModalWidget() != nullptr) {
        return QObject::eventFilter(watched, event);
    }
    if (type == QEvent::KeyPress && QApplication::activePopupWidget() == nullptr &&
        OpenMenuByKey(*key)) {
        return true;
    }
    // Inside an open text editor Home moves the caret, as in any text field.
    QWidget* editor = grid_.OpenEditor();
    const bool inTextEditor = key->key() == Qt::Key_Home &&
                              qobject_cast<QLineEdit*>(editor) != nullptr &&
                              (widget == editor || editor->isAncestorOf(widget));
    const bool paging =
        !inTextEditor && (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown ||
                          key->key() == Qt::Key_Home);
    if (!paging || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0)
        return QObject::eventFilter(watched, event);
    if (type == QEvent::KeyPress && !key->isAutoRepeat())
        pagingKeyDown_ = key->key();
    if (type == QEvent::KeyRelease && !key->isAutoRepeat() &&
        std::exchange(pagingKeyDown_, 0) == key->key()) {
        if (key->key() == Qt::Key_PageUp)
            paging_.previousDay();
        if (key->key() == Qt::Key_PageDown)
            paging_.nextDay();
        if (key->key() == Qt::Key_Home)
            paging_.today();
    }
    return true;
}

}  // namespace mainwindow
