#include "ledger/folders.h"
#include "mainunit/mainform.h"
#include "platform/clock.h"
#include "platform/fonts.h"
#include "platform/japanese.h"
#include "platform/prompts.h"
#include "platform/singleinstance.h"
#include "platform/termination.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
    platform::SingleInstanceGuard guard(QStringLiteral("vantrel27"));
    if (!guard.acquired()) {
        prompts.Message(nullptr, QStringLiteral("error"),
                        QStringLiteral("このプログラムは２重起動出来ません"),
                        platform::Prompts::Icon::Error, platform::Prompts::Buttons::Ok);
        return 1;
    }

    platform::SystemClock clock;
    mainunit::Tmainform mainform(ledger::ProgramFolders::Locate(), prompts, clock);
    if (!mainform.FormCreate())
        return 1;

    platform::TerminationWatcher termination;
    QObject::connect(&termination, &platform::TerminationWatcher::terminationRequested, &mainform,
                     &mainunit::Tmainform::Terminate);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainform,
                     [&mainform](QSessionManager&) { mainform.SaveAll(); });

    mainform.show();
    return QApplication::exec();
}
