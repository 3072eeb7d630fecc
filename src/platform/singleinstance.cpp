#include "singleinstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

SingleInstanceGuard::SingleInstanceGuard(const std::filesystem::path& bookFolder) {
    const std::filesystem::path lockFile = bookFolder / kLockFileName;
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)  // a read-only folder without the file: the folder is the lock
        fd = ::open(bookFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        // No book there: nothing to guard, and the start reports the missing book itself.
        acquired_ = true;
        return;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return;  // EWOULDBLOCK: another process holds the book
    }
    fd_ = fd;
    acquired_ = true;
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace platform
