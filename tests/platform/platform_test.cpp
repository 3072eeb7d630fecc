#include "platform/singleinstance.h"
#include "platform/termination.h"
#include "platform/textcodec.h"
#include "platform/windowdrag.h"
#include "support/tempdir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// One holder per book; another book is free at the same time; a read-only book is guarded
// by its folder.
TEST(SingleInstance, OnlyOneHolderPerBook) {
    testsupport::TempDir dir;
    std::filesystem::create_directories(dir / "book");
    std::filesystem::create_directories(dir / "other");
    auto first = std::make_unique<platform::SingleInstanceGuard>(dir / "book");
    EXPECT_TRUE(first->acquired());
    EXPECT_FALSE(platform::SingleInstanceGuard(dir / "book").acquired());
    EXPECT_TRUE(platform::SingleInstanceGuard(dir / "other").acquired());
    first.reset();
    EXPECT_TRUE(platform::SingleInstanceGuard(dir / "book").acquired());

    std::filesystem::create_directories(dir / "readonly");
    std::filesystem::permissions(dir / "readonly", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    platform::SingleInstanceGuard readOnly(dir / "readonly");
    EXPECT_TRUE(readOnly.acquired());
    EXPECT_FALSE(platform::SingleInstanceGuard(dir / "readonly").acquired());
    std::filesystem::permissions(dir / "readonly", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
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

#include "ledger/fileerror.h"
#include "platform/errortext.h"
#include "platform/japanese.h"

#include <cerrno>

namespace {

// The toolkit's own texts (an editor's right-click menu, file dialogs) speak Japanese too.
TEST(Japanese, ToolkitTextsAreTranslated) {
    ASSERT_TRUE(platform::UseJapanese());
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
    const QString undo = QCoreApplication::translate("QLineEdit", "&Undo");
    EXPECT_NE(undo, "&Undo");
    EXPECT_TRUE(undo.contains(QStringLiteral("元に戻す"))) << undo.toStdString();
    // The print and page-setup dialogs too.
    for (const auto& [context, text] :
         {std::pair{"QPrintDialog", "Print"}, std::pair{"QPageSetupWidget", "Paper"},
          std::pair{"QPrintDialog", "Print To File ..."}}) {
        EXPECT_NE(QCoreApplication::translate(context, text), QString::fromLatin1(text))
            << context << " " << text;
    }
}

// Reasons users meet are said in Japanese, the system's words kept in brackets.
TEST(FileErrorText, JapaneseReasonWithTheSystemsInBrackets) {
    const struct {
        int error;
        const char* japanese;
    } cases[] = {
        {EACCES, "アクセスする権限がありません"},
        {ENOSPC, "ディスクの空き容量が足りません"},
        {EROFS, "読み取り専用の場所には書き込めません"},
        {ENOENT, "ファイルまたはフォルダが見つかりません"},
        {EISDIR, "ファイルではなくフォルダです"},
    };
    for (const auto& c : cases) {
        const ledger::FileError error("/book/data/202403.csv", c.error);
        const QString text = platform::FileErrorText(QStringLiteral("保存できません。"), error);
        EXPECT_EQ(text, QStringLiteral("保存できません。\n\n/book/data/202403.csv\n%1（%2）")
                            .arg(QString::fromUtf8(c.japanese),
                                 QString::fromUtf8(std::strerror(c.error))));
    }
    // Another reason keeps the system's words alone.
    const ledger::FileError other("/x", EMFILE);
    EXPECT_EQ(platform::FileErrorReason(other), QString::fromUtf8(std::strerror(EMFILE)));
}

}  // namespace
