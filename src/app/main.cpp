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
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/skin/vantrel.png")));

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
