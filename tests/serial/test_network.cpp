// Network ports, from the address to a real ser2net in front of a pseudo-terminal.
#include "../support/ser2net.h"
#include "console/console.h"
#include "serial/telnet.h"
#include "serial/wirequeue.h"

#include <QtTest>

namespace {

// 115200,n,8,1 asked, and confirmed.
const QString Line = QStringLiteral("fffa2c010001c200fff0fffa2c0208fff0fffa2c0301fff0fffa2c0401fff0");
const QString LineSet = QStringLiteral("fffa2c650001c200fff0fffa2c6608fff0fffa2c6701fff0fffa2c6801fff0");

// COM 1 standing for target, connecting at 115200 baud.
struct Rig
{
    Console console;
    QStringList reports;
    QString status;

    explicit Rig(const QString &target)
    {
        qputenv("QUILLANE_COM1", target.toLocal8Bit());
        QObject::connect(&console, &Console::reported, [this](const Report &r) { reports << r.text + '|' + r.reason; });
        QObject::connect(&console.port(), &PortControl::statusChanged, [this](const QString &text) { status = text; });
        console.state().setBaudRateIndex(9);
        console.port().ConnectBtn_Click();
    }
};

} // namespace

class TestNetwork : public QObject
{
    Q_OBJECT

private slots:
    // An address reads as kind|host|port, or why not; server bytes, fed whole and
    // a byte at a time, as our answer|0 negotiating, 1 ready, or why not|data.
    void parsers_data()
    {
        QTest::addColumn<bool>("telnet");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        // clang-format off
        QTest::newRow("RFC 2217, IPv6 in brackets") << false << "RFC2217://[::1]:65535" << "2|::1|65535";
        QTest::newRow("unknown scheme") << false << "telnet://osd:23" << "unknown scheme \"telnet://\": use socket://HOST:PORT or rfc2217://HOST:PORT";
        QTest::newRow("port 65536") << false << "socket://osd:65536" << "the port \"65536\" is outside 1-65535";
        QTest::newRow("empty host") << false << "rfc2217://[]:7000" << "the host is empty";
        QTest::newRow("agreed: the line set and confirmed") << true << "fffd00 fffb00 fffd2c" + LineSet << Line + "|1|0";
        QTest::newRow("refused options answered once") << true << "fffb03 fffb03 fffd01 fffe01 fffd01 fffc03" << "fffe03fffc01|0|0";
        QTest::newRow("data between commands; IAC IAC is one byte") << true << "41 ffff 42 fffa2c6b00fff0 fff1 0d0a" << "|0|5";
        QTest::newRow("an overlong subnegotiation is skipped") << true << "fffd00 fffd2c fffa2c65" + QString("ffff").repeated(300) + "fff0" + LineSet << Line + "|1|0";
        QTest::newRow("COM-PORT-OPTION refused") << true << "fffd00 fffe2c" << "|the server refused COM-PORT-OPTION|0";
        QTest::newRow("another baud rate") << true << "fffd2c fffa2c6500002580fff0" << Line + "|the server set 9600 baud, not 115200|0";
        // clang-format on
    }

    void parsers()
    {
        QFETCH(bool, telnet);
        QFETCH(QString, text);
        if (!telnet) {
            const PortAddress a = PortAddress::parse(text);
            const QString parsed = QStringLiteral("%1|%2|%3").arg(int(a.kind)).arg(a.host).arg(a.port);
            QTEST(a.error.isEmpty() ? parsed : a.error, "read");
            return;
        }
        const QByteArray input = QByteArray::fromHex(text.toLatin1());
        for (const qsizetype piece : {qsizetype(1), input.size() + 1}) {
            TelnetClient client(PortSettings{1, 115200});
            client.start();
            QByteArray answer;
            for (qsizetype at = 0; at < input.size(); at += piece)
                answer += client.receive(input.mid(at, piece));
            const QString state = client.refusal().isEmpty() ? QString::number(int(client.state())) : client.refusal();
            QTEST(QString(answer.toHex()) + '|' + state + '|' + QString::number(client.dataBytes()), "read");
        }
    }

