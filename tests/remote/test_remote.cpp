// Remote control against real clients (a TCP socket, oscsend, datagrams) with
// a pty as COM 1; the command reader and the OSC decoder on their own.
#include "../support/windowfixture.h"
#include "remote/oscmessage.h"
#include "remote/remoteserver.h"
#include "remote/remotesettings.h"

#include <QMetaEnum>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

namespace {

// Connected to a pty as COM 1, listening on a free port, one client in.
struct Rig
{
    PtyDevice pty;
    Console console;
    RemoteServer server{console};
    QTcpSocket client;

    Rig()
    {
        pty.mapAs(1);
        console.port().ConnectBtn_Click();
        if (!server.listen(QHostAddress::LocalHost, 0))
            qFatal("cannot listen: %s", qPrintable(server.errorString()));
        client.connectToHost(QHostAddress::LocalHost, server.port());
        client.waitForConnected();
    }
    // The replies to the lines, joined by "|".
    static QString ask(QTcpSocket &socket, const QByteArray &lines)
    {
        socket.write(lines + '\n');
        const qsizetype count = lines.count('\n') + 1;
        QByteArray replies;
        (void)QTest::qWaitFor([&] {
            replies += socket.readAll();
            return replies.count('\n') >= count || socket.state() != QAbstractSocket::ConnectedState;
        });
        return QString::fromUtf8(replies).trimmed().replace(u'\n', u'|');
    }
    // At least `expected` bytes, then whatever follows within 50 ms.
    QByteArray wire(qsizetype expected)
    {
        const QByteArray bytes = pty.collect(expected, 3000);
        return bytes + pty.collectFor(50);
    }
};

} // namespace

