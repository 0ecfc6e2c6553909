#include "protocol/commands.h"
#include "store/linestore.h"

#include <QTest>

namespace {

// Every table ends in: which write the port refuses (k-th, -1: all), what went
// out (hexadecimal, "|" between writes) and what the operator was told; the rig
// checks them when it goes. Lines 1, 3, 4, 5 and 256 hold A, C, D, "   ", x.
struct Rig : ByteWriter, Notifier
{
    Rig()
    {
        InitCommandCodes(codes, transparencyMin, transparencyMax);
        initReloadLineCode(codes);
        for (const auto &[index, text] : {std::pair(0, "A"), {2, "C"}, {3, "D"}, {4, "   "}, {255, "x"}})
            store.setText(index, text);
    }
    ~Rig() override
    {
        QTEST(wire.join(u'|'), "wire");
        QTEST(notices.join(u','), "notices");
    }
    bool write(const QByteArray &bytes) override
    {
        if (refuse == -1 || ++attempts == refuse)
            return false;
        wire << QString::fromLatin1(bytes.toHex().toUpper());
        return true;
    }
    void notify(Notice notice) override
    {
        notices << QStringList{"InvalidData", "InvalidValue", "OutOfRange", "SendBytesError"}.at(int(notice));
    }

    const int refuse = *static_cast<int *>(QTest::qData("refuse", QMetaType::Int));
    int attempts = 0;
    QStringList wire;
    QStringList notices;
    LineStore store;
    CommandCodes codes;
    qint16 transparencyMin = -1;
    qint16 transparencyMax = -1;
    Commands commands{*this, *this, codes};
};

// A command on an index or count, and one on a field's text, which it updates.
using IndexCommand = void (*)(Rig &, int);
using FieldCommand = void (*)(Rig &, QString &);

// The field shows its zero-filled text before the command goes out.
void sendPosition(Rig &r, const CommandCode &code, QString &text)
{
    text = Commands::zeroFilled(text, 2);
    r.commands.sendPosition(code, text);
}

template<typename Command, typename Operand>
void columns()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<Operand>("operand");
    if constexpr (std::is_same_v<Command, FieldCommand>)
        QTest::addColumn<QString>("after");
    QTest::addColumn<int>("refuse");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<QString>("notices");
}

const QString Invalid = "InvalidData";

} // namespace

