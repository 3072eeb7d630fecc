#include "searchindex.h"

#include "ledger/csvline.h"
#include "ledger/textcompare.h"
#include "ledger/textfile.h"

#include <algorithm>

namespace mainunit {

SearchIndex::SearchIndex(std::vector<std::string> lines) : lines_(std::move(lines)) {}

SearchIndex SearchIndex::Build(const std::filesystem::path& dataFolder) {
    std::vector<std::string> lines;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder, ec)) {
        const std::filesystem::path& path = entry.path();
        if (path.extension() != ".csv" || !entry.is_regular_file(ec))
            continue;
        for (std::string& line : ledger::ReadLines(path)) {
            if (ledger::ParseInt(std::string_view(line).substr(0, 6)).has_value())
                lines.push_back(std::move(line));
        }
    }
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return ledger::CompareIgnoreCase(a, b) < 0;
    });
    return SearchIndex(std::move(lines));
}

std::optional<size_t> SearchIndex::FindNext(const std::string& text) {
    if (text != lastText_)
        position_ = 0;
    lastText_ = text;
    for (size_t k = position_; k < lines_.size(); ++k) {
        if (lines_[k].find(text) != std::string::npos)
            return k;
    }
    return std::nullopt;
}

std::optional<ledger::Date> SearchIndex::JumpTo(size_t line) {
    const std::string first = ledger::FirstField(lines_.at(line));
    const std::optional<int> number = ledger::ParseInt(first);
    if (!number || first.size() != 8)
        return std::nullopt;
    const ledger::Date date{*number / 10000, *number / 100 % 100, *number % 100};
    if (!date.IsValid())
        return std::nullopt;  // no day to show: matched, but no jump
    position_ = line + 1;
    return date;
}

}  // namespace mainunit
