#include "protocol/commands.h"
#include "store/linestore.h"

#include <QStringList>
#include <QTest>

namespace {

// Keeps each accepted write as its own piece, in hexadecimal. refuse "k"
// refuses the k-th write only, "all" every write (a port that went away).
struct RecordingWriter : ByteWriter
{
    explicit RecordingWriter(const QString &refuse) : refuse(refuse) {}

    bool write(const QByteArray &bytes) override
    {
        if (refuse == u"all" || ++attempts == refuse.toInt())
            return false;
        pieces.append(QString::fromLatin1(bytes.toHex().toUpper()));
        return true;
    }

    QString refuse;
    int attempts = 0;
    QStringList pieces;
};

struct RecordingNotifier : Notifier
{
    void notify(Notice notice) override
    {
        static const char *const Names[] = {"InvalidData", "InvalidValue", "OutOfRange", "SendBytesError"};
        notices.append(QString::fromLatin1(Names[static_cast<int>(notice)]));
    }

    QStringList notices;
};

struct Rig
{
    explicit Rig(const QString &refuse) : writer(refuse)
    {
        InitCommandCodes(codes, transparencyMin, transparencyMax);
        initReloadLineCode(codes);
    }

    // What went out, one group per write, and what the operator was told.
    void check() const
    {
        QTEST(writer.pieces.join(u'|'), "wire");
        QTEST(notifier.notices.join(u','), "notices");
    }

    RecordingWriter writer;
    RecordingNotifier notifier;
    CommandCodes codes;
    qint16 transparencyMin = -1;
    qint16 transparencyMax = -1;
    Commands commands{writer, notifier, codes};
};

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void numberField_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("field"); // empty: no field

