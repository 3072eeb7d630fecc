#pragma once

#include "http/client.h"
#include "ledger/categorylist.h"
#include "ledger/fileerror.h"
#include "ledger/monthfile.h"
#include "netimport/netimport.h"
#include "netimport/replystate.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace netimport {

// The exchange's steps in the order that loses nothing, without widgets: the dialog and the
// start-up offer run them, and the kill test runs them in a process it kills.

enum class RequestKind { Check, Import, Resend };

struct FetchOutcome {
    // The request did not go out: the state or the reply file could not be written (the
    // error says which, with the path). Nothing at the service changed.
    std::optional<ledger::FileError> notStarted;
    // It went out: nullopt for a whole reply on the disk, else why not.
    std::optional<http::Failure> failure;
    std::string storeError;  // the reply file's own error, when writing it failed
};

// Runs the client's GET (its URL set by the caller) into the reply file. An import or a
// resend marks the state Broken before its request and Unmerged once its whole reply is on
// the disk (synced); a check leaves the state alone. `received` counts the bytes as they come.
FetchOutcome FetchReply(http::Client& client, const std::filesystem::path& replyFile,
                        RequestKind kind, const http::Client::Pump& pump, uint64_t& received);

// Merges the reply file (whole lines only) and then moves the state to `next` (a reply whose
// last line was cut short owes the resend). The state stays as it was when the file cannot be
// read (ledger::FileError is thrown) or the state cannot be written (`stateError` says why).
MergeResult MergeReplyFile(const std::filesystem::path& replyFile, const ledger::MonthStore& store,
                           const ledger::CategoryList& categories, ReplyState next,
                           std::optional<ledger::FileError>& stateError);

}  // namespace netimport
