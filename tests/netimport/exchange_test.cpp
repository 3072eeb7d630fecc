// The exchange under kills: the program killed anywhere in an import, and the service's CGIs
// killed while phones add and the program fetches. Every entry a phone was told was kept must
// end up in the book exactly once, after the resend and the merge that adds nothing twice.

#include "ledger/cp932.h"
#include "ledger/csvline.h"
#include "ledger/textfile.h"
#include "netimport/fetchreply.h"
#include "netimport/netimport.h"
#include "support/categories.h"
#include "support/tempdir.h"
#include "support/webservers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;

constexpr const char* kFood = "%90H%94%EF";  // 食費 in CP932, escaped

// One CGI run as a web server runs it, killed after `killAfter` (never when negative).
// Returns the reply, and whether it was killed before it ended.
struct CgiRun {
    std::string reply;
    bool killed = false;
};
CgiRun RunCgiKilled(const std::filesystem::path& data, const std::string& method,
                    const std::string& query, const std::string& body,
                    std::chrono::microseconds killAfter) {
    TempDir dir;
    testsupport::WriteBytes(dir / "in", body);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open((dir / "in").c_str(), O_RDONLY);
        const int out = ::open((dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(in, 0);
        ::dup2(out, 1);
        const std::string env[] = {"REQUEST_METHOD=" + method, "QUERY_STRING=" + query,
                                   "CONTENT_LENGTH=" + std::to_string(body.size()),
                                   "VANTREL_SERVICE_DATA=" + data.string()};
        char* envp[] = {const_cast<char*>(env[0].c_str()), const_cast<char*>(env[1].c_str()),
                        const_cast<char*>(env[2].c_str()), const_cast<char*>(env[3].c_str()),
                        nullptr};
        ::execle(VANTREL_CGI, VANTREL_CGI, static_cast<char*>(nullptr), envp);
        ::_exit(127);
    }
    CgiRun run;
    if (killAfter.count() >= 0) {
        std::this_thread::sleep_for(killAfter);
        run.killed = ::kill(pid, SIGKILL) == 0;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.killed = run.killed && WIFSIGNALED(status);
    run.reply = ReadBytes(dir / "out");
    return run;
}

std::string Body(const std::string& reply) {
    const size_t end = reply.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

// The memos of the book's lines, with how often each occurs.
std::map<std::string, int> MemosInBook(const std::filesystem::path& data) {
    std::map<std::string, int> memos;
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
        for (const std::string& line : ledger::SplitTextLines(ReadBytes(entry.path()))) {
            const std::vector<std::string> fields = ledger::SplitLine(line);
            if (fields.size() == 5)
                ++memos[fields[4]];
        }
    }
    return memos;
}

class ExchangeTest : public testing::Test {
protected:
    TempDir dir;
    ledger::MonthStore store{dir / "book", ledger::SyncMode::NoSync};
    ledger::CategoryList categories = testsupport::FoodAndSalary();
    std::filesystem::path reply = dir / "~net.dat";

    void SetUp() override { std::filesystem::create_directory(dir / "book"); }

    void MergeOwed() {
        std::optional<ledger::FileError> stateError;
        netimport::MergeReplyFile(reply, store, categories,
                                  netimport::AfterMerge(netimport::ReadReplyState(reply)),
                                  stateError);
        ASSERT_FALSE(stateError) << stateError->what();
    }
};

// The program is killed at a random moment of an import (before the request, during the
// transfer, between the reply and the merge, during the merge); its next start does what the
// program does: merges an unmerged or broken reply, then fetches the service's last batch
// again when the import had broken off.
TEST_F(ExchangeTest, AnImportKilledAnywhereLosesAndDoublesNothing) {
    testsupport::TestWebService service(VANTREL_CGI);
    if (!service.skipReason.empty())
        GTEST_SKIP() << service.skipReason;
    ASSERT_TRUE(service.Ready()) << service.failure;
    std::mt19937 random(20261211);
    std::set<std::string> added;
    auto request = [&](netimport::RequestKind kind) {
        http::Client client;
        client.SetUrl(kind == netimport::RequestKind::Resend
                          ? netimport::ResendUrl(service.Url(), "me", "pw")
                          : netimport::RequestUrl(service.Url(), "me", "pw", true));
        uint64_t received = 0;
        return netimport::FetchReply(
            client, reply, kind, [] {}, received);
    };
    // The next start: what is owed first, then the resend, as NET機能 would.
    auto recover = [&] {
        const netimport::ReplyState state = netimport::ReadReplyState(reply);
        if (state == netimport::ReplyState::Unmerged || state == netimport::ReplyState::Broken)
            MergeOwed();
        if (netimport::ReadReplyState(reply) == netimport::ReplyState::ResendOwed) {
            const netimport::FetchOutcome fetched = request(netimport::RequestKind::Resend);
            ASSERT_FALSE(fetched.notStarted);
            MergeOwed();
        }
    };
    // How long an import takes here, for the random kills.
    ASSERT_TRUE(RunCgiKilled(service.dataFolder(), "POST", "",
                             std::string("action=add&id=me&pass=pw&date=20240301&category=") +
                                 kFood + "&description=&amount=1&memo=first",
                             std::chrono::microseconds(-1))
                    .reply.starts_with("Status: 200"));
    added.insert("first");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_FALSE(request(netimport::RequestKind::Import).failure);
    MergeOwed();
    const auto importTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    int killed = 0;
    const int trials = 40;
    for (int trial = 0; trial < trials; ++trial) {
        for (int k = 0; k < 3; ++k) {
            const std::string memo = "t" + std::to_string(trial) + "-" + std::to_string(k);
            const std::string body = "action=add&id=me&pass=pw&date=202403" +
                                     std::to_string(10 + k) + "&category=" + kFood +
                                     "&description=&amount=" + std::to_string(trial) +
                                     "&memo=" + memo;
            ASSERT_TRUE(
                RunCgiKilled(service.dataFolder(), "POST", "", body, std::chrono::microseconds(-1))
                    .reply.starts_with("Status: 200"));
            added.insert(memo);
        }
        // Even trials die between the reply and the merge; odd ones at a random moment of
        // an import's usual length.
        const bool betweenReplyAndMerge = trial % 2 == 0;
        const auto killAfter =
            std::chrono::microseconds(random() % (importTime.count() * 12 / 10 + 1));
        const pid_t pid = ::fork();
        if (pid == 0) {
            const netimport::FetchOutcome fetched = request(netimport::RequestKind::Import);
            if (betweenReplyAndMerge)
                ::kill(::getpid(), SIGKILL);
            if (!fetched.notStarted)
                MergeOwed();
            ::_exit(0);
        }
        if (!betweenReplyAndMerge) {
            std::this_thread::sleep_for(killAfter);
            ::kill(pid, SIGKILL);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        killed += WIFSIGNALED(status) ? 1 : 0;
        // A CGI the killed import had started finishes before the program starts again (it
        // holds the ID's lock for its whole run).
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (const auto& lock :
             std::filesystem::directory_iterator(service.dataFolder() / "locks")) {
            const int fd = ::open(lock.path().c_str(), O_RDWR | O_CLOEXEC);
            ::flock(fd, LOCK_EX);
            ::close(fd);
        }
        recover();
    }
    // A last import that runs to its end takes what is left.
    ASSERT_FALSE(request(netimport::RequestKind::Import).failure);
    MergeOwed();
    EXPECT_EQ(netimport::ReadReplyState(reply), netimport::ReplyState::None);

    const std::map<std::string, int> memos = MemosInBook(dir / "book");
    for (const std::string& memo : added)
        EXPECT_EQ(memos.count(memo) ? memos.at(memo) : 0, 1) << memo;
    EXPECT_EQ(memos.size(), added.size());
    EXPECT_GT(killed, trials / 2);
}

// Four phones add in parallel, their CGIs sometimes killed, while the program fetches with
// remove=1 through CGIs that are killed half the time; after a kill it merges what arrived
// and fetches the last batch again. Every add that was answered 200 is in the book once;
// an add whose CGI was killed is there once or not at all.
TEST_F(ExchangeTest, ParallelAddsAndKilledFetchesLoseAndDoubleNothing) {
    const std::filesystem::path data = dir / "service";
    const int phones = 4;
    const int addsPerPhone = 30;
    std::vector<pid_t> children;
    for (int phone = 0; phone < phones; ++phone) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::mt19937 random(static_cast<unsigned>(phone + 1));
            std::string acknowledged, tried;
            for (int k = 0; k < addsPerPhone; ++k) {
                const std::string memo = "p" + std::to_string(phone) + "-" + std::to_string(k);
                const std::string body =
                    "action=add&id=me&pass=pw&date=20240305&category=" + std::string(kFood) +
                    "&description=&amount=1&memo=" + memo;
                const auto killAfter = random() % 4 == 0
                                           ? std::chrono::microseconds(random() % 20000)
                                           : std::chrono::microseconds(-1);
                const CgiRun run = RunCgiKilled(data, "POST", "", body, killAfter);
                tried += memo + "\n";
                if (!run.killed && run.reply.starts_with("Status: 200"))
                    acknowledged += memo + "\n";
            }
            testsupport::WriteBytes(dir / ("acknowledged" + std::to_string(phone)), acknowledged);
            ::_exit(0);
        }
        children.push_back(pid);
    }

    std::mt19937 random(7);
    // A third of the fetches have their CGI killed; a third break off on the program's side:
    // the service sent the whole reply and forgot it, and only a part of it arrived.
    auto fetch = [&](bool mayBreak) {
        const auto mode = mayBreak ? random() % 3 : 0;
        const auto killAfter =
            mode == 1 ? std::chrono::microseconds(random() % 30000) : std::chrono::microseconds(-1);
        const CgiRun got =
            RunCgiKilled(data, "GET", "action=get&id=me&pass=pw&remove=1", "", killAfter);
        std::string body = Body(got.reply);
        if (mode == 2)
            body.resize(random() % (body.size() + 1));
        testsupport::WriteBytes(reply, body);
        netimport::MergeResult merged = netimport::MergeReply(reply, store, categories, true);
        if (mode == 2 || got.killed || merged.cutLastLine ||
            !got.reply.starts_with("Status: 200")) {
            // Broken off: the batch the service may have forgotten is fetched again.
            const CgiRun again = RunCgiKilled(data, "GET", "action=resend&id=me&pass=pw", "",
                                              std::chrono::microseconds(-1));
            if (again.reply.starts_with("Status: 200")) {
                testsupport::WriteBytes(reply, Body(again.reply));
                netimport::MergeReply(reply, store, categories, true);
            }
        }
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int running = phones;
    while (running > 0 && std::chrono::steady_clock::now() < deadline) {
        fetch(true);
        for (pid_t& pid : children) {
            if (pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == pid) {
                pid = 0;
                --running;
            }
        }
    }
    ASSERT_EQ(running, 0) << "the phones did not finish in two minutes";
    fetch(false);
    fetch(false);

    const std::map<std::string, int> memos = MemosInBook(dir / "book");
    int acknowledged = 0;
    for (int phone = 0; phone < phones; ++phone) {
        for (const std::string& memo :
             ledger::SplitTextLines(ReadBytes(dir / ("acknowledged" + std::to_string(phone))))) {
            ++acknowledged;
            EXPECT_EQ(memos.count(memo) ? memos.at(memo) : 0, 1) << memo;
        }
    }
    for (const auto& [memo, count] : memos)
        EXPECT_EQ(count, 1) << memo;
    EXPECT_GT(acknowledged, phones * addsPerPhone / 2);
    std::printf("%d adds acknowledged, %zu entries in the book\n", acknowledged, memos.size());
}

}  // namespace
