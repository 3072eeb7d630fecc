#include "ledger/settings.h"
#include "ledger/categorylist.h"
#include "ledger/cp932.h"
#include "ledger/fileerror.h"
#include "ledger/folders.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>

using ledger::IniFile;

namespace {

TEST(Settings, DefaultsWithoutAFile) {
    testsupport::TempDir dir;
    ledger::Settings s = ledger::ReadSettings(IniFile::Load(dir / "ini.ini"));
    EXPECT_EQ(s.closing.day, 0);
    EXPECT_TRUE(s.closing.fifteenthNamesFirst);
    EXPECT_EQ(s.extIconCount, 0);
}

TEST(Settings, FreshFileIsWrittenInItsOrder) {
    testsupport::TempDir dir;
    IniFile ini = IniFile::Load(dir / "ini.ini");
    ledger::WriteSettings(ini, ledger::ReadSettings(ini));
    ini.Save(dir / "ini.ini");
    EXPECT_EQ(testsupport::ReadBytes(dir / "ini.ini"),
              "[setting]\r\nclipbmp=\r\ndisplayclip=0\r\nsime=0\r\nsime15before=1\r\n"
              "[ExtImg]\r\nnum=0\r\n");
}

TEST(Settings, OnlyClosingDayGivenGetsTheNamingKeyAdded) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "ini.ini", "[Setting]\r\nSIME = 25\r\n");
    IniFile ini = IniFile::Load(dir / "ini.ini");
    ledger::Settings s = ledger::ReadSettings(ini);
    EXPECT_EQ(s.closing.day, 25);
    EXPECT_TRUE(s.closing.fifteenthNamesFirst);
    ledger::WriteSettings(ini, s);
    ini.Save(dir / "ini.ini");
    EXPECT_EQ(testsupport::ReadBytes(dir / "ini.ini"),
              "[Setting]\r\nsime=25\r\nclipbmp=\r\ndisplayclip=0\r\nsime15before=1\r\n"
              "[ExtImg]\r\nnum=0\r\n");
}

TEST(Settings, KeepsWhatItDoesNotKnow) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(
        dir / "ini.ini",
        "; comment\r\n[net]\r\nurl=http://example.invalid/\r\nid=\"abc\"\r\n\r\n"
        "[setting]\r\nsime=x\r\nsime15before=0\r\nfuture=7\r\n\r\n"
        "[other]\r\nk=v\r\n");
    IniFile ini = IniFile::Load(dir / "ini.ini");
    EXPECT_EQ(ini.ReadString("NET", "ID", ""), "abc");
    ledger::Settings s = ledger::ReadSettings(ini);
    EXPECT_EQ(s.closing.day, 0);  // does not convert
    EXPECT_FALSE(s.closing.fifteenthNamesFirst);
    ledger::WriteSettings(ini, s);
    ini.Save(dir / "ini.ini");
    EXPECT_EQ(
        testsupport::ReadBytes(dir / "ini.ini"),
        "; comment\r\n[net]\r\nurl=http://example.invalid/\r\nid=\"abc\"\r\n\r\n"
        "[setting]\r\nsime=0\r\nsime15before=0\r\nfuture=7\r\nclipbmp=\r\ndisplayclip=0\r\n\r\n"
        "[other]\r\nk=v\r\n[ExtImg]\r\nnum=0\r\n");
}

TEST(Settings, AWrittenValueReadsBackAsItWas) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "ini.ini", "[ExtImg]\r\nnum=2\r\n0=\" a.bmp\"\r\n1 = b.bmp \r\n");
    IniFile ini = IniFile::Load(dir / "ini.ini");
    ledger::Settings s = ledger::ReadSettings(ini);
    EXPECT_EQ(s.extIconNames[0], " a.bmp");  // the quotes kept the blank
    ledger::WriteSettings(ini, s);
    EXPECT_EQ(ini.Lines()[2], "0=\" a.bmp\"");
    EXPECT_EQ(ini.Lines()[3], "1=b.bmp");
    // Values that reading would trim or unquote are written inside quotes.
    for (const char* value : {" lead", "trail\t", "\"quoted\"", "'q'", "plain", ""}) {
        ini.WriteString("net", "id", value);
        EXPECT_EQ(ini.ReadString("net", "id", "?"), value) << value;
    }
    // A line break cannot start a line (or a section) of its own.
    ini.WriteString("net", "id", "a\r\n[x]\r\nk=5");
    EXPECT_EQ(ini.ReadString("net", "id", "?"), "a  [x]  k=5");
    EXPECT_EQ(ini.ReadString("x", "k", "?"), "?");
}

