#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ledger {

// A small comma-separated table over a file's lines, split with the ledger's line rules.
// Rows are the file's lines; a line ending in a comma keeps its trailing empty field.
class TEcsv {
public:
    // Replaces the table by the lines of the file; a missing file gives no rows.
    // Throws FileError when the file exists but cannot be read.
    void Load(const std::filesystem::path& path);

    int RowCount() const { return static_cast<int>(lines_.size()); }
    // The largest number of fields of any line; 0 for no lines.
    int ColCount() const;
    // Field `col` of line `row`; empty when either does not exist.
    std::string Cell(int col, int row) const;

private:
    std::vector<std::string> lines_;
    mutable std::vector<std::string> fields_;  // the fields of the line split last
};

}  // namespace ledger
