// import.dat: lines not understood are kept; a mapping remembered for a header reads back as
// remembered and takes the place of an earlier one for the same header, every other line
// kept in its order; the rows imported before are read from any line without failing.

#include "fuzzsupport.h"

#include "ledger/textfile.h"
#include "statement/statementimport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzzsupport::AsText(data, size);
    // The mapping to remember, from the input's first bytes; the header key follows up to a
    // byte 0xFF, and the file's lines after it.
    statement::ImportBook::Remembered r;
    r.encoding = static_cast<statement::Encoding>(fuzzsupport::TakeByte(input) % 4);
    r.separator = static_cast<statement::Separator>(fuzzsupport::TakeByte(input) % 3);
    r.mapping.date = fuzzsupport::TakeByte(input) % 9 - 1;
    r.mapping.description = fuzzsupport::TakeByte(input) % 9 - 1;
    r.mapping.amount = fuzzsupport::TakeByte(input) % 9 - 1;
    const uint8_t memo = fuzzsupport::TakeByte(input);
    for (int column = 0; column < 8; ++column) {
        if (memo & (1 << column))
            r.mapping.memo.push_back(column);
    }
    r.mapping.positiveIsExpense = memo % 3 != 0;
    r.defaults.expense = fuzzsupport::TakeByte(input) % 5 - 1;
    const size_t cut = input.find('\xff');
    const std::string key(input.substr(0, cut));
    input.remove_prefix(cut == std::string_view::npos ? input.size() : cut + 1);

    const std::vector<std::string> lines = ledger::SplitTextLines(input);
    statement::ImportBook book = statement::ImportBook::FromLines(lines);
    FUZZ_CHECK(book.Lines() == lines);
    statement::KnownRows known;
    book.AddTo(known);
    (void)book.Find(key);

    book.Remember(key, r);
    if (key.empty()) {
        FUZZ_CHECK(book.Lines() == lines);
        return 0;
    }
    const std::optional<statement::ImportBook::Remembered> back = book.Find(key);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(back->mapping == r.mapping);
    FUZZ_CHECK(back->encoding == r.encoding && back->separator == r.separator);
    FUZZ_CHECK(back->defaults.expense == r.defaults.expense);
    // One line added or one replaced; every other line as it was, in its order.
    const std::vector<std::string>& changed = book.Lines();
    FUZZ_CHECK(changed.size() == lines.size() || changed.size() == lines.size() + 1);
    FUZZ_CHECK(fuzzsupport::LinesKeptInOrder(lines, changed) + 1 >= lines.size());
    return 0;
}
