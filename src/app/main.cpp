#include "backup/backupcommands.h"
#include "ledger/fileerror.h"
#include "ledger/folders.h"
#include "mainwindow/mainform.h"
#include "platform/clock.h"
#include "platform/errortext.h"
#include "platform/fonts.h"
#include "platform/japanese.h"
#include "platform/prompts.h"
#include "platform/singleinstance.h"
#include "platform/termination.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>

#include "revision.h"

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
                 "The book is the folder named by VANTREL_HOME, else $XDG_DATA_HOME/vantrel\n"
                 "(~/.local/share/vantrel). See vantrel(1).\n",
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
            std::printf("Vantrel %s (revision %s)\n", VANTREL_VERSION, VANTREL_REVISION);
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
    // The menu entry's name without ".desktop": desktops match the window to it.
    QApplication::setDesktopFileName(QStringLiteral("org.vantrel.vantrel"));
    platform::UseJapanese();
    platform::InstallFontSubstitutions();
    QApplication::setFont(platform::UiFont(12));
    // The window icon at the sizes window managers draw, each named with its size so that
    // nothing is decoded before a window needs it. (The menu entry's icon comes from the
    // icon theme, where the package or tools/install-desktop-entry puts it.)
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

    // An installed program starts a new book with the category list it carries.
    try {
        folders.StartNewBook(ledger::ProgramFolders::InstalledCategoryList(
            ledger::ProgramFolders::ExecutableFolder()));
    } catch (const ledger::FileError& e) {
        prompts.Error(nullptr,
                      platform::FileErrorText(QStringLiteral("新しい家計簿を作成できません。"), e));
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
