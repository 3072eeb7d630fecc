#pragma once

#include <QLocalServer>
#include <QString>

namespace platform {

// Holds a name that only one running process can hold: a local server listening on an
// abstract-namespace socket. The system releases it when the process ends in any way,
// so a crash never leaves the program locked out.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString& name);
    // False when another process holds the name.
    bool acquired() const { return acquired_; }

private:
    QLocalServer server_;
    bool acquired_ = false;
};

}  // namespace platform
