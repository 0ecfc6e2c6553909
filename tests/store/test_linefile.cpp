#include "store/codec.h"
#include "store/linefile.h"

#include <QTest>

namespace {

const LineFileLists Lists{16, 14};

QByteArray file(const QStringList &lines)
{
    return Codec::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

// One readable line per result: missing values are "-", replaced counts end
// in "!"; an unusable file gives its reason.
QString describe(const LineFileRead &read)
{
    if (!read.data)
        return read.error;
    const std::optional<LineFileData> &d = read.data;
    auto number = [](const std::optional<int> &v, bool replaced) {
        return v ? QString::number(*v) + QString(replaced ? "!" : "") : QStringLiteral("-");
    };
    auto text = [](const std::optional<QString> &v) { return v.value_or(QStringLiteral("-")); };
    return QStringList{number(d->comPortIndex, false), number(d->baudRateIndex, false), text(d->leftOffset),
                       text(d->transparencyValue), number(d->lineCount, d->lineCountReplaced),
                       d->lineTexts.join(u','), text(d->hPos), text(d->vPos),
                       number(d->pageCount, d->pageCountReplaced)}
        .join(u'|');
}

} // namespace

class TestLineFile : public QObject
{
    Q_OBJECT

private slots:
    void writesWorkedExample()
    {
        LineFileFields fields{0, 3, "000", "0", {"HELLO"}, "00", "00", 32};
        fields.lineTexts << QStringList(10, QString());
        const QByteArray expected = "0\r\n3\r\n000\r\n0\r\n11\r\nHELLO\r\n" + QByteArray("\r\n").repeated(10)
                                  + "00\r\n00\r\n32\r\n";
        QCOMPARE(expected.size(), 57);
        QCOMPARE(writeLineFile(fields), expected);
        QCOMPARE(describe(readLineFile(expected, Lists)), "0|3|000|0|11|HELLO,,,,,,,,,,|00|00|32");
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QByteArray everyByte;
        for (int b = 1; b < 256; ++b)
            if (b != '\r' && b != '\n')
                everyByte += char(b);
        QTest::newRow("spaces at both ends survive") << "  HELLO  ";
        QTest::newRow("every byte but CR and LF") << Codec::decode(everyByte);
        QTest::newRow("300 characters") << QString(300, u'x');
    }

    void roundTrip()
    {
        QFETCH(QString, text);
        const LineFileFields fields{-1, 13, " 1 ", "\t2 ", {text, "y"}, "  ", "F F", 255};
        QCOMPARE(describe(readLineFile(writeLineFile(fields), Lists)), "-1|13|1|\t2|2|" + text + ",y||F F|255");
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QStringList head{"0", "3", "000", "0"};
        const QStringList tail{"00", "00", "32"};
        const QStringList twelve(12, QStringLiteral("t"));
        const QString readTwelve = "0|3|000|0|12!|" + twelve.join(u',') + "|00|00|32";

        QTest::newRow("empty file") << QByteArray() << "-|-|-|-|-||-|-|-";
        QTest::newRow("line count 0 becomes 12 texts") << file(head + QStringList{"0"} + twelve + tail) << readTwelve;
        QTest::newRow("line count 300 becomes 12 texts") << file(head + QStringList{"300"} + twelve + tail) << readTwelve;
        QTest::newRow("page count 0 becomes 4") << file(head + QStringList{"1", "a", "h", "v", "0"}) << "0|3|000|0|1|a|h|v|4!";
        QTest::newRow("page count 256 becomes 32") << file(head + QStringList{"1", "a", "h", "v", "256"}) << "0|3|000|0|1|a|h|v|32!";
        QTest::newRow("missing last line") << file(head + QStringList{"1", "a", "h", "v"}) << "0|3|000|0|1|a|h|v|-";
        QTest::newRow("file ends among the texts") << file(head + QStringList{"3", "a"}) << "0|3|000|0|3|a|-|-|-";
        QTest::newRow("values kept as read") << file({"0", "0", " 1 ", "2 ", "1", " a ", " h", "v ", "9"}) << "0|0| 1 |2 |1| a | h|v |9";
        QTest::newRow("surplus lines ignored") << file(head + QStringList{"1", "a", "h", "v", "7", "99999", "x"}) << "0|3|000|0|1|a|h|v|7";
        QTest::newRow("index -1 is no selection") << file({"-1", "-1"}) << "-1|-1|-|-|-||-|-|-";
        QTest::newRow("index rounds like a count") << file({"15.4", "abc"}) << "15|0|-|-|-||-|-|-";
        QTest::newRow("LF-only file is one line") << QByteArray("1\n2\n") << "12|-|-|-|-||-|-|-";
        QTest::newRow("CR alone ends a line, LF alone is a character") << QByteArray("0\r3\r\n\n1 \n\r\r\n")
                                                                       << "0|3|\n1 \n||-||-|-|-";
        QTest::newRow("port index 16 of 16 entries") << file({"16"}) << "line 1: 16 names no entry of the COM port list";
        QTest::newRow("port index -2") << file({"-2"}) << "line 1: -2 names no entry of the COM port list";
        QTest::newRow("baud index checked against its own list") << file({"0", "14"})
                                                                 << "line 2: 14 names no entry of the baud rate list";
        QTest::newRow("line count 40000") << file(head + QStringList{"40000"})
                                          << "line 5: the count \"40000\" is not a number within -32768 to 32767";
        QTest::newRow("page count 40000") << file(head + QStringList{"1", "a", "h", "v", "40000"})
                                          << "line 9: the count \"40000\" is not a number within -32768 to 32767";
    }

    // The same result whole and fed a byte at a time, so that a line end split
    // between two reads (CR in one, LF in the next) is still one end.
    void read()
    {
        QFETCH(QByteArray, bytes);
        QTEST(describe(readLineFile(bytes, Lists)), "expected");
        LineFileReader reader(Lists);
        for (qsizetype i = 0; i < bytes.size() && !reader.complete(); ++i)
            reader.feed(bytes.sliced(i, 1), false);
        reader.feed({}, true);
        QTEST(describe(reader.result()), "expected");
    }
};

QTEST_APPLESS_MAIN(TestLineFile)
#include "test_linefile.moc"