class TestRemote : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("read"); // verb number |text| error
        // clang-format off
        QTest::newRow("words in any case; the longest form wins") << "sEnD aLl LiNeS" << "SendAllLines 0 || ";
        QTest::newRow("blanks around words and a leading zero") << " \tpage\t007 " << "Page 7 || ";
        QTest::newRow("text: the rest after one blank, as typed") << "SET LINE 4  two  words " << "SetLine 4 | two  words | ";
        QTest::newRow("unknown word") << "FROB 3" << "Unknown 0 || unknown command: FROB 3";
        QTest::newRow("no folding of other scripts") << "\u017Ftatus" << "Unknown 0 || unknown command: \u017Ftatus";
        QTest::newRow("CR in a text") << "SET LINE 1 A\rB" << "SetLine 0 || SET LINE takes no CR or LF";
        QTest::newRow("not a number") << "SEND LINE 1e3" << "SendLine 0 || SEND LINE takes a number";
        // clang-format on
    }
    void parse()
    {
        QFETCH(QString, line);
        const RemoteCommand c = RemoteCommand::parse(line);
        const char *verb = QMetaEnum::fromType<RemoteCommand::Verb>().valueToKey(int(c.verb));
        QTEST(QStringLiteral("%1 %2 |%3| %4").arg(verb).arg(c.number).arg(c.text, c.error), "read");
    }

    void osc_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QString>("line");
        const QByteArray page("/quillane/page\0\0,i\0\0", 20);
        // clang-format off
        QTest::newRow("int") << page + QByteArray("\0\0\0\3", 4) << "page 3";
        QTest::newRow("int and string") << QByteArray("/quillane/set/line\0\0,is\0\0\0\0\4AB\0\0", 32) << "set line 4 AB";
        QTest::newRow("not ours") << QByteArray("/other/page\0,i\0\0\0\0\0\3", 20) << "(not ours)";
        QTest::newRow("a pattern is not ours") << QByteArray("/quillane/pag?\0\0,\0\0\0", 20) << "(not ours)";
        QTest::newRow("bundle") << QByteArray("#bundle\0\0\0\0\0\0\0\0\1", 16) << "(malformed)";
        QTest::newRow("no type tags") << QByteArray("/quillane/status\0\0\0\0", 20) << "(malformed)";
        QTest::newRow("float") << QByteArray("/quillane/page\0\0,f\0\0\0\0\0\0", 24) << "(malformed)";
        QTest::newRow("padding not zero") << QByteArray(page).replace(15, 1, "x") + QByteArray("\0\0\0\3", 4) << "(malformed)";
        // clang-format on
    }
    void osc()
    {
        QFETCH(QByteArray, datagram);
        const std::optional<OscMessage> message = OscMessage::decode(datagram);
        QTEST(message ? message->commandLine().value_or("(not ours)") : "(malformed)", "line");
    }

    // Each family of commands over TCP: replies, bytes, and the record's
    // name for the client. Refused commands send nothing.
    void commands_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("replies");
        QTest::addColumn<QByteArray>("wire");
        const QString status = "OK connected COM 1 %1 LINES 11 PAGES 32 PAGE 1";
        const QByteArray none;
        // clang-format off
        QTest::newRow("status; port and rate while disconnected") << QByteArray("STATUS\nDISCONNECT\nBAUD 9600\nPORT 1\nCONNECT\nSTATUS") << status.arg(2400) + "|OK|OK|OK|OK|" + status.arg(9600) << none;
        QTest::newRow("set, then send, a line; CR LF ends a line too") << QByteArray("SET LINE 2  x\r\nsend line 2") << "OK|OK" << QByteArray("\xF0S02 x\n");
        QTest::newRow("clear and reload a line; a page, then reload it") << QByteArray("CLEAR LINE 2\nRELOAD LINE 2\nPAGE 3\nRELOAD PAGE") << "OK|OK|OK|OK" << QByteArray("\xF0\x43\x30\x32\xF0\x43\x30\x32\xF0p01\xF0p03\xF0P03");
        QTest::newRow("all lines") << QByteArray("CLEAR ALL LINES") << "OK" << QByteArray::fromHex("f0433031f0433032f0433033f0433034f0433035f0433036f0433037f0433038f0433039f0433041f0433042");
        QTest::newRow("cursor, OSD off") << QByteArray("CURSOR ON 4\ncursor off 4\nOSD OFF") << "OK|OK|OK" << QByteArray("\xF0T04\xF0t04\xBD");
        QTest::newRow("values") << QByteArray("HPOS 1A\nTRANSPARENCY 10") << "OK|OK" << QByteArray("\xF0H1A\xF0\x42\x41");
        QTest::newRow("bytes: each word as Send Bytes reads it") << QByteArray("BYTES F0 70 3\nBYTES f07031") << "OK|OK" << QByteArray("\xF0\x70\x03\xF0\x70\x31");
        QTest::newRow("numbers out of range") << QByteArray("SEND LINE 12\nPAGE 33") << "ERR line 12 is outside 1..11|ERR page 33 is outside 1..32" << none;
        QTest::newRow("port while connected") << QByteArray("PORT 2") << "ERR the port can be chosen only while disconnected" << none;
        QTest::newRow("send while disconnected") << QByteArray("DISCONNECT\nSEND LINE 1\nDISCONNECT") << "OK|ERR Not sent: the port is not connected|ERR not connected" << none;
        QTest::newRow("garbage") << QByteArray("\xC3\x28\x01 junk") << "ERR unknown command: \uFFFD(\x01 junk" << none;
        QTest::newRow("5,000 bytes close the connection") << QByteArray(5000, 'A') << "ERR line over 4096 bytes; closing" << none;
        // clang-format on
    }
    void commands()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QByteArray, wire);
        Rig rig;
        QTEST(Rig::ask(rig.client, lines), "replies");
        QCOMPARE(rig.wire(wire.size()).toHex(' '), wire.toHex(' '));
        QCOMPARE(QTest::qWaitFor([&] { return rig.client.state() != QAbstractSocket::ConnectedState; }, 100),
                 lines.size() == 5000);
        rig.console.record().flush();
        if (!wire.isEmpty())
            QCOMPARE(rig.console.record().index(0, SentCommands::ActionColumn).data(),
                     "Remote 127.0.0.1:" + QString::number(rig.client.localPort()));
    }

    // 16 clients are served; the rest are closed at once.
    void fortyConnections()
    {
        Rig rig;
        QTcpSocket sockets[39];
        for (QTcpSocket &socket : sockets)
            socket.connectToHost(QHostAddress::LocalHost, rig.server.port());
        QTRY_COMPARE(int(std::count_if(std::begin(sockets), std::end(sockets),
                                       [](auto &s) { return s.state() == QAbstractSocket::UnconnectedState; })),
                     40 - RemoteServer::MaxClients);
        QCOMPARE(rig.server.clientCount(), RemoteServer::MaxClients);
        for (QTcpSocket &socket : sockets) {
            if (socket.state() == QAbstractSocket::ConnectedState)
                QCOMPARE(Rig::ask(socket, "PAGE 2"), "OK");
        }
    }

    // oscsend's messages run as their lines do; datagrams that are no OSC
    // message of ours are counted and send nothing.
    void osc_oscsend()
    {
        if (QStandardPaths::findExecutable("oscsend").isEmpty())
            QSKIP("oscsend (liblo-tools) is not installed");
        Rig rig;
        const QString port = QString::number(rig.server.port());
        for (const char *message : {"/quillane/set/line is 4 AB", "/quillane/send/line i 4", "/quillane/page i 2",
                                    "/quillane/page i 40", "/quillane/frob i 2"})
            QCOMPARE(QProcess::execute("oscsend", QStringList{"127.0.0.1", port} + QString(message).split(' ')), 0);
        QUdpSocket garbage;
        for (const QByteArray &datagram : {QByteArray("SEND LINE 4\n"), QByteArray(9000, '/'), QByteArray()})
            garbage.writeDatagram(datagram, QHostAddress::LocalHost, rig.server.port());
        QCOMPARE(rig.wire(11).toHex(' '), QByteArray("\xF0S04AB\n\xF0p02").toHex(' '));
        QTRY_COMPARE(rig.server.droppedPackets(), 4);
    }

    // A port in use: one box, and the window goes on without remote
    // control. Listening, the status bar says where and for how many.
    void window()
    {
        WindowFixture w;
        QTcpServer busy;
        QVERIFY(busy.listen(QHostAddress::LocalHost));
        const quint16 port = busy.serverPort();
        w.window.startRemote({true, port});
        auto *label = w.control<QLabel>("RemoteStatus");
        QVERIFY(!label->isVisible());
        busy.close();
        w.window.startRemote({true, port});
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        QTRY_COMPARE(label->text(), "Remote: 127.0.0.1:" + QString::number(port) + ", 1 clients");
        QVERIFY(label->isVisible());
        QCOMPARE(w.dialogs.boxes, QStringList("Remote control cannot start|Error|error|127.0.0.1:"
                                              + QString::number(port) + ": The bound address is already in use"));
        const QList<QAction *> menus = w.window.menuBar()->actions();
        QCOMPARE(menus.at(2)->menu()->objectName() + menus.at(3)->text(), "SettingsMenu&About");
    }
};

QTEST_MAIN(TestRemote)
#include "test_remote.moc"
