#pragma once

#include "ledger/categorylist.h"
#include "ledger/inifile.h"
#include "ledger/monthfile.h"

#include <filesystem>
#include <functional>

class QWidget;

namespace platform {
class Prompts;
}

namespace netimport {

// What NET機能 came to; the user has been told of every failure.
struct ImportResult {
    bool requested = false;  // an import went out (the month files may hold new entries)
    int added = 0;           // entries added to the book
};

// What became of the reply an earlier import left.
enum class PendingReply {
    None,      // nothing was owed
    Merged,    // it is in the book now
    Declined,  // the user said no: it stays owed
};

// A reply of an earlier import that is not in the book yet (the program ended between the
// transfer and the merge): asks whether to merge it now, and does so on yes, saying what was
// added and that a broken import's batch will be fetched again.
PendingReply OfferPendingReply(QWidget& window, const ledger::MonthStore& store,
                               const ledger::CategoryList& categories,
                               const std::filesystem::path& replyFile, platform::Prompts& prompts,
                               const std::function<void()>& afterMerge);

// NET機能: first merges a reply left unmerged (OfferPendingReply; on no, nothing else
// happens), then shows the dialog (kept as a child of `window` between uses, so that the password
// lives only there for the run) with the "net" settings of `ini`; merges an import's reply
// (the file `replyFile`) into the month files, then calls `afterMerge` (the page shows its
// day again) before it reports what failed: a broken transfer, lines that could not be
// written. The fields are written back into `ini` (never the password); saving ini.ini is
// the caller's part.
ImportResult ImportFromService(QWidget& window, ledger::IniFile& ini,
                               const ledger::MonthStore& store,
                               const ledger::CategoryList& categories,
                               const std::filesystem::path& replyFile, platform::Prompts& prompts,
                               const std::function<void()>& afterMerge);

}  // namespace netimport