Q_DECLARE_METATYPE(IndexCommand)
Q_DECLARE_METATYPE(FieldCommand)

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void lineCommands_data()
    {
        columns<IndexCommand, int>();
        const IndexCommand one = [](Rig &r, int n) { r.commands.SendLineCommand(r.store, n); };
        const IndexCommand all = [](Rig &r, int n) { r.commands.sendAllLines(r.store, n); };
        const IndexCommand clearAll = [](Rig &r, int n) { r.commands.clearAllLines(n); };
        const IndexCommand reload = [](Rig &r, int n) { r.commands.reloadLine(r.store, n, 1); }; // then page 2
        // clang-format off
        QTest::newRow("line 3") << one << 2 << 0 << "F053|3033|43|0A" << QString();
        QTest::newRow("empty line 2 is cleared, no terminator") << one << 1 << 0 << "F043|3032" << QString();
        QTest::newRow("three spaces are text") << one << 4 << 0 << "F053|3035|202020|0A" << QString();
        QTest::newRow("no selection") << one << -1 << 0 << "" << Invalid;
        QTest::newRow("line 256: number does not fit") << one << 255 << 0 << "" << Invalid;
        QTest::newRow("refused code") << one << 2 << 1 << "" << Invalid;
        QTest::newRow("refused field") << one << 2 << 2 << "F053" << Invalid;
        QTest::newRow("refused text") << one << 2 << 3 << "F053|3033" << Invalid;
        QTest::newRow("refused terminator") << one << 2 << 4 << "F053|3033|43" << Invalid;
        QTest::newRow("empty line, refused clear: silent") << one << 1 << 1 << "" << QString();
        QTest::newRow("all 3 go on after a refusal") << all << 3 << 2 << "F053|F043|3032|F053|3033|43|0A" << Invalid;
        QTest::newRow("clearing all 2 goes on, silently") << clearAll << 2 << 1 << "F043|3032" << QString();
        QTest::newRow("reload line 3, then the page") << reload << 2 << 0 << "F04C|3033|F070|3032" << QString();
        QTest::newRow("refused reload stops before the page") << reload << 2 << 2 << "F04C" << Invalid;
        QTest::newRow("empty line: refused clear is silent, the page follows") << reload << 1 << 1 << "F070|3032" << QString();
        // clang-format on
    }

    void lineCommands() { indexCommand(); }

    void pageCommands_data()
    {
        columns<IndexCommand, int>();
        const IndexCommand select = [](Rig &r, int n) { r.commands.SendPageCommand(r.codes.CmdSelectPage, n); };
        const IndexCommand reload = [](Rig &r, int n) { r.commands.SendPageCommand(r.codes.CmdReloadPage, n); };
        const IndexCommand on = [](Rig &r, int n) { r.commands.SendCursorCommand(r.codes.CmdCursorOn, n); };
        const IndexCommand off = [](Rig &r, int n) { r.commands.SendCursorCommand(r.codes.CmdCursorOff, n); };
        const IndexCommand osdOff = [](Rig &r, int) { r.commands.turnOsdOff(); };
        // clang-format off
        QTest::newRow("select page 32, lower p") << select << 31 << 0 << "F070|3230" << QString();
        QTest::newRow("reload page 11, upper P") << reload << 10 << 0 << "F050|3042" << QString();
        QTest::newRow("no selection is 00") << select << -1 << 0 << "F070|3030" << QString();
        QTest::newRow("refused field") << reload << 0 << 2 << "F050" << Invalid;
        QTest::newRow("cursor on line 255, upper T") << on << 254 << 0 << "F054|4646" << QString();
        QTest::newRow("cursor off line 1, lower t") << off << 0 << 0 << "F074|3031" << QString();
        QTest::newRow("OSD off is BD alone") << osdOff << 0 << 0 << "BD" << QString();
        QTest::newRow("OSD off refused: silent") << osdOff << 0 << 1 << "" << QString();
        QTest::newRow("index -2 does not fit") << select << -2 << 0 << "" << Invalid;
        QTest::newRow("index INT_MAX does not fit") << select << INT_MAX << 0 << "" << Invalid;
        // clang-format on
    }

    void pageCommands() { indexCommand(); }

    // Positions: two hexadecimal digits, one zero-filled. Left offset: three
    // characters, zero-filled, unchecked. Transparency: 0 .. 15, one digit.
    void valueCommands_data()
    {
        columns<FieldCommand, QString>();
        const FieldCommand h = [](Rig &r, QString &text) { sendPosition(r, r.codes.CmdHPos, text); };
        const FieldCommand v = [](Rig &r, QString &text) { sendPosition(r, r.codes.CmdVPos, text); };
        const FieldCommand offset = [](Rig &r, QString &text) {
            text = Commands::zeroFilled(text, 3);
            if (!r.commands.sendLeftOffset(text))
                text += ", lines must not follow";
        };
        const FieldCommand transparency = [](Rig &r, QString &text) {
            r.commands.sendTransparency(text, r.transparencyMin, r.transparencyMax);
        };
        // clang-format off
        QTest::newRow("H lower case goes out as typed") << h << "1a" << "1a" << 0 << "F048|3161" << QString();
        QTest::newRow("V 7 zero-filled") << v << "7" << "07" << 0 << "F056|3037" << QString();
        QTest::newRow("H g filled, then refused") << h << "g" << "0g" << 0 << "" << "InvalidValue";
        QTest::newRow("H empty writes nothing") << h << "" << "" << 0 << "" << QString();
        QTest::newRow("H Arabic-Indic digits are no digits") << h << u"\u0660\u0661"_qs << u"\u0660\u0661"_qs << 0 << "" << "InvalidValue";
        QTest::newRow("H refused operand keeps the code") << h << "FF" << "FF" << 2 << "F048" << "InvalidValue";
        QTest::newRow("offset 1 to 001") << offset << "1" << "001" << 0 << "F04F|303031" << QString();
        QTest::newRow("offset unchecked: zz to 0zz") << offset << "zz" << "0zz" << 0 << "F04F|307A7A" << QString();
        QTest::newRow("offset empty: lines only") << offset << "" << "" << 0 << "" << QString();
        QTest::newRow("offset refused") << offset << "1" << "001, lines must not follow" << 1 << "" << Invalid;
        QTest::newRow("transparency 10 is A") << transparency << "10" << "10" << 0 << "F042|41" << QString();
        QTest::newRow("transparency 15 is F") << transparency << "15" << "15" << 0 << "F042|46" << QString();
        QTest::newRow("transparency 16") << transparency << "16" << "16" << 0 << "" << "OutOfRange";
        QTest::newRow("transparency -1") << transparency << "-1" << "-1" << 0 << "" << "OutOfRange";
        QTest::newRow("transparency 15.2 is above") << transparency << "15.2" << "15.2" << 0 << "" << "OutOfRange";
        QTest::newRow("transparency .5 halfway to even 0") << transparency << ".5" << ".5" << 0 << "F042|30" << QString();
        QTest::newRow("transparency .6 to 1") << transparency << ".6" << ".6" << 0 << "F042|31" << QString();
        QTest::newRow("transparency empty") << transparency << "" << "" << 0 << "" << QString();
        QTest::newRow("transparency refused digit") << transparency << "9" << "9" << 2 << "F042" << Invalid;
        // clang-format on
    }

    void valueCommands() { fieldCommand(); }

    // Send Byte: each pair of hexadecimal digits one byte, one write each.
    void hexBytes_data()
    {
        columns<FieldCommand, QString>();
        const FieldCommand bytes = [](Rig &r, QString &text) { r.commands.SendHexBytes(text); };
        const char *error = "SendBytesError";
        // clang-format off
        QTest::newRow("lower case, odd last alone") << bytes << "abc" << "abc" << 0 << "AB|0C" << QString();
        QTest::newRow("bad pair keeps earlier bytes") << bytes << "1A1G" << "1A1G" << 0 << "1A" << error;
        QTest::newRow("a blank is part of a pair") << bytes << "1A 2B" << "1A 2B" << 0 << "1A" << error;
        QTest::newRow("empty sends nothing, silently") << bytes << "" << "" << 0 << "" << QString();
        QTest::newRow("refused byte stops") << bytes << "1A2B3C" << "1A2B3C" << 2 << "1A" << error;
        // clang-format on
    }

    void hexBytes() { fieldCommand(); }

private:
    static void indexCommand()
    {
        QFETCH(IndexCommand, command);
        QFETCH(int, operand);
        Rig rig;
        command(rig, operand);
    }

    static void fieldCommand()
    {
        QFETCH(FieldCommand, command);
        QFETCH(QString, operand);
        Rig rig;
        command(rig, operand);
        QTEST(operand, "after");
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "test_commands.moc"
