#pragma once

#include <string_view>

namespace ledger {

// Text comparison on CP932 bytes that ignores letter case the way a Japanese system does:
// ASCII letters, full-width Latin letters (Ａ and ａ), and the full-width Greek and Cyrillic
// letters of CP932 each match their other case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Orders two texts by the same folding; negative, zero or positive. Texts that differ in
// letter case only are equal (zero): sorts that must keep an order among them are stable.
int CompareIgnoreCase(std::string_view a, std::string_view b);

}  // namespace ledger
