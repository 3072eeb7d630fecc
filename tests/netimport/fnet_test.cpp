// NET 機能 from the main window, against the reference web service under lighttpd.

#include "netimport/fnet.h"

#include "mainwindow/fixture.h"
#include "support/webservers.h"
#include "support/widgets.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

using netimport::Tfnet;
using testsupport::Child;
using testsupport::TestWebService;

class NetImportTest : public testsupport::MainFormTest {
protected:
    static void SetUpTestSuite() { service = std::make_unique<TestWebService>(VANTREL_CGI); }
    static void TearDownTestSuite() { service.reset(); }

    void SetUp() override {
        MainFormTest::SetUp();
        if (!service->skipReason.empty())
            GTEST_SKIP() << service->skipReason;
        ASSERT_TRUE(service->Ready()) << service->failure;
        testsupport::WriteBytes(home / "ini.ini",
                                "[net]\r\nurl=" + service->Url() + "\r\nid=" + id + "\r\n");
    }

    // Gives the ID lines of its own, bypassing the entry form (which takes only valid ones).
    void ServiceHolds(const std::string& utf8Lines) {
        const std::string body =
            "action=add&id=" + id + "&pass=pw&date=20240101&category=a&amount=1";
        testsupport::RunCgi(VANTREL_CGI,
                            {"REQUEST_METHOD=POST", "CONTENT_LENGTH=" + std::to_string(body.size()),
                             "VANTREL_SERVICE_DATA=" + service->dataFolder().string()},
                            body);
        std::string hex;
        for (unsigned char c : id) {
            static constexpr char kDigits[] = "0123456789abcdef";
            hex += kDigits[c >> 4];
            hex += kDigits[c & 15];
        }
        testsupport::WriteBytes(service->dataFolder() / ("id-" + hex) / "entries.csv",
                                ledger::ToCp932(utf8Lines));
    }

    Tfnet& Dialog(QDialog& d) {
        d.show();  // each opening starts idle with an empty memo
        return static_cast<Tfnet&>(d);
    }
    static QString Memo(Tfnet& f) { return Child<QPlainTextEdit>(&f, "Memo1")->toPlainText(); }

    // A fresh ID per test, so that tests share the server but not their entries.
    std::string id = "user-" + std::to_string(reinterpret_cast<uintptr_t>(this) % 1000000);
    static std::unique_ptr<TestWebService> service;
};
std::unique_ptr<TestWebService> NetImportTest::service;

