#include "store.h"

#include "ledger/fileerror.h"
#include "ledger/textfile.h"

#include <crypt.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

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

// A salted SHA-512 crypt(3) hash.
std::string HashPassword(std::string_view password) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    if (crypt_gensalt_rn("$6$", 0, nullptr, 0, salt, sizeof salt) == nullptr)
        throw std::runtime_error(std::string("crypt_gensalt: ") + std::strerror(errno));
    crypt_data data{};
    const std::string text(password);
    const char* hash = crypt_rn(text.c_str(), salt, &data, sizeof data);
    if (hash == nullptr || hash[0] == '*')
        throw std::runtime_error("crypt failed");
    return hash;
}

bool PasswordMatches(std::string_view password, const std::string& stored) {
    crypt_data data{};
    const std::string text(password);
    const char* hash = crypt_rn(text.c_str(), stored.c_str(), &data, sizeof data);
    return hash != nullptr && hash[0] != '*' && stored == hash;
}

}  // namespace

Store::Store(std::filesystem::path root) : root_(std::move(root)) {
    std::error_code ec;
    std::filesystem::create_directories(root_, ec);
    if (ec)
        throw std::runtime_error(root_.string() + ": " + ec.message());
    const std::string lockPath = (root_ / "lock").string();
    lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0)
        throw std::runtime_error(lockPath + ": " + std::strerror(errno));
    while (::flock(lockFd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            ::close(lockFd_);
            throw std::runtime_error(lockPath + ": " + std::strerror(error));
        }
    }
}

Store::~Store() {
    ::close(lockFd_);  // releases the lock
}

std::filesystem::path Store::Folder(std::string_view id) const {
    return root_ / ("id-" + Hex(id));
}

Store::Access Store::Check(std::string_view id, std::string_view password) const {
    const std::string stored = ReadOrEmpty(Folder(id) / "password");
    return !stored.empty() && PasswordMatches(password, stored) ? Access::Granted : Access::Refused;
}

Store::Access Store::CheckOrRegister(std::string_view id, std::string_view password) {
    const std::filesystem::path folder = Folder(id);
    if (!ReadOrEmpty(folder / "password").empty())
        return Check(id, password);
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    if (ec)
        throw std::runtime_error(folder.string() + ": " + ec.message());
    Write(folder / "password", HashPassword(password));
    return Access::Granted;
}

std::string Store::Entries(std::string_view id) const {
    return ReadOrEmpty(Folder(id) / "entries.csv");
}

void Store::Append(std::string_view id, std::string_view line) {
    std::string entries = Entries(id);
    entries.append(line);
    entries.append("\r\n");
    Write(Folder(id) / "entries.csv", entries);
}

void Store::RemoveSent(std::string_view id, std::string_view sent) {
    std::string entries = Entries(id);
    if (!std::string_view(entries).starts_with(sent))
        throw std::runtime_error("the entries changed while they were sent");
    Write(Folder(id) / "entries.csv", std::string_view(entries).substr(sent.size()));
}

}  // namespace service
