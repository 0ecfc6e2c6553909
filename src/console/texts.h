#pragma once

#include <QString>

// The messages and status texts the operator reads, wherever the action
// came from. Captions, list entries and menu items stand where the window
// builds its controls.
namespace Texts {

inline const QString AppTitle = QStringLiteral("Quillane");
inline const QString ErrorTitle = QStringLiteral("Error");

inline const QString PortCannotOpen = QStringLiteral("Port cannot open");
inline const QString InvalidData = QStringLiteral("Invalid Data");
inline const QString InvalidValue = QStringLiteral("Invalid Value");
inline const QString OutOfRange = QStringLiteral("Out of Range");
inline const QString SendBytesError = QStringLiteral("Send Bytes Error!");
inline const QString SaveError = QStringLiteral("Save Error");
inline const QString OpenError = QStringLiteral("Open Error");
inline const QString OutOfNumberOfLine = QStringLiteral("Out of Number of Line");

// Reasons given under a box's message.
inline const QString DialoutHint = QStringLiteral(
    "On Linux this usually means your user is not in the dialout group: run \"sudo adduser $USER dialout\", "
    "then log in again.");
inline QString notOneLine(const QString &what)
{
    return QStringLiteral("%1 holds a line break, which a line file cannot keep; nothing was saved").arg(what);
}

// The action under which the sent-commands record lists a page selection.
inline const QString PageListAction = QStringLiteral("Page picked in the Page list");

// Status bar.
inline QString connectedTo(const QString &description)
{
    return QStringLiteral("Connected: %1").arg(description);
}
// target: HOST:PORT for a network port, the path for a device.
inline QString connectingTo(const QString &target)
{
    return QStringLiteral("Connecting to %1…").arg(target);
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
inline QString bytesCount(qint64 bytes, bool atMost)
{
    return (atMost ? QStringLiteral("at most %1") : QStringLiteral("%1")).arg(bytes);
}
inline QString portLost(const QString &reason, qint64 dropped, bool atMost)
{
    return QStringLiteral("Port lost: %1. Disconnected; %2 queued bytes were not sent")
        .arg(reason, bytesCount(dropped, atMost));
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
inline QString queueFull(qint64 needed, qint64 waiting)
{
    return QStringLiteral("Not sent: its %1 bytes would take the send queue past 64 MiB (%2 bytes wait); wait for "
                          "the line, or Disconnect")
        .arg(needed)
        .arg(waiting);
}
inline const QString NotConnected = QStringLiteral("Not sent: the port is not connected");
inline QString discardedRows(qint64 discarded, int kept)
{
    return QStringLiteral("%1 older commands dropped; the last %2 are kept").arg(discarded).arg(kept);
}

} // namespace Texts
