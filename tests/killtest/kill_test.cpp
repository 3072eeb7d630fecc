// Kills a writer with SIGKILL at random moments while it saves a month file, ini.ini and
// setting.dat: every file must hold its old or its new content, whole, and the next start
// must leave no temporary file behind. VANTREL_KILL_TRIALS sets the trials per file
// (tools/killtest runs 1,000).

#include "saves.h"

#include "ledger/folders.h"
#include "support/tempdir.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

extern char** environ;

namespace {

using killtest::Kind;
using testsupport::ReadBytes;
using testsupport::TempDir;

int Trials() {
    const char* n = std::getenv("VANTREL_KILL_TRIALS");
    return n != nullptr ? std::atoi(n) : 150;
}

// The file's bytes after saving A, and after saving B.
std::pair<std::string, std::string> Contents(Kind kind) {
    TempDir dir;
    killtest::Prepare(kind, dir.path());
    const std::string a = ReadBytes(killtest::Target(kind, dir.path()));
    killtest::Save(kind, dir.path(), true);
    return {a, ReadBytes(killtest::Target(kind, dir.path()))};
}

class KillTest : public testing::TestWithParam<Kind> {};

TEST_P(KillTest, AKilledSaveLeavesTheOldOrTheNewFileWholeAndNoTemporaryAfterTheNextStart) {
    const Kind kind = GetParam();
    const auto [a, b] = Contents(kind);
    ASSERT_NE(a, b);
    std::mt19937 random(20261210u + static_cast<unsigned>(kind));
    int sawA = 0;
    int sawB = 0;
    int leftovers = 0;
    const int trials = Trials();
    for (int trial = 0; trial < trials; ++trial) {
        TempDir program;
        killtest::Prepare(kind, program.path());
        const std::string folder = program.path().string();
        const char* argv[] = {VANTREL_SAVEWRITER, killtest::Name(kind), folder.c_str(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, VANTREL_SAVEWRITER, nullptr, nullptr,
                                const_cast<char* const*>(argv), environ),
                  0);
        // The kill falls anywhere after the writer's first save ended, however long the
        // writer took to start on a busy machine (bounded: a writer that never saves fails).
        const auto started = std::chrono::steady_clock::now();
        while (ReadBytes(killtest::Target(kind, program.path())) != b &&
               std::chrono::steady_clock::now() - started < std::chrono::seconds(20)) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own: " << status;

        const std::string found = ReadBytes(killtest::Target(kind, program.path()));
        ASSERT_TRUE(found == a || found == b) << killtest::Name(kind) << " torn in trial " << trial
                                              << ": " << found.size() << " bytes";
        (found == a ? sawA : sawB)++;

        leftovers += ledger::ProgramFolders{program.path()}.RemoveLeftoverTemporaries();
        for (const auto& dir : {program.path(), program.path() / "data"}) {
            for (const auto& entry : std::filesystem::directory_iterator(dir)) {
                const std::string name = entry.path().filename().string();
                EXPECT_TRUE(name == "data" || name == "ini.ini" || name == "setting.dat" ||
                            name == "202403.csv")
                    << "left after the next start: " << entry.path();
            }
        }
    }
    // Both contents were seen, so the kills fell between and during saves.
    std::printf("%s: %d trials, old content %d, new content %d, temporary files removed %d\n",
                killtest::Name(kind), trials, sawA, sawB, leftovers);
    if (trials >= 50) {
        EXPECT_GT(sawA, 0);
        EXPECT_GT(sawB, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(EverySave, KillTest,
                         testing::Values(Kind::Month, Kind::Ini, Kind::Setting),
                         [](const auto& param) {
                             return std::string(killtest::Name(param.param));
                         });

}  // namespace
