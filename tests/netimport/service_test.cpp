// The reference web service: its parameter rules directly, and vantrel.cgi run as a web
// server would run it.

#include "params.h"

#include "ledger/cp932.h"
#include "ledger/exchangetext.h"
#include "support/tempdir.h"
#include "support/webservers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

using testsupport::RunCgi;
using testsupport::TempDir;

TEST(ServiceParams, DecodesEscapesAndTakesPlusForABlankOnlyInFormBodies) {
    auto query = service::ParseParams("id=a+b%26c&pass=%82%a0%3F", false);
    ASSERT_TRUE(query);
    EXPECT_EQ(query->at("id"), "a+b&c");
    EXPECT_EQ(query->at("pass"), "\x82\xa0?");
    auto form = service::ParseParams("memo=a+b", true);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->at("memo"), "a b");
    // Broken escapes, empty keys and repeated keys are refused.
    for (const char* bad : {"id=%4", "id=%zz", "=x", "id=a&id=b"})
        EXPECT_FALSE(service::ParseParams(bad, false)) << bad;
}

TEST(ServiceParams, RefusesTextThatCannotBeKeptAsAnEntry) {
    EXPECT_FALSE(ledger::RefuseExchangeText(ledger::ToCp932("食費"), 64));
    EXPECT_TRUE(ledger::RefuseExchangeText(std::string(65, 'a'), 64));
    EXPECT_TRUE(ledger::RefuseExchangeText("a\r\nb", 64));
    EXPECT_TRUE(ledger::RefuseExchangeText("\x82", 64));       // a lead byte alone
    EXPECT_TRUE(ledger::RefuseExchangeText("\xff\xfe", 64));   // not CP932 at all
    EXPECT_TRUE(ledger::RefuseExchangeText("&#128512;", 64));  // what a browser sends for an emoji
}

class CgiTest : public testing::Test {
protected:
    TempDir data;

    std::string Run(const std::string& method, const std::string& query,
                    const std::string& body = {}) {
        return RunCgi(VANTREL_CGI,
                      {"REQUEST_METHOD=" + method, "QUERY_STRING=" + query,
                       "CONTENT_LENGTH=" + std::to_string(body.size()),
                       "VANTREL_SERVICE_DATA=" + data.path().string()},
                      body);
    }
    std::string Add(const std::string& id, const std::string& pass, const std::string& fields) {
        return Run("POST", "", "action=add&id=" + id + "&pass=" + pass + "&" + fields);
    }
    static std::string Body(const std::string& reply) {
        const size_t end = reply.find("\r\n\r\n");
        return end == std::string::npos ? reply : reply.substr(end + 4);
    }
    static std::string Status(const std::string& reply) {
        return reply.substr(0, reply.find("\r\n"));
    }
};

TEST_F(CgiTest, KeepsEntriesPerIdAndPasswordAndForgetsThemOnlyWhenAskedTo) {
    EXPECT_EQ(Status(Add("me", "pw",
                         "date=2024-03-05&category=%90H%94%EF&description=a%2Cb"
                         "&amount=300&memo=x+y")),
              "Status: 200 OK");
    Add("me", "pw", "date=20240410&category=x&description=&amount=-5&memo=");
    const std::string lines =
        ledger::ToCp932("20240305,食費,\"a,b\",300,\"x y\"\r\n") + "20240410,x,,-5,\r\n";
    EXPECT_EQ(Body(Run("GET", "action=get&id=me&pass=pw&remove=0")), lines);
    EXPECT_EQ(Body(Run("GET", "action=get&id=me&pass=pw&remove=1")), lines);
    EXPECT_EQ(Body(Run("GET", "action=get&id=me&pass=pw&remove=0")), "");
}

