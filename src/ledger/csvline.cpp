#include "csvline.h"

#include "bytescan.h"
#include "cp932.h"

#include <array>

namespace ledger {
namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';

// Byte classes for the scanners: a lookup is cheaper than the range tests on every byte.
enum ByteClass : unsigned char { kText = 0, kLead = 1, kStop = 2 };

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> classes{};
    for (int b = 0; b < 256; ++b) {
        if (b <= 0x20 || b == kComma) {
            classes[b] = kStop;
        } else if (IsLeadByte(static_cast<unsigned char>(b))) {
            classes[b] = kLead;
        }
    }
    return classes;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

unsigned char ClassOf(char c) {
    return kClasses[static_cast<unsigned char>(c)];
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
    return (ClassOf(s[i]) == kLead && i + 1 < s.size() && TakesAsTrail(s[i + 1])) ? i + 2 : i + 1;
}

// Whether byte `j` (a blank or control byte) starts a character, given that byte `from`
// does. The scanners look for a separator byte first and ask this only for the byte found:
// a byte after an odd run of lead-byte values is the trail of the last one. (A byte that is
// not a lead byte always ends its character, whatever role it plays, so the run's start is a
// character start.) Commas and quotes never need asking.
bool IsCharStart(std::string_view s, size_t from, size_t j) {
    size_t run = 0;
    while (j > from && ClassOf(s[j - 1]) == kLead) {
        --j;
        ++run;
    }
    return run % 2 == 0;
}

// The next quote at or after `i`: a quote byte is always a quote.
size_t FindQuote(std::string_view s, size_t i) {
    return s.find(kQuote, i);
}

// Reads a quoted field starting at the opening quote `i` into `out`; returns the position
// after the closing quote (or the end of the text for an unclosed field).
size_t ReadQuoted(std::string_view s, size_t i, std::string& out) {
    out.clear();
    size_t p = i + 1;
    for (;;) {
        size_t q = FindQuote(s, p);
        if (q == std::string_view::npos) {
            // No closing quote: the rest of the line less its last byte.
            out.append(s.substr(p));
            if (!out.empty())
                out.pop_back();
            return s.size();
        }
        out.append(s.substr(p, q - p));
        if (q + 1 < s.size() && s[q + 1] == kQuote) {
            out += kQuote;
            p = q + 2;
            continue;
        }
        return q + 1;
    }
}

// The end of an unquoted field starting at `i`: the first comma or byte up to 0x20.
// The first byte at or after `i` that is up to 0x20 or a comma, or the end.
size_t FindStopByte(std::string_view s, size_t i) {
    return FindFirstByte(
        s, i, [](uint64_t word) { return FlagBelow(word, 0x21) | FlagEqual(word, kComma); },
        [](char c) { return ClassOf(c) == kStop; });
}

size_t UnquotedEnd(std::string_view s, size_t i) {
    const size_t from = i;
    for (;;) {
        i = FindStopByte(s, i);
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

// Reads the field at `i`; the value is a view of `s` for an unquoted field, else of
// `scratch`. Returns where the next field starts.
size_t ReadField(std::string_view s, size_t i, std::string& scratch, std::string_view& value) {
    if (s[i] == kQuote) {
        i = ReadQuoted(s, i, scratch);
        value = scratch;
    } else {
        size_t end = UnquotedEnd(s, i);
        value = s.substr(i, end - i);
        i = end;
    }
    return SkipSeparator(s, i);
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
    size_t count = 0;
    size_t i = SkipBlanks(line, 0);
    while (!AtEnd(line, i) && count < maxFields) {
        if (count == fields.size())
            fields.emplace_back();
        std::string& field = fields[count];
        if (line[i] == kQuote) {
            i = SkipSeparator(line, ReadQuoted(line, i, field));
        } else {
            size_t end = UnquotedEnd(line, i);
            field.assign(line.data() + i, end - i);
            i = SkipSeparator(line, end);
        }
        ++count;
    }
    fields.resize(count);
}

std::vector<std::string> SplitLine(std::string_view line) {
    std::vector<std::string> fields;
    SplitLineInto(line, fields);
    return fields;
}

std::string_view FirstFieldView(std::string_view line, std::string& scratch) {
    size_t i = SkipBlanks(line, 0);
    std::string_view value;
    if (!AtEnd(line, i))
        ReadField(line, i, scratch, value);
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
