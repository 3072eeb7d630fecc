#pragma once

#include "ledger/categorylist.h"
#include "ledger/date.h"
#include "ledger/monthfile.h"
#include "ledger/recurring.h"

#include <filesystem>

class QWidget;

namespace platform {
class Prompts;
}

namespace recurring {

// What offering the due entries came to; the user has been told.
struct OfferResult {
    bool asked = false;        // something was due and the question was shown
    bool bookChanged = false;  // the templates' entered-up-to dates moved
    int added = 0;             // rows written to the month files
};

// At start-up and when the page reaches a due date: gathers the occurrences due by `today`
// and, when there are any, asks in 定期入力の確認 (a child of `window`, kept). 入力する writes
// the checked ones to their days and marks every listed one done; スキップ marks them done;
// 今はしない changes nothing. `book` is updated and written to `file` when it changed. A file
// that cannot be written is said with its path and the reason.
OfferResult OfferDueEntries(QWidget& window, const ledger::MonthStore& store,
                            const ledger::CategoryList& categories, ledger::RecurringBook& book,
                            const std::filesystem::path& file, const ledger::Date& today,
                            platform::Prompts& prompts);

}  // namespace recurring
