#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace service {

// The entries kept for each ID, in a folder of their own under the store's root, named by the
// ID's bytes in hexadecimal so that no ID can name a path ("../x" is just "2e2e2f78"). A folder
// holds "password" (a salted crypt(3) hash, never the password) and "entries.csv" (the lines
// the program will import, CP932, CR LF). One request at a time holds the store: the object
// takes an exclusive lock on the root's "lock" file for its whole life.
class Store {
public:
    // Creates the root when missing. Throws std::runtime_error with the reason.
    explicit Store(std::filesystem::path root);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    enum class Access { Granted, Refused };
    // An ID that exists, with its password.
    Access Check(std::string_view id, std::string_view password) const;
    // Same, and an ID seen for the first time is registered with this password.
    Access CheckOrRegister(std::string_view id, std::string_view password);

    // The ID's lines as kept (empty for none).
    std::string Entries(std::string_view id) const;
    // Adds one line. Throws std::runtime_error.
    void Append(std::string_view id, std::string_view line);
    // Forgets exactly the bytes `sent` at the start of the entries: what was added since they
    // were read stays. Throws std::runtime_error.
    void RemoveSent(std::string_view id, std::string_view sent);

private:
    std::filesystem::path Folder(std::string_view id) const;

    std::filesystem::path root_;
    int lockFd_ = -1;
};

}  // namespace service
