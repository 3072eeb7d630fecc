#include "ledger/backup.h"
#include "ledger/folders.h"
#include "mainwindow/mainform.h"
#include "platform/clock.h"
#include "platform/fonts.h"
#include "platform/japanese.h"
#include "platform/prompts.h"
#include "platform/singleinstance.h"
#include "platform/termination.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>

#include <cstdio>
#include <ctime>
#include <string_view>

namespace {

void PrintUsage(std::FILE* to, const char* program) {
    std::fprintf(to,
                 "usage: %s                 start Vantrel on the book\n"
                 "       %s --backup FOLDER copy the book into a new backup folder in FOLDER\n"
                 "       %s --help          show this text\n"
                 "       %s --version       show the version\n"
                 "The book is the folder named by VANTREL_HOME, else ~/.local/share/vantrel.\n",
                 program, program, program, program);
}

// vantrel --backup FOLDER: the backup of the menu's command, without a window, for a timer.
// 0 when every file was copied; otherwise the reasons on stderr and a status of 1 (some
// files missing), 2 (wrong use) or 3 (the program is running, or no folder could be made).
int BackupFromCommandLine(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s --backup FOLDER\n", argv[0]);
        return 2;
    }
    // While the program runs on this book, its page and settings are not on the disk yet.
    const ledger::ProgramFolders folders = ledger::ProgramFolders::Locate();
    platform::SingleInstanceGuard guard(folders.program);
    if (!guard.acquired()) {
        std::fprintf(stderr, "vantrel: the program is running on %s; close it and try again\n",
                     folders.program.c_str());
        return 3;
    }
    const ledger::BackupResult result = ledger::MakeBackup(folders, argv[2], std::time(nullptr));
    if (result.folder.empty()) {
        std::fprintf(stderr, "vantrel: no backup folder could be made in %s\n", argv[2]);
        return 3;
    }
    for (const ledger::CopyFailure& failure : result.failures) {
        std::fprintf(stderr, "vantrel: not copied: %s: %s\n", failure.path.c_str(),
                     failure.reason.c_str());
    }
    if (!result.failures.empty())
        return 1;
    std::printf("%s\n", result.folder.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2) {
        const std::string_view option = argv[1];
        if (option == "--backup")
            return BackupFromCommandLine(argc, argv);
        if (option == "--help" || option == "-h") {
            PrintUsage(stdout, argv[0]);
            return 0;
        }
        if (option == "--version") {
            std::printf("Vantrel %s\n", VANTREL_VERSION);
            return 0;
        }
        // Anything else is a mistake: said, and no window opened.
        std::fprintf(stderr, "vantrel: unknown option: %s\n", argv[1]);
        PrintUsage(stderr, argv[0]);
        return 2;
    }
    const platform::LocaleEnvironment userLocale = platform::PresentJapaneseLocaleToToolkit();
    QApplication app(argc, argv);
    platform::RestoreLocaleEnvironment(userLocale);
    QApplication::setApplicationName(QStringLiteral("vantrel"));
    QApplication::setDesktopFileName(QStringLiteral("vantrel"));
    platform::UseJapanese();
    platform::InstallFontSubstitutions();
    QApplication::setFont(platform::UiFont(12));
    // The window icon at the sizes window managers draw, each named with its size so that
    // nothing is decoded before a window needs it. (The menu entry's large icon comes from
    // the icon theme, see tools/install-desktop-entry.)
    QIcon icon;
    icon.addFile(QStringLiteral(":/skin/window_icon.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/skin/window_icon@2x.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/skin/vantrel_48.png"), QSize(48, 48));
    QApplication::setWindowIcon(icon);

    platform::QtPrompts prompts;
    const ledger::ProgramFolders folders = ledger::ProgramFolders::Locate();
    platform::SingleInstanceGuard guard(folders.program);
    if (!guard.acquired()) {
        prompts.Error(nullptr, QStringLiteral("このプログラムは２重起動出来ません"));
        return 1;
    }

    platform::SystemClock clock;
    mainwindow::Tmainform mainform(folders, prompts, clock);
    if (!mainform.FormCreate())
        return 1;

    platform::TerminationWatcher termination;
    QObject::connect(&termination, &platform::TerminationWatcher::terminationRequested, &mainform,
                     &mainwindow::Tmainform::Terminate);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainform,
                     [&mainform](QSessionManager&) { mainform.SaveAll(); });

    mainform.show();
    return QApplication::exec();
}
