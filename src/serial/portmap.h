#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;
class Transport;

struct PortAddress;

// Which device or network address (portaddress.h) "COM n" (n = 1 .. 16)
// stands for.
//
// Outside Windows, the environment variable QUILLANE_COM<n>, when it is set,
// wins. Then the operator's map (Settings > Ports…), where COM n has an
// entry. Otherwise the automatic choice: on Windows COMn; elsewhere the n-th
// serial device the system reports, USB adapters (ttyUSB) and then ACM
// adapters (ttyACM) by number first, then the rest by name.
namespace PortMap {

constexpr int HighestPort = 16;

// The system's serial devices in that order (device paths).
QStringList orderedDevices(QStringList devices);

// Empty when nothing is there for n. lookupEnv returns the variable's value,
// or an empty string when it is not set; map holds the entries for COM 1 ...
QString deviceFor(int n, const QStringList &orderedDevices, const std::function<QString(const QString &)> &lookupEnv,
                  const QStringList &map = {});

// The same, from the process environment and the ports the system reports now.
QString deviceFor(int n);
// What COM n stands for when the link opens it: a device path, an address,
// or empty.
QString targetFor(int n);
// The transport that opens an address.
Transport *makeTransport(const PortAddress &address, QObject *parent);

// COM 1 .. COM count at once, asking the system for its ports only once
// (which takes tens of milliseconds). Without the map: the automatic choice
// (or the variable) alone.
QStringList devicesFor(int count, bool withMap = true);

// The operator's map, kept in the user's settings: HighestPort entries, a
// blank one meaning the automatic choice.
QStringList savedMap();
void saveMap(const QStringList &entries);

} // namespace PortMap
