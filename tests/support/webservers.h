#pragma once

// Real servers on loopback for the network import's tests: lighttpd running the reference
// web service through CGI (http, and https with a certificate authority made for the test),
// and tinyproxy. Each writes its configuration, logs and data into a folder of the test's.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/tempdir.h"

extern char** environ;

namespace testsupport {

// A loopback port nobody listens on at the moment of asking.
inline int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

inline bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// A server process, ended (SIGTERM, then waited for) with the object.
class ServerProcess {
public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    ~ServerProcess() { Stop(); }

    // Starts argv[0] and waits up to five seconds until every port accepts connections.
    bool Start(const std::vector<std::string>& argv, const std::vector<int>& ports) {
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (::posix_spawn(&pid_, args[0], nullptr, nullptr, args.data(), environ) != 0) {
            pid_ = -1;
            return false;
        }
        for (int i = 0; i < 500; ++i) {
            bool all = true;
            for (int port : ports)
                all = all && Accepts(port);
            if (all)
                return true;
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    void Stop() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

// A text as one word for sh.
inline std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// lighttpd with vantrel.cgi at /cgi-bin/vantrel.cgi: http on port(), https on tlsPort() with a
// certificate for "localhost" signed by caFile().
class TestWebService {
public:
    explicit TestWebService(const std::filesystem::path& cgi) {
        if (!std::filesystem::exists("/usr/sbin/lighttpd") ||
            !std::filesystem::exists("/usr/lib/lighttpd/mod_openssl.so") ||
            !std::filesystem::exists("/usr/bin/openssl")) {
            skipReason =
                "lighttpd, lighttpd-mod-openssl or openssl is not installed "
                "(tools/setup --test installs them)";
            return;
        }
        const auto& d = dir_.path();
        std::filesystem::create_directories(d / "www/cgi-bin");
        std::filesystem::copy_file(cgi, d / "www/cgi-bin/vantrel.cgi");
        const std::string q = Quote(d.string());
        const std::string make =
            "cd " + q +
            " && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
            " -keyout ca.key -out ca.pem -days 2 -subj /CN=VantrelTestCA"
            " && openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
            " -keyout server.key -out server.csr -subj /CN=localhost"
            " && printf 'subjectAltName=DNS:localhost\\n' > ext.cnf"
            " && openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial"
            " -out server.pem -days 2 -extfile ext.cnf) > " +
            Quote((d / "openssl.log").string()) + " 2>&1";
        if (std::system(("(" + make).c_str()) != 0) {
            skipReason =
                "openssl could not make the test certificates: " + ReadBytes(d / "openssl.log");
            return;
        }
        port_ = FreePort();
        tlsPort_ = FreePort();
        std::ofstream conf(d / "lighttpd.conf");
        conf << "server.document-root = \"" << (d / "www").string() << "\"\n"
             << "server.bind = \"127.0.0.1\"\nserver.port = " << port_ << "\n"
             << "server.errorlog = \"" << (d / "error.log").string() << "\"\n"
             << "server.modules = (\"mod_cgi\", \"mod_setenv\", \"mod_openssl\")\n"
             << "cgi.assign = ( \".cgi\" => \"\" )\n"
             // What the CGI writes goes out at once, as a slow server's reply would.
             << "server.stream-response-body = 2\n"
             << "setenv.add-environment = ( \"VANTREL_SERVICE_DATA\" => \"" << dataFolder().string()
             << "\", \"VANTREL_SERVICE_LOG\" => \"" << queryLog().string()
             << "\", \"VANTREL_SERVICE_TEST\" => \"1\" )\n"
             << "$SERVER[\"socket\"] == \"127.0.0.1:" << tlsPort_ << "\" {\n"
             << "  ssl.engine = \"enable\"\n"
             << "  ssl.pemfile = \"" << (d / "server.pem").string() << "\"\n"
             << "  ssl.privkey = \"" << (d / "server.key").string() << "\"\n}\n";
        conf.close();
        if (!server_.Start({"/usr/sbin/lighttpd", "-D", "-f", (d / "lighttpd.conf").string()},
                           {port_, tlsPort_})) {
            skipReason.clear();
            failure = "lighttpd did not start: " + ReadBytes(d / "error.log");
        }
    }

    // Set when the tools are missing: the test is skipped with this reason.
    std::string skipReason;
    // Set when they are there but the server did not start: the test fails with it.
    std::string failure;
    bool Ready() const { return skipReason.empty() && failure.empty(); }

    int port() const { return port_; }
    int tlsPort() const { return tlsPort_; }
    std::string Url() const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/cgi-bin/vantrel.cgi";
    }
    std::string TlsUrl(const std::string& host) const {
        return "https://" + host + ":" + std::to_string(tlsPort_) + "/cgi-bin/vantrel.cgi";
    }
    std::filesystem::path caFile() const { return dir_ / "ca.pem"; }
    std::filesystem::path dataFolder() const { return dir_ / "data"; }
    // One line per request: the method and the query string as the service received them.
    std::filesystem::path queryLog() const { return dir_ / "queries.log"; }
    std::string Queries() const { return ReadBytes(queryLog()); }

private:
    TempDir dir_;
    int port_ = 0;
    int tlsPort_ = 0;
    ServerProcess server_;
};

// tinyproxy on loopback; its log names every request it forwarded.
class TestProxy {
public:
    TestProxy() {
        if (!std::filesystem::exists("/usr/bin/tinyproxy")) {
            skipReason = "tinyproxy is not installed (tools/setup --test installs it)";
            return;
        }
        port_ = FreePort();
        std::ofstream conf(dir_ / "tinyproxy.conf");
        conf << "Port " << port_ << "\nListen 127.0.0.1\nTimeout 30\nLogFile \"" << log().string()
             << "\"\nLogLevel Connect\nMaxClients 10\nAllow 127.0.0.1\n";
        conf.close();
        if (!server_.Start({"/usr/bin/tinyproxy", "-d", "-c", (dir_ / "tinyproxy.conf").string()},
                           {port_}))
            failure = "tinyproxy did not start: " + ReadBytes(log());
    }

    std::string skipReason;
    std::string failure;
    bool Ready() const { return skipReason.empty() && failure.empty(); }
    int port() const { return port_; }
    std::filesystem::path log() const { return dir_ / "tinyproxy.log"; }

private:
    TempDir dir_;
    int port_ = 0;
    ServerProcess server_;
};

// Runs vantrel.cgi once as a web server would, without one: `env` (NAME=value) and `body` on
// its standard input. Returns what it wrote.
inline std::string RunCgi(const std::filesystem::path& cgi, const std::vector<std::string>& env,
                          std::string_view body = {}) {
    TempDir dir;
    WriteBytes(dir / "in", body);
    std::string command = "env -i";
    for (const std::string& e : env)
        command += " " + Quote(e);
    command += " " + Quote(cgi.string()) + " < " + Quote((dir / "in").string()) + " > " +
               Quote((dir / "out").string());
    if (std::system(command.c_str()) != 0)
        return "(vantrel.cgi failed)";
    return ReadBytes(dir / "out");
}

}  // namespace testsupport