TEST(Settings, ExtraIconSlots) {
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir / "pacs");
    testsupport::WriteBytes(dir / "pacs" / "cat.bmp", "x");
    std::string text = "[ExtImg]\r\nnum=3\r\n0=cat.bmp\r\n2=gone.bmp\r\n";
    testsupport::WriteBytes(dir / "ini.ini", text);
    IniFile ini = IniFile::Load(dir / "ini.ini");
    ledger::Settings s = ledger::ReadSettings(ini);
    ledger::ForgetUnsafeIconNames(s);
    EXPECT_EQ(s.extIconNames[0], "cat.bmp");
    EXPECT_EQ(s.extIconNames[1], "");
    // A missing file keeps its key: it comes back with the file.
    EXPECT_EQ(s.extIconNames[2], "gone.bmp");
    ledger::WriteSettings(ini, s);
    EXPECT_EQ(ini.ReadString("ExtImg", "1", "unset"), "");
    EXPECT_EQ(ini.ReadString("ExtImg", "2", "unset"), "gone.bmp");

    // Forty entries: names 0 to 31 are read and written back, num stays 40.
    std::string many = "[ExtImg]\r\nnum=40\r\n";
    for (int i = 0; i < 40; ++i)
        many += std::to_string(i) + "=i" + std::to_string(i) + ".bmp\r\n";
    testsupport::WriteBytes(dir / "ini.ini", many);
    IniFile big = IniFile::Load(dir / "ini.ini");
    s = ledger::ReadSettings(big);
    EXPECT_EQ(s.extIconNames[31], "i31.bmp");
    IniFile out;
    ledger::WriteSettings(out, s);
    EXPECT_EQ(out.ReadInteger("ExtImg", "num", 0), 40);
    EXPECT_EQ(out.ReadString("ExtImg", "31", ""), "i31.bmp");
    EXPECT_FALSE(out.Value("ExtImg", "32").has_value());
}

TEST(Settings, IconNamesMustStayInsideTheIconFolder) {
    for (const char* bad : {"../setting.dat", "..", ".", "/etc/passwd", "a\\b.bmp", ""}) {
        EXPECT_FALSE(ledger::IsPlainFileName(bad)) << bad;
    }
    // Judged by characters: these end in the byte 0x5C, which is no backslash inside them.
    for (const char* good : {"my icons.pac", "ソ.bmp", "表.pac", "能力.bmp"}) {
        EXPECT_TRUE(ledger::IsPlainFileName(ledger::ToCp932(good))) << good;
    }
    EXPECT_FALSE(ledger::IsPlainFileName(ledger::ToCp932("ソ/x.bmp")));
    // A lone lead byte does not hide the "/" after it: it is no second byte of a character.
    EXPECT_FALSE(ledger::IsPlainFileName("\x83/../x.bmp"));
    EXPECT_FALSE(ledger::IsPlainFileName("a\nb.bmp"));
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir / "pacs");
    testsupport::WriteBytes(dir / "x.bmp", "x");
    ledger::Settings s;
    s.extIconCount = 1;
    s.extIconNames[0] = "../x.bmp";
    ledger::ForgetUnsafeIconNames(s);
    EXPECT_EQ(s.extIconNames[0], "");
}

