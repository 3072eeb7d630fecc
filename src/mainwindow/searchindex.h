#pragma once

#include "ledger/date.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mainwindow {

// The search over every entry of the book. Finds come in the order of the lines sorted as
// text without regard to letter case (so by date, and within a day by what the line says),
// equal lines in the order the files hold them. Nothing is sorted beforehand: the month
// files' bytes are read end to end, a search scans them for the text, and only the lines
// that hold it are put in order. A line is known by where it starts in those bytes.
class SearchIndex {
public:
    // Every line of every "*.csv" in the data folder whose first six characters are a whole
    // number. Throws ledger::FileError for a month file that cannot be read.
    static SearchIndex Build(const std::filesystem::path& dataFolder);
    // The given lines, as if one month file held them in this order.
    explicit SearchIndex(const std::vector<std::string>& lines = {});
    // Adds the bytes of one more month file, as Build reads them.
    void AddFile(std::string_view bytes);

    // The next line holding `text` (CP932 bytes, case-sensitive) after the line last jumped
    // to; a new text starts again before the first line. nullopt when none is left: the
    // position stays, so the same text reports the same until it changes.
    std::optional<size_t> FindNext(const std::string& text);
    // A text that no line can hold was searched for (one with no Shift-JIS form): nothing is
    // found, and the next text starts again at the first line.
    void SearchedForNothing();
    // The day a found line jumps to, when its first field is a whole number "yyyymmdd". The
    // position moves past the line only then.
    std::optional<ledger::Date> JumpTo(size_t line);
    // The day of a line, as JumpTo finds it, without moving.
    std::optional<ledger::Date> DateOf(size_t line) const;
    std::string_view Line(size_t line) const;
    // How many lines before this one are the very same bytes: which of a day's equal entries
    // it is.
    size_t SameLinesBefore(size_t line) const;
    // Every line of the search in the order finds visit them (sorts them all: for checks).
    std::vector<std::string_view> SortedLines() const;

private:
    struct Span {
        size_t start;
        size_t size;
    };
    std::string_view Text(Span span) const { return {bytes_.data() + span.start, span.size}; }
    // Whether line `a` comes before line `b` in the order of finds.
    bool Before(Span a, Span b) const;
    // The lines of the search that hold `text`, in the order of the bytes.
    std::vector<Span> LinesHolding(std::string_view text) const;

    // The month files' bytes end to end, each file followed by a line end of its own so that
    // no line runs from one file into the next.
    std::string bytes_;
    std::string lastText_;
    std::vector<Span> matches_;     // the lines holding lastText_
    std::optional<Span> position_;  // the line last jumped to
};

}  // namespace mainwindow
