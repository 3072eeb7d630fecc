// The grid cell file (the category list's format): a table read from any bytes writes back
// and reads again as the same table; the category list built from it is usable.

#include "fuzzsupport.h"

#include "ledger/categorylist.h"
#include "ledger/gridcellfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto folder = fuzzsupport::Scratch();
    const auto file = folder / "setting.dat";
    fuzzsupport::WriteBytes(file, fuzzsupport::AsText(data, size));
    ledger::GridTable table;
    try {
        table = ledger::ReadGridCellFile(file);
    } catch (const ledger::FileError&) {
        return 0;  // refused with a message: that is the reader's promise for a corrupt file
    }
    const auto copy = folder / "setting-copy.dat";
    ledger::WriteGridCellFile(copy, table, ledger::SyncMode::NoSync);
    const ledger::GridTable again = ledger::ReadGridCellFile(copy);
    FUZZ_CHECK(again.cols() == table.cols() && again.rows() == table.rows());
    for (int c = 0; c < table.cols(); ++c) {
        FUZZ_CHECK(again.ColumnWidth(c) == table.ColumnWidth(c));
        for (int r = 0; r < table.rows(); ++r)
            FUZZ_CHECK(again.Cell(c, r) == table.Cell(c, r));
    }

    const ledger::CategoryList list = ledger::CategoryList::FromTable(table);
    FUZZ_CHECK(list.size() <= ledger::CategoryList::kMaxCategories);
    for (int k = 0; k < list.size(); ++k) {
        const int found = list.CategoryIndex(list.Name(k));
        FUZZ_CHECK(found >= 0 && found <= k);
        (void)list.IsIncome(k);
        FUZZ_CHECK(list.Presets(k).size() <=
                   static_cast<size_t>(ledger::CategoryList::kMaxPresets));
    }
    return 0;
}
