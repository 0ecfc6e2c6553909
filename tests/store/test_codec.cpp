#include "codec.h"

#include <QTest>

class TestCodec : public QObject
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void fixedPairs_data();
    void fixedPairs();
    void unrepresentable_data();
    void unrepresentable();
};

void TestCodec::everyByteRoundTrips()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString text = Codec::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(Codec::encode(text), all);
}

void TestCodec::fixedPairs_data()
{
    QTest::addColumn<QByteArray>("byte");
    QTest::addColumn<QString>("character");
    QTest::newRow("0x80 is the euro sign") << QByteArray("\x80") << QString(QChar(0x20AC));
    QTest::newRow("0x9F is Y with diaeresis") << QByteArray("\x9F") << QString(QChar(0x0178));
    QTest::newRow("unassigned 0x81 is the C1 control") << QByteArray("\x81") << QString(QChar(0x0081));
    QTest::newRow("upper half of Latin-1 unchanged") << QByteArray("\xE9") << QString(QChar(0x00E9));
}

void TestCodec::fixedPairs()
{
    QFETCH(QByteArray, byte);
    QFETCH(QString, character);
    QCOMPARE(Codec::decode(byte), character);
    QCOMPARE(Codec::encode(character), byte);
}

void TestCodec::unrepresentable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("U+0100 between ASCII") << QStringLiteral("A\u0100B") << QByteArray("A?B");
    QTest::newRow("CJK character") << QStringLiteral("\u4E2D") << QByteArray("?");
    QTest::newRow("U+0080 whose byte holds the euro") << QStringLiteral("\u0080") << QByteArray("?");
    QTest::newRow("emoji surrogate pair is one character") << QStringLiteral("\U0001F600!") << QByteArray("?!");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + u'x' << QByteArray("?x");
    QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) << QByteArray("?");
}

void TestCodec::unrepresentable()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Codec::encode(text), bytes);
}

QTEST_APPLESS_MAIN(TestCodec)
#include "test_codec.moc"
