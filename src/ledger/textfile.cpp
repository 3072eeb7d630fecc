#include "textfile.h"

#include "fileerror.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace ledger {
namespace {

// Closes a descriptor when the scope is left, whatever way.
class FdGuard {
public:
    explicit FdGuard(int fd) : fd_(fd) {}
    ~FdGuard() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the error close found (NFS and full disks report late).
    int Close() {
        int r = ::close(fd_);
        fd_ = -1;
        return r == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// The permissions a newly created file gets: those of the file it replaces, or what the
// umask leaves of rw-rw-rw-.
mode_t TargetMode(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool AppendWholeFile(const std::filesystem::path& path, std::string& out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        throw FileError(path, errno);
    }
    FdGuard guard(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw FileError(path, errno);
    if (S_ISDIR(st.st_mode))
        throw FileError(path, EISDIR);
    // Straight into the string at the size the file has; a file that grows meanwhile is
    // read on to its end, one that shrinks is cut to what was read.
    const size_t start = out.size();
    size_t filled = start;
    out.resize(start + static_cast<size_t>(st.st_size) + 1);
    for (;;) {
        if (filled == out.size())
            out.resize(out.size() + 65536);
        ssize_t n = ::read(fd, out.data() + filled, out.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            out.resize(start);
            throw FileError(path, errno);
        }
        if (n == 0)
            break;
        filled += static_cast<size_t>(n);
    }
    out.resize(filled);
    return true;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::string bytes;
    if (!AppendWholeFile(path, bytes))
        return std::nullopt;
    return bytes;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        return {};
    return SplitTextLines(*bytes);
}

std::string JoinLines(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

void WriteLinesAtomic(const std::filesystem::path& path, const std::vector<std::string>& lines,
                      SyncMode sync) {
    WriteFileAtomic(path, JoinLines(lines), sync);
}

void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes, SyncMode sync) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    // ".name.XXXXXX": hidden, and known to ProgramFolders::RemoveLeftoverTemporaries, which
    // clears what a killed write leaves behind.
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw FileError(path, errno);
    FdGuard guard(fd);
    const std::string tempPath = pattern;
    auto fail = [&](int error) {
        ::unlink(tempPath.c_str());
        throw FileError(path, error);
    };

    if (::fchmod(fd, TargetMode(path)) != 0)
        fail(errno);
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (sync == SyncMode::Durable && ::fsync(fd) != 0)
        fail(errno);
    if (int error = guard.Close(); error != 0)
        fail(error);
    if (::rename(tempPath.c_str(), path.c_str()) != 0)
        fail(errno);
    if (sync == SyncMode::Durable) {
        // The rename itself must reach the disk too, or a power cut can bring the old
        // file back. A folder that cannot be opened or synced loses nothing written.
        int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            ::fsync(dirFd);
            ::close(dirFd);
        }
    }
}

}  // namespace ledger
