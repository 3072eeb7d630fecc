#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// Sixteen bytes at a time, where every x86-64 processor can: a mask with a bit per byte.
// The scanners below use these first and the eight-byte words for the tail.
inline __m128i Load16(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline __m128i MaskEqual16(__m128i block, char byte) {
    return _mm_cmpeq_epi8(block, _mm_set1_epi8(byte));
}
// The bytes of `block` up to `most` (unsigned): those the unsigned minimum leaves unchanged.
inline __m128i MaskAtMost16(__m128i block, unsigned char most) {
    return _mm_cmpeq_epi8(_mm_min_epu8(block, _mm_set1_epi8(static_cast<char>(most))), block);
}
// The first position at or after `i` flagged by `mask(block)`, or the start of the last
// fewer-than-sixteen bytes when none is.
template <class Mask>
size_t FindFirstBy16(std::string_view text, size_t i, Mask mask) {
    while (i + 16 <= text.size()) {
        const int found = _mm_movemask_epi8(mask(Load16(text.data() + i)));
        if (found != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found)));
        i += 16;
    }
    return i;
}
#endif

// The first CR or LF at or after `i`, or text.size().
inline size_t FindCrOrLf(std::string_view text, size_t i) {
#if defined(__SSE2__)
    i = FindFirstBy16(text, i, [](__m128i b) {
        return _mm_or_si128(MaskEqual16(b, '\r'), MaskEqual16(b, '\n'));
    });
#endif
    return FindFirstByte(
        text, i, [](uint64_t word) { return FlagEqual(word, '\r') | FlagEqual(word, '\n'); },
        [](char c) { return c == '\r' || c == '\n'; });
}

// Marks up to 64 bytes, `n` from `p`, for a scanner that hands out its finds in order and
// keeps a window of one bit per byte. `block(b, at)` takes each sixteen-byte block with its
// offset; the last one ends with the last byte and may overlap the one before (marking a
// byte twice is harmless), so that only a window shorter than sixteen goes byte by byte,
// through `byte(c, at)`.
template <class Block, class Byte>
void ScanWindow64(const char* p, size_t n, Block block, Byte byte) {
    size_t k = 0;
#if defined(__SSE2__)
    for (; k + 16 <= n; k += 16)
        block(Load16(p + k), k);
    if (k < n && n >= 16) {
        block(Load16(p + n - 16), n - 16);
        k = n;
    }
#else
    (void)block;
#endif
    for (; k < n; ++k)
        byte(p[k], k);
}

#if defined(__SSE2__)
// A block's mask as window bits from `at`.
inline uint64_t WindowBits(__m128i mask, size_t at) {
    return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(mask))) << at;
}
#endif

// The CRs and LFs of a text handed out in order, found up to 64 bytes at a time: a text of
// short lines is read once, not a block or more per line.
class LineEndFinder {
public:
    explicit LineEndFinder(std::string_view text) : text_(text) {}

    // The first CR or LF at or after `i`, or text.size(). `i` never goes back.
    size_t Next(size_t i) {
        for (;;) {
            if (i >= text_.size())
                return text_.size();
            if (i >= end_)
                Load(i);
            if (const uint64_t m = mask_ >> (i - base_); m != 0)
                return i + static_cast<size_t>(__builtin_ctzll(m));
            i = end_;
        }
    }

private:
    void Load(size_t base) {
        base_ = base;
        const size_t n = std::min<size_t>(64, text_.size() - base);
        end_ = base + n;
        mask_ = 0;
        ScanWindow64(
            text_.data() + base, end_ - base,
            [&](auto b, size_t at) {
                mask_ |= WindowBits(_mm_or_si128(MaskEqual16(b, '\r'), MaskEqual16(b, '\n')), at);
            },
            [&](char c, size_t at) {
                if (c == '\r' || c == '\n')
                    mask_ |= uint64_t{1} << at;
            });
    }

    std::string_view text_;
    size_t base_ = 0;
    size_t end_ = 0;
    uint64_t mask_ = 0;
};

}  // namespace ledger
