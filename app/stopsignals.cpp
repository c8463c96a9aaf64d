#include "stopsignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace morlu {

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
/// Set by the first stop signal: the program is on its way out.
std::atomic<bool> g_stopping{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onStopSignal(int signal)
{
    // Only async-signal-safe calls here, and the interrupted code finds errno as it left it.
    const int savedErrno = errno;
    if (g_stopping.exchange(true) && (signal == SIGINT || signal == SIGTERM)) {
        // A second Ctrl+C or SIGTERM while the program ends: it ends now, by the signal itself.
        struct sigaction action = {};
        action.sa_handler = SIG_DFL;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
        ::raise(signal);
    }
    const char byte = static_cast<char>(signal);
    // The event loop reads the byte.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent)
{
    g_stopping = false;
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    m_installed = true;
    for (int signal : kSignals)
        m_installed = ::sigaction(signal, &action, nullptr) == 0 && m_installed;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::readSignals);
}

StopSignals::~StopSignals()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

void StopSignals::readSignals()
{
    char buffer[16];
    ssize_t count = 0;
    while ((count = ::read(g_pipe[0], buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit stopRequested(static_cast<unsigned char>(buffer[i]));
    }
}

} // namespace morlu
