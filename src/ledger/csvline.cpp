#include "csvline.h"

#include "bytescan.h"
#include "cp932.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace ledger {
namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';

// Lead bytes of double-byte characters, by table: a lookup is cheaper than the range tests
// on every byte the scanners step over.
constexpr std::array<bool, 256> MakeLeadBytes() {
    std::array<bool, 256> lead{};
    for (int b = 0; b < 256; ++b)
        lead[b] = IsLeadByte(static_cast<unsigned char>(b));
    return lead;
}
constexpr std::array<bool, 256> kLeadBytes = MakeLeadBytes();

bool IsLead(char c) {
    return kLeadBytes[static_cast<unsigned char>(c)];
}

// Blanks and control bytes around fields. A NUL is one of them: another tool or a damaged
// block can leave one in a line, and the rest of the line must still be read.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Whether a lead byte takes `next` as its second byte. A comma or a quote is never the second
// byte of a character: after a lone lead byte (damaged text) it keeps its meaning, so that a
// field ending in such a byte is written and read back whole instead of swallowing the field
// boundary after it. Any other byte goes with the lead byte, as the ledger has always read
// it, so a blank inside a broken character does not end its field.
bool TakesAsTrail(char next) {
    return next != kComma && next != kQuote;
}

// Steps over one character: two bytes for a lead byte and the byte it takes.
size_t Next(std::string_view s, size_t i) {
    return (IsLead(s[i]) && i + 1 < s.size() && TakesAsTrail(s[i + 1])) ? i + 2 : i + 1;
}

// Whether byte `j` (a blank or control byte) starts a character, given that byte `from`
// does. The scanners look for a separator byte first and ask this only for the byte found:
// a byte after an odd run of lead-byte values is the trail of the last one. (A byte that is
// not a lead byte always ends its character, whatever role it plays, so the run's start is a
// character start.) Commas and quotes never need asking.
bool IsCharStart(std::string_view s, size_t from, size_t j) {
    size_t run = 0;
    while (j > from && IsLead(s[j - 1])) {
        --j;
        ++run;
    }
    return run % 2 == 0;
}

// The next quote at or after `i`: a quote byte is always a quote.
size_t FindQuote(std::string_view s, size_t i) {
    return s.find(kQuote, i);
}

// Reads a quoted field starting at the opening quote `i`; returns the position after the
// closing quote (or the end of the text for an unclosed field). The value is a view of `s`
// when the field holds no doubled quote, else of what is appended to `scratch`, whose
// capacity the caller has made at least s.size() so that earlier views into it stay valid.
size_t ReadQuoted(std::string_view s, size_t i, std::string& scratch, std::string_view& value) {
    const size_t from = i + 1;
    size_t q = FindQuote(s, from);
    if (q == std::string_view::npos) {
        // No closing quote: the rest of the line less its last byte.
        value = s.size() > from ? s.substr(from, s.size() - from - 1) : std::string_view();
        return s.size();
    }
    if (q + 1 >= s.size() || s[q + 1] != kQuote) {
        value = s.substr(from, q - from);
        return q + 1;
    }
    // Doubled quotes: the value is built with one quote for each pair.
    const size_t begin = scratch.size();
    size_t p = from;
    for (;;) {
        if (q == std::string_view::npos) {
            scratch.append(s.substr(p));
            if (scratch.size() > begin)
                scratch.pop_back();
            value = std::string_view(scratch).substr(begin);
            return s.size();
        }
        scratch.append(s.substr(p, q - p));
        if (q + 1 < s.size() && s[q + 1] == kQuote) {
            scratch += kQuote;
            p = q + 2;
            q = FindQuote(s, p);
            continue;
        }
        value = std::string_view(scratch).substr(begin);
        return q + 1;
    }
}

// Where a line's commas and bytes up to 0x20 are, found in one pass of up to sixty-four
// bytes at a time rather than a scan per field: fields are short, and a scan per field spent
// most of its time on the few bytes too short for a whole block.
class StopBytes {
public:
    explicit StopBytes(std::string_view s) : s_(s) { Load(0); }

    // The first stop byte at or after `i` (not before the last position asked), or s.size().
    size_t Next(size_t i) {
        for (;;) {
            if (i >= s_.size())
                return s_.size();
            if (i >= base_ + 64)
                Load(i);
            if (const uint64_t m = (commas_ | blanks_) >> (i - base_); m != 0)
                return i + static_cast<size_t>(__builtin_ctzll(m));
            i = base_ + 64;
        }
    }

    // The commas of the line when it is one of at most 64 bytes with no quote and no byte up
    // to 0x20 (as most lines are written: its fields are the text between commas), else 0.
    uint64_t PlainCommas() const {
        return s_.size() <= 64 && (blanks_ | quotes_) == 0 ? commas_ : 0;
    }

private:
    void Load(size_t base) {
        base_ = base;
        commas_ = blanks_ = quotes_ = 0;
        ScanWindow64(
            s_.data() + base, std::min<size_t>(64, s_.size() - base),
            [&](auto b, size_t at) {
                commas_ |= WindowBits(MaskEqual16(b, kComma), at);
                blanks_ |= WindowBits(MaskAtMost16(b, 0x20), at);
                quotes_ |= WindowBits(MaskEqual16(b, kQuote), at);
            },
            [&](char c, size_t at) {
                const uint64_t bit = uint64_t{1} << at;
                if (c == kComma)
                    commas_ |= bit;
                else if (IsBlank(c))
                    blanks_ |= bit;
                else if (c == kQuote)
                    quotes_ |= bit;
            });
    }

