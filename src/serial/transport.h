#pragma once

#include "serial/portsettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// What the link writes through: a serial device of this machine, or one
// behind a device server on the network. Writes queue inside the transport
// and leave as the line takes them; nothing here ever waits.
class Transport : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts opening; ends in opened() or openFailed(), for a local device
    // before it returns.
    virtual void open(const PortSettings &settings) = 0;
    // Queues the data; false when the transport refuses it (errorString()).
    virtual bool write(const QByteArray &data) = 0;
    // Data bytes queued here that the system has not taken yet.
    virtual qint64 bytesToWrite() const = 0;
    // How many bytes the link hands over at a time, each once the last has
    // gone to the system, for a line at that baud rate.
    virtual qint64 handOverChunk(qint32 baudRate) const
    {
        Q_UNUSED(baudRate)
        return qint64(16) * 1024;
    }
    // Bytes the system has taken but not yet put on the line, or -1 when it
    // cannot tell.
    virtual qint64 driverQueued() const { return -1; }
    // The last characters may still be leaving after the driver's queue is empty.
    virtual bool lineBusy() const { return false; }
    // Closes at once; what is still queued is dropped.
    virtual void close() = 0;
    virtual QString errorString() const = 0;
    // The last open failed because this user may not open the device.
    virtual bool permissionDenied() const { return false; }

signals:
    void opened();
    void openFailed(const QString &reason);
    // The system took queued bytes.
    void bytesWritten();
    // The device or connection failed while open. Emitted from inside the
    // transport's own event handling: close it on a later pass.
    void failed(const QString &reason);
};
