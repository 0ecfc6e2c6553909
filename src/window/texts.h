#pragma once

#include <QString>

// The messages and status texts the operator reads. Captions, list entries
// and menu items stand where the controls are built, in buildwindow.cpp.
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
inline const QString SaveDialogTitle = QStringLiteral("Save As");
inline const QString FileSuffix = QStringLiteral("ptx");
inline const QString FileFilter = QStringLiteral("*.ptx");

// Reasons given under a box's message.
inline const QString DialoutHint = QStringLiteral(
    "On Linux this usually means your user is not in the dialout group: run \"sudo adduser $USER dialout\", "
    "then log in again.");
inline const QString SaveCancelled = QStringLiteral("The dialog was cancelled; nothing was saved.");
inline const QString OpenCancelled = QStringLiteral("The dialog was cancelled; nothing was opened.");

// The action under which the sent-commands record lists a page selection.
inline const QString PageListAction = QStringLiteral("Page picked in the Page list");

// Status bar.
inline QString connectedTo(const QString &description)
{
    return QStringLiteral("Connected: %1").arg(description);
}
inline const QString Sending = QStringLiteral("Sending");
inline QString progress(qint64 msLeft)
{
    return QStringLiteral("%v of %m bytes, about %1 s left").arg((msLeft + 999) / 1000);
}
inline QString stalled(qint64 waiting)
{
    return QStringLiteral("Line stalled: nothing has left the port for 3 s; %1 bytes wait").arg(waiting);
}
inline QString cannotOpen(const QString &reason)
{
    return QStringLiteral("Port cannot open: %1").arg(reason);
}
inline QString portLost(const QString &reason, qint64 dropped)
{
    return QStringLiteral("Port lost: %1. Disconnected; %2 queued bytes were not sent").arg(reason).arg(dropped);
}
inline QString draining(qint64 queued)
{
    return QStringLiteral("Disconnecting: sending the %1 bytes still queued (press Disconnect again to drop them)")
        .arg(queued);
}
inline const QString Disconnected = QStringLiteral("Disconnected");
inline QString droppedOnClose(qint64 dropped)
{
    return QStringLiteral("Disconnected: %1 queued bytes could not be sent and were dropped").arg(dropped);
}
inline QString discardedRows(qint64 discarded, int kept)
{
    return QStringLiteral("%1 older commands dropped; the last %2 are kept").arg(discarded).arg(kept);
}
inline QString deviceTip(const QString &device)
{
    return device.isEmpty() ? QStringLiteral("No serial device for this port") : device;
}

} // namespace Texts
