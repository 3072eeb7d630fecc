#include "typedamount.h"

#include <algorithm>
#include <cstdint>

namespace ledger {
namespace {

// One UTF-8 character at `i`, decoded; `length` is how many bytes it took. A broken byte is
// returned as itself, one byte long: it only has to survive the trip unchanged.
char32_t Decode(std::string_view s, size_t i, size_t& length) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    auto trail = [&](size_t k) { return static_cast<unsigned char>(s[i + k]) & 0x3Fu; };
    auto isTrail = [&](size_t k) {
        return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0u) == 0x80u;
    };
    if (b0 >= 0xE0 && b0 < 0xF0 && isTrail(1) && isTrail(2)) {
        length = 3;
        return (char32_t(b0 & 0x0Fu) << 12) | (char32_t(trail(1)) << 6) | trail(2);
    }
    if (b0 >= 0xC0 && b0 < 0xE0 && isTrail(1)) {
        length = 2;
        return (char32_t(b0 & 0x1Fu) << 6) | trail(1);
    }
    length = 1;
    return b0;
}

constexpr char kYen = '\x01';  // stands for a yen sign until the text is taken apart
constexpr char kEnd = '\x02';  // stands for 円

// The ASCII a full-width or currency character stands for; 0 for any other character.
char AsciiFor(char32_t c) {
    if (c >= U'０' && c <= U'９')
        return static_cast<char>('0' + (c - U'０'));
    switch (c) {
        case U'＋':
            return '+';
        case U'－':
        case U'−':  // the minus sign of some input methods
            return '-';
        case U'．':
            return '.';
        case U'，':
            return ',';
        case U'\u3000':  // the ideographic space
            return ' ';
        case U'￥':
        case U'¥':
            return kYen;
        case U'円':
            return kEnd;
        default:
            return 0;
    }
}

void Trim(std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        s.clear();
        return;
    }
    s = s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits grouped as 1 to 3, then threes: "1,280", "12,345,678".
bool IsGroupedInteger(std::string_view digits) {
    const size_t firstComma = digits.find(',');
    if (firstComma == 0 || firstComma > 3)
        return false;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i < firstComma) {
            if (!IsDigit(digits[i]))
                return false;
            continue;
        }
        // From the first comma on: a comma every fourth character, digits between.
        const bool commaHere = (i - firstComma) % 4 == 0;
        if (commaHere != (digits[i] == ','))
            return false;
        if (!commaHere && !IsDigit(digits[i]))
            return false;
    }
    return (digits.size() - firstComma) % 4 == 0;
}

}  // namespace

std::string NormalizeTypedAmount(std::string_view utf8) {
    // The two stand-in bytes never come from a keyboard; text holding them is no amount.
    if (utf8.find_first_of(std::string_view("\x01\x02", 2)) != std::string_view::npos)
        return std::string(utf8);
    std::string s;
    s.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        size_t length = 1;
        const char32_t c = Decode(utf8, i, length);
        const char ascii = length > 1 ? AsciiFor(c) : 0;
        if (ascii != 0) {
            s += ascii;
        } else {
            s.append(utf8.substr(i, length));
        }
        i += length;
    }
    Trim(s);

    // A sign and a yen sign in either order in front, 円 at the end.
    std::string sign;
    auto takeSign = [&] {
        if (sign.empty() && !s.empty() && (s.front() == '+' || s.front() == '-')) {
            sign = s.substr(0, 1);
            s.erase(0, 1);
            Trim(s);
        }
    };
    takeSign();
    if (!s.empty() && s.front() == kYen) {
        s.erase(0, 1);
        Trim(s);
        takeSign();
    }
    if (!s.empty() && s.back() == kEnd) {
        s.pop_back();
        Trim(s);
    }

    // Thousands separators in the integer part, only where they group it in threes.
    const size_t integerEnd = std::min(s.find('.'), s.find_first_of("eE"));
    const std::string_view integer = std::string_view(s).substr(0, integerEnd);
    if (integer.find(',') != std::string_view::npos && IsGroupedInteger(integer)) {
        std::string plain;
        for (char c : integer) {
            if (c != ',')
                plain += c;
        }
        s = plain + s.substr(std::min(integerEnd, s.size()));
    }

    // A yen sign or 円 anywhere else is kept as typed, so the amount rule refuses it.
    std::string out = sign + s;
    std::string restored;
    for (char c : out) {
        if (c == kYen)
            restored += "￥";
        else if (c == kEnd)
            restored += "円";
        else
            restored += c;
    }
    return restored;
}

}  // namespace ledger
