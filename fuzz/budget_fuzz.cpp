// budget.dat: the lines come back byte for byte when nothing changed; a budget set for a
// category the file does not name adds one line, reads back as set, and removed again leaves
// the file as it was; the monthly and per-month answers agree with the lines read back.

#include "fuzzsupport.h"

#include "ledger/budget.h"
#include "ledger/csvline.h"
#include "ledger/date.h"
#include "ledger/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzzsupport::AsText(data, size);
    const uint8_t choice = fuzzsupport::TakeByte(input);
    const std::vector<std::string> lines = ledger::SplitTextLines(input);
    ledger::BudgetBook book = ledger::BudgetBook::FromLines(lines);
    FUZZ_CHECK(book.Lines() == lines);

    // What the lines name, asked of the book and of the book read back: the same answers.
    // Each answer reads the whole book, so only the first fields of the first lines are asked
    // about: asking about all of them made a run's cost grow with the square of the input for no
    // new paths.
    const ledger::BudgetBook again = ledger::BudgetBook::FromLines(book.Lines());
    for (size_t n = 0; n < lines.size() && n < 16; ++n) {
        const std::vector<std::string> f = ledger::SplitLine(lines[n]);
        for (size_t k = 0; k < f.size() && k < 8; ++k) {
            const std::string& field = f[k];
            FUZZ_CHECK(book.MonthlyText(field) == again.MonthlyText(field));
            FUZZ_CHECK(book.For(202403, field) == again.For(202403, field));
            if (const std::optional<int> yyyymm = ledger::ParseInt(f[0]))
                FUZZ_CHECK(book.MonthText(*yyyymm, field) == again.MonthText(*yyyymm, field));
        }
    }

    const std::string category = "zq" + std::to_string(choice);
    if (input.find("zq") != std::string_view::npos)
        return 0;
    const std::string amount = std::to_string(choice * 1000);
    if (choice % 2 == 0)
        book.SetMonthly(category, amount);
    else
        book.SetMonth(202400 + 1 + choice % 12, category, amount);
    const std::vector<std::string> changed = book.Lines();
    FUZZ_CHECK(changed.size() == lines.size() + 1);
    // The lines read before are all there, in their order.
    size_t k = 0;
    for (const std::string& line : changed) {
        if (k < lines.size() && line == lines[k])
            ++k;
    }
    FUZZ_CHECK(k == lines.size());
    const ledger::BudgetBook reread = ledger::BudgetBook::FromLines(changed);
    if (choice % 2 == 0) {
        FUZZ_CHECK(reread.MonthlyText(category) == amount);
        book.SetMonthly(category, std::nullopt);
    } else {
        FUZZ_CHECK(reread.MonthText(202400 + 1 + choice % 12, category) == amount);
        book.SetMonth(202400 + 1 + choice % 12, category, std::nullopt);
    }
    FUZZ_CHECK(book.Lines() == lines);
    return 0;
}
