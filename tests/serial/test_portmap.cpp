#include "serial/portmap.h"

#include <QMap>
#include <QTest>

using Environment = QMap<QString, QString>;
Q_DECLARE_METATYPE(Environment)

class TestPortMap : public QObject
{
    Q_OBJECT

private slots:
    void orderedDevices_data()
    {
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<QStringList>("ordered");

        QTest::newRow("USB, then ACM, then the rest, ttyUSBserial among the rest")
            << QStringList{"/dev/ttyS0", "/dev/ttyUSBserial", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyUSB0", "/dev/rfcomm0"}
            << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/rfcomm0", "/dev/ttyS0", "/dev/ttyUSBserial"};
        QTest::newRow("numbers compare as numbers")
            << QStringList{"/dev/ttyUSB10", "/dev/ttyS10", "/dev/ttyUSB2", "/dev/ttyACM10", "/dev/ttyS2", "/dev/ttyACM2"}
            << QStringList{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM2", "/dev/ttyACM10", "/dev/ttyS2", "/dev/ttyS10"};
    }

    void orderedDevices()
    {
        QFETCH(QStringList, reported);
        QTEST(PortMap::orderedDevices(reported), "ordered");
    }

    // Two devices are found: /dev/ttyUSB0 and /dev/ttyACM0.
    void deviceFor_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<Environment>("environment");
        QTest::addColumn<QString>("device");

        QTest::newRow("COM 1 is the first device") << 1 << Environment{} << "/dev/ttyUSB0";
        QTest::newRow("COM 2 is the second") << 2 << Environment{} << "/dev/ttyACM0";
        QTest::newRow("beyond the list") << 3 << Environment{} << "";
        QTest::newRow("the variable wins over the list") << 1 << Environment{{"QUILLANE_COM1", "/dev/pts/7"}} << "/dev/pts/7";
        QTest::newRow("COM 10 by its variable") << 10 << Environment{{"QUILLANE_COM10", "/dev/ttyS4"}} << "/dev/ttyS4";
        QTest::newRow("another port's variable does not count")
            << 2 << Environment{{"QUILLANE_COM1", "/dev/pts/7"}} << "/dev/ttyACM0";
        QTest::newRow("port 0 is none") << 0 << Environment{{"QUILLANE_COM0", "/dev/pts/7"}} << "";
        QTest::newRow("port 17 is none") << 17 << Environment{{"QUILLANE_COM17", "/dev/pts/7"}} << "";
    }

    void deviceFor()
    {
        QFETCH(int, n);
        QFETCH(Environment, environment);
        const auto lookup = [&environment](const QString &name) { return environment.value(name); };
        QTEST(PortMap::deviceFor(n, {"/dev/ttyUSB0", "/dev/ttyACM0"}, lookup), "device");
    }
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "test_portmap.moc"
