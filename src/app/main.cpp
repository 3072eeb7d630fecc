#include "backup/backupcommands.h"
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

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2) {
        const std::string_view option = argv[1];
        if (option == "--backup")
            return backup::BackupFromCommandLine(argc, argv);
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
