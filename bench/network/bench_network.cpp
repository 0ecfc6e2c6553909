// "&Send All Line" with 255 lines of 255 characters (66,300 bytes) through
// the console into a pseudo-terminal by way of ser2net with RFC 2217, against
// the same straight into a pseudo-terminal, in the same run:
// - time from the action until a reader thread has every byte, median of
//   interleaved runs;
// - the longest gap of the UI thread's event loop (a 1 ms precise timer)
//   while connecting and while sending, and with nothing going on.
#include "../../tests/support/ser2net.h"
#include "../support/gapmeter.h"
#include "../support/median.h"
#include "console/console.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int Lines = 255;
constexpr qsizetype Total = Lines * (2 + 2 + 255 + 1);
constexpr int Runs = 15;

double milliseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Runs the event loop until a thread has read count bytes from the master;
// returns whether they all came.
bool readAll(int master, qsizetype count)
{
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        std::vector<char> buffer(65536);
        qsizetype got = 0;
        while (got < count) {
            const ssize_t n = ::read(master, buffer.data(), buffer.size());
            if (n <= 0)
                break;
            got += n;
        }
        done = got == count;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    reader.join();
    return done;
}

void fillLines(Console &console)
{
    console.state().setBaudRateIndex(9); // 115200
    console.state().setLineCount(Lines);
    for (int i = 0; i < Lines; ++i)
        console.state().setLineText(i, QString(255, QChar(u'A' + i % 26)));
}

bool connectTo(Console &console, const QString &target)
{
    qputenv("QUILLANE_COM1", target.toLocal8Bit());
    fillLines(console);
    console.port().ConnectBtn_Click();
    QElapsedTimer clock;
    clock.start();
    while (console.port().connection() == PortControl::Connection::Connecting && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return console.port().connection() == PortControl::Connection::Connected;
}

struct Send
{
    double ms = -1;
    double worstGapMs = 0;
};

Send sendAllLine(Console &console, PtyDevice &pty, GapMeter &gaps)
{
    Send send;
    gaps.start();
    QElapsedTimer clock;
    clock.start();
    {
        const Console::Acting acting(console, QStringLiteral("&Send All Line"));
        console.actions().sendAllLines();
    }
    const bool complete = readAll(pty.master(), Total);
    send.ms = complete ? milliseconds(clock) : -1;
    send.worstGapMs = gaps.stop();
    return send;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (Ser2net::program().isEmpty()) {
        std::fprintf(stderr, "ser2net is not installed\n");
        return 1;
    }
    Ser2net server(true, 4096);
    Ser2net defaultServer;
    PtyDevice localPty;
    Console network;
    Console defaultNetwork;
    Console local;
    GapMeter gaps;
    gaps.start();
    QElapsedTimer connecting;
    connecting.start();
    const bool connected = connectTo(network, server.address);
    const double connectMs = milliseconds(connecting);
    const double connectGap = gaps.stop();
    if (!connected || !connectTo(local, localPty.path()) || !connectTo(defaultNetwork, defaultServer.address)) {
        std::fprintf(stderr, "cannot connect: %s\n", qPrintable(network.port().link().errorString()));
        return 1;
    }

    sendAllLine(network, server.pty, gaps);
    sendAllLine(local, localPty, gaps);
    sendAllLine(defaultNetwork, defaultServer.pty, gaps);
    std::vector<double> throughNetwork;
    std::vector<double> throughDefault;
    std::vector<double> throughLocal;
    double networkGap = 0;
    double localGap = 0;
    for (int i = 0; i < Runs; ++i) {
        const Send n = sendAllLine(network, server.pty, gaps);
        const Send l = sendAllLine(local, localPty, gaps);
        const Send d = sendAllLine(defaultNetwork, defaultServer.pty, gaps);
        if (n.ms < 0 || l.ms < 0 || d.ms < 0) {
            std::fprintf(stderr, "a send did not arrive whole\n");
            return 1;
        }
        throughNetwork.push_back(n.ms);
        throughLocal.push_back(l.ms);
        throughDefault.push_back(d.ms);
        networkGap = std::max(networkGap, n.worstGapMs);
        localGap = std::max(localGap, l.worstGapMs);
    }
    gaps.start();
    QEventLoop idle;
    QTimer::singleShot(1000, &idle, &QEventLoop::quit);
    idle.exec();
    const double quietGap = gaps.stop();

    const double n = median(throughNetwork);
    const double l = median(throughLocal);
    std::printf("\"&Send All Line\", %d lines of 255 characters (%lld bytes), action to last byte read, median of %d "
                "interleaved runs:\n",
                Lines, static_cast<long long>(Total), Runs);
    const double d = median(throughDefault);
    std::printf("  local pty                        %8.2f ms\n", l);
    std::printf("  ser2net, RFC 2217, into a pty    %8.2f ms, with net-to-dev-bufsize 4096 as the README sets it up\n",
                n);
    std::printf("  ser2net / local                  %8.2fx (goal at most 3x)\n", n / l);
    std::printf("  ser2net with its default 64      %8.2f ms = %.2fx local\n", d, d / l);
    std::printf("Worst event-loop gap of the UI thread (1 ms precise timer):\n");
    std::printf("  connecting (RFC 2217, %5.1f ms)  %8.2f ms\n", connectMs, connectGap);
    std::printf("  sending through ser2net          %8.2f ms (worst of %d runs; goal under 16 ms)\n", networkGap, Runs);
    std::printf("  sending to the local pty         %8.2f ms (worst of %d runs)\n", localGap, Runs);
    std::printf("  nothing going on, 1 s            %8.2f ms (the machine's timer jitter)\n", quietGap);
    return 0;
}
