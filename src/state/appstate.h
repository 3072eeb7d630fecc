#pragma once

#include "state/chartcolors.h"
#include "state/iconset.h"

#include "ledger/budget.h"
#include "ledger/categorylist.h"
#include "ledger/date.h"
#include "ledger/folders.h"
#include "ledger/inifile.h"
#include "ledger/monthfile.h"
#include "ledger/recurring.h"
#include "ledger/settings.h"

#include <array>

namespace state {

// Everything that outlives a dialog: owned by the main window. A window is handed it when it
// opens and keeps a copy of what it reads (a value in), never a pointer into it.
struct AppState {
    explicit AppState(ledger::ProgramFolders programFolders)
        : folders(std::move(programFolders)), store(folders.Data()) {}

    ledger::ProgramFolders folders;
    ledger::MonthStore store;
    // ini.ini as read at start-up; written back, with what it holds besides, at shutdown.
    ledger::IniFile ini;
    ledger::Settings settings;
    ledger::CategoryList categories;
    // budget.dat as read at start-up and as last saved. When it could not be read it is
    // never written over.
    ledger::BudgetBook budgets;
    bool budgetsUnreadable = false;
    // recurring.dat, on the same terms.
    ledger::RecurringBook recurring;
    bool recurringUnreadable = false;
    IconSet icons;
    std::array<QColor, 33> chartColors{};
    ledger::Date pageDate;
    // Totals count expenses only (menu 合計を総支出のみ表示); off at every start.
    bool expenseOnly = false;
};

}  // namespace state
