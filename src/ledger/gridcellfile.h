#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fileerror.h"
#include "textfile.h"

namespace ledger {

// A table of text cells as the category list is stored: a size line "cols,rows", one
// "cw index,width" line per column, then "col,row,text" for every non-empty cell. Text is
// CP932; line breaks inside a cell are stored as TAB (CR) and 0x08 (LF).
class GridTable {
public:
    GridTable() = default;
    GridTable(int cols, int rows);

    int cols() const { return cols_; }
    int rows() const { return rows_; }
    // Changes the size, keeping the cells that still fit.
    void Resize(int cols, int rows);

    // Empty outside the table.
    const std::string& Cell(int col, int row) const;
    // Ignored outside the table.
    void SetCell(int col, int row, std::string text);

    // 64 when never set.
    int ColumnWidth(int col) const;
    void SetColumnWidth(int col, int width);

    // Calls f(col, row, text) for every cell that is not empty, row by row.
    template <class F>
    void ForEachCell(F&& f) const {
        for (const auto& [place, text] : cells_) {
            if (!text.empty())
                f(place.second, place.first, text);
        }
    }

private:
    int cols_ = 0;
    int rows_ = 0;
    // Only the cells that were set, by (row, col): a size line may promise a million cells
    // while the file holds a few dozen, and the table costs what the file holds.
    std::map<std::pair<int, int>, std::string> cells_;
    std::vector<int> widths_;
};

// A grid cell file that is missing or unreadable as a table: a file error like any other,
// whose message names the file.
class GridFileError : public FileError {
public:
    GridFileError(std::filesystem::path path, int error, std::string message)
        : FileError(std::move(path), error, std::move(message), FixedMessage{}) {}
};

// Reads a grid cell file. Throws GridFileError for a missing file ("File <name> not found")
// and for a corrupt size line ("File contains no data or corrupt file <name>"); cell and
// width lines that point outside the table are ignored.
GridTable ReadGridCellFile(const std::filesystem::path& path);

// The table a grid cell file's bytes hold; nullopt for a corrupt size line. (The reading
// of the file above, without the file, so that it can be tried on any bytes in memory.)
std::optional<GridTable> ParseGridCells(std::string_view bytes);
// The bytes WriteGridCellFile writes.
std::string GridCellBytes(const GridTable& table);

// Writes the table in the same format (CR LF, atomic replace). Throws FileError.
void WriteGridCellFile(const std::filesystem::path& path, const GridTable& table,
                       SyncMode sync = SyncMode::Durable);

}  // namespace ledger
