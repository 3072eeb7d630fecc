#include "params.h"

namespace service {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> PercentDecode(std::string_view text, bool plusIsBlank) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (c == '+' && plusIsBlank) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::map<std::string, std::string>> ParseParams(std::string_view text,
                                                              bool plusIsBlank) {
    std::map<std::string, std::string> params;
    while (!text.empty()) {
        const size_t end = text.find('&');
        const std::string_view pair = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (pair.empty())
            continue;
        const size_t eq = pair.find('=');
        std::optional<std::string> key = PercentDecode(pair.substr(0, eq), plusIsBlank);
        std::optional<std::string> value = PercentDecode(
            eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1), plusIsBlank);
        if (!key || !value || key->empty())
            return std::nullopt;
        if (!params.emplace(std::move(*key), std::move(*value)).second)
            return std::nullopt;
    }
    return params;
}

}  // namespace service
