#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace service {

// The entries kept for one ID, in a folder of its own under the store's root, named by the
// ID's bytes in hexadecimal so that no ID can name a path ("../x" is just "2e2e2f78"). A folder
// holds "password" (a salted yescrypt hash, never the password), "entries.csv" (the lines the
// program will import, CP932, CR LF) and "sent.csv" (the last batch a removing get sent, kept
// so that an import that broke off can fetch it again).
//
// One request at a time holds an ID: the object takes an exclusive lock for its whole life on
// one of 256 lock files under "locks", chosen by the ID, so that a large ID never makes
// another wait. While it holds the lock it removes what a killed write of this ID left.
class Store {
public:
    // Creates what is missing and waits for the ID's lock. Throws std::runtime_error with the
    // path and the reason.
    Store(std::filesystem::path root, std::string id, std::time_t now);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // Guessing is slowed: after kMaxFailures wrong passwords (or requests for an ID that does
    // not exist) within kFailureWindow seconds, every request for the ID is Throttled until
    // the window has passed. Unknown IDs are answered as slowly as known ones.
    static constexpr int kMaxFailures = 10;
    static constexpr std::time_t kFailureWindow = 60;
    enum class Access { Granted, Refused, Throttled };
    // An ID that exists, with its password.
    Access Check(std::string_view password);
    // Same, and an ID seen for the first time is registered with this password.
    Access CheckOrRegister(std::string_view password);
    // Seconds until a throttled ID is answered again.
    std::time_t RetryAfter() const;

    // The ID's lines as kept (empty for none).
    std::string Entries() const;
    // Adds one line (without its line break) durably, without rewriting what is kept. False,
    // and nothing added, when the entries would grow past what the import can fetch at once.
    // Throws std::runtime_error.
    bool Append(std::string_view line);
    // Forgets exactly the bytes `sent` at the start of the entries, what was added since they
    // were read stays, and keeps them as the last batch sent (replacing the one before; none
    // when `sent` is empty). The batch is written before the entries change, so a kill in
    // between leaves the lines in both places rather than in neither. Throws std::runtime_error.
    void RemoveSent(std::string_view sent);
    // The last batch a removing get sent, kept for kBatchDays days.
    static constexpr int kBatchDays = 30;
    std::string LastBatch() const;

private:
    std::filesystem::path Folder() const;
    bool Exists() const;
    void RecordFailure();
    void ClearFailures();
    void WriteAttempts();
    void RemoveLeftovers() const;

    std::filesystem::path root_;
    std::string id_;
    std::time_t now_;
    int lockFd_ = -1;
    // The failed attempts of this ID in the current window, kept in the lock file beside those
    // of the other IDs that share it: "hexid count first" lines.
    int failures_ = 0;
    std::time_t firstFailure_ = 0;
};

}  // namespace service