TEST_F(CgiTest, RefusesBadRequestsWithoutTouchingAnotherIdsEntries) {
    Add("me", "pw", "date=20240305&category=a&amount=1");
    const std::string before = Body(Run("GET", "action=get&id=me&pass=pw&remove=0"));
    ASSERT_FALSE(before.empty());
    struct Case {
        const char* what;
        std::string method, query, body, status;
    };
    const Case cases[] = {
        {"wrong password", "GET", "action=get&id=me&pass=bad&remove=1", "", "Status: 403"},
        {"missing password", "GET", "action=get&id=me&remove=1", "", "Status: 403"},
        {"unknown ID", "GET", "action=get&id=you&pass=pw&remove=1", "", "Status: 403"},
        {"ID with a path", "GET", "action=get&id=../me&pass=pw&remove=1", "", "Status: 403"},
        {"bad remove", "GET", "action=get&id=me&pass=pw&remove=2", "", "Status: 400"},
        {"overlong ID", "GET", "action=get&id=" + std::string(65, 'a') + "&pass=pw&remove=0", "",
         "Status: 400"},
        {"not CP932", "GET", "action=get&id=%ff%fe&pass=pw&remove=0", "", "Status: 400"},
        {"repeated key", "GET", "action=get&id=me&id=x&pass=pw&remove=1", "", "Status: 400"},
        {"wrong password on add", "POST", "",
         "action=add&id=me&pass=bad&date=20240305&category=a&amount=1", "Status: 403"},
        {"bad date", "POST", "", "action=add&id=me&pass=pw&date=20240230&category=a&amount=1",
         "Status: 400"},
        {"amount not whole", "POST", "",
         "action=add&id=me&pass=pw&date=20240305&category=a&amount=1.5", "Status: 400"},
        {"overlong memo", "POST", "",
         "action=add&id=me&pass=pw&date=20240305&category=a&amount=1&memo=" + std::string(300, 'm'),
         "Status: 400"},
        {"line break in a field", "POST", "",
         "action=add&id=me&pass=pw&date=20240305&category=a%0d%0a20240101&amount=1", "Status: 400"},
        {"unknown action", "GET", "action=wait&seconds=1", "", "Status: 400"},
        {"year 0000", "POST", "", "action=add&id=me&pass=pw&date=00000305&category=a&amount=1",
         "Status: 400"},
        // HEAD sends no body: it must never forget what it did not send.
        {"HEAD with remove", "HEAD", "action=get&id=me&pass=pw&remove=1", "", "Status: 200"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Run(c.method, c.query, c.body).starts_with(c.status)) << c.what;
        EXPECT_EQ(Body(Run("GET", "action=get&id=me&pass=pw&remove=0")), before) << c.what;
    }
    // No other local user can read the store: every folder and file is the owner's alone.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data.path())) {
        const auto perms = std::filesystem::status(entry.path()).permissions();
        EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
                  std::filesystem::perms::none)
            << entry.path();
    }
    // Every ID lives in a folder named by its bytes in hexadecimal, inside the data folder.
    for (const auto& entry : std::filesystem::directory_iterator(data.path()))
        EXPECT_TRUE(entry.path().filename() == "locks" ||
                    entry.path().filename().string().starts_with("id-"))
            << entry.path();
}

// A removing get keeps what it sent as the last batch, which action=resend sends again
// without removing anything, until the next removing get replaces it or 30 days pass.
TEST_F(CgiTest, TheLastBatchSentCanBeFetchedAgain) {
    EXPECT_TRUE(Run("GET", "action=resend&id=me&pass=pw").starts_with("Status: 403"));
    Add("me", "pw", "date=20240305&category=a&amount=1");
    Add("me", "pw", "date=20240306&category=b&amount=2");
    const std::string first = "20240305,a,,1,\r\n20240306,b,,2,\r\n";
    EXPECT_EQ(Body(Run("GET", "action=get&id=me&pass=pw&remove=1")), first);
    EXPECT_EQ(Body(Run("GET", "action=resend&id=me&pass=pw")), first);
    EXPECT_EQ(Body(Run("GET", "action=resend&id=me&pass=pw")), first);  // nothing removed
    EXPECT_TRUE(Run("GET", "action=resend&id=me&pass=bad").starts_with("Status: 403"));
    Add("me", "pw", "date=20240307&category=c&amount=3");
    EXPECT_EQ(Body(Run("GET", "action=get&id=me&pass=pw&remove=0")), "20240307,c,,3,\r\n");
    EXPECT_EQ(Body(Run("GET", "action=resend&id=me&pass=pw")), first);  // remove=0 keeps it
    EXPECT_EQ(Body(Run("GET", "action=get&id=me&pass=pw&remove=1")), "20240307,c,,3,\r\n");
    EXPECT_EQ(Body(Run("GET", "action=resend&id=me&pass=pw")), "20240307,c,,3,\r\n");
    // Thirty days on, the batch is gone.
    const auto sent = data / "id-6d65" / "sent.csv";
    ASSERT_TRUE(std::filesystem::exists(sent));
    std::filesystem::last_write_time(
        sent, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 31));
    EXPECT_EQ(Body(Run("GET", "action=resend&id=me&pass=pw")), "");
    EXPECT_FALSE(std::filesystem::exists(sent));
    // An empty removing get leaves no batch behind.
    Add("me", "pw", "date=20240308&category=d&amount=4");
    Run("GET", "action=get&id=me&pass=pw&remove=1");
    EXPECT_EQ(Body(Run("GET", "action=get&id=me&pass=pw&remove=1")), "");
    EXPECT_EQ(Body(Run("GET", "action=resend&id=me&pass=pw")), "");
}

