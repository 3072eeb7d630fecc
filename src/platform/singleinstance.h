#pragma once

#include <QString>

namespace platform {

// Holds a name that only one running process can hold: a Unix socket bound to that name in
// the abstract namespace. The system releases it when the process ends in any way, so a
// crash never leaves the program locked out. (A plain socket, not the toolkit's network
// module: that module alone cost the start a dozen libraries.)
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString& name);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // False when another process holds the name.
    bool acquired() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace platform
