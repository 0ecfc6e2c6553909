// Which device a COM port stands for, and the link against a pseudo-terminal.
#include "../support/ptydevice.h"
#include "serial/portmap.h"
#include "serial/seriallink.h"

#include <QtTest>

namespace {

// No two nearby chunks alike, so a lost or swapped chunk shows.
QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 253) & 0xFF);
    return bytes;
}

// How a queue ends in queueEnds().
enum End { Drained, CutShort, Lost };

PortSettings at(qint32 baudRate, int port = 1)
{
    PortSettings settings;
    settings.port = port;
    settings.baudRate = baudRate;
    return settings;
}

// A device of this machine opens before open() returns.
bool openLink(SerialLink &link, const PtyDevice &pty, const PortSettings &settings)
{
    pty.mapAs(settings.port);
    link.open(settings);
    return link.isOpen();
}

} // namespace

Q_DECLARE_METATYPE(End)

class TestSerial : public QObject
{
    Q_OBJECT

private slots:
    void orderedDevices()
    {
        const QStringList reported{"/dev/ttyS10",  "/dev/ttyUSBserial", "/dev/ttyUSB10", "/dev/ttyACM2",
                                   "/dev/ttyUSB2", "/dev/rfcomm0",      "/dev/ttyS2",    "/dev/ttyACM10"};
        QCOMPARE(PortMap::orderedDevices(reported),
                 (QStringList{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM2", "/dev/ttyACM10", "/dev/rfcomm0",
                              "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSBserial"}));
    }

