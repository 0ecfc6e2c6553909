#pragma once

#include "protocol/bytewriter.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSerialPort;
class QSocketNotifier;
class QTimer;

// The one serial port of the program, used as the controller link: write
// only, never read. CommPort and Settings are written before each open.
//
// Writes queue in order behind each other and leave through the event loop,
// so a handler never waits for the line; nothing queued is lost unless the
// port fails or a drain before closing runs out of time.
class SerialLink : public QObject, public ByteWriter
{
    Q_OBJECT

public:
    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    void setCommPort(qint16 port);
    void setSettings(const QString &settings); // e.g. "2400,n,8,1"

    // Opens the device that CommPort maps to (portmap.h) with Settings.
    // False on any failure, with the system's reason in errorString().
    bool open();
    // Closes at once; queued bytes that did not go out are dropped. Ends a
    // drain too, emitting drained() with what it dropped.
    void close();
    // Lets the queued bytes go out first, for at most the time the baud rate
    // needs for them plus a margin, then closes and emits drained(). Closes at
    // once, emitting drained(0) before it returns, when nothing is queued or
    // the port is already closed.
    void drainThenClose();

    // True while open and not draining towards a close.
    bool isOpen() const;
    bool isDraining() const;
    bool write(const QByteArray &bytes) override;

    // Bytes not yet on the line: in the link's queue and in the driver's.
    qint64 pendingBytes() const;
    // Bytes the link has taken since the port opened.
    qint64 acceptedTotal() const { return m_accepted; }
    // How long the open line takes for that many bytes.
    qint64 msToSend(qint64 bytes) const;
    QString errorString() const;
    // The last open failed because the device may not be opened by this user.
    bool permissionDenied() const;
    // The device and settings in use, for the status bar ("/dev/ttyUSB0, 2400,n,8,1").
    QString description() const;

signals:
    // While a queue drains: bytes queued since the queue was last empty, and
    // how many of them have gone out. At most every 100 ms, so a short burst
    // gives only idle().
    void progress(qint64 queued, qint64 sent);
    // The queue is empty again.
    void idle();
    // total bytes, counted since the port opened, have left the link's queue
    // for the driver.
    void handedOver(qint64 total);
    // Nothing has left the port for StallMs while bytes wait (the device
    // takes nothing, or flow is held). Once per stall.
    void stalled(qint64 waiting);
    // The port failed while open or draining (for example the adapter was
    // unplugged). The link has closed it, dropping the bytes that had not gone
    // out; emitted once per failure, and no drained() follows.
    void failed(const QString &reason, qint64 dropped);
    // drainThenClose() has closed the port; dropped counts the bytes that
    // could not go out in time or were cut short by close().
    void drained(qint64 dropped);

public:
    static constexpr int StallMs = 3000;

private:
    enum class State { Closed, Open, Draining, Failing };

    void onBytesWritten();
    qint64 sentOfQueued() const;
    void onPortError(int error);
    void onDeviceEvent();
    void checkDrain();
    void checkStall();
    void updateHandedOver();
    void fail(const QString &reason);
    void finishFailure();
    qint64 shutPort();
    qint64 kernelQueued() const;
    bool lineBusy() const;

    QSerialPort *m_port;
    QTimer *m_drainTimer;
    QTimer *m_stallTimer;
    QSocketNotifier *m_deviceWatch = nullptr;
    State m_state = State::Closed;
    qint16 m_commPort = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    QString m_description;
    QString m_error;
    int m_bitsPerChar = 10;
    qint64 m_queued = 0;
    qint64 m_accepted = 0;   // taken by write(), since the port opened
    qint64 m_handedOver = 0; // to the driver, since the port opened
    qint64 m_leftAtLastLook = -1;
    bool m_permissionDenied = false;
    QElapsedTimer m_sinceProgress;
    QElapsedTimer m_sinceMoved;
    QDeadlineTimer m_drainDeadline;
};
