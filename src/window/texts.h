#pragma once

#include <QString>

// Every text the operator reads, in one place.
namespace Texts {

inline const QString AppTitle = QStringLiteral("Quillane");
inline const QString ErrorTitle = QStringLiteral("Error");

inline const QString Connect = QStringLiteral("&Connect");
inline const QString Disconnect = QStringLiteral("&Disconnect");

inline const QString PortCannotOpen = QStringLiteral("Port cannot open");
inline const QString InvalidData = QStringLiteral("Invalid Data");
inline const QString InvalidValue = QStringLiteral("Invalid Value");
inline const QString OutOfRange = QStringLiteral("Out of Range");
inline const QString SendBytesError = QStringLiteral("Send Bytes Error!");
inline const QString SaveError = QStringLiteral("Save Error");
inline const QString OpenError = QStringLiteral("Open Error");
inline const QString OutOfNumberOfLine = QStringLiteral("Out of Number of Line");

inline const QString OpenDialogTitle = QStringLiteral("Open");
inline const QString FileSuffix = QStringLiteral("ptx");
inline const QString FileFilter = QStringLiteral("*.ptx");

// Status bar.
inline QString connectedTo(const QString &description) { return QStringLiteral("Connected: %1").arg(description); }
inline QString sending(qint64 sent, qint64 queued)
{
    return QStringLiteral("Sending: %1 of %2 bytes").arg(sent).arg(queued);
}
inline QString cannotOpen(const QString &reason) { return QStringLiteral("Port cannot open: %1").arg(reason); }
inline QString portFailed(const QString &reason) { return QStringLiteral("Port failed: %1").arg(reason); }
inline QString draining(qint64 queued)
{
    return QStringLiteral("Disconnecting: sending the %1 bytes still queued").arg(queued);
}
inline const QString Disconnected = QStringLiteral("Disconnected");
inline QString droppedOnClose(qint64 dropped)
{
    return QStringLiteral("Disconnected: %1 queued bytes could not be sent and were dropped").arg(dropped);
}
inline QString deviceTip(const QString &device)
{
    return device.isEmpty() ? QStringLiteral("No serial device for this port") : device;
}

} // namespace Texts
