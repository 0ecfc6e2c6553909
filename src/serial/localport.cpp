#include "serial/localport.h"

#include <QFile>
#include <QSerialPort>
#include <QSocketNotifier>

#include <cstdlib>
#include <cstring>
#include <set>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

std::set<LocalPort *> &openPorts()
{
    static std::set<LocalPort *> ports;
    return ports;
}

} // namespace

LocalPort::LocalPort(const QString &device, QObject *parent)
    : Transport(parent)
    , m_port(new QSerialPort(this))
    , m_device(device)
{
    connect(m_port, &QSerialPort::bytesWritten, this, &Transport::bytesWritten);
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::NoError && m_port->isOpen())
            emit failed(m_port->errorString());
    });
}

LocalPort::~LocalPort()
{
    close();
}

void LocalPort::open(const PortSettings &settings)
{
    m_permissionDenied = false;
    m_port->setPortName(m_device);
    m_port->setBaudRate(settings.baudRate);
    m_port->setParity(settings.parity);
    m_port->setDataBits(settings.dataBits);
    m_port->setStopBits(settings.stopBits);
    m_port->setFlowControl(settings.flowControl);
    keepOriginalSettings();
    // Write-only: nothing is ever read. Qt locks the device (lock file and
    // TIOCEXCL), so a second opener fails.
    if (!m_port->open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("%1: %2").arg(m_device, m_port->errorString());
#ifdef Q_OS_UNIX
        // Qt reports a held lock as a permission error too; only the device's
        // own access bits tell the two apart.
        m_permissionDenied = ::access(QFile::encodeName(m_device).constData(), W_OK) != 0 && errno == EACCES;
        if (m_keeper >= 0)
            ::close(m_keeper);
        m_keeper = -1;
#endif
        emit openFailed(m_error);
        return;
    }
    m_error.clear();
    openPorts().insert(this);
    static const bool releasedOnExit = [] { return std::atexit(&LocalPort::releaseOpenPorts) == 0; }();
    Q_UNUSED(releasedOnExit)
#ifdef Q_OS_UNIX
    // With an empty queue Qt watches nothing on a write-only port, so an
    // unplugged adapter would go unnoticed until the next write. The hang-up
    // shows as POLLHUP on the descriptor.
    m_watch = new QSocketNotifier(m_port->handle(), QSocketNotifier::Read, this);
    connect(m_watch, &QSocketNotifier::activated, this, &LocalPort::onDeviceEvent);
#endif
    emit opened();
}

void LocalPort::keepOriginalSettings()
{
#ifdef Q_OS_UNIX
    m_keeper = ::open(QFile::encodeName(m_device).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios found{};
    if (m_keeper >= 0 && ::tcgetattr(m_keeper, &found) == 0)
        m_original = QByteArray(reinterpret_cast<const char *>(&found), sizeof found);
#endif
}

void LocalPort::restoreOriginalSettings()
{
#ifdef Q_OS_UNIX
    if (m_keeper < 0)
        return;
    if (m_original.size() == sizeof(termios))
        ::tcsetattr(m_keeper, TCSANOW, reinterpret_cast<const termios *>(m_original.constData()));
    ::close(m_keeper);
    m_keeper = -1;
    m_original.clear();
#endif
}

bool LocalPort::write(const QByteArray &data)
{
    if (m_port->write(data) == data.size())
        return true;
    m_error = m_port->errorString();
    return false;
}

qint64 LocalPort::bytesToWrite() const
{
    return m_port->isOpen() ? m_port->bytesToWrite() : 0;
}

qint64 LocalPort::driverQueued() const
{
#ifdef Q_OS_UNIX
    int queued = 0;
    if (m_port->isOpen() && ::ioctl(m_port->handle(), TIOCOUTQ, &queued) == 0)
        return queued;
#endif
    return -1;
}

// A UART may still be shifting out the last characters after the driver's
// queue is empty; drivers that cannot tell (USB, pty) count as done.
bool LocalPort::lineBusy() const
{
#if defined(Q_OS_UNIX) && defined(TIOCSERGETLSR)
    unsigned int status = 0;
    if (m_port->isOpen() && ::ioctl(m_port->handle(), TIOCSERGETLSR, &status) == 0)
        return !(status & TIOCSER_TEMT);
#endif
    return false;
}

void LocalPort::close()
{
    openPorts().erase(this);
    delete m_watch;
    m_watch = nullptr;
    if (m_port->isOpen()) {
#ifdef Q_OS_UNIX
        // A tty's close waits (up to its closing_wait, 30 s by default) for
        // its output queue; discarding it keeps this call immediate. Only
        // when there is one: on a pty the flush would take back what the
        // other side has not read yet.
        if (driverQueued() > 0)
            ::tcflush(m_port->handle(), TCOFLUSH);
#endif
        m_port->close();
    }
    restoreOriginalSettings();
}

void LocalPort::releaseOpenPorts()
{
    const std::set<LocalPort *> ports = openPorts();
    for (LocalPort *port : ports)
        port->close();
}

void LocalPort::onDeviceEvent()
{
#ifdef Q_OS_UNIX
    pollfd device{static_cast<int>(m_port->handle()), 0, 0};
    if (::poll(&device, 1, 0) > 0 && (device.revents & (POLLHUP | POLLERR | POLLNVAL))) {
        m_watch->setEnabled(false);
        emit failed(QString::fromLocal8Bit(std::strerror(EIO)));
        return;
    }
    // The controller sent something. It is not read, and left in place it
    // would wake this notifier forever.
    ::tcflush(m_port->handle(), TCIFLUSH);
#endif
}
