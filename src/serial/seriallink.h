#pragma once

#include "protocol/bytewriter.h"
#include "serial/portaddress.h"
#include "serial/portsettings.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>

class QTimer;
class Transport;

// The one port of the program, used as the controller link: write only,
// never read.
//
// Writes queue in order behind each other and leave through the event loop,
// so a caller never waits for the line; nothing queued is lost unless the
// port fails or a drain before closing runs out of time. The queue holds at
// most QueueLimit bytes.
class SerialLink : public QObject, public ByteWriter
{
    Q_OBJECT

public:
    static constexpr qint64 QueueLimit = qint64(64) * 1024 * 1024;
    static constexpr int StallMs = 3000;

    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    // Opens the device or address that COM n stands for (portmap.h). Ends in
    // opened() or openFailed(); for a device of this machine before it
    // returns, for an address once the connection is made.
    void open(const PortSettings &settings);
    // Gives up an open that has not finished; nothing more is emitted for it.
    void cancelOpen();
    // Closes at once; queued bytes that did not go out are dropped. Ends a
    // drain too, emitting drained() with what it dropped.
    void close();
    // Lets the queued bytes go out first, for at most the time the baud rate
    // needs for them plus a margin, then closes and emits drained(). Closes at
    // once, emitting drained() before it returns, when nothing is queued or
    // the port is already closed.
    void drainThenClose();

    bool isOpening() const;
    // True while open and not draining towards a close.
    bool isOpen() const;
    bool isDraining() const;
    bool write(const QByteArray &bytes) override;

    // How many more bytes the queue takes now.
    qint64 room() const;
    // Bytes not yet on the line: in the link's queue and, where the system
    // tells, in the driver's.
    qint64 pendingBytes() const;
    // Bytes the link has taken since the port opened.
    qint64 acceptedTotal() const { return m_accepted; }
    // How long the open line takes for that many bytes.
    qint64 msToSend(qint64 bytes) const;
    QString errorString() const { return m_error; }
    // The last open failed because the device may not be opened by this user.
    bool permissionDenied() const { return m_permissionDenied; }
    // What is open or being opened, for the status bar ("/dev/ttyUSB0, 2400,n,8,1").
    QString description() const { return m_description; }
    // The device or address being opened or open.
    QString target() const { return m_address.text; }
    const PortAddress &address() const { return m_address; }

signals:
    void opened();
    void openFailed(const QString &reason);
    // While a queue drains: bytes queued since the queue was last empty, and
    // how many of them have gone out. At most every 100 ms, so a short burst
    // gives only idle().
    void progress(qint64 queued, qint64 sent);
    // The queue is empty again.
    void idle();
    // total bytes, counted since the port opened, have left the link's queue
    // for the driver.
    void handedOver(qint64 total);
    // Nothing has been handed over for StallMs while bytes wait (the device
    // takes nothing, or flow is held). Once per stall.
    void stalled(qint64 waiting);
    // The port failed while open or draining (for example the adapter was
    // unplugged). The link has closed it, dropping the bytes that had not gone
    // out; emitted once per failure, and no drained() follows. atMost: the
    // driver's share of dropped is its last known size, and some of it may
    // have left since.
    void failed(const QString &reason, qint64 dropped, bool atMost);
    // drainThenClose() has closed the port; dropped counts the bytes that
    // could not go out in time or were cut short by close().
    void drained(qint64 dropped);

private:
    enum class State { Closed, Opening, Open, Draining, Failing };

    void onOpened();
    void onOpenFailed(const QString &reason);
    void onBytesWritten();
    void checkDrain();
    void checkStall();
    void updateHandedOver();
    void fail(const QString &reason);
    void finishFailure();
    qint64 shutPort();
    qint64 driverQueued() const;
    // Bytes written to the link that the system has not taken.
    qint64 linkQueued() const;
    void feed();
    QByteArray takeWaiting(qint64 most);

    QPointer<Transport> m_transport;
    // What waits behind the transport, handed over a chunk at a time; the
    // front piece is taken from m_frontTaken on.
    std::deque<QByteArray> m_waiting;
    qsizetype m_frontTaken = 0;
    qint64 m_waitingBytes = 0;
    bool m_feeding = false;
    QTimer *m_drainTimer;
    QTimer *m_stallTimer;
    State m_state = State::Closed;
    PortSettings m_settings;
    PortAddress m_address;
    QString m_description;
    QString m_error;
    bool m_permissionDenied = false;
    qint64 m_queued = 0;
    qint64 m_accepted = 0;   // taken by write(), since the port opened
    qint64 m_handedOver = 0; // to the system, since the port opened
    qint64 m_leftAtLastLook = -1;
    qint64 m_driverAtLastLook = 0;
    QElapsedTimer m_sinceProgress;
    QElapsedTimer m_sinceMoved;
    QDeadlineTimer m_drainDeadline;
};
