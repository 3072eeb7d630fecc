// The network import's reply: every line is added, skipped, refused by the exchange's text
// rules or reported as unsaved, and what was added lies in the month file of its own date
// and passes those rules.

#include "fuzzsupport.h"

#include "netimport/netimport.h"

#include "ledger/categorylist.h"
#include "ledger/csvline.h"
#include "ledger/exchangetext.h"
#include "ledger/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzzsupport::AsText(data, size);
    const bool completeOnly = fuzzsupport::TakeByte(input) % 2 == 1;
    const auto folder = fuzzsupport::FreshFolder("net");
    const auto reply = folder / "~net.dat";
    fuzzsupport::WriteBytes(reply, input);
    std::filesystem::create_directory(folder / "data");
    const ledger::MonthStore store(folder / "data", ledger::SyncMode::NoSync);
    const ledger::CategoryList& categories = fuzzsupport::Categories();

    const netimport::MergeResult r = netimport::MergeReply(reply, store, categories, completeOnly);
    const size_t lines = ledger::SplitTextLines(input).size();
    const size_t counted = static_cast<size_t>(r.added + r.skipped + r.alreadyThere) +
                           r.unsaved.size() + r.refused.size();
    FUZZ_CHECK(!r.cutLastLine || completeOnly);
    FUZZ_CHECK(counted == lines || (completeOnly && counted + 1 == lines));
    FUZZ_CHECK(r.unsaved.empty());

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
