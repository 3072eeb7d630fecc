// The statement reader and its preview, in memory: every input is a table or a refusal with
// a reason; every body row of a table is either previewed or listed as unreadable, with its
// own line number; a previewed row holds a real date, a plain non-negative amount and text
// that has a CP932 form. The date and amount forms never accept what they cannot give back.

#include "fuzzsupport.h"

#include "ledger/amount.h"
#include "statement/statementforms.h"
#include "statement/statementimport.h"
#include "statement/statementreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input = fuzzsupport::AsText(data, size);
    const uint8_t choice = static_cast<uint8_t>(fuzzsupport::TakeByte(input));
    statement::ReadOptions options;
    options.encoding = static_cast<statement::Encoding>(choice % 4);
    options.separator = static_cast<statement::Separator>((choice / 4) % 3);
    if (choice & 0x80)
        options.header = (choice & 0x40) != 0;

    if (const std::optional<ledger::Date> d = statement::ParseStatementDate(input))
        FUZZ_CHECK(d->IsValid());
    if (const std::optional<std::string> a = statement::ParseStatementAmount(input))
        FUZZ_CHECK(ledger::IsDecimalNumber(*a));

    auto read = statement::ReadStatement(input, options);
    if (const auto* why = std::get_if<std::string>(&read)) {
        FUZZ_CHECK(!why->empty());
        return 0;
    }
    const auto& table = std::get<statement::StatementTable>(read);
    FUZZ_CHECK(table.rows.size() == table.lineNumbers.size());
    FUZZ_CHECK(table.rows.size() <= statement::kMaxStatementRows);
    const ledger::CategoryList& categories = fuzzsupport::Categories();
    const statement::ColumnMapping mapping = statement::GuessMapping(table, categories);
    const statement::Preview preview =
        statement::BuildPreview(table, mapping, categories, {}, {}, {0, 0});
    FUZZ_CHECK(preview.rows.size() + preview.unreadable.size() == table.rows.size());
    for (const statement::PreviewRow& row : preview.rows) {
        FUZZ_CHECK(row.date.IsValid());
        FUZZ_CHECK(ledger::IsDecimalNumber(row.amount) && row.amount.front() != '-');
        FUZZ_CHECK(row.line >= 1);
    }
    return 0;
}
