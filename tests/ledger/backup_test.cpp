#include "ledger/backup.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

class BackupTest : public testing::Test {
protected:
    testsupport::TempDir dir;
    ledger::ProgramFolders book{dir / "book"};
    fs::path place = dir / "place";

    void SetUp() override {
        fs::create_directories(book.Data());
        fs::create_directories(place);
        WriteBytes(book.CategoryFile(), "categories");
        WriteBytes(book.SettingsFile(), "[setting]\r\nsime=25\r\n");
        WriteBytes(book.Data() / "202401.csv", "20240101,a,,1,\r\n");
        WriteBytes(book.Data() / "202402.csv", "20240201,b,,2,\r\n");
        WriteBytes(book.Data() / "notes.txt", "mine");
    }
};

TEST_F(BackupTest, FolderNameCarriesTheLocalTime) {
    std::tm t{};
    t.tm_year = 104, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 14, t.tm_min = 25, t.tm_sec = 1;
    t.tm_isdst = -1;
    EXPECT_EQ(ledger::BackupFolderName(std::mktime(&t)),
              "vantrel バックアップデータ 20040305_142501");
}

TEST_F(BackupTest, BackupCopiesTheBookAndReportsWhatIsMissing) {
    const ledger::BackupResult r = ledger::MakeBackup(book, place, 1000);
    ASSERT_TRUE(r.Complete());
    EXPECT_EQ(ReadBytes(r.folder / "data" / "202401.csv"), "20240101,a,,1,\r\n");
    EXPECT_EQ(ReadBytes(r.folder / "data" / "202402.csv"), "20240201,b,,2,\r\n");
    EXPECT_FALSE(fs::exists(r.folder / "data" / "notes.txt"));  // month files only
    EXPECT_EQ(ReadBytes(r.folder / "ini.ini"), "[setting]\r\nsime=25\r\n");
    EXPECT_EQ(ReadBytes(r.folder / "setting.dat"), "categories");

    // Without setting.dat the backup is not complete, and says which file is missing.
    fs::remove(book.CategoryFile());
    const ledger::BackupResult missing = ledger::MakeBackup(book, place, 2000);
    ASSERT_EQ(missing.failures.size(), 1u);
    EXPECT_EQ(missing.failures[0].path, book.CategoryFile());
    // No folder can be made: nothing copied, no folder reported.
    WriteBytes(dir / "file", "x");
    EXPECT_TRUE(ledger::MakeBackup(book, dir / "file", 3000).folder.empty());
}

TEST_F(BackupTest, RestoreReplacesTheMonthFilesAndKeepsEverythingElse) {
    const ledger::BackupResult r = ledger::MakeBackup(book, place, 1000);
    WriteBytes(book.Data() / "202401.csv", "changed\r\n");
    WriteBytes(book.Data() / "202403.csv", "20240301,c,,3,\r\n");  // not in the backup
    WriteBytes(book.SettingsFile(), "[setting]\r\nsime=0\r\n");
    ASSERT_EQ(ledger::CheckRestore(book, r.folder), ledger::RestoreRefusal::None);
    EXPECT_TRUE(ledger::Restore(book, r.folder).empty());
    EXPECT_EQ(ReadBytes(book.Data() / "202401.csv"), "20240101,a,,1,\r\n");
    EXPECT_FALSE(fs::exists(book.Data() / "202403.csv"));
    EXPECT_EQ(ReadBytes(book.Data() / "notes.txt"), "mine");
    EXPECT_EQ(ReadBytes(book.SettingsFile()), "[setting]\r\nsime=25\r\n");
    // No folder is left beside the data.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(book.program))
        ++entries;
    EXPECT_EQ(entries, 3);  // data, ini.ini, setting.dat (no icons, so no icon folder)
}

