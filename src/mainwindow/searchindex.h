#pragma once

#include "ledger/date.h"

#include <cstddef>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mainwindow {

// The search over every entry of the book: the stored lines of all month files in date
// order, searched forward from where the last match was.
class SearchIndex {
public:
    // Every line of every "*.csv" in the data folder whose first six characters are a whole
    // number, sorted as text without regard to letter case (so by date). Throws
    // ledger::FileError for a month file that cannot be read.
    static SearchIndex Build(const std::filesystem::path& dataFolder);
    explicit SearchIndex(std::vector<std::string> lines = {});
    // The lines are views into the index's own blocks: moved, never copied.
    SearchIndex(SearchIndex&&) = default;
    SearchIndex& operator=(SearchIndex&&) = default;
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    const std::vector<std::string_view>& lines() const { return lines_; }

    // The next line holding `text` (CP932 bytes, case-sensitive) from the current position;
    // a new text starts again at the first line. nullopt when none is left: the position
    // stays, so the same text reports the same until it changes.
    std::optional<size_t> FindNext(const std::string& text);
    // A text that no line can hold was searched for (one with no Shift-JIS form): nothing is
    // found, and the next text starts again at the first line.
    void SearchedForNothing() { lastText_.clear(); }
    // The day a found line jumps to, when its first field is a whole number "yyyymmdd". The
    // position moves past the line only then.
    std::optional<ledger::Date> JumpTo(size_t line);
    // The day of a line, as JumpTo finds it, without moving.
    std::optional<ledger::Date> DateOf(size_t line) const;
    std::string_view Line(size_t line) const { return lines_.at(line); }
    // How many lines before this one are the very same bytes: which of a day's equal entries
    // it is.
    size_t SameLinesBefore(size_t line) const;

private:
    // The month files' bytes, whole, and the index's lines as views into them: one block per
    // file instead of one per line. A deque never moves a block once it is in.
    std::deque<std::string> blocks_;
    std::vector<std::string_view> lines_;
    size_t position_ = 0;
    std::string lastText_;
};

}  // namespace mainwindow
