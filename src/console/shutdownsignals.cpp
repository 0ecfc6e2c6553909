#include "console/shutdownsignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};
int pipeEnds[2] = {-1, -1};

extern "C" void onSignal(int signal)
{
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t wrote = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}
#endif

} // namespace

ShutdownSignals::ShutdownSignals(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_UNIX
    if (pipeEnds[0] < 0 && ::pipe(pipeEnds) != 0)
        return;
    for (const int end : pipeEnds)
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    ::fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Signals)
        ::sigaction(signal, &action, nullptr);
#endif
}

ShutdownSignals::~ShutdownSignals()
{
#ifdef Q_OS_UNIX
    for (const int signal : Signals)
        ::signal(signal, SIG_DFL);
#endif
}

void ShutdownSignals::readSignal()
{
#ifdef Q_OS_UNIX
    char byte = 0;
    if (::read(pipeEnds[0], &byte, 1) == 1)
        emit requested(byte);
#endif
}
