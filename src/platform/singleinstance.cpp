#include "singleinstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

namespace platform {

SingleInstanceGuard::SingleInstanceGuard(const QString& name) {
    const QByteArray bytes = name.toUtf8();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // Abstract namespace: a leading NUL, then the name, with no file behind it.
    if (static_cast<size_t>(bytes.size()) + 1 > sizeof address.sun_path)
        return;
    std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<size_t>(bytes.size()));
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    // Binding fails with EADDRINUSE while another process holds the name.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        ::listen(fd, 1) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace platform
