#include "netimport/replystate.h"

#include "ledger/fileerror.h"
#include "ledger/textfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <system_error>

namespace netimport {

namespace {

constexpr std::string_view kUnmerged = "unmerged\r\n";
constexpr std::string_view kBroken = "broken\r\n";
constexpr std::string_view kResend = "resend\r\n";

}  // namespace

std::filesystem::path ReplyStateFile(const std::filesystem::path& replyFile) {
    return std::filesystem::path(replyFile).replace_extension(".pending");
}

ReplyState ReadReplyState(const std::filesystem::path& replyFile) {
    std::optional<std::string> text;
    try {
        text = ledger::ReadWholeFile(ReplyStateFile(replyFile));
    } catch (const ledger::FileError&) {
        return ReplyState::Broken;
    }
    if (!text)
        return ReplyState::None;
    if (*text == kUnmerged)
        return ReplyState::Unmerged;
    if (*text == kResend)
        return ReplyState::ResendOwed;
    return ReplyState::Broken;
}

void WriteReplyState(const std::filesystem::path& replyFile, ReplyState state) {
    const std::filesystem::path path = ReplyStateFile(replyFile);
    switch (state) {
        case ReplyState::Unmerged:
            ledger::WriteFileAtomic(path, kUnmerged);
            return;
        case ReplyState::Broken:
            ledger::WriteFileAtomic(path, kBroken);
            return;
        case ReplyState::ResendOwed:
            ledger::WriteFileAtomic(path, kResend);
            return;
        case ReplyState::None:
            break;
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throw ledger::FileError(path, errno);
    // The removal is durable too: a state that came back after a power cut would only ask
    // for a merge that adds nothing, but it would ask.
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

ReplyState AfterMerge(ReplyState state) {
    return state == ReplyState::Broken || state == ReplyState::ResendOwed ? ReplyState::ResendOwed
                                                                          : ReplyState::None;
}

}  // namespace netimport
