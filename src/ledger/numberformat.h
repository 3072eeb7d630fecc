#pragma once

#include "amount.h"

#include <string>
#include <string_view>

namespace ledger {

// Formats an amount with a number pattern such as "#,0.##", "#,0", "#,##0", "0.0" or "#0.##":
// a comma anywhere in the integer part groups thousands, each '0' is a digit always shown,
// each '#' after the point a decimal shown only when it is not a trailing zero. The value is
// rounded to the pattern's decimals half away from zero, on the fixed-point value itself.
std::string FormatNumber(Amount value, std::string_view pattern);

// A total rounded to two decimals as the reports keep it (half away from zero): what
// "#0.##" shows, read back.
Amount RoundToCents(Amount total);

// The money text of the day page (UTF-8): the yen sign and the absolute value as "#,0.##",
// with "▲ " in front when the total is negative.
std::string FormatBalance(Amount total);

}  // namespace ledger
