#pragma once

#include "ledger/categorylist.h"

#include <string>
#include <vector>

namespace csvexport {

// How amounts are signed or split in an export.
enum class ExportMode {
    ExpenseNegative = 1,  // 支出を－、収入を＋とする。
    IncomeNegative = 2,   // 支出を＋、収入を－とする。
    SplitColumns = 3,     // 支出、収入をカラム分けして書き出し
};

// The export's lines from the month-file lines of an accounting month (CP932): in the first
// two modes a line whose category is of the kind named gets "-" before its amount and is
// joined again, every other line stays as it was read; in the third every line becomes
// date, category, description, expense, income (or neither, then the amount in a column
// of its own) and memo.
std::vector<std::string> ExportLines(const std::vector<std::string>& lines,
                                     const ledger::CategoryList& categories, ExportMode mode);

}  // namespace csvexport
