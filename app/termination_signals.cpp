#include "app/termination_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace livros::app {

namespace {

int g_pipe[2] = {-1, -1};

void onSignal(int)
{
    // Only what is safe inside a signal handler: one write to the pipe, and errno as it was for
    // the code the signal interrupted. The pipe does not block: with a byte already waiting, a
    // second request has nothing to add.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    // Not inherited by the programs the window starts, and never blocking the handler.
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(g_pipe[1], &byte, 1);
        emit terminationRequested();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t wanted;
    sigemptyset(&wanted);
    for (int number : {SIGTERM, SIGHUP, SIGINT}) {
        ::sigaction(number, &action, nullptr);
        sigaddset(&wanted, number);
    }
    // A program started by another may inherit these signals blocked: they would never arrive.
    ::pthread_sigmask(SIG_UNBLOCK, &wanted, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int number : {SIGTERM, SIGHUP, SIGINT})
        std::signal(number, SIG_DFL);
}

} // namespace livros::app
