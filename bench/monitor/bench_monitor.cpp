// The record of sent commands, on the real window offscreen against a
// pseudo-terminal, with 255 lines of 255 characters:
// - "&Send All Line" from the click to the last byte read, with the record
//   kept and its window open, against the same with recording off;
// - the longest stall of the UI thread's event loop while those bytes drain
//   into a slow reader, the window open;
// - the memory that 10,000 recorded commands of 260 bytes take.
#include "../../tests/support/ptydevice.h"
#include "../support/gapmeter.h"
#include "../support/median.h"
#include "console/console.h"
#include "window/dialogs.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int Runs = 21;
constexpr qsizetype AllLinesBytes = 255 * 260;

// Answers the open dialog with one path and shows no box.
struct Answers : Dialogs
{
    QString path;
    void showMessage(const Report &) override {}
    QString runFileDialog(QFileDialog &) override { return path; }
};

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

struct Bench
{
    Answers answers;
    PtyDevice device;
    Console console;
    Main window{console, &answers};
    QPushButton *sendAllLines = window.findChild<QPushButton *>(QStringLiteral("SendLineBtn"));

    explicit Bench(const QString &file)
    {
        device.mapAs(1);
        answers.path = file;
        window.findChild<QAction *>(QStringLiteral("OpenSubMenu"))->trigger();
        window.show();
        window.findChild<QPushButton *>(QStringLiteral("ConnectBtn"))->click();
    }

    double clickToLastByte(bool recording)
    {
        console.actions().setRecording(recording);
        QElapsedTimer clock;
        clock.start();
        sendAllLines->click();
        const QByteArray bytes = device.collect(AllLinesBytes, 10000, 65536);
        const double ms = clock.nsecsElapsed() / 1e6;
        if (bytes.size() != AllLinesBytes)
            std::fprintf(stderr, "only %lld bytes arrived\n", static_cast<long long>(bytes.size()));
        return ms;
    }

    // Worst gap between ticks of a 1 ms timer while the lines drain into a
    // reader that takes 64 bytes about every millisecond.
    double worstGapWhileDraining()
    {
        console.actions().setRecording(true);
        GapMeter gaps;
        gaps.start();
        QTimer::singleShot(0, sendAllLines, &QPushButton::click);
        device.collect(AllLinesBytes, 20000, 64, 1);
        return gaps.stop();
    }
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("full.ptx")));
    QByteArray content = "0\r\n3\r\n000\r\n0\r\n255\r\n";
    for (int i = 0; i < 255; ++i)
        content += QByteArray(255, char('A' + i % 26)) + "\r\n";
    if (!file.open(QIODevice::WriteOnly) || file.write(content + "00\r\n00\r\n32\r\n") < 0)
        return 1;
    file.close();

    Bench bench(file.fileName());
    bench.window.findChild<QAction *>(QStringLiteral("SentCommandsSubMenu"))->trigger();
    bench.clickToLastByte(true); // warm up both paths
    bench.clickToLastByte(false);
    const auto ratio = [&bench](const char *state) {
        std::vector<double> recorded, plain;
        // Interleaved, and each goes first in every other round.
        for (int run = 0; run < Runs; ++run) {
            if (run % 2) {
                plain.push_back(bench.clickToLastByte(false));
                recorded.push_back(bench.clickToLastByte(true));
            } else {
                recorded.push_back(bench.clickToLastByte(true));
                plain.push_back(bench.clickToLastByte(false));
            }
        }
        std::printf("  %-44s %6.2f ms / %6.2f ms = %.2fx (goal <= 1.5x)\n", state, median(recorded), median(plain),
                    median(recorded) / median(plain));
    };
    std::printf("\"&Send All Line\", 255 lines of 255 characters (%lld bytes), click to last byte read, median of "
                "%d: recorded with the Sent Commands window open / not recorded\n",
                static_cast<long long>(AllLinesBytes), Runs);
    ratio("record filling, from empty:");
    // A long session: the record is full, and each new row lets the oldest go.
    SentCommands *full = &bench.console.record();
    SentCommand filler;
    filler.bytes = QByteArray(260, 'f');
    for (int i = 0; i < SentCommands::MaxRows; ++i)
        full->commandSent(filler, false);
    full->flush();
    ratio("record full (10,000 rows), oldest let go:");

    std::vector<double> gaps;
    for (int run = 0; run < 3; ++run)
        gaps.push_back(bench.worstGapWhileDraining());
    std::printf(
        "Worst event-loop gap while draining into a slow reader, window open: %.1f ms (median of 3; goal < 16 ms)\n",
        median(gaps));

    SentCommands record([] { return qint64(0); });
    SentCommand command;
    command.kind = CommandKind::SetLine;
    command.number = 1;
    const qint64 before = residentKiB();
    for (int i = 0; i < SentCommands::MaxRows; ++i) {
        command.operand = QByteArray(255, char('a' + i % 26));
        command.bytes = "\xF0S01" + command.operand + "\n";
        record.commandSent(command, false);
    }
    record.flush();
    std::printf("Memory for %d recorded commands of 260 bytes: +%.1f MiB (goal <= 20 MiB)\n", SentCommands::MaxRows,
                (residentKiB() - before) / 1024.0);
    return 0;
}
