#include "ecsv.h"

#include "csvline.h"
#include "textfile.h"

#include <algorithm>

namespace ledger {

void TEcsv::Load(const std::filesystem::path& path) {
    lines_ = ReadLines(path);
    for (std::string& line : lines_) {
        if (!line.empty() && line.back() == ',')
            line += "\"\"";
    }
}

int TEcsv::ColCount() const {
    size_t most = 0;
    for (const std::string& line : lines_) {
        SplitLineInto(line, fields_);
        most = std::max(most, fields_.size());
    }
    return static_cast<int>(most);
}

std::string TEcsv::Cell(int col, int row) const {
    if (row < 0 || row >= RowCount())
        return {};
    SplitLineInto(lines_[static_cast<size_t>(row)], fields_);
    if (col < 0 || static_cast<size_t>(col) >= fields_.size())
        return {};
    return fields_[static_cast<size_t>(col)];
}

}  // namespace ledger
