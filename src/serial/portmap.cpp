#include "serial/portmap.h"

#include "serial/localport.h"
#include "serial/networkport.h"
#include "serial/portaddress.h"
#include "store/digits.h"

#include <QSerialPortInfo>
#include <QSettings>

#include <algorithm>

namespace {

using PortMap::HighestPort;

const QString MapGroup = QStringLiteral("Ports");

QString mapKey(int n)
{
    return QStringLiteral("COM%1").arg(n);
}

QString environmentValue(const QString &name)
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QStringView fileName(const QString &path)
{
    return QStringView(path).mid(path.lastIndexOf(u'/') + 1);
}

bool isDigit(QChar c)
{
    return isDecimalDigit(c.unicode());
}

// Runs of digits compare by value, so ttyUSB2 comes before ttyUSB10.
int compareNatural(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            while (i < a.size() && a[i] == u'0')
                ++i;
            while (j < b.size() && b[j] == u'0')
                ++j;
            qsizetype endA = i;
            qsizetype endB = j;
            while (endA < a.size() && isDigit(a[endA]))
                ++endA;
            while (endB < b.size() && isDigit(b[endB]))
                ++endB;
            if (endA - i != endB - j)
                return endA - i < endB - j ? -1 : 1;
            if (const int order = a.mid(i, endA - i).compare(b.mid(j, endB - j)); order != 0)
                return order;
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j] ? -1 : 1;
            ++i;
            ++j;
        }
    }
    return (a.size() - i > 0) - (b.size() - j > 0);
}

// USB adapters first, then ACM adapters, then the rest.
int group(QStringView name)
{
    const auto numbered = [name](QStringView prefix) {
        return name.startsWith(prefix) && name.size() > prefix.size()
               && std::all_of(name.begin() + prefix.size(), name.end(), isDigit);
    };
    if (numbered(u"ttyUSB"))
        return 0;
    if (numbered(u"ttyACM"))
        return 1;
    return 2;
}

} // namespace

namespace PortMap {

QStringList orderedDevices(QStringList devices)
{
    std::sort(devices.begin(), devices.end(), [](const QString &a, const QString &b) {
        const QStringView nameA = fileName(a);
        const QStringView nameB = fileName(b);
        if (const int groupA = group(nameA), groupB = group(nameB); groupA != groupB)
            return groupA < groupB;
        if (const int order = compareNatural(nameA, nameB); order != 0)
            return order < 0;
        return a < b;
    });
    return devices;
}

QString deviceFor(int n, const QStringList &orderedDevices, const std::function<QString(const QString &)> &lookupEnv,
                  const QStringList &map)
{
    if (n < 1 || n > HighestPort)
        return {};
#ifndef Q_OS_WIN
    if (QString chosen = lookupEnv(QStringLiteral("QUILLANE_COM%1").arg(n)); !chosen.isEmpty())
        return chosen;
#endif
    if (QString mapped = map.value(n - 1).trimmed(); !mapped.isEmpty())
        return mapped;
#ifdef Q_OS_WIN
    Q_UNUSED(orderedDevices)
    Q_UNUSED(lookupEnv)
    return QStringLiteral("COM%1").arg(n);
#else
    return n <= orderedDevices.size() ? orderedDevices.at(n - 1) : QString();
#endif
}

QStringList devicesFor(int count, bool withMap)
{
    QStringList devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        devices << port.systemLocation();
    devices = orderedDevices(devices);
    const QStringList map = withMap ? savedMap() : QStringList();
    QStringList mapped;
    for (int n = 1; n <= count; ++n)
        mapped << deviceFor(n, devices, environmentValue, map);
    return mapped;
}

QString deviceFor(int n)
{
    return n >= 1 ? devicesFor(n).constLast() : QString();
}

} // namespace PortMap

namespace PortMap {

// The variable and the map need no look at the system's ports, which takes
// tens of milliseconds of the window's time.
QString targetFor(int n)
{
    const QString chosen = deviceFor(n, {}, environmentValue, savedMap());
    return chosen.isEmpty() ? deviceFor(n) : chosen;
}

Transport *makeTransport(const PortAddress &address, QObject *parent)
{
    if (address.isNetwork())
        return new NetworkPort(address, parent);
    return new LocalPort(address.text, parent);
}

QStringList savedMap()
{
    QSettings settings;
    settings.beginGroup(MapGroup);
    QStringList entries;
    for (int n = 1; n <= HighestPort; ++n)
        entries << settings.value(mapKey(n)).toString();
    return entries;
}

void saveMap(const QStringList &entries)
{
    QSettings settings;
    settings.beginGroup(MapGroup);
    for (int n = 1; n <= HighestPort; ++n) {
        if (const QString entry = entries.value(n - 1).trimmed(); entry.isEmpty())
            settings.remove(mapKey(n));
        else
            settings.setValue(mapKey(n), entry);
    }
}

} // namespace PortMap