TEST_F(NetImportTest, CheckShowsTheReplyThenImportMergesItIntoEachMonthOnce) {
    ServiceHolds(
        "20240305,食費,パン,300,\r\n"
        "20240410,給料,四月分,250000,振込\r\n"
        "20040230,食費,無い日,1,\r\n"
        "20240305,不明費目,知らない費目,200,\r\n"
        "20240305,食費,半端,1.5,\r\n");
    WriteMonth("202403", {"20240305,食費,朝,100,"});
    ASSERT_TRUE(Start());
    EditCell(1 - 1, mainwindow::DayModel::kMemo, QStringLiteral("画面で入力"));

    QString shown;
    prompts.dialogHandler = [&](QDialog& d) {
        Tfnet& f = Dialog(d);
        EXPECT_FALSE(Child<QPushButton>(&f, "Button2")->isEnabled());
        EXPECT_EQ(Child<QLineEdit>(&f, "Edit1")->text(), QString::fromStdString(service->Url()));
        EXPECT_EQ(Child<QLineEdit>(&f, "Edit4")->text(), QString::fromStdString(id));
        Child<QLineEdit>(&f, "Edit5")->setText(QStringLiteral("pw"));
        Child<QPushButton>(&f, "Button1")->click();
        shown = Memo(f);
        EXPECT_TRUE(Child<QPushButton>(&f, "Button2")->isEnabled());
        EXPECT_TRUE(Child<QPushButton>(&f, "Button1")->isEnabled());
        Child<QPushButton>(&f, "Button2")->click();
        return QDialog::Accepted;
    };
    Trigger("NET1");
    ASSERT_TRUE(prompts.shown.empty()) << prompts.shown.front().text.toStdString();
    EXPECT_EQ(shown,
              "20240305,食費,パン,300,\n20240410,給料,四月分,250000,振込\n"
              "20040230,食費,無い日,1,\n20240305,不明費目,知らない費目,200,\n"
              "20240305,食費,半端,1.5,\n---\n以上のデータでよろしいですか？\n"
              "よろしければ下の「データ取り込みボタン」を押してください。\n"
              "取り込んだデータは、サーバから削除されます。");
    // The page's edit was saved first; the valid entries went into their own months.
    EXPECT_EQ(MonthText("202403"),
              "20240305,食費,朝,100,画面で入力\r\n20240305,食費,パン,300,\r\n");
    EXPECT_EQ(MonthText("202404"), "20240410,給料,四月分,250000,振込\r\n");
    // The page shows the imported entry with its balance.
    EXPECT_EQ(model().rowCount(), 2);
    EXPECT_EQ(Cell(1, mainwindow::DayModel::kDescription), QStringLiteral("パン"));
    EXPECT_EQ(LabelText("Labelday"), QStringLiteral("今日の収支 ▲ ¥400"));

    // The service forgot what it returned: a second check finds nothing.
    prompts.dialogHandler = [&](QDialog& d) {
        Tfnet& f = Dialog(d);
        EXPECT_EQ(Child<QLineEdit>(&f, "Edit5")->text(),
                  QStringLiteral("pw"));  // kept while the program runs
        Child<QPushButton>(&f, "Button1")->click();
        shown = Memo(f);
        EXPECT_FALSE(Child<QPushButton>(&f, "Button2")->isEnabled());
        Child<QPushButton>(&f, "Button3")->click();
        return QDialog::Rejected;
    };
    Trigger("NET1");
    EXPECT_EQ(shown, QStringLiteral("データはありません。"));
    EXPECT_EQ(MonthText("202404"), "20240410,給料,四月分,250000,振込\r\n");

    // The settings went back to ini.ini; the password never did.
    const std::string ini = testsupport::ReadBytes(home / "ini.ini");
    EXPECT_NE(ini.find("url=" + service->Url()), std::string::npos);
    EXPECT_NE(ini.find("id=" + id), std::string::npos);
    EXPECT_NE(ini.find("proxyport="), std::string::npos);
    EXPECT_EQ(ini.find("pw"), std::string::npos);
    // The reply file lies in the program folder.
    EXPECT_TRUE(std::filesystem::exists(home / "~net.dat"));
}

TEST_F(NetImportTest, CancelAbortsARunningRequestThenClosesAndTheSettingsAreKept) {
    ASSERT_TRUE(Start());
    QString afterAbort;
    bool openAfterAbort = false;
    prompts.dialogHandler = [&](QDialog& d) {
        Tfnet& f = Dialog(d);
        Child<QLineEdit>(&f, "Edit1")
            ->setText(QString::fromStdString(service->Url() + "?action=wait&seconds=8&x="));
        Child<QLineEdit>(&f, "Edit2")->setText(QString());
        QTimer::singleShot(300, Child<QPushButton>(&f, "Button3"), &QPushButton::click);
        Child<QPushButton>(&f, "Button1")->click();
        afterAbort = Memo(f);
        openAfterAbort = f.isVisible();
        EXPECT_TRUE(Child<QPushButton>(&f, "Button1")->isEnabled());
        EXPECT_FALSE(Child<QPushButton>(&f, "Button2")->isEnabled());
        Child<QPushButton>(&f, "Button3")->click();
        EXPECT_FALSE(f.isVisible());
        return QDialog::Rejected;
    };
    Trigger("NET1");
    EXPECT_EQ(afterAbort, QStringLiteral("Failed : 404 Connection aborted on request"));
    EXPECT_TRUE(openAfterAbort);
    const std::string ini = testsupport::ReadBytes(home / "ini.ini");
    EXPECT_NE(ini.find("action=wait"), std::string::npos);  // written back after cancel
}

