#include "store/codec.h"

#include <QTest>

class TestCodec : public QObject
{
    Q_OBJECT

private slots:
    // Every byte decodes to a character of its own and encodes back to
    // itself, so the decodings pinned here pin their encodings too.
    void everyByteRoundTrips()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString text = Codec::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Codec::encode(text), all);
        QCOMPARE(text[0x80], QChar(0x20AC)); // the euro sign, where Windows-1252 differs from Latin-1
        QCOMPARE(text[0x81], QChar(0x0081)); // unassigned there, so the C1 control
        QCOMPARE(text[0x9F], QChar(0x0178)); // the last byte that differs
        QCOMPARE(text[0xE9], QChar(0x00E9)); // the upper half of Latin-1 unchanged
    }

    void unrepresentable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("U+0100 between ASCII") << QStringLiteral("A\u0100B") << QByteArray("A?B");
        QTest::newRow("U+0080 whose byte holds the euro") << QStringLiteral("\u0080") << QByteArray("?");
        QTest::newRow("emoji surrogate pair is one character") << QStringLiteral("\U0001F600!") << QByteArray("?!");
        QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + u'x' << QByteArray("?x");
    }

    void unrepresentable()
    {
        QFETCH(QString, text);
        QTEST(Codec::encode(text), "bytes");
    }
};

QTEST_APPLESS_MAIN(TestCodec)
#include "test_codec.moc"