// Ten wrong passwords in a minute, or ten requests for an ID nobody registered, and the ID
// is refused with a wait, the right password included; another ID is not touched.
TEST_F(CgiTest, PasswordGuessingIsSlowedPerId) {
    Add("me", "pw", "date=20240305&category=a&amount=1");
    Add("other", "pw", "date=20240305&category=a&amount=1");
    for (const std::string id : {"me", "nobody"}) {
        for (int k = 0; k < 10; ++k) {
            const std::string reply = Run("GET", "action=get&id=" + id + "&pass=bad&remove=0");
            EXPECT_TRUE(reply.starts_with("Status: 403")) << id << k;
            EXPECT_EQ(reply.find("Retry-After"), std::string::npos) << id << k;
        }
        const std::string reply = Run("GET", "action=get&id=" + id + "&pass=pw&remove=0");
        EXPECT_TRUE(reply.starts_with("Status: 403")) << id;
        EXPECT_NE(reply.find("\r\nRetry-After: "), std::string::npos) << id;
    }
    // An add cannot take the throttled ID over either, registered or not.
    EXPECT_TRUE(
        Add("nobody", "pw", "date=20240305&category=a&amount=1").starts_with("Status: 403"));
    EXPECT_FALSE(std::filesystem::exists(data / "id-6e6f626f6479"));
    EXPECT_EQ(Body(Run("GET", "action=get&id=other&pass=pw&remove=0")), "20240305,a,,1,\r\n");
}

// The password is kept as a yescrypt hash; a hash an earlier version kept still opens the ID.
TEST_F(CgiTest, PasswordsAreHashedSlowlyAndOldHashesStillWork) {
    Add("me", "pw", "date=20240305&category=a&amount=1");
    EXPECT_TRUE(testsupport::ReadBytes(data / "id-6d65" / "password").starts_with("$y$"));
    std::filesystem::create_directories(data / "id-6f6c64");
    testsupport::WriteBytes(
        data / "id-6f6c64" / "password",
        "$6$abcdefgh$HuP.8w8zyqzR8RHqbr32NMsK6hiYhesFVDs63F2vszYLFz4AmXX6Km6X8GP"
        "OOduawvObd9LA49kROag6PN/Yu1");
    EXPECT_TRUE(
        Run("GET", "action=get&id=old&pass=old-secret&remove=0").starts_with("Status: 200"));
    EXPECT_TRUE(Run("GET", "action=get&id=old&pass=secret&remove=0").starts_with("Status: 403"));
}

