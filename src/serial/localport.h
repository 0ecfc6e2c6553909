#pragma once

#include "serial/transport.h"

#include <algorithm>

class QSerialPort;
class QSocketNotifier;

// A serial device of this machine (/dev/ttyUSB0, COM3), opened write-only
// and exclusively. Its line settings as the open found them are put back
// when it closes, also when the program is ended by a signal or its display
// goes away (see releaseOpenPorts()).
class LocalPort : public Transport
{
    Q_OBJECT

public:
    LocalPort(const QString &device, QObject *parent = nullptr);
    ~LocalPort() override;

    void open(const PortSettings &settings) override;
    bool write(const QByteArray &data) override;
    qint64 bytesToWrite() const override;
    // What the line moves in a quarter of a second, at least 256 bytes. A
    // pseudo-terminal gives room back only in whole buffers, of the size each
    // write filled; writes no larger keep a reader's progress at the line's
    // pace visible long before a stall would be said.
    qint64 handOverChunk(qint32 baudRate) const override { return std::clamp<qint64>(baudRate / 40, 256, 65536); }
    qint64 driverQueued() const override;
    bool lineBusy() const override;
    void close() override;
    QString errorString() const override { return m_error; }
    bool permissionDenied() const override { return m_permissionDenied; }

    // Closes every port still open, putting its settings back. For the way
    // out of a process that ends without returning from main().
    static void releaseOpenPorts();

private:
    void onDeviceEvent();
    void keepOriginalSettings();
    void restoreOriginalSettings();

    QSerialPort *m_port;
    QSocketNotifier *m_watch = nullptr;
    QString m_device;
    QString m_error;
    bool m_permissionDenied = false;
    // A second descriptor on the device, opened before the port is set up:
    // through it the settings are read as found and put back at the end.
    int m_keeper = -1;
    QByteArray m_original; // the settings as found, as the system keeps them
};
