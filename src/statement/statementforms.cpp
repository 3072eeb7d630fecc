#include "statement/statementforms.h"

#include "ledger/amount.h"
#include "ledger/typedamount.h"

#include <array>
#include <charconv>
#include <vector>

namespace statement {
namespace {

// Full-width digits and separators as ASCII; other text unchanged.
std::string Narrow(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        // U+FF10..U+FF19 (０-９) are EF BC 90..99; ／ EF BC 8F, － EF BC 8D, ． EF BC 8E.
        if (b == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xBC) {
            const auto c = static_cast<unsigned char>(utf8[i + 2]);
            if (c >= 0x90 && c <= 0x99) {
                out += static_cast<char>('0' + (c - 0x90));
                i += 3;
                continue;
            }
            if (c == 0x8F || c == 0x8D || c == 0x8E) {
                out += c == 0x8F ? '/' : c == 0x8D ? '-' : '.';
                i += 3;
                continue;
            }
        }
        out += utf8[i++];
    }
    return out;
}

// The numbers of a text, and whether it holds anything but digits, the separators and the
// markers given.
std::vector<std::string_view> Numbers(std::string_view s) {
    std::vector<std::string_view> parts;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] < '0' || s[i] > '9'))
            ++i;
        const size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        if (i > start)
            parts.push_back(s.substr(start, i - start));
    }
    return parts;
}

int ToInt(std::string_view digits) {
    int n = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    return error == std::errc() && end == digits.data() + digits.size() ? n : -1;
}

std::optional<ledger::Date> Real(int year, int month, int day) {
    const ledger::Date d{year, month, day};
    if (year < 1 || year > 9999 || !d.IsValid())
        return std::nullopt;
    return d;
}

struct Era {
    const char* latin;
    const char* kanji;
    int firstYear;  // the Gregorian year of its first year
};
constexpr std::array<Era, 4> kEras = {{
    {"R", "令和", 2019},
    {"H", "平成", 1989},
    {"S", "昭和", 1926},
    {"T", "大正", 1912},
}};

}  // namespace

std::optional<ledger::Date> ParseStatementDate(std::string_view utf8) {
    std::string s = Narrow(utf8);
    // Blanks around, and a time after the date, go.
    const size_t first = s.find_first_not_of(" \t\"");
    if (first == std::string::npos)
        return std::nullopt;
    s.erase(0, first);
    if (const size_t blank = s.find_first_of(" \tT"); blank != std::string::npos && blank >= 6)
        s.erase(blank);
    while (!s.empty() && (s.back() == '"' || s.back() == ' '))
        s.pop_back();

    // An era: its letter or its name, then the year (元 for 1).
    for (const Era& era : kEras) {
        for (std::string_view prefix : {std::string_view(era.latin), std::string_view(era.kanji)}) {
            const bool lower = prefix.size() == 1 && !s.empty() &&
                               s[0] == static_cast<char>(prefix[0] + ('a' - 'A'));
            if (s.rfind(prefix, 0) != 0 && !lower)
                continue;
            std::string rest = s.substr(prefix.size());
            if (rest.rfind("元", 0) == 0)
                rest.replace(0, std::string("元").size(), "1");
            const std::vector<std::string_view> n = Numbers(rest);
            if (n.size() != 3 || rest.empty() || rest[0] < '0' || rest[0] > '9')
                return std::nullopt;
            const int year = ToInt(n[0]);
            if (year < 1 || year > 99)
                return std::nullopt;
            return Real(era.firstYear + year - 1, ToInt(n[1]), ToInt(n[2]));
        }
    }
    if (s.empty() || s[0] < '0' || s[0] > '9')
        return std::nullopt;
    // Only digits and the separators of a date.
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c >= '0' && c <= '9') || c == '/' || c == '-' || c == '.') {
            ++i;
            continue;
        }
        bool kanji = false;
        for (std::string_view mark : {"年", "月", "日"}) {
            if (std::string_view(s).substr(i, mark.size()) == mark) {
                i += mark.size();
                kanji = true;
                break;
            }
        }
        if (!kanji)
            return std::nullopt;
    }
    const std::vector<std::string_view> n = Numbers(s);
    if (n.size() == 1 && n[0].size() == 8 && n[0].size() == s.size())
        return Real(ToInt(n[0].substr(0, 4)), ToInt(n[0].substr(4, 2)), ToInt(n[0].substr(6, 2)));
    if (n.size() == 3 && n[0].size() == 4 && n[1].size() <= 2 && n[2].size() <= 2)
        return Real(ToInt(n[0]), ToInt(n[1]), ToInt(n[2]));
    return std::nullopt;
}

std::optional<std::string> ParseStatementAmount(std::string_view utf8) {
    std::string s(utf8);
    // △ and ▲ (a triangle before a number marks it negative in Japanese accounts).
    bool negative = false;
    for (std::string_view triangle : {"△", "▲"}) {
        const size_t at = s.find(triangle);
        if (at != std::string::npos && s.find_first_not_of(" \t\"") == at) {
            s.erase(0, at + triangle.size());
            negative = true;
        }
    }
    while (!s.empty() && s.front() == '"')
        s.erase(0, 1);
    while (!s.empty() && s.back() == '"')
        s.pop_back();
    std::string plain = ledger::NormalizeTypedAmount(s);
    if (plain.empty() || !ledger::IsDecimalNumber(plain) ||
        plain.find_first_of("eE") != std::string::npos) {
        return std::nullopt;
    }
    if (plain.front() == '+')
        plain.erase(0, 1);
    if (negative) {
        if (plain.front() == '-')
            return std::nullopt;  // two minus signs
        plain.insert(0, "-");
    }
    return plain;
}

}  // namespace statement
