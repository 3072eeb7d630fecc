#pragma once

#include <filesystem>

namespace platform {

// One running program per book: an exclusive flock on the lock file ".vantrel.lock" in the
// book's folder, held while this object lives. The system releases it when the process ends
// in any way (SIGKILL included), so a crash never locks the book out. Other books, and
// other users with books of their own, run freely beside it.
//
// Where the lock file cannot be made (a read-only book), the folder itself is locked
// instead; a book that is not there at all cannot be held by anyone, so nothing is guarded.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const std::filesystem::path& bookFolder);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // False when another process holds the book.
    bool acquired() const { return acquired_; }

    static constexpr const char* kLockFileName = ".vantrel.lock";

private:
    int fd_ = -1;
    bool acquired_ = false;
};

}  // namespace platform
