#include "netimport/fetchreply.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace netimport {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

FetchOutcome FetchReply(http::Client& client, const std::filesystem::path& replyFile,
                        RequestKind kind, const http::Client::Pump& pump, uint64_t& received) {
    FetchOutcome outcome;
    received = 0;
    // An import (or a resend) is Broken from before its request until its whole reply is on
    // the disk: a kill in between leaves the reply file to be merged and the batch fetched
    // again. A state that cannot be written stops the request before the service forgets
    // anything.
    if (kind != RequestKind::Check) {
        try {
            WriteReplyState(replyFile, ReplyState::Broken);
        } catch (const ledger::FileError& e) {
            outcome.notStarted = e;
            return outcome;
        }
    }
    // The reply file is made empty before anything else changes.
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(replyFile.c_str(), "wb"));
    if (!file) {
        outcome.notStarted = ledger::FileError(replyFile, errno);
        return outcome;
    }
    outcome.failure = client.Get(
        [&](std::string_view bytes) {
            received += bytes.size();
            if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size())
                return true;
            outcome.storeError = std::strerror(errno);
            return false;
        },
        pump);
    // The reply is on the disk, not only in a cache, before the state says so and before the
    // merge: the service may have forgotten these entries already.
    if ((std::fflush(file.get()) != 0 || ::fsync(::fileno(file.get())) != 0) && !outcome.failure) {
        outcome.storeError = std::strerror(errno);
        outcome.failure = http::Failure{404, "The reply could not be stored"};
    }
    if (std::fclose(file.release()) != 0 && !outcome.failure) {
        outcome.storeError = std::strerror(errno);
        outcome.failure = http::Failure{404, "The reply could not be stored"};
    }
    if (kind != RequestKind::Check && !outcome.failure) {
        try {
            WriteReplyState(replyFile, ReplyState::Unmerged);
        } catch (const ledger::FileError&) {
            // Broken stays: the reply is merged all the same, and fetched again next time.
        }
    }
    return outcome;
}

MergeResult MergeReplyFile(const std::filesystem::path& replyFile, const ledger::MonthStore& store,
                           const ledger::CategoryList& categories, ReplyState next,
                           std::optional<ledger::FileError>& stateError) {
    // A last line without its line break may be cut short (an amount missing digits), after
    // a transfer that broke off or a reply whose length was wrong: only whole lines are
    // taken. The service ends every line.
    MergeResult merged = MergeReply(replyFile, store, categories, true);
    // A reply whose last line was cut short broke off on its way, whatever the transfer said:
    // the service's batch is fetched again.
    if (merged.cutLastLine && next == ReplyState::None)
        next = ReplyState::ResendOwed;
    try {
        WriteReplyState(replyFile, next);
    } catch (const ledger::FileError& e) {
        stateError = e;
    }
    return merged;
}

}  // namespace netimport
