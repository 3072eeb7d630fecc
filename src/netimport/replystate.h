#pragma once

#include <filesystem>

namespace netimport {

// Where an import stands between the transfer and the merge, kept durably beside the reply
// file (as "~net.pending" beside "~net.dat"), so that a kill or a power cut at any moment
// loses no entry the service has already forgotten:
// - None: nothing is owed (no state file);
// - Unmerged: the reply file holds a whole reply that is not in the book yet;
// - Broken: the reply file holds what arrived of a reply that broke off (or was never
//   finished, when the program was killed): its whole lines are to be merged, and then the
//   service's last batch fetched again;
// - ResendOwed: what arrived is in the book; the service's last batch is to be fetched again.
// While the state is Unmerged or Broken, no request may write the reply file.
enum class ReplyState { None, Unmerged, Broken, ResendOwed };

std::filesystem::path ReplyStateFile(const std::filesystem::path& replyFile);
// A state file that cannot be read or says something else reads as Broken: merging twice
// adds nothing twice, while taking it for None could lose entries.
ReplyState ReadReplyState(const std::filesystem::path& replyFile);
// Written durably; None removes the file. Throws ledger::FileError.
void WriteReplyState(const std::filesystem::path& replyFile, ReplyState state);

// The state once the reply file has been merged: Unmerged is done, Broken owes the resend.
ReplyState AfterMerge(ReplyState state);

}  // namespace netimport
