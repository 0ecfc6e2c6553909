// How the link follows its bytes out of the port: progress, hand-over to the
// driver, the end of a drain, a stalled line, and a port that fails.
#include "serial/seriallink.h"

#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>

#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace {

// Often enough for a progress bar, rarely enough not to load the window
// during a drain of minutes.
constexpr qint64 ProgressIntervalMs = 100;

} // namespace

void SerialLink::onBytesWritten()
{
    if (m_state != State::Open && m_state != State::Draining)
        return;
    updateHandedOver();
    if (m_port->bytesToWrite() == 0) {
        m_queued = 0;
        emit idle();
    } else if (m_sinceProgress.elapsed() >= ProgressIntervalMs) {
        m_sinceProgress.start();
        emit progress(m_queued, sentOfQueued());
    }
}

// How much of what was queued since the queue was last empty has gone out.
qint64 SerialLink::sentOfQueued() const
{
    return m_queued - m_port->bytesToWrite();
}

void SerialLink::onPortError(int error)
{
    if (error == QSerialPort::NoError)
        return;
    if (m_state == State::Open || m_state == State::Draining)
        fail(m_port->errorString());
}

void SerialLink::onDeviceEvent()
{
#ifdef Q_OS_UNIX
    if (m_state != State::Open && m_state != State::Draining)
        return;
    pollfd device{static_cast<int>(m_port->handle()), 0, 0};
    if (::poll(&device, 1, 0) > 0 && (device.revents & (POLLHUP | POLLERR | POLLNVAL))) {
        fail(QString::fromLocal8Bit(std::strerror(EIO)));
        return;
    }
    // The controller sent something. It is not read, and left in place it
    // would wake this notifier forever.
    ::tcflush(m_port->handle(), TCIFLUSH);
#endif
}

void SerialLink::checkDrain()
{
    if (m_state != State::Draining)
        return;
    const qint64 pending = m_port->bytesToWrite();
    if (pending == 0 && kernelQueued() == 0 && !lineBusy()) {
        shutPort();
        emit drained(0);
    } else if (m_drainDeadline.hasExpired()) {
        emit drained(shutPort());
    }
}

// Qt tells of a write only once the device can take more, so a device that
// stops taking bytes leaves the last write untold; the queue's own size says
// it at once.
void SerialLink::updateHandedOver()
{
    const qint64 handed = m_accepted - m_port->bytesToWrite();
    if (handed == m_handedOver)
        return;
    m_handedOver = handed;
    emit handedOver(m_handedOver);
}

// Bytes have left the port when the driver's queue shrinks or takes more from
// the link; a queue that does neither for StallMs is stuck.
void SerialLink::checkStall()
{
    if (m_state != State::Open && m_state != State::Draining) {
        m_stallTimer->stop();
        return;
    }
    updateHandedOver();
    const qint64 pending = pendingBytes();
    if (pending == 0) {
        m_stallTimer->stop();
        return;
    }
    const qint64 left = m_handedOver - kernelQueued();
    if (left != m_leftAtLastLook) {
        m_leftAtLastLook = left;
        m_sinceMoved.start();
    } else if (m_sinceMoved.isValid() && m_sinceMoved.elapsed() >= StallMs) {
        m_sinceMoved.invalidate(); // said once; a move starts the clock again
        emit progress(m_queued, sentOfQueued());
        emit stalled(pending);
    }
}

void SerialLink::fail(const QString &reason)
{
    // Called from inside QSerialPort's own notifier, where closing the port
    // would delete the object that is running; and until it is closed Qt
    // repeats the error on every pass of the event loop. So: stop listening
    // now, close on the next pass.
    m_state = State::Failing;
    m_error = reason;
    m_drainTimer->stop();
    m_stallTimer->stop();
    if (m_deviceWatch)
        m_deviceWatch->setEnabled(false);
    QMetaObject::invokeMethod(this, &SerialLink::finishFailure, Qt::QueuedConnection);
}

void SerialLink::finishFailure()
{
    if (m_state != State::Failing)
        return;
    const qint64 dropped = shutPort();
    emit failed(m_error, dropped);
}

// Returns the bytes that had not gone out.
qint64 SerialLink::shutPort()
{
    m_state = State::Closed;
    m_drainTimer->stop();
    m_stallTimer->stop();
    delete m_deviceWatch;
    m_deviceWatch = nullptr;
    const qint64 kernel = kernelQueued();
    const qint64 dropped = m_port->bytesToWrite() + kernel;
#ifdef Q_OS_UNIX
    // A tty's close waits (up to its closing_wait, 30 s by default) for its
    // output queue; discarding it keeps this call immediate.
    if (kernel > 0)
        ::tcflush(m_port->handle(), TCOFLUSH);
#endif
    if (m_port->isOpen())
        m_port->close();
    m_queued = 0;
    m_description.clear();
    return dropped;
}

// Bytes the driver has accepted but not yet sent.
qint64 SerialLink::kernelQueued() const
{
#ifdef Q_OS_UNIX
    int queued = 0;
    if (m_port->isOpen() && ::ioctl(m_port->handle(), TIOCOUTQ, &queued) == 0)
        return queued;
#endif
    return 0;
}

// A UART may still be shifting out the last characters after the driver's
// queue is empty; drivers that cannot tell (USB, pty) count as done.
bool SerialLink::lineBusy() const
{
#if defined(Q_OS_UNIX) && defined(TIOCSERGETLSR)
    unsigned int status = 0;
    if (m_port->isOpen() && ::ioctl(m_port->handle(), TIOCSERGETLSR, &status) == 0)
        return !(status & TIOCSER_TEMT);
#endif
    return false;
}
