// The program's command line, from outside: the real binary in a process of
// its own.
#include <QProcess>
#include <QTest>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

// Without a display: an option that needs none must not make one.
Run run(const QStringList &arguments)
{
    QProcess quillane;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    quillane.setProcessEnvironment(environment);
    quillane.start(QUILLANE_BINARY, arguments);
    if (!quillane.waitForFinished(10000))
        return {};
    return {quillane.exitStatus() == QProcess::NormalExit ? quillane.exitCode() : -1,
            QString::fromLocal8Bit(quillane.readAllStandardOutput()),
            QString::fromLocal8Bit(quillane.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void withoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // its first line
        // clang-format off
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "usage" << "";
        QTest::newRow("-h") << QStringList{"-h"} << 0 << "usage" << "";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "Quillane 1.0.9" << "";
        QTest::newRow("an unknown option") << QStringList{"--bogus"} << 2 << "" << "Unknown option 'bogus'.";
        QTest::newRow("a second file") << QStringList{"a.ptx", "b.ptx"} << 2 << "" << "Only one file can be opened.";
        // clang-format on
    }

    void withoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        const Run done = run(arguments);
        QCOMPARE(done.status, status);
        const QString usage = QStringLiteral("Usage: " QUILLANE_BINARY " [options] [FILE.ptx]");
        QTEST(done.out.section(u'\n', 0, 0).replace(usage, "usage"), "out");
        QTEST(done.err.section(u'\n', 0, 0), "err");
        QCOMPARE(done.err.contains(usage), status == 2);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
