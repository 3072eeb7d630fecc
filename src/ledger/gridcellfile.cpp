#include "gridcellfile.h"

#include "date.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

namespace ledger {
namespace {

constexpr int kDefaultWidth = 64;
// A size line asking for more cells than this is taken as corrupt rather than allocated.
constexpr long kMaxCells = 1'000'000;

const std::string kEmpty;

// A line break inside a cell would end the cell's line, so both CR and LF are stored as
// control bytes that the reader turns back.
std::string EncodeCell(const std::string& text) {
    if (text.find_first_of("\r\n") == std::string::npos)
        return text;
    std::string out = text;
    std::replace(out.begin(), out.end(), '\r', '\t');
    std::replace(out.begin(), out.end(), '\n', '\b');
    return out;
}

std::string DecodeCell(std::string_view stored) {
    std::string text(stored);
    if (text.find('\b') != std::string::npos) {
        std::replace(text.begin(), text.end(), '\t', '\r');
        std::replace(text.begin(), text.end(), '\b', '\n');
    }
    size_t cr = text.find('\r');
    if (cr != std::string::npos)
        text.resize(cr);
    return text;
}

}  // namespace

GridTable::GridTable(int cols, int rows) {
    Resize(cols, rows);
}

void GridTable::Resize(int cols, int rows) {
    std::erase_if(cells_, [&](const auto& cell) {
        return cell.first.first >= rows || cell.first.second >= cols;
    });
    widths_.resize(static_cast<size_t>(cols), kDefaultWidth);
    cols_ = cols;
    rows_ = rows;
}

const std::string& GridTable::Cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_)
        return kEmpty;
    const auto found = cells_.find({row, col});
    return found != cells_.end() ? found->second : kEmpty;
}

void GridTable::SetCell(int col, int row, std::string text) {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_)
        return;
    if (text.empty())
        cells_.erase({row, col});
    else
        cells_[{row, col}] = std::move(text);
}

int GridTable::ColumnWidth(int col) const {
    return col >= 0 && col < cols_ ? widths_[static_cast<size_t>(col)] : kDefaultWidth;
}

void GridTable::SetColumnWidth(int col, int width) {
    if (col >= 0 && col < cols_)
        widths_[static_cast<size_t>(col)] = width;
}

GridTable ReadGridCellFile(const std::filesystem::path& path) {
    const std::string name = path.string();
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        throw GridFileError(path, ENOENT, "File " + name + " not found");
    std::optional<GridTable> table = ParseGridCells(*bytes);
    if (!table)
        throw GridFileError(path, 0, "File contains no data or corrupt file " + name);
    return std::move(*table);
}

std::optional<GridTable> ParseGridCells(std::string_view bytes) {
    std::vector<std::string> lines = SplitTextLines(bytes);

    int cols = 0;
    int rows = 0;
    if (!lines.empty() && !lines[0].empty()) {
        std::string_view size = lines[0];
        size_t comma = size.find(',');
        std::optional<int> c = ParseInt(size.substr(0, comma));
        std::optional<int> r =
            comma == std::string_view::npos ? std::nullopt : ParseInt(size.substr(comma + 1));
        if (c && r && *c > 0 && *r > 0 && long(*c) * long(*r) <= kMaxCells) {
            cols = *c;
            rows = *r;
        }
    }
    if (cols <= 0 || rows <= 0)
        return std::nullopt;

    GridTable table(cols, rows);
    for (size_t k = 1; k < lines.size(); ++k) {
        std::string_view line = lines[k];
        if (line.starts_with("cw")) {
            size_t comma = line.find(',');
            if (comma == std::string_view::npos || line.size() < 3)
                continue;
            std::optional<int> col = ParseInt(line.substr(3, comma - std::min<size_t>(3, comma)));
            std::optional<int> width = ParseInt(line.substr(comma + 1));
            if (col && width)
                table.SetColumnWidth(*col, *width);
            continue;
        }
        size_t c1 = line.find(',');
        if (c1 == std::string_view::npos)
            continue;
        size_t c2 = line.find(',', c1 + 1);
        if (c2 == std::string_view::npos)
            continue;
        std::optional<int> col = ParseInt(line.substr(0, c1));
        std::optional<int> row = ParseInt(line.substr(c1 + 1, c2 - c1 - 1));
        if (col && row)
            table.SetCell(*col, *row, DecodeCell(line.substr(c2 + 1)));
    }
    return table;
}

void WriteGridCellFile(const std::filesystem::path& path, const GridTable& table, SyncMode sync) {
    WriteFileAtomic(path, GridCellBytes(table), sync);
}

std::string GridCellBytes(const GridTable& table) {
    std::vector<std::string> lines;
    lines.push_back(std::to_string(table.cols()) + "," + std::to_string(table.rows()));
    for (int c = 0; c < table.cols(); ++c) {
        lines.push_back("cw " + std::to_string(c) + "," + std::to_string(table.ColumnWidth(c)));
    }
    table.ForEachCell([&](int c, int r, const std::string& text) {
        lines.push_back(std::to_string(c) + "," + std::to_string(r) + "," + EncodeCell(text));
    });
    return JoinLines(lines);
}

}  // namespace ledger
