// The month file: a day saved as it was read needs no write; saving a changed day keeps every
// other day's lines byte for byte and in order, the day's lines at the end; a day's entries
// load back as saved (untouched rows as their lines, edited rows through the comma rules);
// and the period readers take any file.

#include "fuzzsupport.h"

#include "ledger/accountingmonth.h"
#include "ledger/amount.h"
#include "ledger/categorylist.h"
#include "ledger/csvline.h"
#include "ledger/monthfile.h"
#include "ledger/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzzsupport::AsText(data, size);
    const int day = 1 + fuzzsupport::TakeByte(input) % 31;
    const uint8_t edit = fuzzsupport::TakeByte(input);
    const ledger::Date date{2024, 3, day};
    const std::string key = ledger::Yyyymmdd(date);

    const std::vector<ledger::DayEntry> entries = ledger::DayEntriesIn(input, key);
    FUZZ_CHECK(!ledger::ReplaceDayLines(input, key, entries).has_value());

    // A day saved with one row changed (or a row added to an empty day).
    std::vector<ledger::DayEntry> changed = entries;
    if (changed.empty()) {
        changed.push_back({{"a", "x", "1", ""}, {}});
    } else {
        ledger::DayEntry& row = changed[edit % changed.size()];
        row.line.clear();
        if (row.cells[0].empty() || row.cells[2].empty())
            row.cells = {"a", "x", "1", ""};  // a row without category or amount is not kept
        row.cells[3] += "m";                  // changed, whatever it held
    }
    const std::optional<std::string> saved = ledger::ReplaceDayLines(input, key, changed);
    FUZZ_CHECK(saved.has_value());
    std::string expected;
    for (const std::string& line : ledger::SplitTextLines(input)) {
        if (ledger::FirstField(line) != key)
            expected += line + "\r\n";
    }
    for (const ledger::DayEntry& entry : changed)
        expected += *ledger::EntryLine(key, entry) + "\r\n";
    FUZZ_CHECK(*saved == expected);
    const std::vector<ledger::DayEntry> back = ledger::DayEntriesIn(*saved, key);
    FUZZ_CHECK(back.size() == changed.size());
    for (size_t k = 0; k < back.size(); ++k)
        FUZZ_CHECK(back[k].cells == changed[k].cells);

    // The period readers read files: one input in sixteen, under a closing day that makes
    // the span cross into April.
    if (edit % 16 != 0)
        return 0;
    const auto folder = fuzzsupport::FreshFolder("data");
    const ledger::MonthStore store(folder, ledger::SyncMode::NoSync);
    fuzzsupport::WriteBytes(store.MonthFilePath(date), input);
    fuzzsupport::WriteBytes(store.MonthFilePath({2024, 4, 1}), *saved);
    const ledger::AccountingMonth span =
        ledger::AccountingMonthOf(date, ledger::ClosingDay{1 + edit % 28, true});
    std::vector<std::string> lines;
    store.ReadPeriodLines(span.first, span.last, true, lines);
    (void)store.SumPeriod(span.first, span.last, 3, edit % 32 == 0, fuzzsupport::Categories());
    return 0;
}
