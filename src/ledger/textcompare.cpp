#include "textcompare.h"

#include "cp932.h"

namespace ledger {
namespace {

// One character folded to lower case, as a number: a single byte or lead * 256 + trail.
unsigned FoldedChar(std::string_view s, size_t& i) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    if (IsDoubleByteAt(s, i)) {
        unsigned t = static_cast<unsigned char>(s[i + 1]);
        i += 2;
        if (b == 0x82 && t >= 0x60 && t <= 0x79)
            t += 0x21;  // Ａ-Ｚ -> ａ-ｚ
        if (b == 0x83 && t >= 0x9F && t <= 0xB6)
            t += 0x20;                              // Α-Ω -> α-ω
        if (b == 0x84 && t >= 0x40 && t <= 0x60) {  // А-Я -> а-я (0x7F is unused)
            t += 0x30;
            if (t >= 0x7F)
                ++t;
        }
        return b * 256u + t;
    }
    ++i;
    if (b >= 'A' && b <= 'Z')
        b = static_cast<unsigned char>(b + 32);
    return b;
}

}  // namespace

int CompareIgnoreCase(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        unsigned x = FoldedChar(a, i);
        unsigned y = FoldedChar(b, j);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    // Folding never changes a character's byte length, so texts of different lengths
    // never match, and equal bytes always do.
    if (a.size() != b.size())
        return false;
    if (a == b)
        return true;
    return CompareIgnoreCase(a, b) == 0;
}

}  // namespace ledger
