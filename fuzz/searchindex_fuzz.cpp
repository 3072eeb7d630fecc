// The search: the index holds its lines sorted as text without regard to letter case (its
// date shortcut must not change that order), and a find returns a line holding the text.

#include "fuzzsupport.h"

#include "mainwindow/searchindex.h"

#include "ledger/textcompare.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzzsupport::AsText(data, size);
    const size_t needleSize = fuzzsupport::TakeByte(input) % 4;
    const std::string needle(input.substr(0, needleSize));
    input.remove_prefix(std::min(needleSize, input.size()));
    const auto folder = fuzzsupport::FreshFolder("search");
    // Up to three month files, split at a byte 0xFF.
    int file = 0;
    while (file < 3) {
        const size_t cut = input.find('\xff');
        fuzzsupport::WriteBytes(folder / ("20240" + std::to_string(file + 1) + ".csv"),
                                input.substr(0, cut));
        ++file;
        if (cut == std::string_view::npos)
            break;
        input.remove_prefix(cut + 1);
    }

    mainwindow::SearchIndex index = mainwindow::SearchIndex::Build(folder);
    const auto& lines = index.lines();
    for (size_t k = 1; k < lines.size(); ++k)
        FUZZ_CHECK(ledger::CompareIgnoreCase(lines[k - 1], lines[k]) <= 0);
    if (needle.empty())
        return 0;
    for (int guard = 0; guard < 8; ++guard) {
        const std::optional<size_t> hit = index.FindNext(needle);
        if (!hit)
            break;
        FUZZ_CHECK(*hit < lines.size());
        FUZZ_CHECK(lines[*hit].find(needle) != std::string_view::npos);
        if (!index.JumpTo(*hit))
            break;
    }
    return 0;
}
