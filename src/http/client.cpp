#include "client.h"

#include "curlapi.h"

#include <charconv>
#include <chrono>
#include <cstdlib>

namespace http {

namespace {

bool IsBlankOrControl(unsigned char c) {
    return c <= 0x20 || c == 0x7F;
}

// The reason phrase of a status line "HTTP/1.1 404 Not Found\r\n".
std::string ReasonOf(std::string_view statusLine) {
    while (!statusLine.empty() && (statusLine.back() == '\r' || statusLine.back() == '\n'))
        statusLine.remove_suffix(1);
    size_t first = statusLine.find(' ');
    if (first == std::string_view::npos)
        return {};
    size_t second = statusLine.find(' ', first + 1);
    if (second == std::string_view::npos)
        return {};
    return std::string(statusLine.substr(second + 1));
}

}  // namespace

// What one running GET needs in libcurl's callbacks.
struct Client::Transfer {
    const Sink* sink = nullptr;
    size_t maxBytes = 0;
    size_t received = 0;
    bool tooLarge = false;
    bool sinkRefused = false;
    std::string reason;  // of the last status line seen
    int status = 0;      // of the last status line seen
    char errorText[CURL_ERROR_SIZE] = {};

    static size_t OnBody(char* data, size_t size, size_t count, void* self) {
        auto& t = *static_cast<Transfer*>(self);
        const size_t n = size * count;
        // Only a 2xx answer's body is the reply: a redirect's page is not data.
        if (t.status != 0 && (t.status < 200 || t.status > 299))
            return n;
        if (n > t.maxBytes - t.received) {
            t.tooLarge = true;
            return 0;  // any count other than n ends the transfer
        }
        t.received += n;
        if (!(*t.sink)(std::string_view(data, n))) {
            t.sinkRefused = true;
            return 0;
        }
        return n;
    }

