// The search: finds come in the order of every line sorted as text without regard to letter
// case (equal lines in file order), as a plain sort of all lines gives it, each find holds the
// text, and a walk of finds visits every such line up to the first that has no day.

#include "fuzzsupport.h"

#include "mainwindow/searchindex.h"

#include "ledger/date.h"
#include "ledger/textcompare.h"
#include "ledger/textfile.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzzsupport::AsText(data, size);
    const size_t needleSize = fuzzsupport::TakeByte(input) % 4;
    const std::string needle(input.substr(0, needleSize));
    input.remove_prefix(std::min(needleSize, input.size()));

    // Up to three month files, split at a byte 0xFF; the reference sorts all their lines.
    mainwindow::SearchIndex index;
    std::vector<std::string_view> all;
    for (int file = 0; file < 3; ++file) {
        const size_t cut = input.find('\xff');
        const std::string_view bytes = input.substr(0, cut);
        index.AddFile(bytes);
        ledger::ForEachLine(bytes, [&](std::string_view line) {
            if (ledger::ParseInt(line.substr(0, 6)).has_value())
                all.push_back(line);
        });
        if (cut == std::string_view::npos)
            break;
        input.remove_prefix(cut + 1);
    }
    std::stable_sort(all.begin(), all.end(), [](std::string_view a, std::string_view b) {
        return ledger::CompareIgnoreCase(a, b) < 0;
    });
    FUZZ_CHECK(index.SortedLines() == all);
    if (needle.empty())
        return 0;

    std::vector<std::string_view> expected;
    for (std::string_view line : all) {
        if (line.find(needle) != std::string_view::npos)
            expected.push_back(line);
    }
    // The first 32 finds (each find weighs every match: a longer walk only costs time).
    if (expected.size() > 32)
        expected.resize(32);
    size_t k = 0;
    for (; k < expected.size(); ++k) {
        const std::optional<size_t> hit = index.FindNext(needle);
        FUZZ_CHECK(hit.has_value());
        FUZZ_CHECK(index.Line(*hit) == expected[k]);
        if (!index.JumpTo(*hit)) {
            // No day: the search stays on this line.
            FUZZ_CHECK(index.FindNext(needle) == hit);
            return 0;
        }
    }
    if (expected.size() < 32)
        FUZZ_CHECK(!index.FindNext(needle).has_value());
    return 0;
}
