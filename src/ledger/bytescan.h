#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace ledger {

// Searching text eight bytes at a time. A word's flags have the high bit of a byte set where
// that byte may match; a borrow can only flag bytes after a true match, so the lowest flagged
// byte is always the first match.

inline constexpr uint64_t kByteOnes = 0x0101010101010101ULL;
inline constexpr uint64_t kByteHighs = 0x8080808080808080ULL;

// Flags the bytes of `word` equal to `byte`.
constexpr uint64_t FlagEqual(uint64_t word, unsigned char byte) {
    const uint64_t x = word ^ (kByteOnes * byte);
    return (x - kByteOnes) & ~x & kByteHighs;
}

// Flags the bytes of `word` below `bound` (at most 128).
constexpr uint64_t FlagBelow(uint64_t word, unsigned char bound) {
    return (word - kByteOnes * bound) & ~word & kByteHighs;
}

// The first position at or after `i` whose byte matches, or text.size(). `flags(word)` marks
// the matching bytes of eight at once; `matches(c)` decides one byte of the tail.
template <class Flags, class Matches>
size_t FindFirstByte(std::string_view text, size_t i, Flags flags, Matches matches) {
    while (i + 8 <= text.size()) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (const uint64_t found = flags(word); found != 0) {
            return i + static_cast<size_t>(__builtin_ctzll(found) / 8);
        }
        i += 8;
    }
    while (i < text.size() && !matches(text[i]))
        ++i;
    return i;
}

}  // namespace ledger