// An add appends one line without rewriting the rest: what a killed append left (a line
// without its break) goes first, temporary files of killed writes go, and past what the
// import can fetch at once the add is refused with nothing changed.
TEST_F(CgiTest, AddsAppendWholeLinesUpToWhatTheImportCanFetch) {
    Add("me", "pw", "date=20240305&category=a&amount=1");
    const auto folder = data / "id-6d65";
    testsupport::WriteBytes(folder / "entries.csv", "20240305,a,,1,\r\n20240306,b,,12");
    testsupport::WriteBytes(folder / ".entries.csv.Ab12cD", "half");
    testsupport::WriteBytes(folder / ".keep.txt", "not ours");
    EXPECT_TRUE(Add("me", "pw", "date=20240307&category=c&amount=3").starts_with("Status: 200"));
    EXPECT_EQ(testsupport::ReadBytes(folder / "entries.csv"),
              "20240305,a,,1,\r\n20240307,c,,3,\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder / ".entries.csv.Ab12cD"));
    EXPECT_TRUE(std::filesystem::exists(folder / ".keep.txt"));

    const std::string full(ledger::kMaxExchangeBytes - 10, 'x');
    testsupport::WriteBytes(folder / "entries.csv", full.substr(0, full.size() - 2) + "\r\n");
    const std::string reply = Add("me", "pw", "date=20240307&category=c&amount=3");
    EXPECT_TRUE(reply.starts_with("Status: 507")) << reply.substr(0, 40);
    EXPECT_EQ(std::filesystem::file_size(folder / "entries.csv"), full.size());
}

// Each ID has its own lock: a request for one ID does not wait while another ID is held
// (here, by this test holding the first ID's lock file, as a slow request would).
TEST_F(CgiTest, AnIdsRequestDoesNotWaitForAnotherId) {
    Add("me", "pw", "date=20240305&category=a&amount=1");
    std::vector<std::filesystem::path> locks;
    for (const auto& entry : std::filesystem::directory_iterator(data / "locks"))
        locks.push_back(entry.path());
    ASSERT_EQ(locks.size(), 1u);
    // An ID whose lock file is another one (the lock files are chosen by a hash of the ID).
    std::string other;
    for (const std::string id : {"you", "him", "her", "them", "us"}) {
        Add(id, "pw", "date=20240305&category=a&amount=2");
        if (std::distance(std::filesystem::directory_iterator(data / "locks"),
                          std::filesystem::directory_iterator()) == 2) {
            other = id;
            break;
        }
    }
    ASSERT_FALSE(other.empty());
    const int fd = ::open(locks[0].c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    const std::string command =
        "timeout 20 env -i REQUEST_METHOD=GET QUERY_STRING='action=get&id=" + other +
        "&pass=pw&remove=0' VANTREL_SERVICE_DATA='" + data.path().string() +
        "' " VANTREL_CGI " >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << "the request waited for another ID's lock";
    ::close(fd);
}

// Without a store setting, or with the store inside the published folder, the entries could
// be fetched as plain files: the CGI refuses and keeps nothing.
TEST_F(CgiTest, RefusesAStoreItCouldNotKeepPrivate) {
    const std::string body = "action=add&id=me&pass=pw&date=20240305&category=a&amount=1";
    const std::string length = "CONTENT_LENGTH=" + std::to_string(body.size());
    EXPECT_TRUE(
        RunCgi(VANTREL_CGI, {"REQUEST_METHOD=POST", length}, body).starts_with("Status: 500"));
    EXPECT_TRUE(RunCgi(VANTREL_CGI,
                       {"REQUEST_METHOD=POST", length,
                        "VANTREL_SERVICE_DATA=" + (data / "www" / "store").string(),
                        "DOCUMENT_ROOT=" + (data / "www").string()},
                       body)
                    .starts_with("Status: 500"));
    EXPECT_FALSE(std::filesystem::exists(data / "www" / "store"));
    // Beside the published folder is fine.
    EXPECT_TRUE(
        RunCgi(VANTREL_CGI,
               {"REQUEST_METHOD=POST", length, "VANTREL_SERVICE_DATA=" + (data / "store").string(),
                "DOCUMENT_ROOT=" + (data / "www").string()},
               body)
            .starts_with("Status: 200"));
}

TEST_F(CgiTest, ThePasswordIsKeptOnlyAsASaltedHash) {
    Add("me", "secret-word", "date=20240305&category=a&amount=1");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data.path())) {
        if (entry.is_regular_file()) {
            EXPECT_EQ(testsupport::ReadBytes(entry.path()).find("secret-word"), std::string::npos);
        }
    }
}

TEST_F(CgiTest, WithoutAnActionItServesTheEntryFormInShiftJis) {
    const std::string reply = Run("GET", "");
    EXPECT_NE(reply.find("text/html; charset=Shift_JIS"), std::string::npos);
    const std::string head = reply.substr(0, reply.find("\r\n\r\n"));
    EXPECT_NE(head.find("\r\nX-Content-Type-Options: nosniff"), std::string::npos);
    EXPECT_NE(head.find("\r\nX-Frame-Options: DENY"), std::string::npos);
    EXPECT_NE(ledger::FromCp932(reply).find("name=\"amount\""), std::string::npos);
    EXPECT_NE(ledger::FromCp932(reply).find("記録する"), std::string::npos);
}

}  // namespace
