// The program's command line, from outside: the real binary in a process of
// its own.
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

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
        QTest::newRow("remote port 0") << QStringList{"--remote-port", "0"} << 2 << "" << "Invalid remote port '0': give a number from 1 to 65535.";
        QTest::newRow("an address that is none") << QStringList{"--remote-port", "9000", "--remote-address", "x.y"} << 2 << "" << "Invalid remote address 'x.y'.";
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

    void opensItsFile_data()
    {
        QTest::addColumn<QByteArray>("name"); // as bytes, in the shell's own quoting
        QTest::addColumn<QString>("status");
        const QString loaded = "OK disconnected COM 2 9600 LINES 1 PAGES 7 PAGE 1";
        QTest::newRow("a file") << QByteArray("work.ptx") << loaded;
        QTest::newRow("a name that is not UTF-8") << QByteArray("caf\\351.ptx") << loaded;
        QTest::newRow("a missing file: the box, nothing loaded")
            << QByteArray("missing.ptx") << "OK disconnected COM 1 2400 LINES 11 PAGES 32 PAGE 1";
    }

    // The file opens once the window shows; a remote client asks what is loaded.
    void opensItsFile()
    {
        QFETCH(QByteArray, name);
        QTemporaryDir dir;
        const QByteArray content = "1\r\n5\r\n000\r\n0\r\n1\r\nA\r\n00\r\n00\r\n7\r\n";
        for (const QByteArray &file : {QByteArray("work.ptx"), QByteArray("caf\xE9.ptx")}) {
            const int fd = ::open((QFile::encodeName(dir.path()) + '/' + file).constData(), O_WRONLY | O_CREAT, 0600);
            QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
            ::close(fd);
        }
        QTcpServer probe; // a port nobody listens on
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const QString port = QString::number(probe.serverPort());
        probe.close();
        QProcess quillane;
        quillane.setWorkingDirectory(dir.path());
        quillane.start("/bin/sh", {"-c", "exec \"$0\" --remote-port \"$1\" \"$(printf \"$2\")\"", QUILLANE_BINARY, port,
                                   QString::fromLatin1(name)});
        QTcpSocket client;
        QString reply;
        for (int attempt = 0; attempt < 100 && reply.isEmpty(); ++attempt) {
            QTest::qWait(50);
            client.connectToHost(QHostAddress::LocalHost, port.toUShort());
            if (client.waitForConnected(200) && client.write("STATUS\n") > 0 && client.waitForReadyRead(2000))
                reply = QString::fromUtf8(client.readLine()).trimmed();
            client.abort();
        }
        quillane.terminate();
        QVERIFY(quillane.waitForFinished(3000));
        QTEST(reply, "status");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
