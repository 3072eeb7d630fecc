#include "ledger/textfile.h"
#include "ledger/fileerror.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <random>

using ledger::SplitTextLines;
using Lines = std::vector<std::string>;

namespace {

TEST(TextFile, LineEnds) {
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
        // A NUL is a byte of its line, not the end of the text.
        {std::string("a\r\nb\0c\r\nd", 9), {"a", std::string("b\0c", 3), "d"}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(SplitTextLines(text), lines);
}

TEST(TextFile, WritesCrLfAfterEveryLineAndReadsBack) {
    testsupport::TempDir dir;
    ledger::WriteLinesAtomic(dir / "f.csv", {"a", "", "b"});
    EXPECT_EQ(testsupport::ReadBytes(dir / "f.csv"), "a\r\n\r\nb\r\n");
    EXPECT_EQ(ledger::ReadLines(dir / "f.csv"), (Lines{"a", "", "b"}));
    ledger::WriteLinesAtomic(dir / "f.csv", {});
    EXPECT_EQ(testsupport::ReadBytes(dir / "f.csv"), "");
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_FALSE(ledger::ReadWholeFile(dir / "missing.csv").has_value());
}

TEST(TextFile, WriteFailureNamesPathAndReasonAndKeepsOldContent) {
    testsupport::TempDir dir;
    // A folder that does not exist.
    try {
        ledger::WriteLinesAtomic(dir / "nofolder" / "x.csv", {"a"});
        FAIL();
    } catch (const ledger::FileError& e) {
        EXPECT_EQ(e.path(), dir / "nofolder" / "x.csv");
        EXPECT_EQ(e.reason(), "No such file or directory");
    }
    // A read-only folder (root writes anyway, so only checked for other users).
    if (!testsupport::RunningAsRoot()) {
        ledger::WriteLinesAtomic(dir / "kept.csv", {"old"});
        std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        EXPECT_THROW(ledger::WriteLinesAtomic(dir / "kept.csv", {"new"}), ledger::FileError);
        std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        EXPECT_EQ(testsupport::ReadBytes(dir / "kept.csv"), "old\r\n");
    }
    // A folder standing where the file should be.
    std::filesystem::create_directory(dir / "taken.csv");
    EXPECT_THROW(ledger::WriteLinesAtomic(dir / "taken.csv", {"a"}), ledger::FileError);
    EXPECT_THROW(ledger::ReadWholeFile(dir / "taken.csv"), ledger::FileError);
}

TEST(TextFile, KeepsThePermissionsOfTheReplacedFile) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "p.csv", "x");
    std::filesystem::permissions(dir / "p.csv", std::filesystem::perms(0640));
    ledger::WriteLinesAtomic(dir / "p.csv", {"y"});
    EXPECT_EQ(std::filesystem::status(dir / "p.csv").permissions(), std::filesystem::perms(0640));
}

}  // namespace

namespace {

TEST(TextFile, LineEndSearchAgreesWithAPlainScan) {
    std::mt19937 rng(99);
    const char alphabet[] = {'a', '\r', '\n', '\x8D', '\x8A', ' ', '\x0C', '\x0E'};
    for (int n = 0; n < 5000; ++n) {
        std::string text;
        const size_t length = rng() % 40;
        for (size_t k = 0; k < length; ++k)
            text += alphabet[rng() % sizeof alphabet];
        for (size_t from = 0; from <= text.size(); ++from) {
            size_t plain = from;
            while (plain < text.size() && text[plain] != '\r' && text[plain] != '\n')
                ++plain;
            ASSERT_EQ(ledger::FindLineEnd(text, from), plain) << testing::PrintToString(text);
        }
    }
}

}  // namespace
