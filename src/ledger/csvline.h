#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ledger {

// The comma-and-quote rules of every comma-separated line the program reads or writes.
// Both work on CP932 bytes: a double-byte character is one unit and never a separator.

// Splits one line into fields. Blanks and control bytes around fields are dropped, an
// unquoted field ends at a comma or at any byte up to 0x20, a quoted field keeps everything
// up to its closing quote with "" standing for one quote, and a comma at the very end of
// the line adds no empty field.
std::vector<std::string> SplitLine(std::string_view line);

// Splits `line` into `fields`, reusing its storage (for loops over many lines). Stops after
// `maxFields` fields when a caller needs only the first few.
void SplitLineInto(std::string_view line, std::vector<std::string>& fields,
                   size_t maxFields = static_cast<size_t>(-1));

// Splits `line` into views: of `line` itself, or of `scratch` for a quoted field whose
// doubled quotes had to be undone. They stay valid while `line` does and `scratch` is not
// passed to another call. The readers that only look at fields use this: no field is copied.
void SplitLineViews(std::string_view line, std::vector<std::string_view>& fields,
                    std::string& scratch, size_t maxFields = static_cast<size_t>(-1));

// Whether the line splits into no field at all (empty, or blanks and control bytes only).
bool HasNoField(std::string_view line);

// The first field of a line, as SplitLine would give it, without splitting the rest.
std::string FirstField(std::string_view line);
// Same, as a view into `line`, or into `scratch` when the field is quoted.
std::string_view FirstFieldView(std::string_view line, std::string& scratch);

// Whether a line starts as the program writes its lines: eight digits and a comma. Its first
// field is then those digits, found without the splitter; the month readers and the search
// look at every line's date, often several times, so this shortcut is worth its few lines.
inline bool StartsWithPlainDate(std::string_view line) {
    if (line.size() < 9 || line[8] != ',')
        return false;
    for (size_t k = 0; k < 8; ++k) {
        if (line[k] < '0' || line[k] > '9')
            return false;
    }
    return true;
}

// Joins fields with commas. A field holding a comma, a quote or a byte up to 0x20 is
// quoted with its quotes doubled; a single empty field is written as "".
std::string JoinLine(const std::vector<std::string>& fields);

}  // namespace ledger
