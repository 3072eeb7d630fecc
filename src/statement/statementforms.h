#pragma once

#include "ledger/date.h"

#include <optional>
#include <string>
#include <string_view>

namespace statement {

// A statement's date: yyyy/m/d, yyyy-m-d, yyyy.m.d, yyyymmdd, yyyy年m月d日, and the era
// forms R6.12.10, H31/4/30, 令和6年12月10日, 平成31年4月30日 (元年 for the first year), with
// full-width digits and a time after the date ("2024/12/10 13:05") allowed. nullopt for
// anything else, and for a day that does not exist.
std::optional<ledger::Date> ParseStatementDate(std::string_view utf8);

// A statement's amount as the ledger stores it, a plain decimal number with its sign:
// "1,280", "￥1,280", "1,280円", "-1,280", "△1,280" (and ▲) for a negative, full-width digits.
// An empty text is no amount (nullopt); so is anything that is not a number.
std::optional<std::string> ParseStatementAmount(std::string_view utf8);

}  // namespace statement