        QTest::newRow("line 1 is 01") << 0 << QByteArray("01");
        QTest::newRow("line 11 is 0B") << 10 << QByteArray("0B");
        QTest::newRow("page 32 is 20") << 31 << QByteArray("20");
        QTest::newRow("number 255 is FF") << 254 << QByteArray("FF");
        QTest::newRow("no selection is 00") << -1 << QByteArray("00");
        QTest::newRow("number 256 does not fit") << 255 << QByteArray();
        QTest::newRow("below -1") << -2 << QByteArray();
        QTest::newRow("int max does not wrap") << std::numeric_limits<int>::max() << QByteArray();
    }

    void numberField()
    {
        QFETCH(int, index);
        QTEST(::numberField(index).value_or(QByteArray()), "field");
    }

    void lineAndPageCommands_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("other"); // page index, or the line count of the "all" commands
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("refuse");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("notices");

        const QStringList onlyFirst{"AB"};
        const QStringList third{"", "", "AB"};
        const QString invalid = "InvalidData";

        QTest::newRow("send line 3 AB") << "line" << 2 << 0 << third << "" << "F053|3033|4142|0A" << "";
        QTest::newRow("three spaces are text") << "line" << 0 << 0 << QStringList{"   "} << "" << "F053|3031|202020|0A" << "";
        QTest::newRow("empty line is cleared, no terminator") << "line" << 1 << 0 << third << "" << "F043|3032" << "";
        QTest::newRow("outside Windows-1252 is 3F") << "line" << 0 << 0 << QStringList{u"Ж€"_qs} << "" << "F053|3031|3F80|0A" << "";
        QTest::newRow("send no selection writes nothing") << "line" << -1 << 0 << onlyFirst << "" << "" << invalid;
        QTest::newRow("send line 256: number does not fit") << "line" << 255 << 0 << QStringList(256, "x") << "" << "" << invalid;
        QTest::newRow("send empty line 256: silent clear failure") << "line" << 255 << 0 << QStringList() << "" << "" << "";
        QTest::newRow("send index 256") << "line" << 256 << 0 << onlyFirst << "" << "" << invalid;
        QTest::newRow("send refused code") << "line" << 2 << 0 << third << "1" << "" << invalid;
        QTest::newRow("send refused field") << "line" << 2 << 0 << third << "2" << "F053" << invalid;
        QTest::newRow("send refused text") << "line" << 2 << 0 << third << "3" << "F053|3033" << invalid;
        QTest::newRow("send refused terminator") << "line" << 2 << 0 << third << "4" << "F053|3033|4142" << invalid;
        QTest::newRow("send empty line refused is silent") << "line" << 0 << 0 << QStringList() << "1" << "" << "";

        QTest::newRow("clear line 11") << "clear" << 10 << 0 << QStringList() << "" << "F043|3042" << "";
        QTest::newRow("clear refused is silent") << "clear" << 0 << 0 << QStringList() << "2" << "F043" << "";

        QTest::newRow("send all, line count 1") << "all" << 0 << 1 << QStringList{"A", "B"} << "" << "F053|3031|41|0A" << "";
        QTest::newRow("send all goes on after a refusal")
            << "all" << 0 << 3 << QStringList{"A", "", "C"} << "2" << "F053|F043|3032|F053|3033|43|0A" << invalid;
        QTest::newRow("send all, port gone: one notice per text line")
            << "all" << 0 << 4 << QStringList{"A", "", "C", "D"} << "all" << "" << "InvalidData,InvalidData,InvalidData";
        QTest::newRow("clear all, line count 1") << "clearAll" << 0 << 1 << QStringList() << "" << "F043|3031" << "";
        QTest::newRow("clear all goes on, silently") << "clearAll" << 0 << 2 << QStringList() << "1" << "F043|3032" << "";
        QTest::newRow("clear all, port gone") << "clearAll" << 0 << 3 << QStringList() << "all" << "" << "";

        QTest::newRow("reload line 3 with text, page 2") << "reload" << 2 << 1 << third << "" << "F04C|3033|F070|3032" << "";
        QTest::newRow("reload line 3 empty clears") << "reload" << 2 << 1 << QStringList() << "" << "F043|3033|F070|3032" << "";
        QTest::newRow("reload no selection") << "reload" << -1 << 1 << onlyFirst << "" << "" << invalid;
        QTest::newRow("reload refused stops before the page") << "reload" << 2 << 1 << third << "2" << "F04C" << invalid;
        QTest::newRow("reload silent clear failure, page follows") << "reload" << 2 << 1 << QStringList() << "1" << "F070|3032" << "";
        QTest::newRow("reload refused page") << "reload" << 2 << 1 << third << "4" << "F04C|3033|F070" << invalid;

        QTest::newRow("select page 5 lower p") << "selectPage" << 4 << 0 << QStringList() << "" << "F070|3035" << "";
        QTest::newRow("reload page 12 upper P") << "reloadPage" << 11 << 0 << QStringList() << "" << "F050|3043" << "";
        QTest::newRow("page refused field") << "reloadPage" << 0 << 0 << QStringList() << "2" << "F050" << invalid;
        QTest::newRow("cursor on line 4 upper T") << "cursorOn" << 3 << 0 << QStringList() << "" << "F054|3034" << "";
        QTest::newRow("cursor off line 4 lower t") << "cursorOff" << 3 << 0 << QStringList() << "" << "F074|3034" << "";
        QTest::newRow("cursor number does not fit") << "cursorOn" << 255 << 0 << QStringList() << "" << "" << invalid;
        QTest::newRow("cursor refused code") << "cursorOff" << 0 << 0 << QStringList() << "1" << "" << invalid;
        QTest::newRow("OSD off is BD alone") << "osdOff" << 0 << 0 << QStringList() << "" << "BD" << "";
        QTest::newRow("OSD off refused is silent") << "osdOff" << 0 << 0 << QStringList() << "1" << "" << "";
    }

    void lineAndPageCommands()
    {
        QFETCH(QString, action);
        QFETCH(int, index);
        QFETCH(int, other);
        QFETCH(QStringList, lines);
        QFETCH(QString, refuse);

        Rig rig(refuse);
        LineStore store;
        for (int i = 0; i < lines.size(); ++i)
            store.setText(i, lines[i]);
        Commands &c = rig.commands;
        if (action == "line")
            c.SendLineCommand(store, index);
        else if (action == "clear")
            QCOMPARE(c.SendClearLineCommand(index), refuse.isEmpty());
        else if (action == "all")
            c.sendAllLines(store, other);
        else if (action == "clearAll")
            c.clearAllLines(other);
        else if (action == "reload")
            c.reloadLine(store, index, other);
        else if (action == "selectPage")
            c.SendPageCommand(rig.codes.CmdSelectPage, index);
        else if (action == "reloadPage")
            c.SendPageCommand(rig.codes.CmdReloadPage, index);
        else if (action == "cursorOn")
            c.SendCursorCommand(rig.codes.CmdCursorOn, index);
        else if (action == "cursorOff")
            c.SendCursorCommand(rig.codes.CmdCursorOff, index);
        else if (action == "osdOff")
            c.turnOsdOff();
        else
            QFAIL("unknown action");
        rig.check();
    }

    // The commands that take a field's text: positions, left offset,
    // transparency and the raw bytes of Send Byte.
    void fieldCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refuse");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("notices");
        QTest::addColumn<QString>("after"); // the field's text afterwards, where the command changes it
        QTest::addColumn<bool>("sendLines");

        auto row = [](const char *name, const char *command, const QString &text, const char *refuse,
                      const char *wire, const char *notices, const QString &after, bool sendLines = false) {
            QTest::newRow(name) << command << text << refuse << wire << notices << after << sendLines;
        };
        row("H 1A", "H", "1A", "", "F048|3141", "", "1A");
        row("H lower case stays", "H", "1a", "", "F048|3161", "", "1a");
        row("H 7 zero-filled", "H", "7", "", "F048|3037", "", "07");
        row("H g filled, then refused", "H", "g", "", "", "InvalidValue", "0g");
        row("H other scripts' digits", "H", u"١٢"_qs, "", "", "InvalidValue", u"١٢"_qs);
        row("H empty writes nothing", "H", "", "", "", "", "");
        row("H beyond two ignored", "H", "12Z", "", "F048|3132", "", "12Z");
        row("H refused code", "H", "1A", "1", "", "InvalidValue", "1A");
        row("H refused operand keeps code", "H", "1A", "2", "F048", "InvalidValue", "1A");
        row("V FF", "V", "FF", "", "F056|4646", "", "FF");

        row("offset 3FF", "O", "3FF", "", "F04F|334646", "", "3FF", true);
        row("offset 1 to 001", "O", "1", "", "F04F|303031", "", "001", true);
        row("offset 2a to 02a", "O", "2a", "", "F04F|303261", "", "02a", true);
        row("offset empty: lines only", "O", "", "", "", "", "", true);
        row("offset unchecked, long", "O", "ZZZZ", "", "F04F|5A5A5A5A", "", "ZZZZ", true);
        row("offset refused code", "O", "1", "1", "", "InvalidData", "001");
        row("offset refused text", "O", "3FF", "2", "F04F", "InvalidData", "3FF");

        row("transparency 0", "B", "0", "", "F042|30", "", "0");
        row("transparency 9", "B", "9", "", "F042|39", "", "9");
        row("transparency 10 is A", "B", "10", "", "F042|41", "", "10");
        row("transparency 15 is F", "B", "15", "", "F042|46", "", "15");
        row("transparency 16", "B", "16", "", "", "OutOfRange", "16");
        row("transparency -1", "B", "-1", "", "", "OutOfRange", "-1");
        row("transparency 15.2 above", "B", "15.2", "", "", "OutOfRange", "15.2");
        row("transparency .5 halfway to even 0", "B", ".5", "", "F042|30", "", ".5");
        row("transparency .6 to 1", "B", ".6", "", "F042|31", "", ".6");
        row("transparency blanks skipped", "B", "1 2", "", "F042|43", "", "1 2");
        row("transparency empty", "B", "", "", "", "", "");
        row("transparency refused digit", "B", "9", "2", "F042", "InvalidData", "9");

        const char *error = "SendBytesError";
        row("bytes 1A2B", "X", "1A2B", "", "1A|2B", "", "1A2B");
        row("bytes: odd last alone", "X", "abc", "", "AB|0C", "", "abc");
        row("bytes 00FF", "X", "00FF", "", "00|FF", "", "00FF");
        row("bytes in lower case", "X", "abcdef", "", "AB|CD|EF", "", "abcdef");
        row("bad pair keeps earlier bytes", "X", "1A1G", "", "1A", error, "1A1G");
        row("blank is part of a pair", "X", "1A 2B", "", "1A", error, "1A 2B");
        row("bad odd last", "X", "1AG", "", "1A", error, "1AG");
        row("no bytes", "X", "", "", "", "", "");
        row("refused byte stops", "X", "1A2B3C", "2", "1A", error, "1A2B3C");
    }

    void fieldCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(QString, refuse);

        Rig rig(refuse);
        QString after = text;
        if (command == "H" || command == "V") {
            after = rig.commands.sendPosition(command == "H" ? rig.codes.CmdHPos : rig.codes.CmdVPos, text);
        } else if (command == "O") {
            const Commands::LeftOffsetResult result = rig.commands.sendLeftOffset(text);
            after = result.fieldText;
            QTEST(result.sendLines, "sendLines");
        } else if (command == "B") {
            rig.commands.sendTransparency(text, rig.transparencyMin, rig.transparencyMax);
        } else {
            rig.commands.SendHexBytes(text);
        }
        rig.check();
        QTEST(after, "after");
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "test_commands.moc"
