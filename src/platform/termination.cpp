#include "termination.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

namespace platform {
namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe, read later by the event loop.
void OnSignal(int) {
    char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(g_pipe[0], &byte, 1);
}

}  // namespace

TerminationWatcher::TerminationWatcher(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationWatcher::OnReadable);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(sig, &action, nullptr);
}

TerminationWatcher::~TerminationWatcher() {
    for (int sig : {SIGTERM, SIGHUP, SIGINT})
        ::signal(sig, SIG_DFL);
    if (g_pipe[0] >= 0)
        ::close(g_pipe[0]);
    if (g_pipe[1] >= 0)
        ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void TerminationWatcher::OnReadable() {
    char byte;
    [[maybe_unused]] ssize_t n = ::read(g_pipe[1], &byte, 1);
    emit terminationRequested();
}

}  // namespace platform
