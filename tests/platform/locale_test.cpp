// The toolkit's file dialogs give sizes and dates in Japanese, whatever the desktop's locale:
// this program starts its application object the way the real one does, on an English
// environment, and reads a file's size and date as the file dialog's model shows them.
#include "platform/japanese.h"
#include "support/tempdir.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileSystemModel>

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>

namespace {

TEST(JapaneseLocale, FileDialogSizesAndDatesAreJapanese) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "202612.csv", std::string(991, 'x'));
    QFileSystemModel model;
    const QModelIndex root = model.setRootPath(QString::fromStdString(dir.path().string()));
    QElapsedTimer timer;
    timer.start();
    while (model.rowCount(root) == 0 && timer.elapsed() < 10000)
        QApplication::processEvents();
    ASSERT_EQ(model.rowCount(root), 1);
    const QModelIndex file = model.index(0, 0, root);
    EXPECT_EQ(model.data(file.siblingAtColumn(1)).toString(), "991 バイト");
    const QString date = model.data(file.siblingAtColumn(3)).toString();
    const QString expected = QDateTime::currentDateTime().toString("yyyy/MM/dd");
    EXPECT_TRUE(date.startsWith(expected)) << date.toStdString();

    // The environment and the C library are the user's again.
    EXPECT_STREQ(std::getenv("LC_ALL"), "en_US.UTF-8");
    EXPECT_EQ(std::getenv("LC_TIME"), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // An English desktop.
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    ::unsetenv("LC_TIME");
    const platform::LocaleEnvironment saved = platform::PresentJapaneseLocaleToToolkit();
    QApplication app(argc, argv);
    platform::RestoreLocaleEnvironment(saved);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
