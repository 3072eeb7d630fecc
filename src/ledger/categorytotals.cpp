#include "categorytotals.h"

#include "csvline.h"
#include "date.h"

#include <unordered_map>

namespace ledger {

std::vector<Amount> SumByCategory(const std::vector<std::string>& lines,
                                  const CategoryList& categories,
                                  const std::function<bool(int day)>& dayCounts, Amount* unlisted) {
    std::unordered_map<std::string, std::vector<int>> positions;
    for (int k = 0; k < categories.size(); ++k)
        positions[categories.Name(k)].push_back(k);
    std::vector<Amount> totals(static_cast<size_t>(categories.size()));
    std::vector<std::string_view> fields;
    std::string scratch;
    std::string category;
    for (const std::string& line : lines) {
        // Date, category, description, amount: the memo is not needed.
        SplitLineViews(line, fields, scratch, 4);
        if (fields.size() < 2)
            continue;
        const std::optional<int> day = ParseInt(fields[0]);
        if (!day || !dayCounts(*day))
            continue;
        category.assign(fields[1]);
        const auto found = positions.find(category);
        if (found == positions.end()) {
            if (unlisted != nullptr && fields.size() > 3)
                *unlisted += AmountOrZero(fields[3]);
            continue;
        }
        const Amount amount = fields.size() > 3 ? AmountOrZero(fields[3]) : Amount();
        for (int k : found->second)
            totals[static_cast<size_t>(k)] += amount;
    }
    return totals;
}

}  // namespace ledger
