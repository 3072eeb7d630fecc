#include "amount.h"

#include <algorithm>
#include <limits>

namespace ledger {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number text taken apart: its significant digits, where the decimal point falls among
// them, and the sign.
struct DecimalParts {
    bool negative = false;
    std::string digits;    // without leading zeros
    int64_t pointPos = 0;  // the value is 0.digits x 10^pointPos
};

std::optional<DecimalParts> Decompose(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    DecimalParts parts;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        parts.negative = s[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    int64_t intDigits = 0;  // significant digits before the point
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        anyDigit = true;
        if (parts.digits.empty() && s[i] == '0')
            continue;
        parts.digits += s[i];
        ++intDigits;
    }
    int64_t leadingFractionZeros = 0;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && IsDigit(s[i]); ++i) {
            anyDigit = true;
            if (parts.digits.empty() && s[i] == '0') {
                ++leadingFractionZeros;
                continue;
            }
            parts.digits += s[i];
        }
    }
    if (!anyDigit)
        return std::nullopt;
    int64_t exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        if (i >= s.size() || !IsDigit(s[i]))
            return std::nullopt;
        for (; i < s.size() && IsDigit(s[i]); ++i) {
            // Past a few thousand the value is zero or out of range either way.
            if (exponent < 100000)
                exponent = exponent * 10 + (s[i] - '0');
        }
        if (expNegative)
            exponent = -exponent;
    }
    if (i != s.size())
        return std::nullopt;
    parts.pointPos = (parts.digits.empty() ? 0 : intDigits - leadingFractionZeros) + exponent;
    return parts;
}

}  // namespace

Amount Amount::operator+(Amount other) const {
    int64_t r;
    if (__builtin_add_overflow(raw_, other.raw_, &r))
        r = other.raw_ > 0 ? kMax : kMin;
    return Amount(r);
}

Amount Amount::operator-(Amount other) const {
    int64_t r;
    if (__builtin_sub_overflow(raw_, other.raw_, &r))
        r = other.raw_ < 0 ? kMax : kMin;
    return Amount(r);
}

Amount Amount::operator-() const {
    return Amount(raw_ == kMin ? kMax : -raw_);
}

namespace {

// Amounts as the program writes them, digits with up to four after a point ("1280",
// "99.5"), read without the general decomposition: totals read thousands of them per page.
// nullopt for any other text.
std::optional<Amount> ParsePlainAmount(std::string_view text) {
    const size_t point = text.find('.');
    const size_t whole = std::min(point, text.size());
    const size_t fraction = point == std::string_view::npos ? 0 : text.size() - point - 1;
    if (whole == 0 || whole > 14 || (point != std::string_view::npos && fraction == 0) ||
        fraction > 4)
        return std::nullopt;
    int64_t value = 0;
    for (size_t k = 0; k < whole; ++k) {
        if (!IsDigit(text[k]))
            return std::nullopt;
        value = value * 10 + (text[k] - '0');
    }
    int64_t tenThousandths = 0;
    int64_t scale = 1000;
    for (size_t k = 0; k < fraction; ++k, scale /= 10) {
        const char c = text[whole + 1 + k];
        if (!IsDigit(c))
            return std::nullopt;
        tenThousandths += (c - '0') * scale;
    }
    return Amount::FromRaw(value * 10000 + tenThousandths);
}

}  // namespace

std::optional<Amount> ParseAmount(std::string_view text) {
    if (std::optional<Amount> plain = ParsePlainAmount(text))
        return plain;
    std::optional<DecimalParts> parts = Decompose(text);
    if (!parts)
        return std::nullopt;
    if (parts->digits.empty())
        return Amount();
    // The count of ten-thousandths has (pointPos + 4) integer digits.
    int64_t integerDigits = parts->pointPos + 4;
    if (integerDigits > 19)
        return std::nullopt;
    if (integerDigits < 0)
        return Amount();
    uint64_t value = 0;
    const std::string& d = parts->digits;
    for (int64_t k = 0; k < integerDigits; ++k) {
        unsigned digit = k < static_cast<int64_t>(d.size()) ? unsigned(d[k] - '0') : 0;
        value = value * 10 + digit;
    }
    if (integerDigits < static_cast<int64_t>(d.size()) && d[integerDigits] >= '5')
        ++value;
    uint64_t limit = parts->negative ? uint64_t(kMax) + 1 : uint64_t(kMax);
    if (value > limit)
        return std::nullopt;
    if (parts->negative) {
        return Amount::FromRaw(value == uint64_t(kMax) + 1 ? kMin : -static_cast<int64_t>(value));
    }
    return Amount::FromRaw(static_cast<int64_t>(value));
}

Amount AmountOrZero(std::string_view text) {
    return ParseAmount(text).value_or(Amount());
}

bool IsDecimalNumber(std::string_view text) {
    std::optional<DecimalParts> parts = Decompose(text);
    // Beyond the double range the text would not convert to a floating-point number either.
    return parts && (parts->digits.empty() || parts->pointPos <= 309);
}

}  // namespace ledger
