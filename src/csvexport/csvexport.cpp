#include "csvexport/csvexport.h"

#include "ledger/csvline.h"

namespace csvexport {

std::vector<std::string> ExportLines(const std::vector<std::string>& lines,
                                     const ledger::CategoryList& categories, ExportMode mode) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    std::vector<std::string> fields;
    for (const std::string& line : lines) {
        ledger::SplitLineInto(line, fields);
        auto field = [&](size_t k) { return k < fields.size() ? fields[k] : std::string(); };
        const int position = fields.size() > 1 ? categories.CategoryIndex(fields[1]) : -1;
        if (mode == ExportMode::SplitColumns) {
            std::vector<std::string> row = {field(0), field(1), field(2)};
            if (position < 0) {
                row.insert(row.end(), {std::string(), std::string(), field(3)});
            } else if (categories.IsIncome(position)) {
                row.insert(row.end(), {std::string(), field(3)});
            } else {
                row.insert(row.end(), {field(3), std::string()});
            }
            row.push_back(field(4));
            out.push_back(ledger::JoinLine(row));
            continue;
        }
        const bool negate = position >= 0 && fields.size() > 3 &&
                            categories.IsIncome(position) == (mode == ExportMode::IncomeNegative);
        if (!negate) {
            out.push_back(line);  // exactly as read
            continue;
        }
        fields[3] = "-" + fields[3];
        out.push_back(ledger::JoinLine(fields));
    }
    return out;
}

}  // namespace csvexport
