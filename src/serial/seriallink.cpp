#include "serial/seriallink.h"

#include "serial/linesettings.h"
#include "serial/portmap.h"

#include <QFile>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// Often enough for a progress bar, rarely enough not to load the window
// during a drain of minutes.
constexpr qint64 ProgressIntervalMs = 100;
constexpr int DrainPollMs = 10;
constexpr qint64 DrainMarginMs = 2000;
constexpr int StallPollMs = 250;

} // namespace

SerialLink::SerialLink(QObject *parent)
    : QObject(parent)
    , m_port(new QSerialPort(this))
    , m_drainTimer(new QTimer(this))
    , m_stallTimer(new QTimer(this))
{
    m_drainTimer->setInterval(DrainPollMs);
    connect(m_drainTimer, &QTimer::timeout, this, &SerialLink::checkDrain);
    m_stallTimer->setInterval(StallPollMs);
    connect(m_stallTimer, &QTimer::timeout, this, &SerialLink::checkStall);
    connect(m_port, &QSerialPort::bytesWritten, this, &SerialLink::onBytesWritten);
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onPortError(error); });
}

SerialLink::~SerialLink()
{
    if (m_state != State::Closed)
        shutPort();
}

void SerialLink::setCommPort(qint16 port)
{
    m_commPort = port;
}

void SerialLink::setSettings(const QString &settings)
{
    m_settings = settings;
}

bool SerialLink::open()
{
    m_permissionDenied = false;
    if (m_state != State::Closed) {
        m_error = m_state == State::Open ? QStringLiteral("The port is already open")
                                         : QStringLiteral("The port is still closing");
        return false;
    }
    const std::optional<LineFormat> format = parseSettings(m_settings);
    if (!format) {
        m_error = QStringLiteral("Settings \"%1\" are not baud,parity,data bits,stop bits (for example 2400,n,8,1)")
                      .arg(m_settings);
        return false;
    }
    const QString device = PortMap::deviceFor(m_commPort);
    if (device.isEmpty()) {
        m_error = QStringLiteral("No serial device for COM %1").arg(m_commPort);
        return false;
    }

    m_port->setPortName(device);
    m_port->setBaudRate(format->baud);
    m_port->setParity(format->parity);
    m_port->setDataBits(format->dataBits);
    m_port->setStopBits(format->stopBits);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    // Write-only: nothing is ever read, and no receive notifier runs for
    // bytes the controller might send. Qt locks the device (lock file and
    // TIOCEXCL), so a second opener fails.
    if (!m_port->open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("%1: %2").arg(device, m_port->errorString());
#ifdef Q_OS_UNIX
        // Qt reports a held lock as a permission error too; only the device's
        // own access bits tell the two apart.
        m_permissionDenied = ::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0 && errno == EACCES;
#endif
        return false;
    }

    m_error.clear();
    m_description = QStringLiteral("%1, %2").arg(device, m_settings);
    m_bitsPerChar = format->bitsPerChar;
    m_queued = 0;
    m_accepted = 0;
    m_handedOver = 0;
    m_state = State::Open;
#ifdef Q_OS_UNIX
    // With an empty queue Qt watches nothing on a write-only port, so an
    // unplugged adapter would go unnoticed until the next write. The hang-up
    // shows as POLLHUP on the descriptor.
    m_deviceWatch = new QSocketNotifier(m_port->handle(), QSocketNotifier::Read, this);
    connect(m_deviceWatch, &QSocketNotifier::activated, this, &SerialLink::onDeviceEvent);
#endif
    return true;
}

void SerialLink::close()
{
    // A failing port is being closed already; failed() follows.
    if (m_state == State::Closed || m_state == State::Failing)
        return;
    const bool wasDraining = m_state == State::Draining;
    const qint64 dropped = shutPort();
    if (wasDraining)
        emit drained(dropped);
}

void SerialLink::drainThenClose()
{
    switch (m_state) {
    case State::Closed:
        emit drained(0);
        return;
    case State::Failing: // failed() follows and says what was lost
    case State::Draining:
        return;
    case State::Open:
        break;
    }

    const qint64 pending = pendingBytes();
    if (pending == 0 && !lineBusy()) {
        shutPort();
        emit drained(0);
        return;
    }
    m_state = State::Draining;
    m_drainDeadline.setRemainingTime(msToSend(pending) + DrainMarginMs);
    m_drainTimer->start();
}

bool SerialLink::isOpen() const
{
    return m_state == State::Open;
}

bool SerialLink::isDraining() const
{
    return m_state == State::Draining;
}

bool SerialLink::write(const QByteArray &bytes)
{
    if (m_state != State::Open)
        return false;
    if (bytes.isEmpty())
        return true;
    if (m_queued == 0)
        m_sinceProgress.start();
    if (!m_stallTimer->isActive()) {
        m_leftAtLastLook = -1;
        m_stallTimer->start();
    }
    const qint64 written = m_port->write(bytes);
    if (written != bytes.size()) {
        m_error = m_port->errorString();
        return false;
    }
    m_queued += written;
    m_accepted += written;
    return true;
}

qint64 SerialLink::pendingBytes() const
{
    return m_port->isOpen() ? m_port->bytesToWrite() + kernelQueued() : 0;
}

qint64 SerialLink::msToSend(qint64 bytes) const
{
    const qint64 baud = std::max<qint64>(m_port->baudRate(), 1);
    return bytes * m_bitsPerChar * 1000 / baud;
}

bool SerialLink::permissionDenied() const
{
    return m_permissionDenied;
}

QString SerialLink::errorString() const
{
    return m_error;
}

QString SerialLink::description() const
{
    return m_description;
}

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
