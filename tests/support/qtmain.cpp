// GoogleTest main for tests that need a QApplication. Widgets draw off screen unless a
// platform is named.
#include <gtest/gtest.h>
#include <QApplication>

#include "platform/fonts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::InstallFontSubstitutions();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
