// The second yardstick of the start-up benchmark: the bare window with one line of Japanese
// text in the program's font. Text needs the font configuration read and a font file opened,
// which the bare window never does; this is the floor for any window that shows words.
#include "platform/fonts.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::InstallFontSubstitutions();
    QApplication::setFont(platform::UiFont(12));
    QLabel window(QStringLiteral("今月の収支 ¥0"));
    window.setWindowTitle(QStringLiteral("BareText"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
