// A process that holds COM 1 with bytes queued, for test_shutdown: it says
// "connected" once the port is open, ends as Exit does when a shutdown
// signal comes, and ends by exit() when "exit" comes on its input, as the
// toolkit ends a program whose display went away.
#include "console/console.h"
#include "console/shutdownsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Console console;
    ShutdownSignals shutdown;
    QObject::connect(&shutdown, &ShutdownSignals::requested, &app, [&console] {
        console.port().release();
        QCoreApplication::exit(0);
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [] { std::exit(1); });
    console.port().ConnectBtn_Click();
    if (!console.port().link().isOpen() || !console.port().link().write(QByteArray(1 << 20, 'x')))
        return 3;
    std::puts("connected");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
