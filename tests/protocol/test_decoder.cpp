// The decoder against the builders: whatever a builder writes decodes back to
// the command it built, and any stream decodes to items that give it back.
#include "protocol/commands.h"
#include "protocol/decoder.h"
#include "store/linestore.h"

#include <QTest>

namespace {

struct Wire : ByteWriter, Notifier, CommandRecorder
{
    bool write(const QByteArray &bytes) override
    {
        stream += bytes;
        return true;
    }
    void notify(Notice) override {}
    // Built commands come as the pieces written; the decoder gives whole bytes.
    void commandSent(const SentCommand &command, bool) override
    {
        sent.append(command);
        sent.last().bytes = command.wholeBytes();
        sent.last().pieces.clear();
    }

    QByteArray stream;
    QList<SentCommand> sent;
};

QString describe(const QList<SentCommand> &commands)
{
    QStringList lines;
    for (const SentCommand &c : commands)
        lines << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(int(c.kind))
                     .arg(c.number)
                     .arg(QString::fromLatin1(c.operand.toHex()), QString::fromLatin1(c.bytes.toHex()))
                     .arg(c.incomplete);
    return lines.join(u'\n');
}

} // namespace

class TestDecoder : public QObject
{
    Q_OBJECT

private slots:
    // Every command any builder can write: each recorded command decodes to
    // itself, and the whole stream to the list of them.
    void buildersRoundTrip()
    {
        Wire wire;
        CommandCodes codes;
        qint16 low = 0, high = 0;
        InitCommandCodes(codes, low, high);
        initReloadLineCode(codes);
        Commands commands(wire, wire, codes);
        commands.setRecorder(&wire);
        LineStore store;
        for (int i = 0; i < 255; ++i)
            store.setText(i, i % 3 ? QString(i % 256, QChar(u'A' + i % 26)) : QStringLiteral("Ü€ x"));
        for (int i = -1; i < 255; ++i) {
            commands.SendLineCommand(store, i);
            commands.SendClearLineCommand(i);
            commands.reloadLine(store, i, i);
            commands.SendPageCommand(codes.CmdReloadPage, i);
            commands.SendCursorCommand(codes.CmdCursorOn, i);
            commands.SendCursorCommand(codes.CmdCursorOff, i);
            const QString hex = QString::number(i & 0xFF, 16).rightJustified(2, u'0');
            commands.sendPosition(codes.CmdHPos, hex);
            commands.sendPosition(codes.CmdVPos, hex.toUpper());
            commands.sendLeftOffset(Commands::zeroFilled(QString::number(i * 4 & 0x3FF, 16), 3));
        }
        for (int t = 0; t <= 15; ++t)
            commands.sendTransparency(QString::number(t), low, high);
        commands.turnOsdOff();

        QVERIFY(wire.sent.size() > 2000);
        QByteArray joined;
        for (const SentCommand &command : wire.sent) {
            QCOMPARE(describe(decodeCommands(command.bytes)), describe({command}));
            joined += command.bytes;
        }
        QCOMPARE(joined, wire.stream);
        QCOMPARE(describe(decodeCommands(wire.stream)), describe(wire.sent));
    }

    void words_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("words");
        auto hex = [](const char *spaced) { return QByteArray::fromHex(spaced); };
        QTest::newRow("line 3 text AB") << hex("F0 53 30 33 41 42 0A") << QStringList{"Set line 3 to \"AB\""};
        QTest::newRow("clear line 11") << hex("F0 43 30 42") << QStringList{"Clear line 11"};
        QTest::newRow("reload line 3, select page 1")
            << hex("F0 4C 30 33 F0 70 30 31") << QStringList{"Reload line 3", "Select page 1"};
        QTest::newRow("page 32, no page selected")
            << hex("F0 70 32 30 F0 50 30 30") << QStringList{"Select page 32", "Reload page 0"};
        QTest::newRow("cursor on and off at line 4")
            << hex("F0 54 30 34 F0 74 30 34") << QStringList{"Cursor on at line 4", "Cursor off at line 4"};
        QTest::newRow("positions") << hex("F0 48 31 41 F0 56 30 37")
                                   << QStringList{"Horizontal position 1A", "Vertical position 07"};
        QTest::newRow("offset 3FF, transparency 10")
            << hex("F0 4F 33 46 46 F0 42 41") << QStringList{"Left offset 3FF", "Background transparency 10"};
        QTest::newRow("OSD off between raw bytes")
            << hex("0D BD 0A") << QStringList{"Raw bytes", "OSD off", "Raw bytes"};
        QTest::newRow("malformed number field") << hex("F0 43 3F 61") << QStringList{"Clear line ??"};
        QTest::newRow("unknown letter is raw") << hex("F0 5A 30 31") << QStringList{"Raw bytes"};
        QTest::newRow("stream ends inside a line")
            << hex("F0 53 30 31 41") << QStringList{"Set line 1 to \"A\" (incomplete)"};
        QTest::newRow("stream ends inside a field") << hex("F0 70 30") << QStringList{"Select page ?? (incomplete)"};
    }

    void words()
    {
        QFETCH(QByteArray, bytes);
        QStringList seen;
        QByteArray joined; // nothing lost, added or reordered (fuzz_decoder tries any bytes)
        for (const SentCommand &command : decodeCommands(bytes)) {
            seen << commandWords(command);
            joined += command.bytes;
        }
        QTEST(seen, "words");
        QCOMPARE(joined, bytes);
    }
};

QTEST_APPLESS_MAIN(TestDecoder)
#include "test_decoder.moc"
