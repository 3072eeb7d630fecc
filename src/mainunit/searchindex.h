#pragma once

#include "ledger/date.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace mainunit {

// The search over every entry of the book: the stored lines of all month files in date
// order, searched forward from where the last match was.
class SearchIndex {
public:
    // Every line of every "*.csv" in the data folder whose first six characters are a whole
    // number, sorted as text without regard to letter case (so by date). Throws
    // ledger::FileError for a month file that cannot be read.
    static SearchIndex Build(const std::filesystem::path& dataFolder);
    explicit SearchIndex(std::vector<std::string> lines = {});

    const std::vector<std::string>& lines() const { return lines_; }

    // The next line holding `text` (CP932 bytes, case-sensitive) from the current position;
    // a new text starts again at the first line. nullopt when none is left: the position
    // stays, so the same text reports the same until it changes.
    std::optional<size_t> FindNext(const std::string& text);
    // The day a found line jumps to, when its first field is a whole number "yyyymmdd". The
    // position moves past the line only then.
    std::optional<ledger::Date> JumpTo(size_t line);

private:
    std::vector<std::string> lines_;
    size_t position_ = 0;
    std::string lastText_;
};

}  // namespace mainunit
