// Opening a line file: how long it takes and how much memory it adds, for
// files that an operator might pick by mistake, against a small valid file
// measured in the same run.
//   time: median of several opens in this process;
//   memory: peak resident size while a forked child opens the file, less its
//   size just before (VmHWM after a reset, against VmRSS).
#include "../support/median.h"
#include "store/linefile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr int Runs = 9;
constexpr LineFileLists Lists{16, 13};
const QByteArray Head = "0\r\n3\r\n000\r\n0\r\n1\r\nHELLO\r\n00\r\n00\r\n32\r\n";

qint64 statusField(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

double openMs(const QString &path, QString *error)
{
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const LineFileRead read = loadLineFile(path, Lists);
        times.push_back(clock.nsecsElapsed() / 1e6);
        *error = read.error;
    }
    return median(times);
}

// KiB added to the peak resident size by one open, in a child of its own.
qint64 addedKiB(const QString &path)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        QFile reset(QStringLiteral("/proc/self/clear_refs"));
        if (reset.open(QIODevice::WriteOnly))
            reset.write("5"); // the high-water mark starts again from here
        reset.close();
        const qint64 before = statusField("VmRSS:");
        loadLineFile(path, Lists);
        const qint64 added = statusField("VmHWM:") - before;
        ::_exit(::write(channel[1], &added, sizeof added) == sizeof added ? 0 : 1);
    }
    qint64 added = -1;
    if (::read(channel[0], &added, sizeof added) != sizeof added)
        added = -1;
    ::waitpid(child, nullptr, 0);
    ::close(channel[0]);
    ::close(channel[1]);
    return added;
}

bool writeFile(const QString &path, const QByteArray &bytes, qint64 size = -1)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && (size < 0 || file.resize(size));
}

} // namespace

int main()
{
    constexpr qint64 GiB = qint64(1) << 30;
    QTemporaryDir dir;
    const QString head = dir.filePath("head.ptx");
    const QString headThenGiB = dir.filePath("head-1g.ptx");
    const QString noLineEnd = dir.filePath("nocr-1g.ptx");
    const QString longText = dir.filePath("long-text.ptx");
    const QByteArray almostLimit(LineFileReadLimit - 100, 'x');
    if (!writeFile(head, Head) || !writeFile(headThenGiB, Head, GiB) || !writeFile(noLineEnd, {}, GiB)
        || !writeFile(longText, "0\r\n3\r\n000\r\n0\r\n1\r\n" + almostLimit + "\r\n00\r\n00\r\n32\r\n")
        || !QFile::link("/dev/zero", dir.filePath("zero.ptx"))
        || !QFile::link("/dev/urandom", dir.filePath("urandom.ptx"))) {
        std::fprintf(stderr, "cannot prepare the files in %s\n", qPrintable(dir.path()));
        return 1;
    }

    struct Case
    {
        const char *name;
        QString path;
    };
    const Case cases[] = {
        {"valid 9-line file (baseline)", head},          {"the same head, then 1 GiB of surplus", headThenGiB},
        {"1 GiB without a line end", noLineEnd},         {"a line text of 16 MiB less 100 bytes", longText},
        {"link to /dev/zero", dir.filePath("zero.ptx")}, {"link to /dev/urandom", dir.filePath("urandom.ptx")},
    };

    std::printf("Opening a line file: median of %d opens; peak resident size added by one open\n", Runs);
    QString error;
    const double baseline = openMs(head, &error);
    for (const Case &c : cases) {
        const double ms = openMs(c.path, &error);
        std::printf("  %-40s %9.3f ms = %7.1fx baseline   +%6.1f MiB   %s\n", c.name, ms, ms / baseline,
                    addedKiB(c.path) / 1024.0, error.isEmpty() ? "opened" : qPrintable("refused: " + error));
    }
    return 0;
}