TEST_F(NetImportTest, AFailedImportStillClosesMergesNothingItDidNotGetAndSaysSo) {
    WriteMonth("202403", {"20240305,食費,朝,100,"});
    ASSERT_TRUE(Start());
    prompts.dialogHandler = [&](QDialog& d) {
        Tfnet& f = Dialog(d);
        Child<QLineEdit>(&f, "Edit5")->setText(QStringLiteral("wrong"));
        Child<QPushButton>(&f, "Button2")->setEnabled(true);  // as after an earlier check
        Child<QPushButton>(&f, "Button2")->click();
        return QDialog::Accepted;
    };
    Trigger("NET1");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("Failed : 403 Forbidden")))
        << prompts.shown[0].text.toStdString();
    EXPECT_EQ(MonthText("202403"), "20240305,食費,朝,100,\r\n");
}

TEST_F(NetImportTest, AReplyFileThatCannotBeMadeIsReportedAndTheDialogStaysOpen) {
    ASSERT_TRUE(Start());
    std::filesystem::create_directory(home / "~net.dat");  // a folder where the file goes
    bool stayedOpen = false;
    QString memo = QStringLiteral("unchanged");
    prompts.dialogHandler = [&](QDialog& d) {
        Tfnet& f = Dialog(d);
        Child<QLineEdit>(&f, "Edit5")->setText(QStringLiteral("pw"));
        Child<QPushButton>(&f, "Button2")->setEnabled(true);
        Child<QPushButton>(&f, "Button2")->click();
        stayedOpen = f.isVisible();
        memo = Memo(f);
        f.hide();
        return QDialog::Rejected;
    };
    Trigger("NET1");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(memo, QString());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("~net.dat")));
}

TEST_F(NetImportTest, AnIdWithNoShiftJisFormIsRefusedAndNothingIsSentOrMerged) {
    ServiceHolds("20240305,食費,パン,300,\r\n");
    ASSERT_TRUE(Start());
    // An earlier check left a reply behind: it must not be imported by a request never sent.
    testsupport::WriteBytes(home / "~net.dat", ledger::ToCp932("20240305,食費,古い返答,1,\r\n"));
    bool stayedOpen = false;
    prompts.dialogHandler = [&](QDialog& d) {
        Tfnet& f = Dialog(d);
        Child<QLineEdit>(&f, "Edit4")->setText(QStringLiteral("me\U0001F600"));
        Child<QLineEdit>(&f, "Edit5")->setText(QStringLiteral("pw"));
        Child<QPushButton>(&f, "Button2")->setEnabled(true);
        Child<QPushButton>(&f, "Button2")->click();
        stayedOpen = f.isVisible();
        f.hide();
        return QDialog::Rejected;
    };
    Trigger("NET1");
    EXPECT_TRUE(stayedOpen);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("Shift-JIS")));
    EXPECT_EQ(MonthText("202403").find("古い返答"), std::string::npos);
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_TRUE(model().IsRowEmpty(0));
    EXPECT_EQ(service->Queries().find("id=me"), std::string::npos);
}

TEST_F(NetImportTest, DefaultPutsTheServiceAddressAndAMissingUrlKeyGivesItToo) {
    testsupport::WriteBytes(home / "ini.ini", "[net]\r\nid=x\r\n");
    ASSERT_TRUE(Start());
    prompts.dialogHandler = [&](QDialog& d) {
        Tfnet& f = Dialog(d);
        EXPECT_TRUE(Child<QLineEdit>(&f, "Edit1")->text().endsWith(QStringLiteral("/vantrel.cgi")));
        Child<QLineEdit>(&f, "Edit1")->setText(QStringLiteral("http://elsewhere/"));
        Child<QPushButton>(&f, "SpeedButton1")->click();
        EXPECT_TRUE(Child<QLineEdit>(&f, "Edit1")->text().endsWith(QStringLiteral("/vantrel.cgi")));
        Child<QPushButton>(&f, "Button3")->click();
        return QDialog::Rejected;
    };
    Trigger("NET1");
    EXPECT_EQ(prompts.dialogsRun, 1);
}

}  // namespace

