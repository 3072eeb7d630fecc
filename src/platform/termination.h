#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// Turns SIGTERM, SIGHUP and SIGINT (a session ending, a kill, Ctrl+C in a terminal) into a
// signal in the event loop, so the program can close the way the close button does and
// keep what was typed. Create at most one.
class TerminationWatcher : public QObject {
    Q_OBJECT
public:
    explicit TerminationWatcher(QObject* parent = nullptr);
    ~TerminationWatcher() override;

signals:
    void terminationRequested();

private:
    void OnReadable();
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform
