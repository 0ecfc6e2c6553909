// The operator's actions without a window: what each puts on the wire (read
// from a pseudo-terminal), what it reports, and what it leaves in the work.
#include "../support/ptydevice.h"
#include "console/console.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

using Value = ConsoleState::Value;

// Connected to a pty as COM 1; lines 1 and 3 hold A and AB; page 2 is picked.
struct Rig
{
    PtyDevice pty;
    Console console;
    QStringList reports; // text, and the reason after a "|"
    QStringList statuses;
    ConsoleState &state = console.state();
    CommandActions &actions = console.actions();

    Rig()
    {
        pty.mapAs(1);
        QObject::connect(&console, &Console::reported, [this](const Report &r) {
            reports << (r.reason.isEmpty() ? r.text : r.text + '|' + r.reason);
        });
        QObject::connect(&console.port(), &PortControl::statusChanged,
                         [this](const QString &text) { statuses << text; });
        state.setLineText(0, "A");
        state.setLineText(2, "AB");
        actions.selectPage(1);
        console.port().ConnectBtn_Click();
        if (console.port().connection() != PortControl::Connection::Connected)
            qFatal("cannot connect: %s", qPrintable(statuses.join(u'\n')));
    }

    // Everything that arrives, counting on at least `expected` bytes.
    QByteArray wire(qsizetype expected)
    {
        QByteArray bytes = pty.collect(expected, 3000);
        return bytes + pty.collectFor(50);
    }
};

using Action = std::function<void(Rig &)>;