namespace {

// A reply the program did not live to merge (killed after the transfer) is offered once the
// window is up, before anything else, and merged without doubling what is already there.
TEST_F(NetImportTest, AReplyLeftUnmergedIsOfferedAtStartAndMergedOnce) {
    WriteMonth("202403", {"20240305,食費,パン,300,"});
    testsupport::WriteBytes(
        home / "~net.dat",
        ledger::ToCp932("20240305,食費,パン,300,\r\n20240306,食費,牛乳,180,\r\n"));
    testsupport::WriteBytes(home / "~net.pending", "unmerged\r\n");
    ASSERT_TRUE(Start());
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("家計簿に加えますか")));
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("（1 件）")))
        << prompts.shown[1].text.toStdString();
    EXPECT_EQ(MonthText("202403"), "20240305,食費,パン,300,\r\n20240306,食費,牛乳,180,\r\n");
    EXPECT_FALSE(std::filesystem::exists(home / "~net.pending"));
}

// Said no to, the reply stays owed, and NET機能 asks again before it would write over it.
TEST_F(NetImportTest, AnUnmergedReplyIsNeverWrittenOver) {
    const std::string reply = ledger::ToCp932("20240306,食費,牛乳,180,\r\n");
    testsupport::WriteBytes(home / "~net.dat", reply);
    testsupport::WriteBytes(home / "~net.pending", "unmerged\r\n");
    prompts.answers = {platform::Prompts::Answer::No, platform::Prompts::Answer::No};
    ASSERT_TRUE(Start());
    QCoreApplication::processEvents();
    Trigger("NET1");
    EXPECT_EQ(prompts.dialogsRun, 0);
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_TRUE(prompts.shown[2].text.contains(QStringLiteral("新しいデータは受信しません")));
    EXPECT_EQ(testsupport::ReadBytes(home / "~net.dat"), reply);
    EXPECT_TRUE(std::filesystem::exists(home / "~net.pending"));
}

// An import that broke off after the service had sent and forgotten its entries: the next
// start merges what arrived, and the next データ取り込み fetches the whole batch again.
TEST_F(NetImportTest, AnImportThatBrokeOffFetchesTheLastBatchAgain) {
    ServiceHolds("20240305,食費,パン,300,\r\n20240306,食費,牛乳,180,\r\n");
    const std::string sent = testsupport::RunCgi(
        VANTREL_CGI,
        {"REQUEST_METHOD=GET", "QUERY_STRING=action=get&id=" + id + "&pass=pw&remove=1",
         "VANTREL_SERVICE_DATA=" + service->dataFolder().string()});
    ASSERT_NE(sent.find("20240306"), std::string::npos);
    // What arrived before the break: the first line and half of the second.
    testsupport::WriteBytes(home / "~net.dat",
                            ledger::ToCp932("20240305,食費,パン,300,\r\n2024030"));
    testsupport::WriteBytes(home / "~net.pending", "broken\r\n");
    ASSERT_TRUE(Start());
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("受け取り直します")));
    EXPECT_EQ(MonthText("202403"), "20240305,食費,パン,300,\r\n");

    prompts.shown.clear();
    QString memo;
    prompts.dialogHandler = [&](QDialog& d) {
        Tfnet& f = Dialog(d);
        memo = Memo(f);
        EXPECT_TRUE(Child<QPushButton>(&f, "Button2")->isEnabled());
        Child<QLineEdit>(&f, "Edit5")->setText(QStringLiteral("pw"));
        Child<QPushButton>(&f, "Button2")->click();
        return QDialog::Accepted;
    };
    Trigger("NET1");
    EXPECT_TRUE(memo.contains(QStringLiteral("途中で終わりました")));
    EXPECT_NE(service->Queries().find("action=resend&id=" + id), std::string::npos);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("（1 件）")))
        << prompts.shown[0].text.toStdString();
    EXPECT_EQ(MonthText("202403"), "20240305,食費,パン,300,\r\n20240306,食費,牛乳,180,\r\n");
    EXPECT_FALSE(std::filesystem::exists(home / "~net.pending"));
}

}  // namespace
