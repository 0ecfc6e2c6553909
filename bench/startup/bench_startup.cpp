// Time from process start to the main window's first show, offscreen,
// against a bare QMainWindow started the same way in the same run.
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double runOnce(const QString &mode)
{
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    probe.setProcessEnvironment(env);
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    probe.start(QStringLiteral(PROBE_PATH), {mode});
    probe.waitForFinished(30000);
    const long long shown = probe.readAllStandardOutput().trimmed().toLongLong();
    const double ms = (shown - (static_cast<long long>(start.tv_sec) * 1000000000LL + start.tv_nsec)) / 1e6;
    if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        std::fprintf(stderr, "probe %s failed: %s\n", qPrintable(mode), probe.readAllStandardError().constData());
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    constexpr int Runs = 21;
    const QStringList modes = {QStringLiteral("empty"), QStringLiteral("text"), QStringLiteral("quillane")};
    std::vector<std::vector<double>> times(modes.size());
    for (const QString &mode : modes)
        runOnce(mode); // warm the file cache
    for (int i = 0; i < Runs; ++i) {
        for (int m = 0; m < modes.size(); ++m)
            times[m].push_back(runOnce(modes[m]));
    }
    const double e = median(times[0]), t = median(times[1]), q = median(times[2]);
    std::printf("start-up to first show, median of %d runs (offscreen):\n", Runs);
    std::printf("  empty QMainWindow                 %7.1f ms\n", e);
    std::printf("  QMainWindow with a menu and label %7.1f ms\n", t);
    std::printf("  Quillane window                   %7.1f ms\n", q);
    std::printf("  Quillane / empty                  %7.2fx (goal <= 1.3x)\n", q / e);
    std::printf("  Quillane / menu and label         %7.2fx\n", q / t);
    return 0;
}
