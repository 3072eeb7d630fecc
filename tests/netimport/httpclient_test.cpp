// The HTTP client against real servers on loopback: lighttpd running the reference web
// service, tinyproxy, and lighttpd's TLS with a certificate authority made for the test.

#include "http/client.h"
#include "netimport/netimport.h"

#include "ledger/cp932.h"
#include "support/webservers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

using testsupport::RunCgi;
using testsupport::TestProxy;
using testsupport::TestWebService;

struct Fetched {
    std::optional<http::Failure> failure;
    std::string body;
    int pumps = 0;
};

// Runs one GET; `onPump` sees the client at every pump.
Fetched Fetch(http::Client& client, const std::string& url,
              const std::function<void(http::Client&, int)>& onPump = {}) {
    Fetched f;
    client.SetUrl(url);
    f.failure = client.Get(
        [&](std::string_view bytes) {
            f.body.append(bytes);
            return true;
        },
        [&] {
            ++f.pumps;
            if (onPump)
                onPump(client, f.pumps);
        });
    return f;
}

std::string Describe(const std::optional<http::Failure>& f) {
    return f ? std::to_string(f->status) + " " + f->reason : "ok";
}

class HttpClientTest : public testing::Test {
protected:
    static void SetUpTestSuite() { service = std::make_unique<TestWebService>(VANTREL_CGI); }
    static void TearDownTestSuite() { service.reset(); }
    void SetUp() override {
        if (!service->skipReason.empty())
            GTEST_SKIP() << service->skipReason;
        ASSERT_TRUE(service->Ready()) << service->failure;
    }

    // Records an entry as the browser form does.
    static void Add(const std::string& id, const std::string& pass, const std::string& fields) {
        RunCgi(
            VANTREL_CGI,
            {"REQUEST_METHOD=POST", "VANTREL_SERVICE_DATA=" + service->dataFolder().string(),
             "CONTENT_LENGTH=" +
                 std::to_string(("action=add&id=" + id + "&pass=" + pass + "&" + fields).size())},
            "action=add&id=" + id + "&pass=" + pass + "&" + fields);
    }

    static std::unique_ptr<TestWebService> service;
    http::Client client;
};
std::unique_ptr<TestWebService> HttpClientTest::service;

TEST_F(HttpClientTest, FetchesTheReplyAndSendsTheEscapedQueryAsTheServiceReadsIt) {
    // An ID with "&", "?", "=", "+", a blank and "#"; a password in Japanese.
    const std::string id = "a&b?c=d+e f#g";
    const std::string pass = ledger::ToCp932("あいう");
    Add("a%26b%3fc%3dd%2be+f%23g", "%82%a0%82%a2%82%a4", "date=20240305&category=x&amount=300");
    Fetched f = Fetch(client, netimport::RequestUrl(service->Url(), id, pass, false));
    ASSERT_FALSE(f.failure) << Describe(f.failure);
    EXPECT_EQ(f.body, "20240305,x,,300,\r\n");
    EXPECT_GT(f.pumps, 0);
    // On the wire: %26 and %3f escaped by the program, "=" and "+" as typed, the blank and
    // "#" made safe for the request line, Japanese as escapes of its CP932 bytes. (libcurl
    // writes the hexadecimal digits in upper case, which means the same to every server.)
    std::string queries = service->Queries();
    for (char& c : queries)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(queries.find("get action=get&id=a%26b%3fc=d+e%20f%23g&pass=%82%a0%82%a2%82%a4"
                           "&remove=0\n"),
              std::string::npos)
        << queries;
}

TEST_F(HttpClientTest, AStatusOf400AndAboveFailsWithItsCodeAndReasonAndNoBody) {
    Fetched f = Fetch(client, netimport::RequestUrl(service->Url(), "nobody", "x", false));
    ASSERT_TRUE(f.failure);
    EXPECT_EQ(f.failure->status, 403);
    EXPECT_EQ(f.failure->reason, "Forbidden");
    EXPECT_EQ(f.body, "");
    f = Fetch(client, "http://127.0.0.1:" + std::to_string(service->port()) + "/missing.cgi");
    EXPECT_EQ(Describe(f.failure), "404 Not Found");
}

// A 3xx answer is no reply: a failure with its status, and its body never reaches the sink.
TEST_F(HttpClientTest, ARedirectIsAFailureAndItsBodyIsNoData) {
    Fetched f = Fetch(client, service->Url() + "?action=redirect");
    EXPECT_EQ(Describe(f.failure), "302 Found");
    EXPECT_EQ(f.body, "");
}

TEST_F(HttpClientTest, AnUnreachableHostFailsAs404WithTheClientsReason) {
    Fetched f = Fetch(client, "http://127.0.0.1:" + std::to_string(testsupport::FreePort()) + "/");
    ASSERT_TRUE(f.failure);
    EXPECT_EQ(f.failure->status, 404);
    EXPECT_NE(f.failure->reason.find("onnect"), std::string::npos) << f.failure->reason;
    f = Fetch(client, "http://no-such-host.invalid/");
    ASSERT_TRUE(f.failure);
    EXPECT_EQ(f.failure->status, 404);
    EXPECT_NE(f.failure->reason.find("resolve"), std::string::npos) << f.failure->reason;
    // Only http and https are spoken.
    f = Fetch(client, "file:///etc/passwd");
    ASSERT_TRUE(f.failure);
    EXPECT_EQ(f.body, "");
}

