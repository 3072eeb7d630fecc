// The grid cell file (the category list's format): a table read from any bytes writes back
// and reads again as the same table; the category list built from it is usable.

#include "fuzzsupport.h"

#include "ledger/categorylist.h"
#include "ledger/gridcellfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In memory: the file functions are these bytes read from and written to the file, which
    // the file tests hold them to.
    const std::optional<ledger::GridTable> read =
        ledger::ParseGridCells(fuzzsupport::AsText(data, size));
    if (!read)
        return 0;  // refused (the file reader says so with a message): the promise for a corrupt
                   // file
    const ledger::GridTable& table = *read;
    const ledger::CategoryList list = ledger::CategoryList::FromTable(table);
    FUZZ_CHECK(list.size() <= ledger::CategoryList::kMaxCategories);
    for (int k = 0; k < list.size(); ++k) {
        const int found = list.CategoryIndex(list.Name(k));
        FUZZ_CHECK(found >= 0 && found <= k);
        (void)list.IsIncome(k);
        FUZZ_CHECK(list.Presets(k).size() <=
                   static_cast<size_t>(ledger::CategoryList::kMaxPresets));
    }
    // The writer puts one line per column: a table promising more than a few thousand
    // columns (a category list has a dozen) makes the round trip slow and no more telling.
    if (table.cols() > 4096)
        return 0;
    const std::optional<ledger::GridTable> written =
        ledger::ParseGridCells(ledger::GridCellBytes(table));
    FUZZ_CHECK(written.has_value());
    const ledger::GridTable& again = *written;
    FUZZ_CHECK(again.cols() == table.cols() && again.rows() == table.rows());
    for (int c = 0; c < table.cols(); ++c)
        FUZZ_CHECK(again.ColumnWidth(c) == table.ColumnWidth(c));
    // Every cell the table holds reads back, and no other.
    size_t cells = 0;
    table.ForEachCell([&](int c, int r, const std::string& text) {
        FUZZ_CHECK(again.Cell(c, r) == text);
        ++cells;
    });
    size_t cellsAgain = 0;
    again.ForEachCell([&](int, int, const std::string&) { ++cellsAgain; });
    FUZZ_CHECK(cellsAgain == cells);
    return 0;
}
