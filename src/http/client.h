#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace http {

// Why a GET did not deliver a whole reply. Replies of status 400 and above carry their status
// and reason phrase; everything the client itself could not do (resolve, connect, receive in
// time, store) is reported as status 404 with the client's reason, as is an abort.
struct Failure {
    int status = 404;
    std::string reason;
    bool answered = false;  // the status is the server's own answer, not the client's
};

inline constexpr std::string_view kAbortedReason = "Connection aborted on request";

// One HTTP/1.0 GET at a time on libcurl, optionally through a proxy, the body handed to a
// sink as it arrives. http:// and https:// only; an https server's certificate and host name
// are checked against the system's certificate store.
class Client {
public:
    // Receives the body in pieces; false stops the transfer (the piece could not be stored).
    using Sink = std::function<bool(std::string_view bytes)>;
    // Called between waits of at most a few tens of milliseconds while a GET runs, so that the
    // caller's window keeps handling input (and may call Abort).
    using Pump = std::function<void()>;

    Client();
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    void SetUrl(std::string url) { url_ = std::move(url); }
    // An empty host sends the request directly (proxy variables of the environment are not
    // used). A port written in the host text ("proxy:8080") wins over `port`.
    void SetProxy(std::string host, std::string port);
    // Certificates to trust instead of the system's store (tests with their own authority).
    void SetCaFile(std::string path) { caFile_ = std::move(path); }
    // A reply body larger than maxBytes, a server silent for silentSeconds, or a reply that
    // has not ended after totalSeconds (a server dripping a byte now and then is never
    // silent) ends the GET.
    void SetLimits(size_t maxBytes, long silentSeconds, long totalSeconds = 600);

    // Runs the GET and returns when it has ended: nullopt when the whole body reached the
    // sink, else why not. While it runs, `pump` is called again and again.
    std::optional<Failure> Get(const Sink& sink, const Pump& pump);
    // Ends the running GET from within the pump; it then returns 404 kAbortedReason.
    void Abort() { abortRequested_ = true; }
    bool Running() const { return running_; }

    // Bytes that may not stand in a request line are written as %XX: blanks and control
    // characters, "#" (which would cut the query off as a fragment) and bytes above 127.
    static std::string WireUrl(std::string_view url);

private:
    struct Transfer;

    std::string url_;
    std::string proxyHost_;
    std::string proxyPort_;
    std::string caFile_;
    size_t maxBytes_ = 10 * 1024 * 1024;
    long silentSeconds_ = 30;
    long totalSeconds_ = 600;
    bool abortRequested_ = false;
    bool running_ = false;
};

}  // namespace http
