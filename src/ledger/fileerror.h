#pragma once

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace ledger {

// A file or folder that could not be read or written. Carries the path, the system's error
// number (0 when the fault is in the file's content) and its reason, so that the window
// reporting it can say which file failed and why, in the user's language.
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path path, int error)
        : FileError(std::move(path), error, std::strerror(error)) {}
    FileError(std::filesystem::path path, int error, std::string reason)
        : std::runtime_error(path.string() + ": " + reason),
          path_(std::move(path)),
          error_(error),
          reason_(std::move(reason)) {}

    const std::filesystem::path& path() const { return path_; }
    // The errno value, or 0.
    int error() const { return error_; }
    const std::string& reason() const { return reason_; }

protected:
    // For a fault whose whole message is fixed text.
    struct FixedMessage {};
    FileError(std::filesystem::path path, int error, std::string message, FixedMessage)
        : std::runtime_error(message),
          path_(std::move(path)),
          error_(error),
          reason_(std::move(message)) {}

private:
    std::filesystem::path path_;
    int error_;
    std::string reason_;
};

}  // namespace ledger
