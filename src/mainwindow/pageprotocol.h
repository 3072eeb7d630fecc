#pragma once

#include "ledger/date.h"

namespace mainwindow {

// What the commands beside the day page (the search, row editing) ask of the window that
// holds it. The main window is the one implementation; nothing else writes the page's day.
class PageProtocol {
public:
    virtual ~PageProtocol() = default;

    // Commits an open cell edit and writes the page's day. False, the user told and the page
    // as it was, when the edit was refused or the day could not be written.
    virtual bool SavePage() = 0;
    // Before the page shows another day: rows typed without an amount or a category are not
    // written, so the user is asked once whether to drop them. False (the cursor on that row)
    // to stay.
    virtual bool ConfirmLeavePage() = 0;
    // After an accepted edit: the day into its month file, then both balances.
    virtual void SaveEdits() = 0;
    // A cell of `row` took a new value: its icon follows its category, then SaveEdits.
    virtual void CellEdited(int row) = 0;
    // Shows `date` (the page was saved and may be left) with its balances, the keyboard left
    // where it is.
    virtual void ShowSavedPageDay(const ledger::Date& date) = 0;
    // The day the page shows, and whether its month file could be read.
    virtual ledger::Date PageDate() const = 0;
    virtual bool PageUnreadable() const = 0;
};

}  // namespace mainwindow
