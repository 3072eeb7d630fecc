// A hostile environment: a read-only data folder or program folder, a full disk, a month
// file that is a folder. Each gives its message, the page stays with what was typed, and the
// files hold what they held. Read-only and full disks are small tmpfs mounts when the tests
// run as root (for whom permissions stop nothing); otherwise read-only is a permission and
// the full disk is skipped with the reason.

#include "fixture.h"

#include <sys/mount.h>

namespace {

using Answer = platform::Prompts::Answer;
using testsupport::ReadBytes;
using testsupport::RunningAsRoot;
using testsupport::WriteBytes;

// A tmpfs over a folder for the life of the object.
class Tmpfs {
public:
    bool Mount(const std::filesystem::path& at, const char* options) {
        at_ = at;
        options_ = options;
        mounted_ = ::mount("tmpfs", at.c_str(), "tmpfs", 0, options) == 0;
        return mounted_;
    }
    bool SetReadOnly(bool readOnly) {
        const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        return ::mount(nullptr, at_.c_str(), nullptr, flags, options_.c_str()) == 0;
    }
    ~Tmpfs() {
        if (mounted_)
            ::umount2(at_.c_str(), MNT_DETACH);
    }

private:
    std::filesystem::path at_;
    std::string options_;
    bool mounted_ = false;
};

class HostileTest : public testsupport::MainFormTest {
protected:
    Tmpfs tmpfs;

    // Makes `folder` read-only or writable again, the way that holds for this user.
    bool ReadOnly(const std::filesystem::path& folder, bool readOnly) {
        if (RunningAsRoot())
            return tmpfs.SetReadOnly(readOnly);
        std::filesystem::permissions(
            folder, std::filesystem::perms::owner_write,
            readOnly ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add);
        return true;
    }
    // As root, `folder` becomes a small disk of its own; its content is kept.
    void OwnDisk(const std::filesystem::path& folder, const char* options) {
        if (!RunningAsRoot())
            return;
        std::filesystem::create_directories(folder);
        const auto saved = stash / "saved";
        std::filesystem::copy(folder, saved, std::filesystem::copy_options::recursive);
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            std::filesystem::remove_all(entry.path());
        if (!tmpfs.Mount(folder, options))
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        std::filesystem::copy(saved, folder, std::filesystem::copy_options::recursive);
    }
    testsupport::TempDir stash;
    std::string Month() { return ReadBytes(home / "data" / "202403.csv"); }
    void TypeEntry(const QString& memo) {
        EditCell(0, mainwindow::DayModel::kCategory, QStringLiteral("食費"));
        EditCell(0, mainwindow::DayModel::kAmount, QStringLiteral("500"));
        EditCell(0, mainwindow::DayModel::kMemo, memo);
    }
    // The page stays on 5 March with the typed entry.
    void ExpectPageKept(const QString& memo) {
        EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 5}));
        EXPECT_EQ(Cell(0, mainwindow::DayModel::kMemo), memo);
    }
    QString LastMessage() { return prompts.shown.empty() ? QString() : prompts.shown.back().text; }
};

TEST_F(HostileTest, AReadOnlyDataFolderKeepsThePageUntilItCanBeSaved) {
    WriteMonth("202403", {"20240301,給料,三月,300000,"});
    OwnDisk(home / "data", "size=1m");
    if (IsSkipped())
        return;
    const std::string before = Month();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ReadOnly(home / "data", true));
    TypeEntry(QStringLiteral("読み取り専用"));
    Press("SpeedButton2");
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("データを保存できませんでした")));
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("202403.csv")));
    ExpectPageKept(QStringLiteral("読み取り専用"));
    EXPECT_EQ(Month(), before);

    ASSERT_TRUE(ReadOnly(home / "data", false));
    Press("SpeedButton2");
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 6}));
    EXPECT_EQ(MonthText("202403"),
              "20240301,給料,三月,300000,\r\n20240305,食費,,500,読み取り専用\r\n");
}

TEST_F(HostileTest, AReadOnlyProgramFolderAsksBeforeClosingAndLosesNothing) {
    WriteMonth("202403", {"20240301,給料,三月,300000,"});
    std::filesystem::create_directories(home / "pacs");
    OwnDisk(home.path(), "size=1m");
    if (IsSkipped())
        return;
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ReadOnly(home.path(), true));
    if (!RunningAsRoot()) {
        ASSERT_TRUE(ReadOnly(home / "data", true));
    }
    TypeEntry(QStringLiteral("閉じる前"));
    prompts.answers.push_back(Answer::No);  // 保存せずに終了しますか？ No: stay open
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("保存せずに終了しますか")));
    ExpectPageKept(QStringLiteral("閉じる前"));
    EXPECT_FALSE(std::filesystem::exists(home / "ini.ini"));

    ASSERT_TRUE(ReadOnly(home.path(), false));
    if (!RunningAsRoot()) {
        ASSERT_TRUE(ReadOnly(home / "data", false));
    }
    EXPECT_TRUE(form->close());
    EXPECT_EQ(MonthText("202403"), "20240301,給料,三月,300000,\r\n20240305,食費,,500,閉じる前\r\n");
    EXPECT_TRUE(std::filesystem::exists(home / "ini.ini"));
}

TEST_F(HostileTest, AFullDiskKeepsTheOldFileAndThePageAndLeavesNoTemporary) {
    if (!RunningAsRoot())
        GTEST_SKIP() << "a full disk is a tmpfs of its own, which only root can mount";
    WriteMonth("202403", {"20240301,給料,三月,300000,"});
    OwnDisk(home / "data", "size=64k");
    if (IsSkipped())
        return;
    const std::string before = Month();
    ASSERT_TRUE(Start());
    // Fill the disk to the last block.
    {
        std::ofstream filler(home / "data" / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    const QString memo(6000, QLatin1Char('m'));
    TypeEntry(memo);
    Press("SpeedButton2");
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("ディスクの空き容量が足りません")))
        << LastMessage().toStdString();
    ExpectPageKept(memo);
    EXPECT_EQ(Month(), before);
    for (const auto& entry : std::filesystem::directory_iterator(home / "data")) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "202403.csv" || name == "filler") << name;
    }

    std::filesystem::remove(home / "data" / "filler");
    Press("SpeedButton2");
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 6}));
    EXPECT_NE(Month().find(std::string(6000, 'm')), std::string::npos);
}

TEST_F(HostileTest, AMonthFileThatIsAFolderIsReportedAndWhatIsTypedStaysOnThePage) {
    std::filesystem::create_directories(home / "data" / "202403.csv");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("データを読み込めません")));
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("フォルダです")));
    // An untouched page of the unreadable day moves on: nothing is saved over the month.
    Press("SpeedButton2");
    Press("SpeedButton1");
    for (const QString& text : MessageTexts())
        EXPECT_FALSE(text.contains(QStringLiteral("保存できません"))) << text.toStdString();
    // What the user types onto it is not dropped at the next page change.
    TypeEntry(QStringLiteral("消えない"));
    Press("SpeedButton2");
    EXPECT_TRUE(LastMessage().contains(QStringLiteral("データを保存できませんでした")));
    ExpectPageKept(QStringLiteral("消えない"));
    EXPECT_TRUE(std::filesystem::is_directory(home / "data" / "202403.csv"));
}

}  // namespace