    // What the socket wrote, in data bytes: a 0xFF doubled for Telnet once both are out, a command never.
    void wireQueue()
    {
        WireQueue queue;
        QByteArray wire = queue.addData(QByteArray::fromHex("61ff62"), true);
        wire += queue.addCommand("cmd");
        wire += queue.addData(QByteArray::fromHex("ff63"), false);
        QList<qint64> waiting;
        for (qsizetype i = 0; i < wire.size(); ++i) {
            queue.written(1);
            waiting << queue.dataWaiting();
        }
        QCOMPARE(waiting, (QList<qint64>{4, 4, 3, 2, 2, 2, 2, 1, 0}));
    }

    void sendAllLine_data()
    {
        QTest::addColumn<bool>("rfc2217");
        QTest::addColumn<speed_t>("speed");
        QTest::newRow("rfc2217:// sets the line") << true << speed_t(B115200);
        QTest::newRow("socket:// leaves 0xFF and the line as they are") << false << speed_t(B9600);
    }

    // 255 lines of 255 characters, two all 0xFF, arrive exact (66,300 bytes)
    // and are recorded as sent; ser2net ending is a lost port.
    void sendAllLine()
    {
        QFETCH(bool, rfc2217);
        if (Ser2net::program().isEmpty())
            QSKIP("ser2net is not installed");
        Ser2net server(rfc2217);
        Rig rig(server.address);
        QTRY_COMPARE_WITH_TIMEOUT(rig.console.port().connection(), PortControl::Connection::Connected, 5000);
        QCOMPARE(rig.status, "Connected: " + server.address + (rfc2217 ? ", 115200,n,8,1" : ""));
        rig.console.state().setLineCount(255);
        QByteArray expected;
        for (int i = 0; i < 255; ++i) {
            rig.console.state().setLineText(i, QString(255, QChar(0xA0 + i % 96)));
            expected += "\xF0S" + QByteArray::number(i + 1, 16).toUpper().rightJustified(2, '0')
                        + QByteArray(255, char(0xA0 + i % 96)) + '\n';
        }
        {
            const Console::Acting acting(rig.console, "&Send All Line");
            rig.console.actions().sendAllLines();
        }
        QVERIFY(server.pty.collect(66300, 10000) == expected);
        termios line{};
        QCOMPARE(::tcgetattr(server.pty.slave(), &line), 0);
        QTEST(::cfgetospeed(&line), "speed");
        const SentCommands &record = rig.console.record(); // told in batches, at most every 100 ms
        QTRY_COMPARE_WITH_TIMEOUT(
            record.match(record.index(0, SentCommands::StateColumn), Qt::DisplayRole, "sent", -1).size(), 255, 5000);
        server.process.kill();
        QTRY_COMPARE_WITH_TIMEOUT(rig.console.port().connection(), PortControl::Connection::Disconnected, 5000);
        QVERIFY2(rig.status.startsWith("Port lost: 127.0.0.1:") && rig.reports.isEmpty(), qPrintable(rig.status));
    }

    void openFails_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::addColumn<QString>("reason");
        QTest::newRow("refused") << false << "Connection refused";
        QTest::newRow("accepted, never negotiated") << true << "no answer to the RFC 2217 negotiation within 3 s";
    }

    // The press returns at once, saying where it connects; then one box, and the window as before.
    void openFails()
    {
        QFETCH(bool, listening);
        QFETCH(QString, reason);
        QTcpServer mute; // accepts and says nothing; closed, it is a refused port
        QVERIFY(mute.listen(QHostAddress::LocalHost));
        const QString where = QStringLiteral("127.0.0.1:%1").arg(mute.serverPort());
        if (!listening)
            mute.close();
        Rig rig("rfc2217://" + where);
        QCOMPARE(rig.console.port().connection(), PortControl::Connection::Connecting);
        QCOMPARE(rig.status, "Connecting to " + where + "…");
        QTRY_COMPARE_WITH_TIMEOUT(rig.reports, QStringList{"Port cannot open|" + where + ": " + reason}, 5000);
        PtyDevice::runEvents(200);
        QCOMPARE(rig.reports.size(), 1);
        QCOMPARE(rig.console.port().connection(), PortControl::Connection::Disconnected);
    }
};

QTEST_GUILESS_MAIN(TestNetwork)
#include "test_network.moc"
