#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "textfile.h"

namespace ledger {

// An INI file kept as its lines, so that writing a key changes that one line and every
// section, key and comment the program does not know survives. Sections and keys are found
// without regard to letter case. Text is CP932 bytes, lines end in CR LF.
class IniFile {
public:
    // A missing file gives an empty one. Throws FileError when it exists but cannot be read.
    static IniFile Load(const std::filesystem::path& path);
    // The same from the file's bytes, and the bytes Save writes.
    static IniFile FromBytes(std::string_view bytes);
    std::string Bytes() const;

    // The value of a key, blanks around it and one pair of enclosing quotes removed.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    // A missing key or a value that is not a decimal integer gives the fallback.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // Read as an integer; true when it is not 0.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Sets a key: in place when it exists, else at the end of its section, and a missing
    // section is added at the end of the file.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    const std::vector<std::string>& Lines() const { return lines_; }
    // Writes the whole file (atomic replace). Throws FileError.
    void Save(const std::filesystem::path& path, SyncMode sync = SyncMode::Durable) const;

private:
    // Index of the section's header line, or npos.
    size_t FindSection(std::string_view section) const;
    // Index of the key's line inside the section starting after `header`, or npos.
    size_t FindKey(size_t header, std::string_view key) const;

    std::vector<std::string> lines_;
};

}  // namespace ledger
