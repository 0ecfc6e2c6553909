#include "portmap.h"

#include <QMap>
#include <QTest>

using Environment = QMap<QString, QString>;
Q_DECLARE_METATYPE(Environment)

class TestPortMap : public QObject
{
    Q_OBJECT

private slots:
    void orderedDevices_data();
    void orderedDevices();
    void deviceFor_data();
    void deviceFor();
};

void TestPortMap::orderedDevices_data()
{
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<QStringList>("ordered");

    QTest::newRow("USB, then ACM, then the rest")
        << QStringList{"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyUSB0", "/dev/rfcomm0"}
        << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/rfcomm0", "/dev/ttyS0"};
    QTest::newRow("numbers compare as numbers")
        << QStringList{"/dev/ttyUSB10", "/dev/ttyS10", "/dev/ttyUSB2", "/dev/ttyACM10", "/dev/ttyS2", "/dev/ttyACM2"}
        << QStringList{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM2", "/dev/ttyACM10", "/dev/ttyS2", "/dev/ttyS10"};
    QTest::newRow("a name that only starts like an adapter is one of the rest")
        << QStringList{"/dev/ttyUSBserial", "/dev/ttyAMA0", "/dev/ttyUSB3"}
        << QStringList{"/dev/ttyUSB3", "/dev/ttyAMA0", "/dev/ttyUSBserial"};
    QTest::newRow("no devices") << QStringList{} << QStringList{};
}

void TestPortMap::orderedDevices()
{
    QFETCH(QStringList, reported);
    QFETCH(QStringList, ordered);
    QCOMPARE(PortMap::orderedDevices(reported), ordered);
}

void TestPortMap::deviceFor_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<Environment>("environment");
    QTest::addColumn<QString>("device");

    const QStringList two{"/dev/ttyUSB0", "/dev/ttyACM0"};
    QTest::newRow("COM 1 is the first device") << 1 << two << Environment{} << "/dev/ttyUSB0";
    QTest::newRow("COM 2 is the second") << 2 << two << Environment{} << "/dev/ttyACM0";
    QTest::newRow("beyond the list") << 3 << two << Environment{} << "";
    QTest::newRow("nothing there") << 1 << QStringList{} << Environment{} << "";
    QTest::newRow("the variable wins over the list")
        << 1 << two << Environment{{"QUILLANE_COM1", "/dev/pts/7"}} << "/dev/pts/7";
    QTest::newRow("COM 10 by its variable")
        << 10 << two << Environment{{"QUILLANE_COM10", "/dev/ttyS4"}} << "/dev/ttyS4";
    QTest::newRow("another port's variable does not count")
        << 2 << two << Environment{{"QUILLANE_COM1", "/dev/pts/7"}} << "/dev/ttyACM0";
    QTest::newRow("port 0 is none") << 0 << two << Environment{{"QUILLANE_COM0", "/dev/pts/7"}} << "";
    QTest::newRow("port 17 is none") << 17 << two << Environment{{"QUILLANE_COM17", "/dev/pts/7"}} << "";
}

void TestPortMap::deviceFor()
{
    QFETCH(int, n);
    QFETCH(QStringList, devices);
    QFETCH(Environment, environment);
    QFETCH(QString, device);

    const auto lookup = [&environment](const QString &name) { return environment.value(name); };
    QCOMPARE(PortMap::deviceFor(n, devices, lookup), device);
}

QTEST_GUILESS_MAIN(TestPortMap)
#include "test_portmap.moc"