TEST_F(HttpClientTest, AbortEndsASlowRequestAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    Fetched f =
        Fetch(client, service->Url() + "?action=wait&seconds=8", [](http::Client& c, int pumps) {
            if (pumps == 10)
                c.Abort();
        });
    EXPECT_EQ(Describe(f.failure), "404 Connection aborted on request");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(client.Running());
    // The client is ready for the next request.
    EXPECT_EQ(Describe(Fetch(client, service->Url() + "?action=big&bytes=10").failure), "ok");
}

TEST_F(HttpClientTest, ASilentServerAndAnOverlongReplyEndWithAClearReason) {
    client.SetLimits(1000, 1);
    Fetched f = Fetch(client, service->Url() + "?action=wait&seconds=4");
    EXPECT_EQ(Describe(f.failure), "404 No answer from the server for 1 seconds");
    f = Fetch(client, service->Url() + "?action=big&bytes=1000");
    EXPECT_EQ(Describe(f.failure), "ok");
    EXPECT_EQ(f.body.size(), 1000u);
    f = Fetch(client, service->Url() + "?action=big&bytes=1001");
    ASSERT_TRUE(f.failure);
    EXPECT_NE(f.failure->reason.find("Reply larger than"), std::string::npos);
}

// A server that drips a byte now and then is never silent: the whole reply has a time limit.
TEST_F(HttpClientTest, AReplyThatNeverEndsIsCutOffByItsTotalTime) {
    client.SetLimits(1000, 2, 3);
    const auto start = std::chrono::steady_clock::now();
    Fetched f = Fetch(client, service->Url() + "?action=drip&seconds=8");
    EXPECT_EQ(Describe(f.failure), "404 No whole reply within 3 seconds");
    EXPECT_FALSE(f.body.empty());  // it was not silent
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
}

TEST_F(HttpClientTest, ASinkThatCannotStoreEndsTheTransfer) {
    client.SetUrl(service->Url() + "?action=big&bytes=5000");
    auto failure = client.Get([](std::string_view) { return false; }, [] {});
    EXPECT_EQ(Describe(failure), "404 The reply could not be stored");
}

TEST_F(HttpClientTest, GoesThroughAProxyWhoseOwnPortWins) {
    TestProxy proxy;
    if (!proxy.skipReason.empty())
        GTEST_SKIP() << proxy.skipReason;
    ASSERT_TRUE(proxy.Ready()) << proxy.failure;
    const std::string url = service->Url() + "?action=big&bytes=3";
    client.SetProxy("127.0.0.1", std::to_string(proxy.port()));
    EXPECT_EQ(Describe(Fetch(client, url).failure), "ok");
    // A port in the proxy text wins over the port field.
    client.SetProxy("127.0.0.1:" + std::to_string(proxy.port()), "1");
    EXPECT_EQ(Describe(Fetch(client, url).failure), "ok");
    const std::string log = testsupport::ReadBytes(proxy.log());
    size_t seen = 0;
    for (size_t at = log.find("GET " + url); at != std::string::npos;
         at = log.find("GET " + url, at + 1))
        ++seen;
    EXPECT_EQ(seen, 2u) << log;
    // HTTP/1.0 is asked for.
    EXPECT_NE(log.find(url + " HTTP/1.0"), std::string::npos);
    // A proxy that is not there is a connection failure; a port that is no number is refused.
    client.SetProxy("127.0.0.1", std::to_string(testsupport::FreePort()));
    EXPECT_EQ(Fetch(client, url).failure.value_or(http::Failure{0, ""}).status, 404);
    client.SetProxy("127.0.0.1", "80a");
    EXPECT_EQ(Describe(Fetch(client, url).failure), "404 Invalid proxy port: 80a");
}

TEST_F(HttpClientTest, HttpsChecksTheCertificateAndTheHostName) {
    const std::string query = "?action=big&bytes=2";
    client.SetCaFile(service->caFile().string());
    EXPECT_EQ(Describe(Fetch(client, service->TlsUrl("localhost") + query).failure), "ok");
    // The certificate is for "localhost", not for the address.
    Fetched f = Fetch(client, service->TlsUrl("127.0.0.1") + query);
    ASSERT_TRUE(f.failure);
    EXPECT_EQ(f.failure->status, 404);
    EXPECT_EQ(f.body, "");
    // Without the test's authority the certificate is not trusted.
    http::Client plain;
    f = Fetch(plain, service->TlsUrl("localhost") + query);
    ASSERT_TRUE(f.failure);
    EXPECT_NE(f.failure->reason.find("certificate"), std::string::npos) << f.failure->reason;
}

TEST(HttpClientWire, EscapesWhatCannotStandInARequestLine) {
    EXPECT_EQ(http::Client::WireUrl("http://h/p?a=b c#d\x01\x82"), "http://h/p?a=b%20c%23d%01%82");
    EXPECT_EQ(http::Client::WireUrl("http://h/p?a=%26&b=+="), "http://h/p?a=%26&b=+=");
}

}  // namespace
