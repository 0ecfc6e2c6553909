#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;
class Transport;

// Which device "COM n" (n = 1 .. 16) stands for.
//
// Windows: COMn. Elsewhere: the environment variable QUILLANE_COM<n>, when it
// is set, holds the device path; otherwise COM n is the n-th serial device
// the system reports, USB adapters (ttyUSB) and then ACM adapters (ttyACM)
// by number first, then the rest by name.
namespace PortMap {

// The system's serial devices in that order (device paths).
QStringList orderedDevices(QStringList devices);

// Empty when nothing is there for n. lookupEnv returns the variable's value,
// or an empty string when it is not set.
QString deviceFor(int n, const QStringList &orderedDevices, const std::function<QString(const QString &)> &lookupEnv);

// The same, from the process environment and the ports the system reports now.
QString deviceFor(int n);
// What COM n stands for when the link opens it: a device path, or empty.
QString targetFor(int n);
// The transport that opens a target.
Transport *makeTransport(const QString &target, QObject *parent);

// COM 1 .. COM count at once, asking the system for its ports only once
// (which takes tens of milliseconds).
QStringList devicesFor(int count);

} // namespace PortMap
