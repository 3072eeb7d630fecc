// The yardstick of the start-up benchmark: the least a Qt 6 widgets program does to put an
// 800 x 600 window on the screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("BareQt"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
