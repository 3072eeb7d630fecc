#pragma once

#include "ledger/categorylist.h"
#include "ledger/cp932.h"
#include "ledger/gridcellfile.h"

namespace testsupport {

// A small category list: 食費 an expense, 給料 an income.
inline ledger::CategoryList FoodAndSalary() {
    ledger::GridTable t(2, 3);
    t.SetCell(1, 1, ledger::ToCp932("食費"));
    t.SetCell(0, 2, ledger::ToCp932("収入"));
    t.SetCell(1, 2, ledger::ToCp932("給料"));
    return ledger::CategoryList::FromTable(t);
}

}  // namespace testsupport
