#include "store/numberreader.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {
constexpr int Fails = std::numeric_limits<int>::min();
constexpr double Infinite = std::numeric_limits<double>::infinity();
const QString MillionNines(1'000'000, u'9');
} // namespace

class TestNumberReader : public QObject
{
    Q_OBJECT

private slots:
    // Each text as leadingNumber reads it, and as leadingInteger16 rounds it.
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("integer"); // Fails for an empty result

        QTest::newRow("2.5 halfway goes to even 2") << "2.5" << 2.5 << 2;
        QTest::newRow("3.5 halfway goes to even 4") << "3.5" << 3.5 << 4;
        QTest::newRow(".5 without a leading digit, to even 0") << ".5" << 0.5 << 0;
        QTest::newRow("blank between digits skipped") << "1 2" << 12.0 << 12;
        QTest::newRow("tab and LF between digits skipped") << "1\t2\n3" << 123.0 << 123;
        QTest::newRow("CR is not skipped") << "1\r2" << 1.0 << 1;
        QTest::newRow("hexadecimal") << "&H1F" << 31.0 << 31;
        QTest::newRow("octal in lower case") << "&o17" << 15.0 << 15;
        QTest::newRow("hexadecimal is unsigned") << "&HFFFF" << 65535.0 << Fails;
        QTest::newRow("exponent") << "1e2" << 100.0 << 100;
        QTest::newRow("fraction with exponent") << "1.5e1" << 15.0 << 15;
        QTest::newRow("plus sign") << "+7" << 7.0 << 7;
        QTest::newRow("second sign stops") << "--5" << 0.0 << 0;
        QTest::newRow("trailing letters stop") << "12abc" << 12.0 << 12;
        QTest::newRow("second point stops") << "1.9.9" << 1.9 << 2;
        QTest::newRow("exponent without digits stops") << "12e+" << 12.0 << 12;
        QTest::newRow("no number") << "x" << 0.0 << 0;
        QTest::newRow("empty") << "" << 0.0 << 0;
        QTest::newRow("largest") << "32767" << 32767.0 << 32767;
        QTest::newRow("smallest") << "-32768" << -32768.0 << -32768;
        QTest::newRow("32767.5 rounds out of range") << "32767.5" << 32767.5 << Fails;
        QTest::newRow("40000") << "40000" << 40000.0 << Fails;
        QTest::newRow("1e400 is infinite") << "1e400" << Infinite << Fails;
        QTest::newRow("a million digits") << MillionNines << Infinite << Fails;
        QTest::newRow("a million exponent digits") << "1e-" + MillionNines << 0.0 << 0;
        QTest::newRow("a million exponent digits, positive") << "1e" + MillionNines << Infinite << Fails;
        QTest::newRow("a million fraction zeros against as large an exponent")
            << "0." + QString(1'000'000, u'0') + "1e1000005" << 10000.0 << 10000;
        QTest::newRow("integer digits against a negative exponent") << "1" + QString(1000, u'0') + "e-1000" << 1.0 << 1;
        // Exactly halfway between 1 and the next double would round down to
        // even; the digit 1000 places further on must still round it up.
        QTest::newRow("far digits decide a halfway case")
            << "1.00000000000000011102230246251565404236316680908203125" + QString(1000, u'0') + "1"
            << std::nextafter(1.0, 2.0) << 1;
    }

    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(int, integer);
        // Exact, since QCOMPARE on doubles would forgive the last bits.
        const double read = NumberReader::leadingNumber(text);
        QVERIFY2(read == number, qPrintable(QString::number(read, 'g', 17)));
        const std::optional<qint16> rounded = NumberReader::leadingInteger16(text);
        if (integer == Fails)
            QVERIFY2(!rounded, qPrintable(QString::number(rounded.value_or(0))));
        else
            QCOMPARE(rounded, std::optional<qint16>(integer));
    }
};

QTEST_APPLESS_MAIN(TestNumberReader)
#include "test_numberreader.moc"