    // The system reports /dev/ttyUSB0 and /dev/ttyACM0; one variable is set.
    void deviceFor_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("variable"); // name=value
        QTest::addColumn<QString>("device");
        // clang-format off
        QTest::newRow("COM 2 is the second device") << 2 << QString() << "/dev/ttyACM0";
        QTest::newRow("beyond the list") << 3 << "" << QString();
        QTest::newRow("the map wins over the list") << 1 << "" << "rfc2217://osd:7000";
        QTest::newRow("the variable wins over the map") << 1 << "QUILLANE_COM1=/dev/pts/7" << "/dev/pts/7";
        QTest::newRow("COM 10 by its variable") << 10 << "QUILLANE_COM10=/dev/ttyS4" << "/dev/ttyS4";
        QTest::newRow("another port's variable does not count") << 2 << "QUILLANE_COM1=/dev/pts/7" << "/dev/ttyACM0";
        QTest::newRow("port 17 is none") << 17 << "QUILLANE_COM17=/dev/pts/7" << QString();
        // clang-format on
    }

    void deviceFor()
    {
        QFETCH(int, n);
        QFETCH(QString, variable);
        const auto lookup = [&variable](const QString &name) {
            return variable.section(u'=', 0, 0) == name ? variable.section(u'=', 1) : QString();
        };
        const QStringList map{" rfc2217://osd:7000 ", "", "", "", "", "", "", "", "", "socket://osd:4001"}; // COM 1, 10
        QTEST(PortMap::deviceFor(n, {"/dev/ttyUSB0", "/dev/ttyACM0"}, lookup, map), "device");
    }

    // The port is mapped to the pty, so only the fault the row names refuses it.
    void refusesToOpen_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("baud");
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("no BaudRate selection") << 1 << 0 << "No baud rate is selected";
        QTest::newRow("no COM port selection") << 0 << 2400 << "No COM port is selected";
        QTest::newRow("COM 17 is none") << 17 << 2400 << "No serial device for COM 17";
        // clang-format on
    }

    void refusesToOpen()
    {
        QFETCH(int, port);
        QFETCH(int, baud);
        PtyDevice pty;
        SerialLink link;
        QSignalSpy failed(&link, &SerialLink::openFailed);
        QVERIFY(!openLink(link, pty, at(baud, port)));
        QCOMPARE(failed.count(), 1);
        QTEST(failed[0][0].toString(), "reason");
    }

    // Opening sets the line up and holds the device; back-to-back writes reach
    // a slow reader intact, progress at most every 100 ms; a drain with
    // nothing queued closes at once.
    void writesReachSlowReaderIntact()
    {
        constexpr qsizetype Total = 70000;
        const QByteArray data = pattern(Total);
        PtyDevice pty;
        SerialLink link;
        QSignalSpy progress(&link, &SerialLink::progress);
        QSignalSpy idle(&link, &SerialLink::idle);
        QSignalSpy drained(&link, &SerialLink::drained);
        PortSettings settings = at(9600, 16);
        settings.stopBits = QSerialPort::TwoStop;
        QVERIFY2(openLink(link, pty, settings), qPrintable(link.errorString()));
        QCOMPARE(link.description(), pty.path() + ", 9600,n,8,2");
        SerialLink second;
        QVERIFY(!openLink(second, pty, settings));
        termios line{};
        QCOMPARE(::tcgetattr(pty.slave(), &line), 0);
        QCOMPARE(::cfgetospeed(&line), speed_t(B9600));
        QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8 | CSTOPB));
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));

        QElapsedTimer clock;
        clock.start();
        for (qsizetype at = 0; at < Total; at += 7)
            QVERIFY(link.write(data.mid(at, 7)));
        QVERIFY(pty.collect(Total, 10000, 256, 2) == data);
        const qint64 elapsed = clock.elapsed();
        QTRY_COMPARE(idle.count(), 1);
        QVERIFY(!progress.isEmpty());
        QVERIFY2(progress.count() <= elapsed / 100, "progress is not throttled");
        // Each report counts the whole queue, and more of it sent than the last.
        const auto sent = [](const QList<QVariant> &report) { return report[1].toLongLong(); };
        QVERIFY(std::is_sorted(progress.begin(), progress.end(), [&](auto &a, auto &b) { return sent(a) <= sent(b); }));
        QVERIFY(
            std::all_of(progress.begin(), progress.end(), [&](auto &r) { return r[0] == Total && sent(r) < Total; }));

        link.drainThenClose();
        QCOMPARE(drained.count(), 1); // before the event loop runs
        QCOMPARE(drained[0][0].toLongLong(), 0);
        QVERIFY(!link.isOpen() && !link.write("x"));
        QCOMPARE(pty.collectFor(100), QByteArray());
    }

    // A write the queue cannot take whole is refused whole; the queue is
    // counted from what the link has not handed over.
    void queueHoldsAtMost64MiB()
    {
        PtyDevice pty;
        SerialLink link;
        QVERIFY(openLink(link, pty, at(2400)));
        const QByteArray chunk(8 * 1024 * 1024, 'q');
        for (qint64 queued = 0; queued + chunk.size() <= SerialLink::QueueLimit; queued += chunk.size())
            QVERIFY(link.write(chunk));
        QCOMPARE(link.room(), 0);
        QVERIFY(!link.write("x"));
        PtyDevice::runEvents(50);
        const qint64 room = link.room();
        QVERIFY(room > 0);
        QVERIFY(!link.write(QByteArray(room + 1, 'y')));
        QCOMPARE(link.room(), room);
        QVERIFY(link.write(QByteArray(room, 'z')));
    }

    // A reader that takes 240 bytes a second is slow, not stalled, also on a
    // pseudo-terminal, which gives room back only in steps.
    void slowReaderIsNoStall()
    {
        PtyDevice pty;
        SerialLink link;
        QSignalSpy stalled(&link, &SerialLink::stalled);
        QVERIFY(openLink(link, pty, at(2400)));
        QVERIFY(link.write(QByteArray(30000, 'a')));
        QElapsedTimer clock;
        clock.start();
        qsizetype read = 0;
        while (clock.elapsed() < SerialLink::StallMs + 1500)
            read += pty.collect(24, 100, 24, 100).size();
        QVERIFY(read >= 1000);
        QCOMPARE(stalled.count(), 0);
    }

    void queueEnds_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("queued");
        QTest::addColumn<bool>("reading");
        QTest::addColumn<End>("end");
        // clang-format off
        QTest::newRow("drained: the reader keeps up") << 115200 << 100000 << true << Drained;
        // At 4 Mbaud the deadline is about 2.25 s: the 2 s margin and 250 ms of line time.
        QTest::newRow("drained: the device takes nothing, the rest dropped") << 4000000 << 100000 << false << Drained;
        // At 2400 baud it is minutes away: the stall is reported, and close() ends the wait.
        QTest::newRow("stalled drain cut short") << 2400 << 100000 << false << CutShort;
        QTest::newRow("device lost while draining") << 115200 << 100000 << false << Lost;
        QTest::newRow("device lost with nothing queued") << 115200 << 0 << false << Lost;
        // clang-format on
    }

    // How a queue ends. Nothing is taken once a drain starts, and what arrives
    // is what is not counted as dropped; a lost device ends it through failed()
    // alone, once, and leaves the link closed like any other.
    void queueEnds()
    {
        QFETCH(int, baud);
        QFETCH(int, queued);
        QFETCH(bool, reading);
        QFETCH(End, end);
        PtyDevice pty;
        SerialLink link;
        QSignalSpy drained(&link, &SerialLink::drained);
        QSignalSpy stalled(&link, &SerialLink::stalled);
        QSignalSpy failed(&link, &SerialLink::failed);
        QVERIFY(openLink(link, pty, at(baud)));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(link.write(pattern(queued)));
        PtyDevice::runEvents(20);
        if (queued > 0) {
            link.drainThenClose();
            QVERIFY(!link.isOpen() && link.isDraining() && !link.write("late"));
        }
        QByteArray received = reading ? pty.collect(queued, 3000, 1024, 1) : QByteArray();
        if (end == CutShort) {
            QTRY_COMPARE_WITH_TIMEOUT(stalled.count(), 1, SerialLink::StallMs + 1000);
            QVERIFY(clock.elapsed() >= SerialLink::StallMs);
            QCOMPARE(stalled[0][0].toLongLong(), link.pendingBytes());
            QCOMPARE(drained.count(), 0);
            link.close();
            QCOMPARE(drained.count(), 1); // at once
        } else if (end == Lost) {
            pty.closeMaster();
        }
        QTRY_COMPARE_WITH_TIMEOUT(drained.count() + failed.count(), 1, 5000);
        PtyDevice::runEvents(100);
        QCOMPARE(QList<int>({int(drained.count()), int(stalled.count()), int(failed.count())}),
                 QList<int>({end != Lost, end == CutShort, end == Lost}));
        QVERIFY(!link.isOpen() && !link.isDraining() && !link.write("x"));
        if (end == Lost) {
            QVERIFY(!failed[0][0].toString().isEmpty() && link.errorString() == failed[0][0].toString());
            QCOMPARE(failed[0][1].toLongLong() > 0, queued > 0);
            link.drainThenClose();
            QCOMPARE(drained.count(), 1);
            QCOMPARE(drained[0][0].toLongLong(), 0);
        } else {
            received += pty.collectFor(100);
            QCOMPARE(drained[0][0].toLongLong() > 0, !reading);
            QCOMPARE(received.size() + drained[0][0].toLongLong(), queued);
            QVERIFY(received == pattern(received.size()));
        }
    }
};

QTEST_GUILESS_MAIN(TestSerial)
#include "test_serial.moc"
