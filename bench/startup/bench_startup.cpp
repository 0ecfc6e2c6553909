// Time from process start to the main window's first show, offscreen,
// against a bare QMainWindow started the same way in the same run.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double runOnce(const QString &mode)
{
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    probe.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    probe.start(QStringLiteral(PROBE_PATH), {mode});
    probe.waitForFinished(30000);
    const double ms = timer.nsecsElapsed() / 1e6;
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
    std::vector<double> empty, quillane;
    runOnce(QStringLiteral("empty")); // warm the file cache
    runOnce(QStringLiteral("quillane"));
    for (int i = 0; i < Runs; ++i) {
        empty.push_back(runOnce(QStringLiteral("empty")));
        quillane.push_back(runOnce(QStringLiteral("quillane")));
    }
    const double e = median(empty), q = median(quillane);
    std::printf("start-up to first show, median of %d runs (offscreen):\n", Runs);
    std::printf("  empty QMainWindow  %7.1f ms\n", e);
    std::printf("  Quillane window    %7.1f ms\n", q);
    std::printf("  ratio              %7.2fx (goal <= 1.3x)\n", q / e);
    return 0;
}
