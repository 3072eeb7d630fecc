#include "platform/dialogkeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

DialogKeys::DialogKeys(QWidget& dialog) : QObject(&dialog) {
    setObjectName(QStringLiteral("dialogKeys"));
    // Keys a focused control does not accept travel up to the dialog, through this filter,
    // before the dialog's own handling (which would reject on Escape).
    dialog.installEventFilter(this);
}

DialogKeys& DialogKeys::On(QWidget& dialog) {
    auto* keys =
        dialog.findChild<DialogKeys*>(QStringLiteral("dialogKeys"), Qt::FindDirectChildrenOnly);
    return keys ? *keys : *new DialogKeys(dialog);
}

DialogKeys& DialogKeys::Enter(std::function<void()> command) {
    Key(Qt::Key_Return, command);
    return Key(Qt::Key_Enter, command);
}

DialogKeys& DialogKeys::Key(int key, std::function<void()> command) {
    commands_[key] = std::move(command);
    return *this;
}

bool DialogKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto found = commands_.find(key->key());
        if (found != commands_.end() &&
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0) {
            key->accept();
            found->second();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace platform