// The user's icons travel with the book: backed up, and back after a restore into a book
// that lost them. A backup made before icons were backed up still restores.
TEST_F(BackupTest, IconsAreBackedUpAndRestored) {
    fs::create_directories(book.Icons());
    WriteBytes(book.Icons() / "cat.bmp", std::string("BM\0\x01", 4));
    const ledger::BackupResult r = ledger::MakeBackup(book, place, 1000);
    ASSERT_TRUE(r.Complete());
    EXPECT_EQ(ReadBytes(r.folder / "pacs" / "cat.bmp"), std::string("BM\0\x01", 4));

    fs::remove_all(book.Icons());
    EXPECT_TRUE(ledger::Restore(book, r.folder).empty());
    EXPECT_EQ(ReadBytes(book.Icons() / "cat.bmp"), std::string("BM\0\x01", 4));

    fs::remove_all(r.folder / "pacs");
    WriteBytes(book.Icons() / "own.bmp", "mine");
    EXPECT_TRUE(ledger::Restore(book, r.folder).empty());
    EXPECT_EQ(ReadBytes(book.Icons() / "own.bmp"), "mine");
}

// The budgets and the recurring entries travel with the book; a backup without them leaves the
// book's own in place.
TEST_F(BackupTest, BudgetsAreBackedUpAndRestored) {
    const std::string budgets = "\x90\x48\x94\xef,40000\r\n202412,\x90\x48\x94\xef,60000\r\n";
    WriteBytes(book.BudgetFile(), budgets);
    WriteBytes(book.RecurringFile(), "x,,1,,lastday,20240101\r\n");
    const ledger::BackupResult r = ledger::MakeBackup(book, place, 1000);
    ASSERT_TRUE(r.Complete());
    EXPECT_EQ(ReadBytes(r.folder / "budget.dat"), budgets);
    EXPECT_EQ(ReadBytes(r.folder / "recurring.dat"), "x,,1,,lastday,20240101\r\n");
    WriteBytes(book.RecurringFile(), "changed\r\n");

    WriteBytes(book.BudgetFile(), "changed\r\n");
    EXPECT_TRUE(ledger::Restore(book, r.folder).empty());
    EXPECT_EQ(ReadBytes(book.BudgetFile()), budgets);
    EXPECT_EQ(ReadBytes(book.RecurringFile()), "x,,1,,lastday,20240101\r\n");

    fs::remove(r.folder / "budget.dat");
    WriteBytes(book.BudgetFile(), "mine\r\n");
    EXPECT_TRUE(ledger::Restore(book, r.folder).empty());
    EXPECT_EQ(ReadBytes(book.BudgetFile()), "mine\r\n");
}

TEST_F(BackupTest, RestoreRefusesTheBookItselfAndWhatIsNoBackup) {
    using ledger::RestoreRefusal;
    EXPECT_EQ(ledger::CheckRestore(book, book.program), RestoreRefusal::InsideTheBook);
    EXPECT_EQ(ledger::CheckRestore(book, book.Data()), RestoreRefusal::InsideTheBook);
    fs::create_directories(book.program / "pacs" / "x");
    EXPECT_EQ(ledger::CheckRestore(book, book.program / "pacs" / "x"),
              RestoreRefusal::InsideTheBook);
    EXPECT_EQ(ledger::CheckRestore(book, place), RestoreRefusal::NotABackup);
}

// A restore that fails half way (here the backup's setting.dat cannot be read, after its
// month files were copied) leaves the book whole.
TEST_F(BackupTest, AFailedRestoreLeavesTheBookAsItWas) {
    const ledger::BackupResult r = ledger::MakeBackup(book, place, 1000);
    WriteBytes(book.Data() / "202401.csv", "current\r\n");
    fs::create_directories(book.Data() / "attachments");
    fs::remove(r.folder / "setting.dat");
    const auto failures = ledger::Restore(book, r.folder);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].path, r.folder / "setting.dat");
    EXPECT_EQ(ReadBytes(book.Data() / "202401.csv"), "current\r\n");
    EXPECT_EQ(ReadBytes(book.Data() / "notes.txt"), "mine");
    EXPECT_TRUE(fs::is_directory(book.Data() / "attachments"));
    EXPECT_EQ(ReadBytes(book.CategoryFile()), "categories");
    // A subfolder of the data folder does not stand in the way of a good backup.
    WriteBytes(r.folder / "setting.dat", "categories");
    EXPECT_TRUE(ledger::Restore(book, r.folder).empty());
    EXPECT_TRUE(fs::is_directory(book.Data() / "attachments"));
    EXPECT_EQ(ReadBytes(book.Data() / "202401.csv"), "20240101,a,,1,\r\n");
}

}  // namespace
