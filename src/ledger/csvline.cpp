#include "csvline.h"

#include "cp932.h"

namespace ledger {
namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';

bool IsBlank(unsigned char b) { return b >= 0x01 && b <= 0x20; }

// Steps over one character: two bytes for a lead byte that has a byte after it.
size_t Next(std::string_view s, size_t i) {
    return (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? i + 2 : i + 1;
}

// Finds the next quote at or after `i`, stepping over double-byte characters.
size_t FindQuote(std::string_view s, size_t i) {
    while (i < s.size() && s[i] != '\0') {
        if (s[i] == kQuote) return i;
        i = Next(s, i);
    }
    return std::string_view::npos;
}

// Reads a quoted field starting at the opening quote `i`; returns the position after the
// closing quote (or the end of the line for an unclosed field).
size_t ReadQuoted(std::string_view s, size_t i, std::string& out) {
    out.clear();
    size_t p = i + 1;
    for (;;) {
        size_t q = FindQuote(s, p);
        if (q == std::string_view::npos) {
            // No closing quote: the rest of the line less its last byte.
            size_t end = s.find('\0', p);
            if (end == std::string_view::npos) end = s.size();
            out.append(s.substr(p, end - p));
            if (!out.empty()) out.pop_back();
            return end;
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

size_t SkipBlanks(std::string_view s, size_t i) {
    while (i < s.size() && IsBlank(static_cast<unsigned char>(s[i]))) ++i;
    return i;
}

bool AtEnd(std::string_view s, size_t i) { return i >= s.size() || s[i] == '\0'; }

// Reads the field at `i` into `out`; returns where the next field starts.
size_t ReadField(std::string_view s, size_t i, std::string& out) {
    if (s[i] == kQuote) {
        i = ReadQuoted(s, i, out);
    } else {
        size_t start = i;
        while (!AtEnd(s, i) && static_cast<unsigned char>(s[i]) > 0x20 && s[i] != kComma) {
            i = Next(s, i);
        }
        out.assign(s.substr(start, std::min(i, s.size()) - start));
    }
    i = SkipBlanks(s, i);
    if (!AtEnd(s, i) && s[i] == kComma) i = SkipBlanks(s, i + 1);
    return i;
}

bool NeedsQuotes(std::string_view field) {
    for (size_t i = 0; i < field.size(); i = Next(field, i)) {
        unsigned char b = static_cast<unsigned char>(field[i]);
        if (b <= 0x20 || b == kQuote || b == kComma) return true;
    }
    return false;
}

void AppendQuoted(std::string_view field, std::string& out) {
    out += kQuote;
    for (size_t i = 0; i < field.size();) {
        size_t next = Next(field, i);
        if (field[i] == kQuote) out += kQuote;
        out.append(field.substr(i, next - i));
        i = next;
    }
    out += kQuote;
}

}  // namespace

void SplitLineInto(std::string_view line, std::vector<std::string>& fields) {
    size_t count = 0;
    size_t i = SkipBlanks(line, 0);
    while (!AtEnd(line, i)) {
        if (count == fields.size()) fields.emplace_back();
        i = ReadField(line, i, fields[count]);
        ++count;
    }
    fields.resize(count);
}

std::vector<std::string> SplitLine(std::string_view line) {
    std::vector<std::string> fields;
    SplitLineInto(line, fields);
    return fields;
}

std::string FirstField(std::string_view line) {
    std::string field;
    size_t i = SkipBlanks(line, 0);
    if (!AtEnd(line, i)) ReadField(line, i, field);
    return field;
}

std::string JoinLine(const std::vector<std::string>& fields) {
    if (fields.size() == 1 && fields[0].empty()) return "\"\"";
    std::string line;
    for (size_t k = 0; k < fields.size(); ++k) {
        if (k > 0) line += kComma;
        if (NeedsQuotes(fields[k])) {
            AppendQuoted(fields[k], line);
        } else {
            line += fields[k];
        }
    }
    return line;
}

}  // namespace ledger
