#include "searchindex.h"

#include "ledger/csvline.h"
#include "ledger/textcompare.h"
#include "ledger/textfile.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace mainwindow {
namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// A line of the search starts with a whole number of six characters (yyyymm).
bool IsSearched(std::string_view line) {
    return ledger::ParseInt(line.substr(0, 6)).has_value();
}

// Where the line holding byte `at` starts.
size_t LineStart(std::string_view bytes, size_t at) {
    while (at > 0 && !IsLineEnd(bytes[at - 1]))
        --at;
    return at;
}

// Lines in the order of finds. A line written the usual way starts with eight digits and a
// comma, where text order is date order: different dates decide at once, without folding.
int CompareLines(std::string_view a, std::string_view b) {
    if (ledger::StartsWithPlainDate(a) && ledger::StartsWithPlainDate(b)) {
        if (const int date = a.substr(0, 8).compare(b.substr(0, 8)); date != 0)
            return date;
        return ledger::CompareIgnoreCase(a.substr(9), b.substr(9));
    }
    return ledger::CompareIgnoreCase(a, b);
}

}  // namespace

SearchIndex::SearchIndex(const std::vector<std::string>& lines) {
    AddFile(ledger::JoinLines(lines));
}

void SearchIndex::AddFile(std::string_view bytes) {
    bytes_.append(bytes);
    bytes_ += '\n';
}

SearchIndex SearchIndex::Build(const std::filesystem::path& dataFolder) {
    SearchIndex index;
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    size_t size = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder, ec)) {
        if (entry.path().extension() != ".csv" || !entry.is_regular_file(ec))
            continue;
        files.push_back(entry.path());
        size += static_cast<size_t>(entry.file_size(ec)) + 2;
    }
    index.bytes_.reserve(size);
    // Straight into the search's bytes: the same as AddFile, without a copy of each file.
    for (const std::filesystem::path& path : files) {
        if (ledger::AppendWholeFile(path, index.bytes_))
            index.bytes_ += '\n';
    }
    return index;
}

std::string_view SearchIndex::Line(size_t line) const {
    const std::string_view bytes(bytes_);
    if (line >= bytes.size())
        throw std::out_of_range("no such line in the search");
    return bytes.substr(line, ledger::FindLineEnd(bytes, line) - line);
}

bool SearchIndex::Before(Span a, Span b) const {
    const int order = CompareLines(Text(a), Text(b));
    return order < 0 || (order == 0 && a.start < b.start);
}

std::vector<SearchIndex::Span> SearchIndex::LinesHolding(std::string_view text) const {
    const std::string_view bytes(bytes_);
    std::vector<Span> found;
    ledger::LineEndFinder ends(bytes);
    size_t from = 0;
    while (from < bytes.size()) {
        size_t start;
        size_t end;
        if (text.empty()) {
            // Every line holds the empty text.
            start = from;
            end = ends.Next(from);
        } else {
            const void* hit =
                ::memmem(bytes.data() + from, bytes.size() - from, text.data(), text.size());
            if (hit == nullptr)
                break;
            const auto at = static_cast<size_t>(static_cast<const char*>(hit) - bytes.data());
            start = LineStart(bytes, at);
            end = ledger::FindLineEnd(bytes, at);
            if (at + text.size() > end) {
                // The text runs over a line end: no line holds this occurrence.
                from = at + 1;
                continue;
            }
        }
        if (end > start && IsSearched(bytes.substr(start, end - start)))
            found.push_back({start, end - start});
        from = end + 1;
    }
    return found;
}

std::optional<size_t> SearchIndex::FindNext(const std::string& text) {
    if (text != lastText_ || matches_.empty()) {
        if (text != lastText_)
            position_.reset();
        lastText_ = text;
        matches_ = LinesHolding(text);
    }
    std::optional<Span> best;
    for (const Span& line : matches_) {
        if (position_ && !Before(*position_, line))
            continue;
        if (!best || Before(line, *best))
            best = line;
    }
    if (!best)
        return std::nullopt;
    return best->start;
}

void SearchIndex::SearchedForNothing() {
    lastText_.clear();
    matches_.clear();
    position_.reset();
}

std::optional<ledger::Date> SearchIndex::DateOf(size_t line) const {
    const std::string first = ledger::FirstField(Line(line));
    const std::optional<int> number = ledger::ParseInt(first);
    if (!number || first.size() != 8)
        return std::nullopt;
    const ledger::Date date{*number / 10000, *number / 100 % 100, *number % 100};
    if (!date.IsValid())
        return std::nullopt;  // no day to show: matched, but no jump
    return date;
}

std::optional<ledger::Date> SearchIndex::JumpTo(size_t line) {
    std::optional<ledger::Date> date = DateOf(line);
    if (date)
        position_ = Span{line, Line(line).size()};
    return date;
}

size_t SearchIndex::SameLinesBefore(size_t line) const {
    // Equal lines are visited in the order of the bytes: count the whole lines before this
    // one that are the same.
    const std::string_view bytes(bytes_);
    const std::string_view text = Line(line);
    size_t count = 0;
    for (size_t from = 0; from < line;) {
        const void* hit = ::memmem(bytes.data() + from, line - from, text.data(), text.size());
        if (hit == nullptr)
            break;
        const auto at = static_cast<size_t>(static_cast<const char*>(hit) - bytes.data());
        const size_t after = at + text.size();
        if ((at == 0 || IsLineEnd(bytes[at - 1])) && after < bytes.size() &&
            IsLineEnd(bytes[after]))
            ++count;
        from = at + 1;
    }
    return count;
}

std::vector<std::string_view> SearchIndex::SortedLines() const {
    std::vector<Span> all = LinesHolding({});
    std::sort(all.begin(), all.end(), [this](Span a, Span b) { return Before(a, b); });
    std::vector<std::string_view> lines;
    lines.reserve(all.size());
    for (const Span& line : all)
        lines.push_back(Text(line));
    return lines;
}

}  // namespace mainwindow
