// A program told to end by the system, or ended by exit() as the toolkit
// ends it when the display goes, lets go of its port as Exit does: the
// device's line settings as they were, no exclusive hold, no lock file.
#include "../support/ptydevice.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/ioctl.h>

namespace {

QByteArray lineSettings(int fd)
{
    termios now{};
    ::tcgetattr(fd, &now);
    return QByteArray(reinterpret_cast<const char *>(&now), sizeof now);
}

} // namespace

class TestShutdown : public QObject
{
    Q_OBJECT

private slots:
    void releasesThePort_data()
    {
        QTest::addColumn<int>("signal"); // 0: exit() from the event loop
        QTest::addColumn<int>("status");
        QTest::newRow("SIGTERM") << int(SIGTERM) << 0;
        QTest::newRow("SIGINT") << int(SIGINT) << 0;
        QTest::newRow("SIGHUP") << int(SIGHUP) << 0;
        QTest::newRow("exit(1), as when the display is lost") << 0 << 1;
    }

    void releasesThePort()
    {
        QFETCH(int, signal);
        PtyDevice pty;
        termios found{};
        ::tcgetattr(pty.slave(), &found);
        ::cfsetspeed(&found, B9600);
        found.c_cflag = (found.c_cflag & ~CSIZE) | CS7 | PARENB;
        QCOMPARE(::tcsetattr(pty.slave(), TCSANOW, &found), 0);
        const QByteArray before = lineSettings(pty.slave());

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILLANE_COM1", pty.path());
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationDirPath() + "/shutdownchild", {});
        QVERIFY(child.waitForReadyRead(5000));
        QCOMPARE(child.readAllStandardOutput(), "connected\n");
        QVERIFY(lineSettings(pty.slave()) != before);
        if (signal)
            ::kill(pid_t(child.processId()), signal);
        else
            child.write("exit\n");
        QVERIFY(child.waitForFinished(3000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QTEST(child.exitCode(), "status");

        QCOMPARE(lineSettings(pty.slave()), before);
        int exclusive = -1;
        QCOMPARE(::ioctl(pty.slave(), TIOCGEXCL, &exclusive), 0);
        QCOMPARE(exclusive, 0);
        const QString lock = "LCK..pts_" + QFileInfo(pty.path()).fileName();
        for (const QString folder : {"/var/lock", "/run/lock", "/tmp", "/var/tmp"})
            QVERIFY2(!QFileInfo::exists(folder + '/' + lock), qPrintable(folder + " keeps a lock"));
    }
};

QTEST_GUILESS_MAIN(TestShutdown)
#include "test_shutdown.moc"
