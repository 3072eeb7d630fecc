#include "store.h"

#include "ledger/exchangetext.h"
#include "ledger/fileerror.h"
#include "ledger/textfile.h"

#include <crypt.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace service {

namespace {

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

[[noreturn]] void Fail(const std::filesystem::path& path, int error) {
    throw std::runtime_error(path.string() + ": " + std::strerror(error));
}

std::string ReadOrEmpty(const std::filesystem::path& path) {
    try {
        return ledger::ReadWholeFile(path).value_or(std::string());
    } catch (const ledger::FileError& e) {
        throw std::runtime_error(e.what());
    }
}

void Write(const std::filesystem::path& path, std::string_view bytes) {
    try {
        ledger::WriteFileAtomic(path, bytes);
    } catch (const ledger::FileError& e) {
        throw std::runtime_error(e.what());
    }
}

// A salted yescrypt hash at libxcrypt's default cost, as Debian's /etc/shadow keeps: slow
// enough that a stolen store does not give its passwords away cheaply.
std::string HashPassword(std::string_view password) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    if (crypt_gensalt_rn("$y$", 0, nullptr, 0, salt, sizeof salt) == nullptr)
        throw std::runtime_error(std::string("crypt_gensalt: ") + std::strerror(errno));
    crypt_data data{};
    const std::string text(password);
    const char* hash = crypt_rn(text.c_str(), salt, &data, sizeof data);
    if (hash == nullptr || hash[0] == '*')
        throw std::runtime_error("crypt failed");
    return hash;
}

// Also checks the SHA-512 hashes that earlier versions kept.
bool PasswordMatches(std::string_view password, const std::string& stored) {
    crypt_data data{};
    const std::string text(password);
    const char* hash = crypt_rn(text.c_str(), stored.c_str(), &data, sizeof data);
    return hash != nullptr && hash[0] != '*' && stored == hash;
}

// Hashed against for an ID that does not exist, so that its refusal takes as long as a wrong
// password's and the time does not tell which IDs exist.
constexpr const char* kUnknownIdSetting = "$y$j9T$aSQbqJ3b3X5R9FqUuZ1bL.$";

// The ID's lock file: one of 256, by a hash of the ID, so that the folder of lock files stays
// small whatever IDs are tried.
std::string LockName(std::string_view id) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (char c : id) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return Hex(std::string(1, static_cast<char>(hash & 0xFF)));
}

std::string ReadAll(int fd) {
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(bytes.size()))) > 0;)
        bytes.append(buffer, static_cast<size_t>(n));
    return bytes;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        Fail(folder, errno);
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0)
        Fail(folder, error);
}

// The attempts a lock file holds: one "hexid count first" line per ID that failed lately.
struct Attempts {
    std::string hexId;
    int count = 0;
    long long first = 0;
};

std::vector<Attempts> ReadAttempts(int lockFd) {
    std::istringstream lines(ReadAll(lockFd));
    std::vector<Attempts> all;
    for (Attempts a; lines >> a.hexId;) {
        lines >> a.count >> a.first;
        all.push_back(a);
    }
    return all;
}

}  // namespace

Store::Store(std::filesystem::path root, std::string id, std::time_t now)
    : root_(std::move(root)), id_(std::move(id)), now_(now) {
    std::error_code ec;
    std::filesystem::create_directories(root_ / "locks", ec);
    if (ec)
        throw std::runtime_error((root_ / "locks").string() + ": " + ec.message());
    const std::filesystem::path lockPath = root_ / "locks" / LockName(id_);
    lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0)
        Fail(lockPath, errno);
    while (::flock(lockFd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            ::close(lockFd_);
            Fail(lockPath, error);
        }
    }
    // This ID's failed attempts within the window.
    const std::string hex = Hex(id_);
    for (const Attempts& a : ReadAttempts(lockFd_)) {
        if (a.hexId == hex && now_ - static_cast<std::time_t>(a.first) < kFailureWindow) {
            failures_ = a.count;
            firstFailure_ = static_cast<std::time_t>(a.first);
        }
    }
    RemoveLeftovers();
}

Store::~Store() {
    ::close(lockFd_);  // releases the lock
}

std::filesystem::path Store::Folder() const {
    return root_ / ("id-" + Hex(id_));
}

bool Store::Exists() const {
    return !ReadOrEmpty(Folder() / "password").empty();
}

std::time_t Store::RetryAfter() const {
    return failures_ >= kMaxFailures
               ? std::max<std::time_t>(1, firstFailure_ + kFailureWindow - now_)
               : 0;
}

Store::Access Store::Check(std::string_view password) {
    if (RetryAfter() > 0)
        return Access::Throttled;
    const std::string stored = ReadOrEmpty(Folder() / "password");
    const bool matches = !stored.empty() ? PasswordMatches(password, stored)
                                         : (PasswordMatches(password, kUnknownIdSetting), false);
    if (!matches) {
        RecordFailure();
        return Access::Refused;
    }
    ClearFailures();
    return Access::Granted;
}

