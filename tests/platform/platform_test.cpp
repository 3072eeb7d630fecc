#include "platform/singleinstance.h"
#include "platform/termination.h"
#include "platform/textcodec.h"
#include "platform/windowdrag.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(SingleInstance, OnlyOneHolderAtATime) {
    const QString name = QStringLiteral("vantrel-test-%1").arg(QCoreApplication::applicationPid());
    auto first = std::make_unique<platform::SingleInstanceGuard>(name);
    EXPECT_TRUE(first->acquired());
    platform::SingleInstanceGuard second(name);
    EXPECT_FALSE(second.acquired());
    first.reset();
    platform::SingleInstanceGuard third(name);
    EXPECT_TRUE(third.acquired());
}

TEST(TerminationWatcher, SigtermBecomesASignalInTheEventLoop) {
    platform::TerminationWatcher watcher;
    int requests = 0;
    QObject::connect(&watcher, &platform::TerminationWatcher::terminationRequested,
                     [&requests] { ++requests; });
    std::raise(SIGTERM);
    QElapsedTimer timer;
    timer.start();
    while (requests == 0 && timer.elapsed() < 5000)
        QApplication::processEvents();
    EXPECT_EQ(requests, 1);
}

TEST(WindowDrag, DraggingTheTitleMovesTheWindow) {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 300, 200);
    auto* title = new QLabel(QStringLiteral("title"), &window);
    title->setGeometry(0, 0, 300, 30);
    platform::WindowDrag::Install(title);
    window.show();
    QPoint start = window.pos();
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), title->mapToGlobal(QPointF(40, 30)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(title, &move);
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
}

TEST(TextCodec, RoundTripAndReplacement) {
    EXPECT_EQ(platform::FromCp932(platform::ToCp932(QStringLiteral("食費"))),
              QStringLiteral("食費"));
    EXPECT_EQ(platform::FromCp932("\x81"), QString(QChar(0xFFFD)));
}

}  // namespace
