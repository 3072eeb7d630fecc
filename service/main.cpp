// vantrel.cgi: the reference web service of the program's network import, run by a web
// server through CGI. See service/README.md.
//
//   GET  ?action=get&id=ID&pass=PASS&remove=0|1   the entries kept for ID, one line each
//   GET  ?action=resend&id=ID&pass=PASS            the last batch a remove=1 get sent
//   GET  (no action)                              a form to record an entry from a browser
//   POST action=add&id=..&pass=..&date=..&category=..&description=..&amount=..&memo=..

#include "params.h"
#include "store.h"

#include "ledger/cp932.h"
#include "ledger/csvline.h"
#include "ledger/date.h"
#include "ledger/exchangetext.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <fstream>
#include <iostream>

#include <sys/stat.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace {

using Params = std::map<std::string, std::string>;

constexpr size_t kMaxBody = 64 * 1024;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool replied = false;  // a reply has gone out: nothing more may be written

// Writes the whole reply to standard output; false when it could not be written whole.
// Without a length the web server reads the body until this program ends, so whatever it
// does after the reply (forgetting the entries sent) happens before the reply is complete:
// a web server that has the whole body stops the program at once.
bool Reply(const std::string& status, const std::string& type, std::string_view body,
           bool withLength = true, const std::string& extraHeader = {}) {
    replied = true;
    std::string out = "Status: " + status + "\r\nContent-Type: " + type;
    if (withLength)
        out += "\r\nContent-Length: " + std::to_string(body.size());
    if (!extraHeader.empty())
        out += "\r\n" + extraHeader;
    // No browser guesses another type for a reply, and no other site frames the form page.
    out +=
        "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff"
        "\r\nX-Frame-Options: DENY\r\n\r\n";
    out.append(body);
    return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() &&
           std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

void Refuse(const std::string& status, const std::string& utf8Message,
            const std::string& extraHeader = {}) {
    Reply(status, "text/plain; charset=Shift_JIS", ledger::ToCp932(utf8Message + "\r\n"), true,
          extraHeader);
}

// True when the store granted access; else the request is refused. A wrong password and an
// ID that does not exist get the same answer; so many wrong ones in a row get a wait.
bool Granted(const service::Store& store, service::Store::Access access) {
    switch (access) {
        case service::Store::Access::Granted:
            return true;
        case service::Store::Access::Refused:
            Refuse("403 Forbidden", "ID かパスワードが違います。");
            return false;
        case service::Store::Access::Throttled:
            Refuse("403 Forbidden",
                   "パスワードの誤りが続いたため、この ID はしばらく使えません。" +
                       std::to_string(store.RetryAfter()) + " 秒後にもう一度お試しください。",
                   "Retry-After: " + std::to_string(store.RetryAfter()));
            return false;
    }
    return false;
}

std::string Html(std::string_view utf8) {
    std::string out;
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

// The form page (Shift_JIS, so that the browser sends the fields in the ledger's encoding).
void FormPage(const std::string& utf8Notice, const std::string& idUtf8) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"Shift_JIS\">"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
        "<title>Vantrel 入力</title><style>body{font-family:sans-serif;margin:1em;max-width:30em}"
        "label{display:block;margin-top:.6em}input{width:100%;font-size:1.1em;box-sizing:border-"
        "box}"
        "button{margin-top:1em;font-size:1.1em;width:100%}.n{color:#060}</style></head><body>"
        "<h1>Vantrel 入力</h1>";
    if (!utf8Notice.empty())
        page += "<p class=\"n\">" + Html(utf8Notice) + "</p>";
    page +=
        "<form method=\"post\" accept-charset=\"Shift_JIS\">"
        "<input type=\"hidden\" name=\"action\" value=\"add\">"
        "<label>ID<input name=\"id\" required maxlength=\"64\" value=\"" +
        Html(idUtf8) +
        "\"></label>"
        "<label>パスワード<input name=\"pass\" type=\"password\" required></label>"
        "<label>日付<input name=\"date\" type=\"date\" required value=\"" +
        Today() +
        "\"></label>"
        "<label>費目<input name=\"category\" required placeholder=\"食費\"></label>"
        "<label>摘要<input name=\"description\"></label>"
        "<label>金額<input name=\"amount\" inputmode=\"numeric\" pattern=\"[+-]?[0-9]+\" "
        "required></label>"
        "<label>メモ<input name=\"memo\"></label>"
        "<button type=\"submit\">記録する</button></form>"
        "<p>最初に記録したときのパスワードが、その ID のパスワードになります。</p></body></html>\n";
    Reply("200 OK", "text/html; charset=Shift_JIS", ledger::ToCp932(page));
}

std::string Param(const Params& params, const std::string& key) {
    auto it = params.find(key);
    return it != params.end() ? it->second : std::string();
}

// Checks the ID and the password; refuses the request (false) when either is unusable.
bool CheckCredentials(const Params& params) {
    const std::string id = Param(params, "id");
    const std::string pass = Param(params, "pass");
    if (id.empty() || pass.empty()) {
        Refuse("403 Forbidden", "ID とパスワードを入れてください。");
        return false;
    }
    if (auto why = ledger::RefuseExchangeText(id, 64)) {
        Refuse("400 Bad Request", "ID: " + *why);
        return false;
    }
    if (auto why = ledger::RefuseExchangeText(pass, 128)) {
        Refuse("400 Bad Request", "パスワード: " + *why);
        return false;
    }
    return true;
}

// The store's folder, from VANTREL_SERVICE_DATA. Without it, or inside the folder the web
// server publishes, the passwords' hashes and the entries could be fetched as plain files:
// the request is refused (500) and the server's log says why.
std::optional<std::filesystem::path> StoreRoot() {
    const std::string configured = Env("VANTREL_SERVICE_DATA");
    if (configured.empty()) {
        std::cerr << "vantrel.cgi: VANTREL_SERVICE_DATA is not set; refusing to keep entries\n";
        Refuse("500 Internal Server Error", "サーバの設定が足りません。");
        return std::nullopt;
    }
    const std::filesystem::path root = std::filesystem::path(configured);
    const std::string published = Env("DOCUMENT_ROOT");
    if (!published.empty()) {
        std::error_code ec;
        const auto store =
            std::filesystem::weakly_canonical(std::filesystem::absolute(root, ec), ec);
        const auto served = std::filesystem::weakly_canonical(published, ec);
        const auto [end, rest] =
            std::mismatch(served.begin(), served.end(), store.begin(), store.end());
        if (!served.empty() && end == served.end()) {
            std::cerr << "vantrel.cgi: VANTREL_SERVICE_DATA (" << store.string()
                      << ") lies inside DOCUMENT_ROOT (" << served.string() << "); refusing\n";
            Refuse("500 Internal Server Error", "サーバの設定が安全ではありません。");
            return std::nullopt;
        }
    }
    return root;
}

// The request's ID in the store, held for the request, once its password is right (with
// `registerNew`, an ID seen for the first time is registered); null when the request was
// refused, the reply saying why.
std::unique_ptr<service::Store> OpenId(const Params& params, bool registerNew) {
    const std::optional<std::filesystem::path> root = StoreRoot();
    if (!root)
        return nullptr;
    auto store = std::make_unique<service::Store>(*root, Param(params, "id"), std::time(nullptr));
    const std::string pass = Param(params, "pass");
    if (!Granted(*store, registerNew ? store->CheckOrRegister(pass) : store->Check(pass)))
        return nullptr;
    return store;
}

// `head`: the request was HEAD, whose reply carries no body, so nothing was sent and
// nothing may be forgotten.
void Get(const Params& params, bool head) {
    if (!CheckCredentials(params))
        return;
    const std::string remove = Param(params, "remove");
    if (remove != "0" && remove != "1") {
        Refuse("400 Bad Request", "remove は 0 か 1 です。");
        return;
    }
    const std::unique_ptr<service::Store> store = OpenId(params, false);
    if (!store)
        return;
    const std::string entries = store->Entries();
    // Entries are forgotten only once the reply has gone out whole; the ID stays locked in
    // between, so nothing recorded meanwhile can be lost. What was forgotten is kept as the
    // last batch, which an import that broke off on its way fetches again (Resend).
    if (Reply("200 OK", "text/plain; charset=Shift_JIS", entries, false) && remove == "1" && !head)
        store->RemoveSent(entries);
}

// The last batch that a remove=1 get sent, again, removing nothing: what an import that was
// cancelled or broke off had not received is not lost.
void Resend(const Params& params) {
    if (!CheckCredentials(params))
        return;
    if (const std::unique_ptr<service::Store> store = OpenId(params, false))
        Reply("200 OK", "text/plain; charset=Shift_JIS", store->LastBatch(), false);
}

void Add(const Params& params) {
    if (!CheckCredentials(params))
        return;
    for (const ledger::ExchangeField& f : ledger::kExchangeFields) {
        if (auto why = ledger::RefuseExchangeText(Param(params, f.key), f.maxBytes)) {
            Refuse("400 Bad Request", std::string(f.caption) + ": " + *why);
            return;
        }
    }
    std::string dateText = Param(params, "date");
    std::erase(dateText, '-');
    const std::optional<ledger::Date> date = ledger::ParseYyyymmdd(dateText);
    // A year below 1 has no month file: the program would drop the entry after it left here.
    if (!date || date->year < 1) {
        Refuse("400 Bad Request", "日付が正しくありません。");
        return;
    }
    if (Param(params, "category").empty()) {
        Refuse("400 Bad Request", "費目を入れてください。");
        return;
    }
    if (!ledger::ParseInt(Param(params, "amount"))) {
        Refuse("400 Bad Request", "金額は整数で入れてください。");
        return;
    }
    const std::string id = Param(params, "id");
    const std::unique_ptr<service::Store> store = OpenId(params, true);
    if (!store)
        return;
    if (!store->Append(ledger::JoinLine({ledger::Yyyymmdd(*date), Param(params, "category"),
                                         Param(params, "description"), Param(params, "amount"),
                                         Param(params, "memo")}))) {
        // Past this the import could not fetch the ID's entries at once.
        Refuse(
            "507 Insufficient Storage",
            "この ID に記録されたデータが多すぎます。Vantrel で取り込んでから記録してください。");
        return;
    }
    FormPage("記録しました: " + ledger::Yyyymmdd(*date) + " " +
                 ledger::FromCp932(Param(params, "category")) + " " +
                 ledger::FromCp932(Param(params, "amount")),
             ledger::FromCp932(id));
}

// Endpoints for the program's own tests, answered only when the web server sets
// VANTREL_SERVICE_TEST=1: a server that stays silent, and a reply of a given size.
bool TestEndpoint(const std::string& action, const Params& params) {
    if (Env("VANTREL_SERVICE_TEST") != "1")
        return false;
    if (action == "wait") {
        std::this_thread::sleep_for(
            std::chrono::seconds(std::atoi(Param(params, "seconds").c_str())));
        Reply("200 OK", "text/plain; charset=Shift_JIS", "");
        return true;
    }
    if (action == "drip") {
        // A byte every half second for the given seconds: never silent, never done.
        std::fputs("Status: 200 OK\r\nContent-Type: text/plain; charset=Shift_JIS\r\n\r\n", stdout);
        replied = true;
        for (int k = 0; k < 2 * std::atoi(Param(params, "seconds").c_str()); ++k) {
            std::fputc('x', stdout);
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        return true;
    }
    if (action == "redirect") {
        // A redirect whose page looks like entries: the program must take none of it.
        Reply("302 Found", "text/plain; charset=Shift_JIS", "20240305,x,,300,\r\n");
        return true;
    }
    if (action == "big") {
        const size_t bytes = static_cast<size_t>(std::atol(Param(params, "bytes").c_str()));
        Reply("200 OK", "text/plain; charset=Shift_JIS", std::string(bytes, 'x'));
        return true;
    }
    return false;
}

void Log(const std::string& method, const std::string& query) {
    const std::string path = Env("VANTREL_SERVICE_LOG");
    if (path.empty())
        return;  // queries carry passwords: written only where a test asks for them
    std::ofstream(path, std::ios::app | std::ios::binary) << method << ' ' << query << '\n';
}

void Serve() {
    const std::string method = Env("REQUEST_METHOD");
    const std::string query = Env("QUERY_STRING");
    Log(method, query);
    if (method == "POST") {
        const long length = std::atol(Env("CONTENT_LENGTH").c_str());
        if (length < 0 || static_cast<size_t>(length) > kMaxBody) {
            Refuse("413 Payload Too Large", "入力が大きすぎます。");
            return;
        }
        std::string body(static_cast<size_t>(length), '\0');
        if (std::fread(body.data(), 1, body.size(), stdin) != body.size()) {
            Refuse("400 Bad Request", "入力を読めませんでした。");
            return;
        }
        const auto params = service::ParseParams(body, true);
        if (!params || Param(*params, "action") != "add") {
            Refuse("400 Bad Request", "入力の形が正しくありません。");
            return;
        }
        Add(*params);
        return;
    }
    if (method != "GET" && method != "HEAD") {
        Refuse("405 Method Not Allowed", "GET か POST で送ってください。");
        return;
    }
    // The program sends "+" for a "+": only form bodies take it for a blank.
    const auto params = service::ParseParams(query, false);
    if (!params) {
        Refuse("400 Bad Request", "問い合わせの形が正しくありません。");
        return;
    }
    const std::string action = Param(*params, "action");
    if (action.empty())
        FormPage("", "");
    else if (action == "get")
        Get(*params, method == "HEAD");
    else if (action == "resend")
        Resend(*params);
    else if (!TestEndpoint(action, *params))
        Refuse("400 Bad Request", "知らない action です。");
}

}  // namespace

int main() {
    // The store holds passwords' hashes and a household's entries: no other local user reads
    // them, whatever the web server's own umask.
    ::umask(077);
    try {
        Serve();
    } catch (const std::exception& e) {
        // The reason goes to the server's error log; the client learns only that it failed.
        // After a reply (entries sent that could not be forgotten) a second one would only
        // land inside the first one's body: the entries stay, and are sent again next time.
        std::cerr << "vantrel.cgi: " << e.what() << '\n';
        if (!replied)
            Refuse("500 Internal Server Error", "サーバの内部でエラーが起きました。");
    }
    return 0;
}
