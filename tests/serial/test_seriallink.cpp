#include "../support/ptydevice.h"
#include "seriallink.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <termios.h>

namespace {

// No two nearby chunks alike, so a lost or swapped chunk shows.
QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 253) & 0xFF);
    return bytes;
}

bool openLink(SerialLink &link, const PtyDevice &pty, const QString &settings = QStringLiteral("2400,n,8,1"))
{
    pty.mapAs(1);
    link.setCommPort(1);
    link.setSettings(settings);
    return link.open();
}

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void opensWithLineFormat_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("twoStopBits");

        QTest::newRow("COM 1 at the default 2400,n,8,1") << 1 << "2400,n,8,1" << int(B2400) << false;
        QTest::newRow("upper-case letter, two stop bits") << 16 << "9600,N,8,2" << int(B9600) << true;
        // A pty keeps 8 bits and no parity whatever is asked: this row shows
        // only that the other formats are taken.
        QTest::newRow("even parity, 7 bits") << 3 << "19200,e,7,1" << int(B19200) << false;
    }

    void opensWithLineFormat()
    {
        QFETCH(int, port);
        QFETCH(QString, settings);
        QFETCH(int, speed);
        QFETCH(bool, twoStopBits);

        PtyDevice pty;
        pty.mapAs(port);
        SerialLink link;
        link.setCommPort(qint16(port));
        link.setSettings(settings);
        QVERIFY2(link.open(), qPrintable(link.errorString()));
        QVERIFY(link.isOpen());
        QCOMPARE(link.description(), pty.path() + ", " + settings);

        termios line{};
        QCOMPARE(::tcgetattr(pty.slave(), &line), 0);
        QCOMPARE(int(::cfgetospeed(&line)), speed);
        QCOMPARE(int(line.c_cflag & CSIZE), int(CS8));
        QCOMPARE(int(line.c_cflag & PARENB), 0);
        QCOMPARE(bool(line.c_cflag & CSTOPB), twoStopBits);
        QCOMPARE(int(line.c_cflag & CRTSCTS), 0);
        QCOMPARE(int(line.c_iflag & (IXON | IXOFF)), 0);
    }

    void refusesToOpen_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("device"); // what COM port stands for; empty: the pty
        QTest::addColumn<QString>("reason");

        const QString good = QStringLiteral("2400,n,8,1");
        QTest::newRow("empty baud rate (no BaudRate selection)") << 1 << ",n,8,1" << "" << "";
        QTest::newRow("zero baud rate") << 1 << "0,n,8,1" << "" << "";
        QTest::newRow("unknown parity letter") << 1 << "2400,x,8,1" << "" << "";
        QTest::newRow("nine data bits") << 1 << "2400,n,9,1" << "" << "";
        QTest::newRow("a field missing") << 1 << "2400,n,8" << "" << "";
        QTest::newRow("port 0 (no ComPort selection)") << 0 << good << "" << "";
        QTest::newRow("port 17, beyond COM 16") << 17 << good << "" << "";
        // Qt locks by file name first: a name of this process's own.
        const QString absent = QStringLiteral("/dev/quillane-absent-%1").arg(QCoreApplication::applicationPid());
        QTest::newRow("device not there") << 2 << good << absent << "No such file or directory";
    }

    void refusesToOpen()
    {
        QFETCH(int, port);
        QFETCH(QString, settings);
        QFETCH(QString, device);
        QFETCH(QString, reason);

        // Every row maps its port, so only the fault it names can refuse it.
        PtyDevice pty;
        const QByteArray variable = "QUILLANE_COM" + QByteArray::number(port);
        qputenv(variable, device.isEmpty() ? pty.path().toLocal8Bit() : device.toLocal8Bit());
        SerialLink link;
        link.setCommPort(qint16(port));
        link.setSettings(settings);

        QVERIFY(!link.open());
        qunsetenv(variable);
        QVERIFY(!link.isOpen());
        QVERIFY(!link.errorString().isEmpty());
        QVERIFY2(link.errorString().contains(reason), qPrintable(link.errorString()));
    }

    void openingAndClosingSendNothing_data()
    {
        QTest::addColumn<bool>("drain");
        QTest::newRow("close") << false;
        QTest::newRow("drain then close, nothing queued") << true;
    }

    void openingAndClosingSendNothing()
    {
        QFETCH(bool, drain);

        PtyDevice pty;
        SerialLink link;
        QSignalSpy drained(&link, &SerialLink::drained);
        QVERIFY(openLink(link, pty));
        if (drain) {
            link.drainThenClose();
            // At once, before the event loop runs.
            QCOMPARE(drained.count(), 1);
            QCOMPARE(drained.at(0).at(0).toLongLong(), 0);
        } else {
            link.close();
        }
        QVERIFY(!link.isOpen());
        QVERIFY(!link.write("x"));
        QCOMPARE(pty.collectFor(100), QByteArray());
    }

    void backToBackWritesArriveInOrder()
    {
        const QByteArray text = "HELLO";
        PtyDevice pty;
        SerialLink link;
        QSignalSpy idle(&link, &SerialLink::idle);
        QVERIFY(openLink(link, pty));
        const QByteArray pieces[] = {"\xF0\x53", "03", text, "\x0A"};
        QByteArray expected;
        for (const QByteArray &piece : pieces) {
            QVERIFY(link.write(piece));
            expected += piece;
        }

        QCOMPARE(pty.collect(expected.size(), 300), expected);
        QCOMPARE(pty.collectFor(50), QByteArray());
        QCOMPARE(link.bytesQueued(), 0);
        QVERIFY(idle.count() >= 1);
    }

    void longQueueReachesSlowReaderIntact()
    {
        constexpr qsizetype total = 70000;
        const QByteArray data = pattern(total);
        PtyDevice pty;
        SerialLink link;
        QSignalSpy progress(&link, &SerialLink::progress);
        QSignalSpy idle(&link, &SerialLink::idle);
        QVERIFY(openLink(link, pty));

        for (qsizetype at = 0; at < total; at += 7)
            QVERIFY(link.write(data.mid(at, 7)));
        QCOMPARE(link.bytesQueued(), qint64(total)); // nothing leaves before the event loop runs

        QElapsedTimer clock;
        clock.start();
        const QByteArray received = pty.collect(total, 10000, 512, 2);
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(received.size(), total);
        QVERIFY(received == data);
        QTRY_COMPARE(idle.count(), 1);

        QVERIFY(progress.count() >= 1);
        QVERIFY2(progress.count() <= elapsed / 100 + 1, "progress is not throttled");
        qint64 lastSent = 0;
        for (const QList<QVariant> &report : progress) {
            QCOMPARE(report.at(0).toLongLong(), total);
            QVERIFY(report.at(1).toLongLong() > lastSent);
            QVERIFY(report.at(1).toLongLong() < total);
            lastSent = report.at(1).toLongLong();
        }
    }

    void drainDeliversEverythingBeforeClosing()
    {
        // Far more than the pty holds, so most of it still waits in the link.
        constexpr qsizetype total = 50000;
        const QByteArray data = pattern(total);
        PtyDevice pty;
        SerialLink link;
        QSignalSpy drained(&link, &SerialLink::drained);
        QVERIFY(openLink(link, pty, QStringLiteral("115200,n,8,1")));
        QVERIFY(link.write(data));
        PtyDevice::runEvents(20);
        QVERIFY(link.bytesQueued() > 0);

        link.drainThenClose();
        QVERIFY(!link.isOpen());
        QVERIFY(!link.write("late"));
        QCOMPARE(drained.count(), 0);

        const QByteArray received = pty.collect(total, 3000, 1024, 1);
        QCOMPARE(received.size(), total);
        QCOMPARE(pty.collectFor(50), QByteArray());
        QVERIFY(received == data);
        QTRY_COMPARE(drained.count(), 1);
        QCOMPARE(drained.at(0).at(0).toLongLong(), 0);
        QVERIFY(link.description().isEmpty());
    }

    void drainGivesUpOnDeviceThatTakesNothing()
    {
        // At 4 Mbaud the deadline is about 2.25 s: the 2 s margin and 250 ms of line time.
        constexpr qsizetype total = 100000;
        const QByteArray data = pattern(total);
        PtyDevice pty;
        SerialLink link;
        QSignalSpy drained(&link, &SerialLink::drained);
        QVERIFY(openLink(link, pty, QStringLiteral("4000000,n,8,1")));
        QVERIFY(link.write(data));

        link.drainThenClose();
        QVERIFY(drained.wait(5000));
        const qint64 dropped = drained.at(0).at(0).toLongLong();
        QVERIFY(dropped > 0);

        // What the pty took is still there: exactly the part not counted as dropped.
        const QByteArray received = pty.collectFor(100);
        QCOMPARE(received.size() + dropped, total);
        QVERIFY(received == data.left(received.size()));
    }

    void deviceLostWhileOpen_data()
    {
        QTest::addColumn<int>("queued");
        QTest::addColumn<bool>("drain");
        QTest::newRow("nothing queued") << 0 << false;
        QTest::newRow("queue still draining") << 100000 << false;
        QTest::newRow("draining towards a close") << 100000 << true;
    }

    void deviceLostWhileOpen()
    {
        QFETCH(int, queued);
        QFETCH(bool, drain);

        PtyDevice pty;
        SerialLink link;
        QSignalSpy failed(&link, &SerialLink::failed);
        QSignalSpy drained(&link, &SerialLink::drained);
        QVERIFY(openLink(link, pty, QStringLiteral("115200,n,8,1")));
        if (queued > 0)
            QVERIFY(link.write(pattern(queued)));
        PtyDevice::runEvents(20);
        if (drain)
            link.drainThenClose();

        pty.closeMaster();
        PtyDevice::runEvents(300);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(drained.count(), drain ? 1 : 0);
        QVERIFY(!link.isOpen());
        QVERIFY(!link.write("x"));
        QVERIFY(!link.errorString().isEmpty());
        QCOMPARE(link.errorString(), failed.at(0).at(0).toString());

        link.close();
        link.drainThenClose();
        QCOMPARE(drained.count(), drain ? 2 : 1);
        QCOMPARE(drained.last().at(0).toLongLong(), 0);
        QCOMPARE(failed.count(), 1);
    }

    void secondLinkCannotOpenSameDevice()
    {
        PtyDevice pty;
        SerialLink first;
        SerialLink second;
        QVERIFY(openLink(first, pty));
        QVERIFY(!openLink(second, pty));
        QVERIFY(!second.errorString().isEmpty());

        first.close();
        QVERIFY2(openLink(second, pty), qPrintable(second.errorString()));
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "test_seriallink.moc"
