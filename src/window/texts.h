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

} // namespace Texts
