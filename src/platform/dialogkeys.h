#pragma once

#include <QObject>

#include <functional>
#include <map>

class QWidget;

namespace platform {

// The keys of a dialog window: Escape, Enter and the like run the dialog's own commands when
// the control that has the focus leaves them unused (an open cell editor keeps its Escape, a
// list its arrows). Every dialog of the program takes its keys this one way.
//
//     platform::DialogKeys::On(*this).Escape([this] { reject(); }).Enter([this] { accept(); });
class DialogKeys : public QObject {
    Q_OBJECT
public:
    // The keys of `dialog`, made on first use and owned by it.
    static DialogKeys& On(QWidget& dialog);

    DialogKeys& Escape(std::function<void()> command) { return Key(Qt::Key_Escape, command); }
    // Return and the keypad's Enter alike.
    DialogKeys& Enter(std::function<void()> command);
    // Any other key, pressed without Ctrl or Alt.
    DialogKeys& Key(int key, std::function<void()> command);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit DialogKeys(QWidget& dialog);
    std::map<int, std::function<void()>> commands_;
};

}  // namespace platform
