#include "../support/ptydevice.h"
#include "serial/seriallink.h"

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

bool openLink(SerialLink &link, const PtyDevice &pty, const QString &settings = QStringLiteral("2400,n,8,1"),
              int port = 1)
{
    pty.mapAs(port);
    link.setCommPort(qint16(port));
    link.setSettings(settings);
    return link.open();
}

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    // Opening sets the line up and holds the device; neither opening nor
    // closing sends a byte, and closing lets the device go.
    void opensAndClosesSilently_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("drain");

        QTest::newRow("COM 1 at the default 2400,n,8,1, closed") << 1 << "2400,n,8,1" << int(B2400) << false;
        QTest::newRow("COM 16, upper case, two stop bits, drained while empty") << 16 << "9600,N,8,2" << int(B9600) << true;
        // A pty keeps 8 bits and no parity whatever is asked: this row shows only that they are taken.
        QTest::newRow("even parity, 7 bits") << 3 << "19200,e,7,1" << int(B19200) << false;
    }

    void opensAndClosesSilently()
    {
        QFETCH(int, port);
        QFETCH(QString, settings);
        QFETCH(bool, drain);

        PtyDevice pty;
        SerialLink link;
        SerialLink second;
        QSignalSpy drained(&link, &SerialLink::drained);
        QVERIFY2(openLink(link, pty, settings, port), qPrintable(link.errorString()));
        QVERIFY(link.isOpen());
        QCOMPARE(link.description(), pty.path() + ", " + settings);
        QVERIFY(!openLink(second, pty, settings, port));
        QVERIFY(!second.errorString().isEmpty());

        termios line{};
        QCOMPARE(::tcgetattr(pty.slave(), &line), 0);
        QTEST(int(::cfgetospeed(&line)), "speed");
        QCOMPARE(bool(line.c_cflag & CSTOPB), settings.endsWith(u",2"));
        QCOMPARE(int(line.c_cflag & (CSIZE | PARENB)), int(CS8));
        QCOMPARE(int(line.c_cflag & CRTSCTS), 0);
        QCOMPARE(int(line.c_iflag & (IXON | IXOFF)), 0);

        if (drain) {
            link.drainThenClose();
            QCOMPARE(drained.count(), 1); // at once, before the event loop runs
            QCOMPARE(drained.at(0).at(0).toLongLong(), 0);
        } else {
            link.close();
        }
        QVERIFY(!link.isOpen());
        QVERIFY(!link.write("x"));
        QVERIFY(link.description().isEmpty());
        QCOMPARE(pty.collectFor(100), QByteArray());
        QVERIFY2(second.open(), qPrintable(second.errorString()));
    }

    // The settings and the port are checked here; a device Qt cannot open
    // fails like the one held by another link above.
    void refusesToOpen_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::newRow("empty baud rate (no BaudRate selection)") << 1 << ",n,8,1";
        QTest::newRow("zero baud rate") << 1 << "0,n,8,1";
        QTest::newRow("unknown parity letter") << 1 << "2400,x,8,1";
        QTest::newRow("nine data bits") << 1 << "2400,n,9,1";
        QTest::newRow("a field missing") << 1 << "2400,n,8";
        QTest::newRow("port 17, beyond COM 16") << 17 << "2400,n,8,1";
    }

    void refusesToOpen()
    {
        QFETCH(int, port);
        QFETCH(QString, settings);
        // The port is mapped to the pty, so only the fault the row names can refuse it.
        PtyDevice pty;
        SerialLink link;
        QVERIFY(!openLink(link, pty, settings, port));
        QVERIFY(!link.isOpen());
        QVERIFY(!link.errorString().isEmpty());
    }

    void backToBackWritesArriveInOrder()
    {
        PtyDevice pty;
        SerialLink link;
        QVERIFY(openLink(link, pty));
        const QByteArray pieces[] = {"\xF0\x53", "03", "HELLO", "\x0A"};
        QByteArray expected;
        for (const QByteArray &piece : pieces) {
            QVERIFY(link.write(piece));
            expected += piece;
        }
        // One byte more is asked for, so a piece sent twice shows.
        QCOMPARE(pty.collect(expected.size() + 1, 300), expected);
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

        QElapsedTimer clock;
        clock.start();
        for (qsizetype at = 0; at < total; at += 7)
            QVERIFY(link.write(data.mid(at, 7)));
        const QByteArray received = pty.collect(total, 10000, 256, 2);
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(received.size(), total);
        QVERIFY(received == data);
        QTRY_COMPARE(idle.count(), 1);

        // The reader's pauses alone outlast the first 100 ms, so reports come,
        // but at most one per 100 ms; each counts the whole queue and more of it sent.
        QVERIFY(!progress.isEmpty());
        QVERIFY2(progress.count() <= elapsed / 100, "progress is not throttled");
        qint64 lastSent = 0;
        for (const QList<QVariant> &report : progress) {
            QCOMPARE(report.at(0).toLongLong(), total);
            QVERIFY(report.at(1).toLongLong() > lastSent);
            QVERIFY(report.at(1).toLongLong() < total);
            lastSent = report.at(1).toLongLong();
        }
    }

    void drainThenClose_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<bool>("reading");
        QTest::addColumn<bool>("cutShort");
        // Far more than the pty holds, so most of it still waits in the link.
        QTest::newRow("reader keeps up: everything delivered") << "115200,n,8,1" << true << false;
        // At 4 Mbaud the deadline is about 2.25 s: the 2 s margin and 250 ms of line time.
        QTest::newRow("device takes nothing: the rest counted as dropped") << "4000000,n,8,1" << false << false;
        // At 2400 baud the deadline is minutes away: the stall is reported, and close() ends the wait.
        QTest::newRow("stalled line, drain cut short") << "2400,n,8,1" << false << true;
    }

    void drainThenClose()
    {
        QFETCH(QString, settings);
        QFETCH(bool, reading);
        QFETCH(bool, cutShort);

        constexpr qsizetype total = 100000;
        const QByteArray data = pattern(total);
        PtyDevice pty;
        SerialLink link;
        QSignalSpy drained(&link, &SerialLink::drained);
        QSignalSpy stalled(&link, &SerialLink::stalled);
        QVERIFY(openLink(link, pty, settings));
        QVERIFY(link.write(data));
        PtyDevice::runEvents(20);
        QVERIFY(link.pendingBytes() > 0);

        link.drainThenClose();
        QVERIFY(!link.isOpen());
        QVERIFY(link.isDraining());
        QVERIFY(!link.write("late"));
        QCOMPARE(drained.count(), 0);

        QByteArray received = reading ? pty.collect(total, 3000, 1024, 1) : QByteArray();
        if (cutShort) {
            QTRY_COMPARE_WITH_TIMEOUT(stalled.count(), 1, SerialLink::StallMs + 1000);
            QCOMPARE(stalled.at(0).at(0).toLongLong(), link.pendingBytes());
            link.close();
            QCOMPARE(drained.count(), 1);
        }
        QTRY_COMPARE_WITH_TIMEOUT(drained.count(), 1, 5000);
        QCOMPARE(stalled.count(), int(cutShort));
        received += pty.collectFor(100);
        // What the pty took is there in order: exactly the part not counted as dropped.
        const qint64 dropped = drained.at(0).at(0).toLongLong();
        QCOMPARE(dropped > 0, !reading);
        QCOMPARE(received.size() + dropped, total);
        QVERIFY(received == data.left(received.size()));
    }

    // The watch on an idle port, and a failure that ends a drain; a failure
    // while the queue drains without a close is the same failure as the second.
    void deviceLostWhileOpen_data()
    {
        QTest::addColumn<bool>("drain");
        QTest::newRow("nothing queued") << false;
        QTest::newRow("draining towards a close") << true;
    }

    void deviceLostWhileOpen()
    {
        QFETCH(bool, drain);

        PtyDevice pty;
        SerialLink link;
        QSignalSpy failed(&link, &SerialLink::failed);
        QSignalSpy drained(&link, &SerialLink::drained);
        QVERIFY(openLink(link, pty, QStringLiteral("115200,n,8,1")));
        QVERIFY(link.write(pattern(drain ? 100000 : 0)));
        PtyDevice::runEvents(20);
        if (drain)
            link.drainThenClose();

        pty.closeMaster();
        PtyDevice::runEvents(300);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(drained.count(), 0); // failed() alone tells the whole loss
        QCOMPARE(failed.at(0).at(1).toLongLong() > 0, drain);
        QVERIFY(!link.isOpen());
        QVERIFY(!link.isDraining());
        QVERIFY(!link.write("x"));
        QVERIFY(!link.errorString().isEmpty());
        QCOMPARE(link.errorString(), failed.at(0).at(0).toString());

        link.close();
        link.drainThenClose();
        QCOMPARE(drained.count(), 1);
        QCOMPARE(drained.last().at(0).toLongLong(), 0);
        QCOMPARE(failed.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "test_seriallink.moc"
