#pragma once

#include <string>
#include <string_view>

namespace ledger {

// An amount as people type and paste it, made into the form the ledger stores: full-width
// digits, sign, point, comma and blank become ASCII; a leading ￥ or ¥ (before or after the
// sign) and a trailing 円 go; thousands separators go when they group the integer digits in
// threes ("1,280", "１，２８０", "￥1,280円" all give "1280"). Blanks around the text go.
//
// Text and separators that do not fit this are left as they are, so that the amount rule
// (IsDecimalNumber) refuses them instead of a guess storing a different amount: "12,80"
// stays "12,80". Input and output are UTF-8.
std::string NormalizeTypedAmount(std::string_view utf8);

}  // namespace ledger
