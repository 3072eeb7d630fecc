// The month file: saving a day keeps every other day's lines byte for byte and in order,
// a day's entries load back as saved (untouched rows as their lines, edited rows through the
// comma rules), and the period readers take any file.

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
    const auto folder = fuzzsupport::FreshFolder("data");
    const ledger::MonthStore store(folder, ledger::SyncMode::NoSync);
    const ledger::Date date{2024, 3, day};
    fuzzsupport::WriteBytes(store.MonthFilePath(date), input);

    const std::vector<ledger::DayEntry> entries = store.LoadDayEntries(date);
    store.SaveDayEntries(date, entries);
    const std::string key = ledger::Yyyymmdd(date);
    std::string expected;
    std::string dayLines;
    for (const std::string& line : ledger::SplitTextLines(input)) {
        (ledger::FirstField(line) == key ? dayLines : expected) += line + "\r\n";
    }
    expected += dayLines;
    FUZZ_CHECK(fuzzsupport::ReadBytes(store.MonthFilePath(date)) == expected);

    // An edited row is joined from its cells; loaded again it gives the same cells.
    std::vector<ledger::DayEntry> changed = store.LoadDayEntries(date);
    FUZZ_CHECK(changed.size() == entries.size());
    if (!changed.empty()) {
        ledger::DayEntry& row = changed[edit % changed.size()];
        row.line.clear();
        if (row.cells[0].empty() || row.cells[2].empty())
            row.cells = {"a", "x", "1", ""};  // a row without category or amount is not kept
        store.SaveDayEntries(date, changed);
        const std::vector<ledger::DayEntry> back = store.LoadDayEntries(date);
        FUZZ_CHECK(back.size() == changed.size());
        for (size_t k = 0; k < back.size(); ++k)
            FUZZ_CHECK(back[k].cells == changed[k].cells);
    }

    // The period readers, under a closing day that makes the span cross into April.
    const ledger::AccountingMonth span =
        ledger::AccountingMonthOf(date, ledger::ClosingDay{1 + edit % 28, true});
    std::vector<std::string> lines;
    store.ReadPeriodLines(span.first, span.last, true, lines);
    (void)store.SumPeriod(span.first, span.last, 3, edit % 2 == 0, fuzzsupport::Categories());
    return 0;
}
