// "Send All Line" with 255 lines of 255 characters (66,300 bytes in 1,020
// writes) through SerialLink into a pseudo-terminal:
// - time until a reader thread has every byte, against plain write(2) of the
//   same writes into a pseudo-terminal in the same run;
// - the longest stall of the UI thread's event loop while the bytes drain
//   into a slow reader.
#include "../../tests/support/ptydevice.h"
#include "../support/gapmeter.h"
#include "../support/median.h"
#include "serial/seriallink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Lines = 255;
constexpr int TextLength = 255;
constexpr int Runs = 9;

std::vector<QByteArray> sendAllPieces()
{
    std::vector<QByteArray> pieces;
    for (int i = 0; i < Lines; ++i) {
        pieces.push_back(QByteArray("\xF0\x53"));
        pieces.push_back(QByteArray::number(i + 1, 16).toUpper().rightJustified(2, '0'));
        pieces.push_back(QByteArray(TextLength, char('A' + i % 26)));
        pieces.push_back(QByteArray("\x0A"));
    }
    return pieces;
}

qsizetype totalSize(const std::vector<QByteArray> &pieces)
{
    qsizetype total = 0;
    for (const QByteArray &piece : pieces)
        total += piece.size();
    return total;
}

// Reads the master on its own thread until count bytes have come; with a
// pause, it takes small chunks and sleeps between them, like a slow device.
class Reader
{
public:
    Reader(int fd, qsizetype count, std::chrono::microseconds pause = {}, size_t chunk = 65536)
        : m_thread([this, fd, count, pause, chunk] {
            std::vector<char> buffer(chunk);
            qsizetype got = 0;
            while (got < count) {
                const ssize_t n = ::read(fd, buffer.data(), buffer.size());
                if (n <= 0)
                    break;
                got += n;
                if (pause.count() > 0)
                    std::this_thread::sleep_for(pause);
            }
            m_finished = Clock::now();
            m_done = true;
            if (m_loop)
                QMetaObject::invokeMethod(m_loop, &QEventLoop::quit, Qt::QueuedConnection);
        })
    {
    }
    ~Reader()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    // Runs loop until the reader is done.
    void waitIn(QEventLoop &loop)
    {
        m_loop = &loop;
        if (!m_done)
            loop.exec();
    }
    void join() { m_thread.join(); }
    Clock::time_point finished() const { return m_finished; }

private:
    std::atomic<QEventLoop *> m_loop{nullptr};
    std::atomic<bool> m_done{false};
    Clock::time_point m_finished;
    std::thread m_thread;
};

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double milliseconds(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

bool openLink(SerialLink &link, const PtyDevice &pty)
{
    pty.mapAs(1);
    link.open({1, 115200});
    if (!link.isOpen()) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(link.errorString()));
        return false;
    }
    return true;
}

double throughLink(const std::vector<QByteArray> &pieces)
{
    PtyDevice pty;
    SerialLink link;
    if (!openLink(link, pty))
        return -1;
    QEventLoop loop;
    const auto start = Clock::now();
    Reader reader(pty.master(), totalSize(pieces));
    for (const QByteArray &piece : pieces)
        link.write(piece);
    reader.waitIn(loop);
    return milliseconds(reader.finished() - start);
}

double throughWrite(const std::vector<QByteArray> &pieces)
{
    PtyDevice pty;
    const auto start = Clock::now();
    Reader reader(pty.master(), totalSize(pieces));
    for (const QByteArray &piece : pieces) {
        for (qsizetype at = 0; at < piece.size();) {
            const ssize_t n = ::write(pty.slave(), piece.constData() + at, piece.size() - at);
            if (n <= 0)
                return -1;
            at += n;
        }
    }
    reader.join();
    return milliseconds(reader.finished() - start);
}

double throughOneWrite(const std::vector<QByteArray> &pieces)
{
    QByteArray all;
    for (const QByteArray &piece : pieces)
        all += piece;
    return throughWrite({all});
}

// The event loop's own jitter: the same timer for as long, with nothing sent.
double quietGap(double forMs)
{
    QEventLoop loop;
    GapMeter gaps;
    QTimer::singleShot(int(forMs), &loop, &QEventLoop::quit);
    gaps.start();
    loop.exec();
    return gaps.stop();
}

struct Stall
{
    double worstGapMs = 0;
    double handlerMs = 0;
    double drainMs = 0;
};

Stall stallWhileDraining(const std::vector<QByteArray> &pieces)
{
    Stall stall;
    PtyDevice pty;
    SerialLink link;
    if (!openLink(link, pty))
        return stall;
    QEventLoop loop;
    GapMeter gaps;

    // 64 bytes per millisecond or so: the drain takes about a second.
    const auto start = Clock::now();
    Reader reader(pty.master(), totalSize(pieces), std::chrono::milliseconds(1), 64);
    QTimer::singleShot(0, [&] {
        QElapsedTimer handler;
        handler.start();
        for (const QByteArray &piece : pieces)
            link.write(piece);
        stall.handlerMs = milliseconds(handler);
    });
    gaps.start();
    reader.waitIn(loop);
    stall.worstGapMs = gaps.stop();
    stall.drainMs = milliseconds(reader.finished() - start);
    return stall;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const std::vector<QByteArray> pieces = sendAllPieces();

    throughLink(pieces);
    throughWrite(pieces);
    std::vector<double> link;
    std::vector<double> plain;
    std::vector<double> single;
    for (int i = 0; i < Runs; ++i) {
        link.push_back(throughLink(pieces));
        plain.push_back(throughWrite(pieces));
        single.push_back(throughOneWrite(pieces));
    }
    const double l = median(link);
    const double p = median(plain);
    const double o = median(single);
    std::printf("Send All Line, %lld bytes in %zu writes, into a pty, median of %d runs:\n",
                static_cast<long long>(totalSize(pieces)), pieces.size(), Runs);
    std::printf("  plain write(2)          %8.2f ms\n", p);
    std::printf("  SerialLink              %8.2f ms\n", l);
    std::printf("  SerialLink / write(2)   %8.2fx (goal <= 2x)\n", l / p);
    std::printf("  one write(2) of it all  %8.2f ms (SerialLink / that %.2fx)\n", o, l / o);

    std::vector<double> gaps;
    std::vector<double> quiet;
    std::vector<double> handlers;
    std::vector<double> drains;
    for (int i = 0; i < 3; ++i) {
        const Stall stall = stallWhileDraining(pieces);
        gaps.push_back(stall.worstGapMs);
        handlers.push_back(stall.handlerMs);
        drains.push_back(stall.drainMs);
        quiet.push_back(quietGap(stall.drainMs));
    }
    std::printf(
        "The same bytes into a slow reader (64-byte reads, 1 ms apart), 1 ms timer on the UI thread, 3 runs:\n");
    std::printf("  drain took              %8.1f ms (median)\n", median(drains));
    std::printf("  the writes took         %8.2f ms (median)\n", median(handlers));
    std::printf("  worst event-loop gap    %8.2f ms (worst run; goal < 16 ms)\n",
                *std::max_element(gaps.begin(), gaps.end()));
    std::printf("  same, nothing sent      %8.2f ms (worst run)\n", *std::max_element(quiet.begin(), quiet.end()));
    return 0;
}
