#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace platform {

// Moves a frameless window while the left button drags its title label, as a caption bar
// would. The label owns it.
class WindowDrag : public QObject {
public:
    // Dragging `handle` moves `handle->window()`.
    static void Install(QWidget* handle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WindowDrag(QWidget* handle);
    QWidget* handle_;
    QPoint offset_;
};

}  // namespace platform
