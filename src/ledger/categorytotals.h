#pragma once

#include "amount.h"
#include "categorylist.h"

#include <functional>
#include <string>
#include <vector>

namespace ledger {

// Per category position, the sum of the amounts of the month-file lines whose date field is
// an integer that `dayCounts` accepts and whose category field is the category's name
// exactly (a name listed twice counts for both). Amounts that do not convert count 0. The
// lines of those days whose category is none of the list add to `unlisted`, when given.
std::vector<Amount> SumByCategory(const std::vector<std::string>& lines,
                                  const CategoryList& categories,
                                  const std::function<bool(int day)>& dayCounts,
                                  Amount* unlisted = nullptr);

}  // namespace ledger