    std::string_view s_;
    size_t base_ = 0;
    uint64_t commas_ = 0;
    uint64_t blanks_ = 0;
    uint64_t quotes_ = 0;
};

// The end of an unquoted field starting at `i`: the first comma, or byte up to 0x20 that
// starts a character.
[[gnu::always_inline]] inline size_t UnquotedEnd(std::string_view s, size_t i, StopBytes& stops) {
    const size_t from = i;
    for (;;) {
        i = stops.Next(i);
        if (i >= s.size() || s[i] == kComma || IsCharStart(s, from, i))
            return i;
        ++i;  // the trail byte of an invalid pair: part of the field
    }
}

size_t SkipBlanks(std::string_view s, size_t i) {
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return i;
}

bool AtEnd(std::string_view s, size_t i) {
    return i >= s.size();
}

// Past the blanks and the one comma that follow a field.
size_t SkipSeparator(std::string_view s, size_t i) {
    i = SkipBlanks(s, i);
    if (!AtEnd(s, i) && s[i] == kComma)
        i = SkipBlanks(s, i + 1);
    return i;
}

// Reads the field at `i` into `value` (see ReadQuoted for where it points). Returns where
// the next field starts.
[[gnu::always_inline]] inline size_t ReadField(std::string_view s, size_t i, std::string& scratch,
                                               StopBytes& stops, std::string_view& value) {
    if (s[i] == kQuote) {
        i = ReadQuoted(s, i, scratch, value);
    } else {
        size_t end = UnquotedEnd(s, i, stops);
        value = s.substr(i, end - i);
        i = end;
    }
    return SkipSeparator(s, i);
}

// Calls emit(index, value) for each field, at most `maxFields`; returns how many.
template <class Emit>
size_t SplitFields(std::string_view line, size_t maxFields, std::string& scratch, Emit emit) {
    StopBytes stops(line);
    if (const uint64_t commas = stops.PlainCommas(); commas != 0) {
        // The general rules for such a line: a comma after a lead byte still separates (it is
        // never a trail byte), and a comma at the very end adds no empty field.
        size_t count = 0;
        size_t start = 0;
        for (uint64_t c = commas; c != 0 && count < maxFields; c &= c - 1) {
            const auto at = static_cast<size_t>(__builtin_ctzll(c));
            emit(count++, line.substr(start, at - start));
            start = at + 1;
        }
        if (start < line.size() && count < maxFields)
            emit(count++, line.substr(start));
        return count;
    }
    scratch.clear();
    if (scratch.capacity() < line.size())
        scratch.reserve(line.size());
    size_t count = 0;
    size_t i = SkipBlanks(line, 0);
    while (!AtEnd(line, i) && count < maxFields) {
        std::string_view value;
        i = ReadField(line, i, scratch, stops, value);
        emit(count, value);
        ++count;
    }
    return count;
}

bool NeedsQuotes(std::string_view field) {
    for (size_t i = 0; i < field.size(); i = Next(field, i)) {
        unsigned char b = static_cast<unsigned char>(field[i]);
        if (b <= 0x20 || b == kQuote || b == kComma)
            return true;
    }
    return false;
}

void AppendQuoted(std::string_view field, std::string& out) {
    out += kQuote;
    for (size_t i = 0; i < field.size();) {
        size_t next = Next(field, i);
        if (field[i] == kQuote)
            out += kQuote;
        out.append(field.substr(i, next - i));
        i = next;
    }
    out += kQuote;
}

}  // namespace

void SplitLineInto(std::string_view line, std::vector<std::string>& fields, size_t maxFields) {
    thread_local std::string scratch;
    const size_t count = SplitFields(line, maxFields, scratch, [&](size_t k, std::string_view v) {
        if (k == fields.size())
            fields.emplace_back(v);
        else
            fields[k].assign(v);
    });
    fields.resize(count);
}

void SplitLineViews(std::string_view line, std::vector<std::string_view>& fields,
                    std::string& scratch, size_t maxFields) {
    fields.clear();
    SplitFields(line, maxFields, scratch, [&](size_t, std::string_view v) { fields.push_back(v); });
}

std::vector<std::string> SplitLine(std::string_view line) {
    std::vector<std::string> fields;
    SplitLineInto(line, fields);
    return fields;
}

std::string_view FirstFieldView(std::string_view line, std::string& scratch) {
    size_t i = SkipBlanks(line, 0);
    std::string_view value;
    if (!AtEnd(line, i)) {
        scratch.clear();
        scratch.reserve(line.size());
        StopBytes stops(line);
        ReadField(line, i, scratch, stops, value);
    }
    return value;
}

bool HasNoField(std::string_view line) {
    return AtEnd(line, SkipBlanks(line, 0));
}

std::string FirstField(std::string_view line) {
    std::string scratch;
    return std::string(FirstFieldView(line, scratch));
}

std::string JoinLine(const std::vector<std::string>& fields) {
    if (fields.size() == 1 && fields[0].empty())
        return "\"\"";
    std::string line;
    for (size_t k = 0; k < fields.size(); ++k) {
        if (k > 0)
            line += kComma;
        if (NeedsQuotes(fields[k])) {
            AppendQuoted(fields[k], line);
        } else {
            line += fields[k];
        }
    }
    return line;
}

}  // namespace ledger
