#pragma once

#include "categories/categorymodel.h"
#include "ledger/date.h"
#include "ledger/gridcellfile.h"
#include "skin/builtinicons.h"
#include "state/appstate.h"

#include <QString>

#include <optional>
#include <vector>

namespace mainwindow {

// Something the user is told while the book opens, in the order it happened.
struct BookNotice {
    enum class Kind { Error, Warning };
    Kind kind = Kind::Error;
    QString text;
};

struct BookOpening {
    bool usable = false;         // the program can start on the book
    bool iniUnreadable = false;  // ini.ini exists but could not be read: never written over
    std::vector<BookNotice> notices;
};

// Opens the book at start-up, apart from any window: the icon and data folders (made when
// missing), the category list file (which must be there), the leftovers of a killed save,
// ini.ini and the settings, the icons, the chart colours and the category list; the page
// date becomes `today`.
BookOpening OpenBook(state::AppState& book, const skin::BuiltinIcons& icons,
                     const ledger::Date& today);

// Reads the category list file into the book; what failed, in the user's words.
std::optional<QString> LoadCategoryList(state::AppState& book);
// Writes a category table as the category list file (the one save path of the list), then
// carries the budgets of renamed categories along and drops those of removed ones.
std::optional<QString> SaveCategoryList(state::AppState& book, const ledger::GridTable& table,
                                        const categories::CategoryChanges& changes);
// Writes recurring.dat (the one save path of the templates) and keeps it as the book's.
std::optional<QString> SaveRecurring(state::AppState& book, const ledger::RecurringBook& recurring);
// Writes budget.dat (the one save path of the budgets) and keeps it as the book's budgets.
std::optional<QString> SaveBudgets(state::AppState& book, const ledger::BudgetBook& budgets);
// Writes the settings into ini.ini, with whatever else it holds.
std::optional<QString> SaveSettings(state::AppState& book);

}  // namespace mainwindow
