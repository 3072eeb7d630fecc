// recurring.dat: the lines come back byte for byte when nothing changed (a template set to
// itself included); a template read from any line, added again, reads back the same; its
// occurrences come in date order within its first and last dates' reach; what is due by a
// day comes in date order.

#include "fuzzsupport.h"

#include "ledger/recurring.h"
#include "ledger/textfile.h"

#include <algorithm>

namespace {

bool SameTemplate(const ledger::RecurringTemplate& a, const ledger::RecurringTemplate& b) {
    return a.row == b.row && a.rule == b.rule && a.first == b.first && a.last == b.last &&
           a.shift == b.shift && a.enteredUpTo == b.enteredUpTo;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> lines = ledger::SplitTextLines(fuzzsupport::AsText(data, size));
    ledger::RecurringBook book = ledger::RecurringBook::FromLines(lines);
    FUZZ_CHECK(book.Lines() == lines);
    for (int k = 0; k < book.size(); ++k)
        book.SetTemplate(k, book.Template(k));
    FUZZ_CHECK(book.Lines() == lines);

    // Occurrences over a few years: a template from the year 1 is as right, and only slower.
    const ledger::Date today{2025, 6, 15};
    const auto recent = [&](const ledger::RecurringTemplate& t) {
        const ledger::Date from = t.enteredUpTo ? std::max(*t.enteredUpTo, t.first) : t.first;
        return from.ToDays() > today.ToDays() - 3 * 366;
    };
    ledger::RecurringBook due;
    for (int k = 0; k < book.size() && k < 8; ++k) {
        const ledger::RecurringTemplate& t = book.Template(k);
        ledger::RecurringBook copy;
        copy.AddTemplate(t);
        const ledger::RecurringBook back = ledger::RecurringBook::FromLines(copy.Lines());
        FUZZ_CHECK(back.size() == 1);
        FUZZ_CHECK(SameTemplate(back.Template(0), t));
        if (!recent(t))
            continue;
        due.AddTemplate(t);
        const std::vector<ledger::Date> dates = t.Occurrences(std::nullopt, today);
        for (size_t d = 0; d < dates.size(); ++d) {
            FUZZ_CHECK(dates[d].IsValid());
            FUZZ_CHECK(dates[d] <= today);
            FUZZ_CHECK(d == 0 || dates[d - 1] < dates[d]);
            // A weekend shift moves a date by three days at most.
            FUZZ_CHECK(dates[d].ToDays() + 3 >= t.first.ToDays());
        }
    }
    const std::vector<ledger::DueEntry> found =
        ledger::GatherDue(due, fuzzsupport::Categories(), today);
    for (size_t d = 1; d < found.size(); ++d)
        FUZZ_CHECK(found[d - 1].date <= found[d].date);
    return 0;
}
