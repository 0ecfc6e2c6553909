#pragma once

#include "console/texts.h"

// Texts only the window shows; the operator's messages are in console/texts.h.
namespace Texts {

inline const QString Connect = QStringLiteral("&Connect");
inline const QString Disconnect = QStringLiteral("&Disconnect");

inline const QString OpenDialogTitle = QStringLiteral("Open");
inline const QString SaveDialogTitle = QStringLiteral("Save As");
inline const QString FileSuffix = QStringLiteral("ptx");
inline const QString FileFilter = QStringLiteral("*.ptx");
inline const QString SaveCancelled = QStringLiteral("The dialog was cancelled; nothing was saved.");
inline const QString OpenCancelled = QStringLiteral("The dialog was cancelled; nothing was opened.");

inline const QString RemoteCannotStart = QStringLiteral("Remote control cannot start");
inline QString remoteStatus(const QString &endpoint, int clients)
{
    return QStringLiteral("Remote: %1, %2 clients").arg(endpoint).arg(clients);
}
inline QString remoteDropped(qint64 dropped)
{
    return QStringLiteral("%1 malformed or unknown OSC packets dropped").arg(dropped);
}

inline QString deviceTip(const QString &device)
{
    return device.isEmpty() ? QStringLiteral("No serial device for this port") : device;
}

inline const QString PortsTitle = QStringLiteral("Ports");
inline const QString PortsHelp =
    QStringLiteral("What each COM port stands for: a device path (/dev/ttyUSB0), socket://HOST:PORT for raw TCP, or "
                   "rfc2217://HOST:PORT for a device server that sets the line. A blank entry keeps the automatic "
                   "choice, shown greyed.");
// Outside Windows, QUILLANE_COM<n> wins over the entry.
inline QString portEntryTip(int n)
{
#ifdef Q_OS_WIN
    Q_UNUSED(n)
    return {};
#else
    const QString variable = QStringLiteral("QUILLANE_COM%1").arg(n);
    return qEnvironmentVariableIsSet(variable.toLatin1().constData())
               ? QStringLiteral("%1 is set and wins over this entry").arg(variable)
               : QString();
#endif
}

} // namespace Texts