QByteArray lines(bool autoReload)
{
    QByteArray bytes = "\xF0S01A\n\xF0\x43\x30\x32\xF0S03AB\n";
    for (int line = 4; line <= 11; ++line)
        bytes += "\xF0\x43" + QByteArray::number(line, 16).toUpper().rightJustified(2, '0');
    return autoReload ? bytes + "\xF0P02" : bytes;
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void actions_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QStringList>("reports");
        QTest::addColumn<QString>("after"); // LeftOffset HPos VPos CurrentPage
        const QString untouched = "000 00 00 0";
        const QStringList none;
        // clang-format off
        QTest::newRow("line 3") << Action([](Rig &r) { r.actions.sendLine(2); }) << QByteArray("\xF0S03AB\n") << none << untouched;
        QTest::newRow("empty line 2 is cleared") << Action([](Rig &r) { r.actions.sendLine(1); }) << QByteArray("\xF0\x43\x30\x32") << none << untouched;
        QTest::newRow("all lines, then Auto reloads page 2") << Action([](Rig &r) { r.state.setAutoReload(true); r.actions.sendAllLines(); }) << lines(true) << none << untouched;
        QTest::newRow("clear all lines") << Action([](Rig &r) { r.actions.sendClearAllLines(); }) << QByteArray(lines(false)).replace("\xF0S01A\n", "\xF0\x43\x30\x31").replace("\xF0S03AB\n", "\xF0\x43\x30\x33") << none << untouched;
        QTest::newRow("reload line 3, then select page 2") << Action([](Rig &r) { r.actions.reloadLine(2); }) << QByteArray("\xF0L03\xF0p02") << none << untouched;
        QTest::newRow("page 5 picked twice goes out once") << Action([](Rig &r) { r.actions.selectPage(4); r.actions.selectPage(4); }) << QByteArray("\xF0p05") << none << "000 00 00 4";
        QTest::newRow("the current page picked sends nothing") << Action([](Rig &r) { r.actions.selectPage(0); }) << QByteArray() << none << untouched;
        QTest::newRow("reload page 2") << Action([](Rig &r) { r.actions.reloadPage(); }) << QByteArray("\xF0P02") << none << untouched;
        QTest::newRow("cursor on and off at line 4") << Action([](Rig &r) { r.actions.cursorOn(3); r.actions.cursorOff(3); }) << QByteArray("\xF0T04\xF0t04") << none << untouched;
        QTest::newRow("OSD off") << Action([](Rig &r) { r.actions.turnOsdOff(); }) << QByteArray("\xBD") << none << untouched;
        QTest::newRow("position 7 shows 07") << Action([](Rig &r) { r.state.setValue(Value::HPos, "7"); r.actions.sendHPos(); }) << QByteArray("\xF0H07") << none << "000 07 00 0";
        QTest::newRow("offset 1 shows 001, then all lines") << Action([](Rig &r) { r.state.setValue(Value::LeftOffset, "1"); r.actions.sendLeftOffset(); }) << "\xF0O001" + lines(false) << none << "001 00 00 0";
        QTest::newRow("Send All: two bad positions, one box") << Action([](Rig &r) { r.state.setValue(Value::HPos, "G"); r.state.setValue(Value::VPos, "x"); r.actions.sendAll(); }) << "\xF0O000" + lines(false) + "\xF0\x42\x30" << QStringList{"Invalid Value"} << "000 0G 0x 0";
        QTest::newRow("transparency 16") << Action([](Rig &r) { r.state.setValue(Value::TransparencyValue, "16"); r.actions.sendTransparency(); }) << QByteArray() << QStringList{"Out of Range"} << untouched;
        QTest::newRow("bytes: line breaks count for nothing") << Action([](Rig &r) { r.actions.sendBytes("1A\r\n2b\n"); }) << QByteArray("\x1A\x2B") << none << untouched;
        QTest::newRow("bytes: a blank refuses its pair") << Action([](Rig &r) { r.actions.sendBytes("1A 2B"); }) << QByteArray("\x1A") << QStringList{"Send Bytes Error!"} << untouched;
        QTest::newRow("line 3, then bytes") << Action([](Rig &r) { r.actions.sendLineThenBytes(2, "0D0A"); }) << QByteArray("\xF0S03AB\n\r\n") << none << untouched;
        QTest::newRow("a pasted line break is a space") << Action([](Rig &r) { r.state.setLineText(2, "AB\r\nCD\r\n"); r.actions.sendLine(2); }) << QByteArray("\xF0S03AB CD\n") << none << untouched;
        QTest::newRow("disconnected: nothing") << Action([](Rig &r) { r.console.port().release(); r.actions.sendLine(2); r.actions.selectPage(6); }) << QByteArray() << none << untouched;
        // clang-format on
    }

    void actions()
    {
        QFETCH(Action, action);
        QFETCH(QByteArray, wire);
        Rig rig;
        {
            const Console::Acting acting(rig.console, "&Act");
            action(rig);
        }
        QCOMPARE(rig.wire(wire.size()).toHex(' '), wire.toHex(' '));
        QTEST(rig.reports, "reports");
        const QStringList after{rig.state.value(Value::LeftOffset), rig.state.value(Value::HPos),
                                rig.state.value(Value::VPos), QString::number(rig.state.currentPage())};
        QTEST(after.join(u' '), "after");
    }

    // A send the queue cannot take whole is refused whole, in the status bar.
    void fullQueueRefusesWhole()
    {
        Rig rig;
        SerialLink &link = rig.console.port().link();
        QVERIFY(link.write(QByteArray(SerialLink::QueueLimit - 6, 'f')));
        rig.actions.sendLine(2); // 7 bytes
        QCOMPARE(link.room(), 6);
        QVERIFY(rig.statuses.last().startsWith("Not sent: its 7 bytes would take the send queue past 64 MiB"));
        rig.actions.sendClearLine(1);
        QCOMPARE(link.room(), 2);
        QVERIFY(rig.reports.isEmpty());
    }

    // A remote client gets the reports, the status bar says them, and no box
    // is raised; the record names the actor as it reads.
    void actorsAndTheirReports()
    {
        Rig rig;
        QList<Report> collected;
        {
            const Console::Acting acting(rig.console, "Remote 127.0.0.1:5", &collected);
            rig.state.setValue(Value::HPos, "G");
            rig.actions.sendHPos();
            rig.actions.sendLine(2);
        }
        {
            const Console::Acting acting(rig.console, "&Send && Go");
            rig.actions.sendLine(0);
        }
        QCOMPARE(collected.size(), 1);
        QCOMPARE(collected.first().text, "Invalid Value");
        QVERIFY(rig.reports.isEmpty());
        QCOMPARE(rig.statuses.last(), "Remote 127.0.0.1:5: Invalid Value");
        rig.console.record().flush();
        QCOMPARE(rig.console.record().index(0, SentCommands::ActionColumn).data(), "Remote 127.0.0.1:5");
        QCOMPARE(rig.console.record().index(1, SentCommands::ActionColumn).data(), "Send & Go");
    }

    // The worked example saves as its 57 bytes; a value with a line break is
    // refused, the old file untouched. Opening re-selects page 1 on the
    // controller; an unusable file changes nothing.
    void savesAndOpens()
    {
        Rig rig;
        QTemporaryDir dir;
        const QString path = dir.filePath("work.ptx");
        rig.state.setLineText(0, "HELLO");
        rig.state.setLineText(2, QString());
        QVERIFY(rig.console.files().save(path));
        const auto contents = [&path] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray saved =
            "0\r\n3\r\n000\r\n0\r\n11\r\nHELLO\r\n" + QByteArray("\r\n").repeated(10) + "00\r\n00\r\n32\r\n";
        QCOMPARE(contents(), saved);
        rig.state.loadLineText(4, "X\nY");
        QVERIFY(!rig.console.files().save(path));
        QCOMPARE(contents(), saved);
        rig.actions.selectPage(4);
        QVERIFY(rig.console.files().open(path));
        QCOMPARE(rig.state.lineTexts().text(4), QString());
        QVERIFY(!rig.console.files().open(dir.filePath("missing.ptx")));
        QCOMPARE(rig.state.lineTexts().text(0), "HELLO");
        QCOMPARE(rig.reports, QStringList({"Save Error|the text of line 5 holds a line break, which a line file cannot "
                                           "keep; nothing was saved",
                                           "Open Error|No such file or directory"}));
        QCOMPARE(rig.wire(8), QByteArray("\xF0p05\xF0p01"));
        QCOMPARE(rig.state.currentPage(), 0);
    }

    // What is still queued when the port goes is dropped; what left stays sent.
    void lostPortDropsTheUnsent()
    {
        Rig rig;
        rig.state.setLineText(0, QString(255, u'q'));
        for (int i = 0; i < 400; ++i)
            rig.actions.sendLine(0);
        SentCommands &record = rig.console.record();
        const auto state = [&record](int row) {
            record.flush();
            return record.index(row, SentCommands::StateColumn).data().toString();
        };
        // The first lines fill what the device buffers; the rest wait.
        QTRY_COMPARE(state(0), "sent");
        rig.pty.closeMaster();
        QTRY_COMPARE(state(399), "dropped");
        for (int row = 0; row < 400; ++row)
            QVERIFY(state(row) != "queued");
    }

    // The record keeps the newest rows, at most 10,000 and 32 MiB of bytes,
    // and counts the ones it let go.
    void recordBounds()
    {
        SentCommands record([] { return qint64(0); });
        constexpr int Total = 3 * SentCommands::MaxRows + 1;
        SentCommand command;
        for (int i = 0; i < Total; ++i) {
            command.bytes = QByteArray::number(i);
            record.commandSent(command, false);
            if (i % 3000 == 0)
                record.flush();
        }
        record.flush();
        QCOMPARE(record.rowCount(), SentCommands::MaxRows);
        QCOMPARE(record.discardedRows(), Total - SentCommands::MaxRows);
        QCOMPARE(record.index(0, SentCommands::BytesColumn).data(Qt::ToolTipRole).toString(),
                 QString::fromLatin1(QByteArray::number(Total - SentCommands::MaxRows).toHex(' ')));
        command.bytes = QByteArray(12 * 1024 * 1024, 'w');
        for (int i = 0; i < 3; ++i)
            record.commandSent(command, false);
        record.flush();
        QCOMPARE(record.rowCount(), 2); // a third would pass 32 MiB
        QCOMPARE(record.discardedRows(), Total + 1);
    }
};

QTEST_GUILESS_MAIN(TestConsole)
#include "test_console.moc"
