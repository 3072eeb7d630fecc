#include "numberformat.h"

#include <cstdint>

namespace ledger {

std::string FormatNumber(Amount value, std::string_view pattern) {
    size_t point = pattern.find('.');
    std::string_view intPattern = pattern.substr(0, point);
    std::string_view fracPattern =
        point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    const bool grouping = intPattern.find(',') != std::string_view::npos;
    int minInt = 0;
    for (char c : intPattern)
        minInt += c == '0';
    int minFrac = 0;
    int maxFrac = 0;
    for (char c : fracPattern) {
        minFrac += c == '0';
        maxFrac += c == '0' || c == '#';
    }

    const bool negative = value.IsNegative();
    uint64_t magnitude = negative ? uint64_t(0) - static_cast<uint64_t>(value.raw())
                                  : static_cast<uint64_t>(value.raw());
    // Round to the shown decimals; the fixed-point value has four.
    int keptFrac = maxFrac < 4 ? maxFrac : 4;
    uint64_t divisor = 1;
    for (int k = keptFrac; k < 4; ++k)
        divisor *= 10;
    uint64_t q = magnitude / divisor + (magnitude % divisor >= (divisor + 1) / 2 && divisor > 1);
    uint64_t fracUnit = 1;
    for (int k = 0; k < keptFrac; ++k)
        fracUnit *= 10;
    uint64_t whole = q / fracUnit;
    uint64_t frac = q % fracUnit;

    std::string digits = whole == 0 ? std::string() : std::to_string(whole);
    if (static_cast<int>(digits.size()) < minInt) {
        digits.insert(0, static_cast<size_t>(minInt) - digits.size(), '0');
    }
    std::string grouped;
    for (size_t k = 0; k < digits.size(); ++k) {
        if (grouping && k > 0 && (digits.size() - k) % 3 == 0)
            grouped += ',';
        grouped += digits[k];
    }

    std::string fraction;
    for (int k = 0; k < keptFrac; ++k) {
        fraction.insert(fraction.begin(), char('0' + frac % 10));
        frac /= 10;
    }
    fraction.append(static_cast<size_t>(maxFrac - keptFrac), '0');
    while (static_cast<int>(fraction.size()) > minFrac && fraction.back() == '0') {
        fraction.pop_back();
    }

    std::string out;
    if (negative && q != 0)
        out += '-';
    out += grouped;
    if (!fraction.empty()) {
        out += '.';
        out += fraction;
    }
    return out;
}

Amount RoundToCents(Amount total) {
    return AmountOrZero(FormatNumber(total, "#0.##"));
}

std::string FormatBalance(Amount total) {
    std::string text = "\xC2\xA5" + FormatNumber(total.Abs(), "#,0.##");  // yen sign
    if (total.IsNegative())
        text.insert(0, "\xE2\x96\xB2 ");  // "▲ "
    return text;
}

}  // namespace ledger