    static size_t OnHeader(char* data, size_t size, size_t count, void* self) {
        auto& t = *static_cast<Transfer*>(self);
        const std::string_view line(data, size * count);
        // A proxy's answer to CONNECT comes first; the last status line is the server's.
        if (line.starts_with("HTTP/")) {
            t.reason = ReasonOf(line);
            const size_t blank = line.find(' ');
            t.status = blank == std::string_view::npos
                           ? 0
                           : std::atoi(std::string(line.substr(blank + 1, 3)).c_str());
        }
        return size * count;
    }
};

Client::Client() = default;

Client::~Client() = default;

void Client::SetProxy(std::string host, std::string port) {
    proxyHost_ = std::move(host);
    proxyPort_ = std::move(port);
}

void Client::SetLimits(size_t maxBytes, long silentSeconds, long totalSeconds) {
    maxBytes_ = maxBytes;
    silentSeconds_ = silentSeconds;
    totalSeconds_ = totalSeconds;
}

std::string Client::WireUrl(std::string_view url) {
    std::string out;
    out.reserve(url.size());
    for (char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsBlankOrControl(byte) || byte >= 0x80 || c == '#') {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            out += '%';
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<Failure> Client::Get(const Sink& sink, const Pump& pump) {
    if (running_)
        return Failure{404, "A request is already running"};

    long proxyPort = 0;
    if (!proxyHost_.empty() && !proxyPort_.empty()) {
        auto [end, ec] =
            std::from_chars(proxyPort_.data(), proxyPort_.data() + proxyPort_.size(), proxyPort);
        if (ec != std::errc() || end != proxyPort_.data() + proxyPort_.size() || proxyPort < 1 ||
            proxyPort > 65535) {
            return Failure{404, "Invalid proxy port: " + proxyPort_};
        }
    }

    std::string unavailable;
    const CurlApi* curl = Curl(&unavailable);
    if (curl == nullptr)
        return Failure{404, unavailable};

    // Handles are released on every way out of this function.
    std::unique_ptr<CURL, decltype(curl->easy_cleanup)> easy(curl->easy_init(), curl->easy_cleanup);
    std::unique_ptr<CURLM, decltype(curl->multi_cleanup)> multi(curl->multi_init(),
                                                                curl->multi_cleanup);
    std::unique_ptr<curl_slist, decltype(curl->slist_free_all)> headers(nullptr,
                                                                        curl->slist_free_all);
    if (!easy || !multi)
        return Failure{404, "Cannot start the HTTP client"};
    for (const char* header : {"Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*",
                               // libcurl may add it for proxies; the service is asked plainly.
                               "Pragma:"}) {
        curl_slist* grown = curl->slist_append(headers.get(), header);
        if (grown == nullptr)
            return Failure{404, "Cannot start the HTTP client"};
        headers.release();
        headers.reset(grown);
    }

    Transfer transfer;
    transfer.sink = &sink;
    transfer.maxBytes = maxBytes_;
    const std::string wireUrl = WireUrl(url_);
    CURL* h = easy.get();
    curl->easy_setopt(h, CURLOPT_URL, wireUrl.c_str());
    curl->easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl->easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl->easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible)");
    curl->easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl->easy_setopt(h, CURLOPT_HTTPGET, 1L);
    // An empty proxy string also keeps the environment's proxy variables out.
    curl->easy_setopt(h, CURLOPT_PROXY, proxyHost_.c_str());
    if (proxyPort != 0)
        curl->easy_setopt(h, CURLOPT_PROXYPORT, proxyPort);
    if (!caFile_.empty())
        curl->easy_setopt(h, CURLOPT_CAINFO, caFile_.c_str());
    curl->easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl->easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    // A status of 400 and above ends the transfer before any of its body reaches the sink.
    curl->easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl->easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl->easy_setopt(h, CURLOPT_CONNECTTIMEOUT, silentSeconds_);
    curl->easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl->easy_setopt(h, CURLOPT_LOW_SPEED_TIME, silentSeconds_);
    curl->easy_setopt(h, CURLOPT_TIMEOUT, totalSeconds_);
    curl->easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBytes_));
    curl->easy_setopt(h, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
    curl->easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl->easy_setopt(h, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
    curl->easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl->easy_setopt(h, CURLOPT_ERRORBUFFER, transfer.errorText);

    if (curl->multi_add_handle(multi.get(), h) != CURLM_OK)
        return Failure{404, "Cannot start the HTTP client"};

    running_ = true;
    abortRequested_ = false;
    const auto started = std::chrono::steady_clock::now();
    CURLcode result = CURLE_OK;
    bool ended = false;
    while (!ended && !abortRequested_) {
        int stillRunning = 0;
        if (curl->multi_perform(multi.get(), &stillRunning) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        while (CURLMsg* message = curl->multi_info_read(multi.get(), &queued)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
                ended = true;
            }
        }
        if (ended)
            break;
        // Short waits keep the window's input flowing while the socket is quiet.
        curl->multi_poll(multi.get(), nullptr, 0, 20, nullptr);
        pump();
    }
    curl->multi_remove_handle(multi.get(), h);
    running_ = false;

    if (abortRequested_ && !ended) {
        abortRequested_ = false;
        return Failure{404, std::string(kAbortedReason)};
    }
    abortRequested_ = false;
    if (result == CURLE_OK) {
        // Any status other than 2xx is a failure (FAILONERROR takes 400 and above only).
        long status = 0;
        curl->easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        if (status < 200 || status > 299)
            return Failure{static_cast<int>(status), transfer.reason, true};
        return std::nullopt;
    }

    if (result == CURLE_HTTP_RETURNED_ERROR) {
        long status = 0;
        curl->easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        return Failure{static_cast<int>(status), transfer.reason, true};
    }
    if (transfer.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
        return Failure{404,
                       "Reply larger than " + std::to_string(maxBytes_ / (1024 * 1024)) + " MB"};
    // libcurl says only that a limit was reached; the total one when its time has about
    // passed (libcurl's clock and this one differ by a few milliseconds).
    if (result == CURLE_OPERATION_TIMEDOUT &&
        std::chrono::steady_clock::now() - started + std::chrono::milliseconds(250) >=
            std::chrono::seconds(totalSeconds_)) {
        return Failure{404, "No whole reply within " + std::to_string(totalSeconds_) + " seconds"};
    }
    if (result == CURLE_OPERATION_TIMEDOUT)
        return Failure{
            404, "No answer from the server for " + std::to_string(silentSeconds_) + " seconds"};
    if (transfer.sinkRefused)
        return Failure{404, "The reply could not be stored"};
    std::string reason = transfer.errorText[0] != '\0' ? std::string(transfer.errorText)
                                                       : std::string(curl->easy_strerror(result));
    return Failure{404, reason};
}

}  // namespace http
