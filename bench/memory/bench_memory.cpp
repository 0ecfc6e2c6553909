// Peak memory with long lines that a line file may hold: 255 lines of 65,000
// characters (16.5 MB), opened in the real window offscreen, then 60 presses
// of "&Send All Line" (1 GB of commands):
// - stalled: into a device that takes nothing, so the send queue fills to its
//   bound and later sends are refused;
// - reading: into a reader that takes everything, each press once the last
//   has gone out (20 presses: the record is at its bound after two), so that
//   the Sent Commands record fills to its bound.
// Each case runs in a process of its own, for a peak of its own.
#include "../../tests/support/ptydevice.h"
#include "console/console.h"
#include "window/dialogs.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

constexpr int Presses = 60;
constexpr int ReadingPresses = 20;
constexpr int Lines = 255;
constexpr int LineLength = 65000;

struct Silent : Dialogs
{
    void showMessage(const Report &) override {}
    QString runFileDialog(QFileDialog &) override { return {}; }
};

double statusMiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

int runCase(const QByteArray &mode, int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("long.ptx")));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write("0\r\n3\r\n000\r\n0\r\n255\r\n");
    for (int i = 0; i < Lines; ++i)
        file.write(QByteArray(LineLength, char('A' + i % 26)) + "\r\n");
    file.write("00\r\n00\r\n32\r\n");
    file.close();

    PtyDevice pty;
    pty.mapAs(1);
    Silent silent;
    Console console;
    Main window(console, &silent);
    window.show();
    window.openLineFile(file.fileName());
    console.port().ConnectBtn_Click();
    const double before = statusMiB("VmHWM:");

    std::atomic<bool> stop{false};
    std::thread reader;
    if (mode == "reading") {
        reader = std::thread([&] {
            QByteArray sink(1 << 20, Qt::Uninitialized);
            while (!stop) {
                pollfd master{pty.master(), POLLIN, 0};
                if (::poll(&master, 1, 10) > 0) [[maybe_unused]]
                    const ssize_t n = ::read(pty.master(), sink.data(), size_t(sink.size()));
            }
        });
    }
    auto *send = window.findChild<QPushButton *>(QStringLiteral("SendLineBtn"));
    const SerialLink &link = console.port().link();
    for (int press = 0; press < (mode == "reading" ? ReadingPresses : Presses); ++press) {
        send->click();
        const QDeadlineTimer deadline(mode == "reading" ? 5000 : 10);
        do
            PtyDevice::runEvents(10);
        while (link.room() < SerialLink::QueueLimit && !deadline.hasExpired());
    }
    PtyDevice::runEvents(500);
    console.record().flush();
    std::printf("  %-8s %d presses: peak %6.1f MiB (%.1f MiB after opening); queue %5.1f MiB, record %d rows, "
                "%d let go\n",
                mode.constData(), mode == "reading" ? ReadingPresses : Presses, statusMiB("VmHWM:"), before,
                (SerialLink::QueueLimit - console.port().link().room()) / 1048576.0, console.record().rowCount(),
                int(console.record().discardedRows()));
    stop = true;
    if (reader.joinable())
        reader.join();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1)
        return runCase(argv[1], argc, argv);
    std::printf("\"&Send All Line\" with %d lines of %d characters, peak resident size (goal < 150 MiB each):\n", Lines,
                LineLength);
    std::fflush(stdout);
    for (const char *mode : {"stalled", "reading"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QString::fromLocal8Bit(argv[0]), {QString::fromLatin1(mode)});
        if (!child.waitForFinished(600000) || child.exitCode() != 0)
            return 1;
    }
    return 0;
}