TEST(Folders, ProgramFolderFromEnvironmentOrExecutable) {
    testsupport::TempDir dir;
    ::setenv("VANTREL_HOME", dir.path().c_str(), 1);
    ledger::ProgramFolders f = ledger::ProgramFolders::Locate();
    EXPECT_EQ(f.program, dir.path());
    EXPECT_EQ(f.Data(), dir / "data");
    EXPECT_EQ(f.Icons(), dir / "pacs");
    ::unsetenv("VANTREL_HOME");
    // The executable's folder when it carries a book, else the user's data folder.
    using ledger::ProgramFolders;
    std::filesystem::create_directories(dir / "app");
    EXPECT_EQ(ProgramFolders::Choose({}, dir / "app", dir / "user").program, dir / "user");
    testsupport::WriteBytes(dir / "app" / "setting.dat", "1,1\r\n");
    EXPECT_EQ(ProgramFolders::Choose({}, dir / "app", dir / "user").program, dir / "app");
    EXPECT_EQ(ProgramFolders::Choose(dir / "x", dir / "app", dir / "user").program, dir / "x");
    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    EXPECT_EQ(ProgramFolders::UserDataFolder(), dir / "xdg" / "vantrel");
    ::unsetenv("XDG_DATA_HOME");
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        EXPECT_EQ(ProgramFolders::UserDataFolder(),
                  std::filesystem::path(home) / ".local/share/vantrel");
    }

    ledger::EnsureFolder(dir / "a" / "b");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a" / "b"));
}

// An installed program (<prefix>/bin) gives a new book its <prefix>/share/vantrel list; a book
// that has a list or month files already is the user's and gets nothing.
TEST(Folders, OnlyANewBookStartsWithTheInstalledCategoryList) {
    using ledger::ProgramFolders;
    testsupport::TempDir dir;
    const std::string list = "\x90H\x94\xef,0\r\n";  // CP932 bytes, copied as they are
    std::filesystem::create_directories(dir / "usr" / "bin");
    EXPECT_EQ(ProgramFolders::InstalledCategoryList(dir / "usr" / "bin"), "");
    std::filesystem::create_directories(dir / "usr" / "share" / "vantrel");
    testsupport::WriteBytes(dir / "usr" / "share" / "vantrel" / "setting.dat", list);
    const std::filesystem::path installed =
        ProgramFolders::InstalledCategoryList(dir / "usr" / "bin");
    EXPECT_EQ(installed, dir / "usr" / "share" / "vantrel" / "setting.dat");
    EXPECT_EQ(ProgramFolders::InstalledCategoryList(dir / "app"), "");  // not a bin folder

    const ProgramFolders fresh{dir / "home" / "vantrel"};
    EXPECT_TRUE(fresh.StartNewBook(installed));
    EXPECT_EQ(testsupport::ReadBytes(fresh.CategoryFile()), list);
    testsupport::WriteBytes(fresh.CategoryFile(), "mine\r\n");
    EXPECT_FALSE(fresh.StartNewBook(installed));
    EXPECT_EQ(testsupport::ReadBytes(fresh.CategoryFile()), "mine\r\n");

    // Month files without a list: the loss is reported at opening, not papered over.
    const ProgramFolders lost{dir / "lost"};
    std::filesystem::create_directories(lost.Data());
    testsupport::WriteBytes(lost.Data() / "202612.csv", "");
    EXPECT_FALSE(lost.StartNewBook(installed));
    EXPECT_FALSE(std::filesystem::exists(lost.CategoryFile()));
    EXPECT_FALSE(ProgramFolders{dir / "none"}.StartNewBook({}));
    testsupport::WriteBytes(dir / "file", "x");
    EXPECT_THROW(ledger::EnsureFolder(dir / "file" / "sub"), ledger::FileError);
}

}  // namespace

namespace {

// A stray NUL in ini.ini or setting.dat hides nothing after it and is kept as it was.
TEST(Settings, ReadersReadPastANul) {
    testsupport::TempDir dir;
    const char iniBytes[] = "[setting]\r\nnote=a\0b\r\nsime=25\r\n";
    const std::string ini(iniBytes, sizeof iniBytes - 1);
    testsupport::WriteBytes(dir / "ini.ini", ini);
    IniFile file = IniFile::Load(dir / "ini.ini");
    EXPECT_EQ(ledger::ReadSettings(file).closing.day, 25);
    file.Save(dir / "ini.ini");
    EXPECT_EQ(testsupport::ReadBytes(dir / "ini.ini"), ini);

    const char table[] = "20,3\r\n0,1,x\0y\r\n1,1,A\r\n1,2,B\r\n";
    testsupport::WriteBytes(dir / "setting.dat", std::string(table, sizeof table - 1));
    ledger::CategoryList list = ledger::CategoryList::Load(dir / "setting.dat");
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"A", "B"}));
}

}  // namespace
