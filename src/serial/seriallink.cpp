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
#include <unistd.h>
#endif

namespace {

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