Store::Access Store::CheckOrRegister(std::string_view password) {
    if (RetryAfter() > 0)
        return Access::Throttled;
    if (Exists())
        return Check(password);
    const std::filesystem::path folder = Folder();
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    if (ec)
        throw std::runtime_error(folder.string() + ": " + ec.message());
    Write(folder / "password", HashPassword(password));
    return Access::Granted;
}

void Store::RecordFailure() {
    if (failures_ == 0 || now_ - firstFailure_ >= kFailureWindow) {
        failures_ = 0;
        firstFailure_ = now_;
    }
    ++failures_;
    WriteAttempts();
}

void Store::ClearFailures() {
    if (failures_ == 0)
        return;
    failures_ = 0;
    WriteAttempts();
}

// Rewrites the lock file's attempts: this ID's current count, and those of the other IDs
// whose window has not passed (the rest are forgotten, so the file stays small). A kill half
// way loses only attempts, never entries.
void Store::WriteAttempts() {
    const std::string hex = Hex(id_);
    std::string kept;
    for (const Attempts& a : ReadAttempts(lockFd_)) {
        if (a.hexId != hex && now_ - static_cast<std::time_t>(a.first) < kFailureWindow)
            kept += a.hexId + ' ' + std::to_string(a.count) + ' ' + std::to_string(a.first) + '\n';
    }
    if (failures_ > 0) {
        kept += hex + ' ' + std::to_string(failures_) + ' ' +
                std::to_string(static_cast<long long>(firstFailure_)) + '\n';
    }
    if (::ftruncate(lockFd_, 0) != 0 ||
        ::pwrite(lockFd_, kept.data(), kept.size(), 0) != static_cast<ssize_t>(kept.size())) {
        Fail(root_ / "locks" / LockName(id_), errno);
    }
}

// A write killed half way leaves ".name.XXXXXX" in the ID's folder; none of them belongs to a
// writer that still runs, since this one holds the ID's lock.
void Store::RemoveLeftovers() const {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(Folder(), ec)) {
        const std::string name = entry.path().filename().string();
        for (const char* target : {".entries.csv.", ".sent.csv.", ".password."}) {
            if (name.starts_with(target) && name.size() == std::strlen(target) + 6) {
                std::error_code ignored;
                std::filesystem::remove(entry.path(), ignored);
            }
        }
    }
}

std::string Store::Entries() const {
    return ReadOrEmpty(Folder() / "entries.csv");
}

bool Store::Append(std::string_view line) {
    const std::filesystem::path path = Folder() / "entries.csv";
    std::error_code ec;
    const bool created = !std::filesystem::exists(path, ec);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        Fail(path, errno);
    auto fail = [&](int error) {
        ::close(fd);
        Fail(path, error);
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        fail(errno);
    // An append killed half way leaves a line without its break. It was never confirmed to
    // the phone, and the import would leave it out: it goes, so that this line starts clean.
    // (A last line of more than 64 KiB is no line the service wrote, and is left alone.)
    off_t size = st.st_size;
    char last = '\n';
    if (size > 0 && ::pread(fd, &last, 1, size - 1) != 1)
        fail(errno == 0 ? EIO : errno);
    if (last != '\n') {
        const off_t from = std::max<off_t>(0, size - 64 * 1024);
        std::string tail(static_cast<size_t>(size - from), '\0');
        if (::pread(fd, tail.data(), tail.size(), from) != static_cast<ssize_t>(tail.size()))
            fail(errno == 0 ? EIO : errno);
        const size_t lastBreak = tail.rfind('\n');
        if (lastBreak != std::string::npos)
            size = from + static_cast<off_t>(lastBreak) + 1;
        else if (from == 0)
            size = 0;
        if (size != st.st_size && ::ftruncate(fd, size) != 0)
            fail(errno);
    }
    const std::string added = std::string(line) + "\r\n";
    if (static_cast<size_t>(size) + added.size() > ledger::kMaxExchangeBytes) {
        ::close(fd);
        return false;
    }
    if (::pwrite(fd, added.data(), added.size(), size) != static_cast<ssize_t>(added.size()))
        fail(errno == 0 ? ENOSPC : errno);
    if (::fdatasync(fd) != 0)
        fail(errno);
    ::close(fd);
    if (created)
        SyncFolder(Folder());
    return true;
}

void Store::RemoveSent(std::string_view sent) {
    const std::string entries = Entries();
    if (!std::string_view(entries).starts_with(sent))
        throw std::runtime_error("the entries changed while they were sent");
    if (sent.empty()) {
        std::error_code ec;
        std::filesystem::remove(Folder() / "sent.csv", ec);
        return;
    }
    Write(Folder() / "sent.csv", sent);
    Write(Folder() / "entries.csv", std::string_view(entries).substr(sent.size()));
}

std::string Store::LastBatch() const {
    const std::filesystem::path path = Folder() / "sent.csv";
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    if (now_ - st.st_mtime > static_cast<std::time_t>(kBatchDays) * 24 * 60 * 60) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        return {};
    }
    return ReadOrEmpty(path);
}

}  // namespace service
