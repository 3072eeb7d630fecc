// The network import's reply: every line is in a run of entries of its day, skipped, or
// refused by the exchange's text rules; what a merge adds lies in the month file of its own
// date and passes those rules.

#include "fuzzsupport.h"

#include "netimport/netimport.h"

#include "ledger/categorylist.h"
#include "ledger/csvline.h"
#include "ledger/exchangetext.h"
#include "ledger/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzzsupport::AsText(data, size);
    const uint8_t choice = fuzzsupport::TakeByte(input);
    const bool completeOnly = choice % 2 == 1;
    const ledger::CategoryList& categories = fuzzsupport::Categories();
    const size_t lines = ledger::SplitTextLines(input).size();

    // In memory: every line is in a run of its day, skipped or refused.
    netimport::MergeResult read;
    const std::vector<std::vector<netimport::ReplyEntry>> runs =
        netimport::ReadReply(input, categories, completeOnly, read);
    size_t entries = 0;
    for (const auto& run : runs) {
        FUZZ_CHECK(!run.empty());
        for (const netimport::ReplyEntry& e : run) {
            FUZZ_CHECK(e.date == run.front().date && e.date.IsValid());
            FUZZ_CHECK(categories.CategoryIndex(e.cells[0]) >= 0);
            for (size_t k = 0; k < e.cells.size(); ++k) {
                FUZZ_CHECK(
                    !ledger::RefuseExchangeText(e.cells[k], ledger::kExchangeFields[k].maxBytes));
            }
            ++entries;
        }
    }
    FUZZ_CHECK(!read.cutLastLine || completeOnly);
    const size_t sorted = entries + static_cast<size_t>(read.skipped) + read.refused.size();
    FUZZ_CHECK(sorted == lines || (read.cutLastLine && sorted + 1 == lines));

    // Into month files (one input in sixteen: files are slow): what was added lies in the month
    // file of its own date, and counts as the runs said.
    if (choice / 2 % 16 != 0)
        return 0;
    const auto folder = fuzzsupport::FreshFolder("net");
    const auto reply = folder / "~net.dat";
    fuzzsupport::WriteBytes(reply, input);
    std::filesystem::create_directory(folder / "data");
    const ledger::MonthStore store(folder / "data", ledger::SyncMode::NoSync);
    const netimport::MergeResult r = netimport::MergeReply(reply, store, categories, completeOnly);
    FUZZ_CHECK(r.unsaved.empty());
    FUZZ_CHECK(static_cast<size_t>(r.added + r.alreadyThere) == entries);
    FUZZ_CHECK(r.skipped == read.skipped && r.refused.size() == read.refused.size());

    int stored = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "data")) {
        const std::string month = entry.path().stem().string();
        for (const std::string& line : ledger::ReadLines(entry.path())) {
            const std::vector<std::string> fields = ledger::SplitLine(line);
            FUZZ_CHECK(fields.size() >= 4);
            FUZZ_CHECK(fields[0].size() == 8 && fields[0].starts_with(month));
            FUZZ_CHECK(categories.CategoryIndex(fields[1]) >= 0);
            for (size_t k = 1; k < fields.size() && k <= 4; ++k) {
                FUZZ_CHECK(!ledger::RefuseExchangeText(fields[k],
                                                       ledger::kExchangeFields[k - 1].maxBytes));
            }
            ++stored;
        }
    }
    FUZZ_CHECK(stored == r.added);
    return 0;
}
