// How the link follows its bytes out of the port: progress, hand-over to the
// system, the end of a drain, a stalled line, and a port that fails.
#include "serial/seriallink.h"
#include "serial/transport.h"

#include <QTimer>

namespace {

// Often enough for a progress bar, rarely enough not to load the window
// during a drain of minutes.
constexpr qint64 ProgressIntervalMs = 100;

} // namespace

void SerialLink::onBytesWritten()
{
    if (m_state != State::Open && m_state != State::Draining)
        return;
    feed();
    updateHandedOver();
    if (linkQueued() == 0) {
        m_queued = 0;
        emit idle();
    } else if (m_sinceProgress.elapsed() >= ProgressIntervalMs) {
        m_sinceProgress.start();
        emit progress(m_queued, m_queued - linkQueued());
    }
}

void SerialLink::checkDrain()
{
    if (m_state != State::Draining)
        return;
    if (pendingBytes() == 0 && !m_transport->lineBusy()) {
        shutPort();
        emit drained(0);
    } else if (m_drainDeadline.hasExpired()) {
        emit drained(shutPort());
    }
}

// A transport tells of a write only once the device can take more, so a
// device that stops taking bytes leaves the last write untold; the queue's
// own size says it at once.
void SerialLink::updateHandedOver()
{
    const qint64 handed = m_accepted - linkQueued();
    if (handed == m_handedOver)
        return;
    m_handedOver = handed;
    emit handedOver(m_handedOver);
}

// Bytes move when the link hands some to the system, or when the driver's
// queue shrinks where the system tells its size; bytes that wait without
// either for StallMs are stuck.
void SerialLink::checkStall()
{
    if (m_state != State::Open && m_state != State::Draining) {
        m_stallTimer->stop();
        return;
    }
    updateHandedOver();
    const qint64 driver = driverQueued();
    if (driver >= 0)
        m_driverAtLastLook = driver;
    const qint64 pending = pendingBytes();
    if (pending == 0) {
        m_stallTimer->stop();
        return;
    }
    const qint64 left = m_handedOver - std::max<qint64>(driver, 0);
    if (left != m_leftAtLastLook) {
        m_leftAtLastLook = left;
        m_sinceMoved.start();
    } else if (m_sinceMoved.isValid() && m_sinceMoved.elapsed() >= StallMs) {
        m_sinceMoved.invalidate(); // said once; a move starts the clock again
        emit progress(m_queued, m_queued - linkQueued());
        emit stalled(pending);
    }
}

void SerialLink::fail(const QString &reason)
{
    if (m_state != State::Open && m_state != State::Draining)
        return;
    // Called from inside the transport's own event handling, where closing
    // it would delete the object that is running; and until it is closed it
    // may repeat the error on every pass of the event loop. So: stop
    // listening now, close on the next pass.
    m_state = State::Failing;
    m_error = reason;
    m_drainTimer->stop();
    m_stallTimer->stop();
    QMetaObject::invokeMethod(this, &SerialLink::finishFailure, Qt::QueuedConnection);
}

void SerialLink::finishFailure()
{
    if (m_state != State::Failing)
        return;
    // A failed device often no longer tells what its driver held; the last
    // look is then the most that can have been lost there.
    const bool driverKnown = driverQueued() >= 0;
    const qint64 driverLost = driverKnown ? 0 : m_driverAtLastLook;
    const qint64 dropped = shutPort() + driverLost;
    emit failed(m_error, dropped, driverLost > 0);
}

// Returns the bytes that had not gone out.
qint64 SerialLink::shutPort()
{
    m_drainTimer->stop();
    m_stallTimer->stop();
    const qint64 dropped =
        m_transport && m_state != State::Opening ? linkQueued() + std::max<qint64>(driverQueued(), 0) : 0;
    m_waiting.clear();
    m_frontTaken = 0;
    m_waitingBytes = 0;
    m_state = State::Closed;
    if (m_transport) {
        m_transport->close();
        m_transport->deleteLater();
    }
    m_queued = 0;
    m_description.clear();
    return dropped;
}
