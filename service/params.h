#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace service {

// Undoes %XX escapes (either case of hexadecimal digit). In a form body a "+" stands for a
// blank; in the import's query it is a "+" (the program sends it unescaped). nullopt when a
// "%" is not followed by two hexadecimal digits.
std::optional<std::string> PercentDecode(std::string_view text, bool plusIsBlank);

// "key=value&key=value" into a map of decoded values. nullopt when an escape is broken, a
// key is empty or comes twice: a request that could mean two things is refused.
std::optional<std::map<std::string, std::string>> ParseParams(std::string_view text,
                                                              bool plusIsBlank);

}  // namespace service
