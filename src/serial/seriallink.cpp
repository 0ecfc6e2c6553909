#include "serial/seriallink.h"

#include "serial/localport.h"
#include "serial/portmap.h"

#include <QTimer>

#include <algorithm>

namespace {

constexpr int DrainPollMs = 10;
constexpr qint64 DrainMarginMs = 2000;
constexpr int StallPollMs = 250;
constexpr qint64 FeedBudget = qint64(256) * 1024;

} // namespace

SerialLink::SerialLink(QObject *parent)
    : QObject(parent)
    , m_drainTimer(new QTimer(this))
    , m_stallTimer(new QTimer(this))
{
    m_drainTimer->setInterval(DrainPollMs);
    connect(m_drainTimer, &QTimer::timeout, this, &SerialLink::checkDrain);
    m_stallTimer->setInterval(StallPollMs);
    connect(m_stallTimer, &QTimer::timeout, this, &SerialLink::checkStall);
}

SerialLink::~SerialLink()
{
    if (m_state != State::Closed)
        shutPort();
}

void SerialLink::open(const PortSettings &settings)
{
    m_permissionDenied = false;
    if (m_state != State::Closed) {
        m_error = QStringLiteral("The port is already open");
        emit openFailed(m_error);
        return;
    }
    m_settings = settings;
    if (settings.baudRate <= 0) {
        m_error = QStringLiteral("No baud rate is selected");
        emit openFailed(m_error);
        return;
    }
    m_address = PortAddress::parse(PortMap::targetFor(settings.port));
    if (m_address.text.isEmpty() || !m_address.error.isEmpty()) {
        m_error = settings.port < 1          ? QStringLiteral("No COM port is selected")
                  : m_address.text.isEmpty() ? QStringLiteral("No serial device for COM %1").arg(settings.port)
                                             : QStringLiteral("%1: %2").arg(m_address.text, m_address.error);
        emit openFailed(m_error);
        return;
    }
    m_state = State::Opening;
    m_transport = PortMap::makeTransport(m_address, this);
    connect(m_transport, &Transport::opened, this, &SerialLink::onOpened);
    connect(m_transport, &Transport::openFailed, this, &SerialLink::onOpenFailed);
    connect(m_transport, &Transport::bytesWritten, this, &SerialLink::onBytesWritten);
    connect(m_transport, &Transport::failed, this, &SerialLink::fail);
    m_transport->open(settings);
}

void SerialLink::onOpened()
{
    if (m_state != State::Opening)
        return;
    m_error.clear();
    // A raw connection sends at whatever the server's port is set to.
    m_description = m_address.kind == PortAddress::Kind::Raw
                        ? m_address.text
                        : QStringLiteral("%1, %2").arg(m_address.text, settingsText(m_settings));
    m_queued = 0;
    m_accepted = 0;
    m_handedOver = 0;
    m_driverAtLastLook = 0;
    m_state = State::Open;
    emit opened();
}

void SerialLink::onOpenFailed(const QString &reason)
{
    if (m_state != State::Opening)
        return;
    m_error = reason;
    m_permissionDenied = m_transport->permissionDenied();
    m_state = State::Closed;
    m_transport->deleteLater();
    emit openFailed(reason);
}

void SerialLink::cancelOpen()
{
    if (m_state != State::Opening)
        return;
    m_state = State::Closed;
    m_transport->close();
    m_transport->deleteLater();
}

void SerialLink::close()
{
    // A failing port is being closed already; failed() follows.
    if (m_state == State::Closed || m_state == State::Failing)
        return;
    if (m_state == State::Opening)
        return cancelOpen();
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
    case State::Opening:
        cancelOpen();
        emit drained(0);
        return;
    case State::Failing: // failed() follows and says what was lost
    case State::Draining:
        return;
    case State::Open:
        break;
    }
    const qint64 pending = pendingBytes();
    if (pending == 0 && !m_transport->lineBusy()) {
        shutPort();
        emit drained(0);
        return;
    }
    m_state = State::Draining;
    m_drainDeadline.setRemainingTime(msToSend(pending) + DrainMarginMs);
    m_drainTimer->start();
}

bool SerialLink::isOpening() const
{
    return m_state == State::Opening;
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
    if (bytes.size() > room()) {
        m_error = QStringLiteral("The send queue is full");
        return false;
    }
    if (m_queued == 0)
        m_sinceProgress.start();
    if (!m_stallTimer->isActive()) {
        m_leftAtLastLook = -1;
        m_stallTimer->start();
    }
    m_waiting.push_back(bytes);
    m_waitingBytes += bytes.size();
    m_queued += bytes.size();
    m_accepted += bytes.size();
    feed();
    return true;
}

// The next chunk goes to the transport once the system has taken the last
// one, as long as it takes them, up to a bound for each turn of the event
// loop so that a fast device cannot hold the window up.
void SerialLink::feed()
{
    if (m_feeding || (m_state != State::Open && m_state != State::Draining))
        return;
    m_feeding = true;
    for (qint64 budget = FeedBudget; budget > 0 && m_waitingBytes > 0 && m_transport->bytesToWrite() == 0;) {
        const QByteArray chunk = takeWaiting(m_transport->handOverChunk(m_settings.baudRate));
        budget -= chunk.size();
        if (!m_transport->write(chunk)) {
            m_feeding = false;
            return fail(m_transport->errorString());
        }
    }
    m_feeding = false;
    if (m_waitingBytes > 0 && m_transport->bytesToWrite() == 0)
        QMetaObject::invokeMethod(this, &SerialLink::feed, Qt::QueuedConnection);
}

QByteArray SerialLink::takeWaiting(qint64 most)
{
    QByteArray chunk;
    while (!m_waiting.empty() && chunk.size() < most) {
        const QByteArray &front = m_waiting.front();
        const qsizetype take = std::min<qsizetype>(front.size() - m_frontTaken, most - chunk.size());
        chunk += QByteArrayView(front).sliced(m_frontTaken, take);
        m_frontTaken += take;
        if (m_frontTaken == front.size()) {
            m_waiting.pop_front();
            m_frontTaken = 0;
        }
    }
    m_waitingBytes -= chunk.size();
    return chunk;
}

qint64 SerialLink::linkQueued() const
{
    return m_waitingBytes + m_transport->bytesToWrite();
}

qint64 SerialLink::room() const
{
    return m_state == State::Open ? QueueLimit - linkQueued() : 0;
}

qint64 SerialLink::pendingBytes() const
{
    if (m_state != State::Open && m_state != State::Draining)
        return 0;
    return linkQueued() + std::max<qint64>(driverQueued(), 0);
}

qint64 SerialLink::driverQueued() const
{
    return m_transport ? m_transport->driverQueued() : -1;
}

qint64 SerialLink::msToSend(qint64 bytes) const
{
    const qint64 baud = std::max<qint32>(m_settings.baudRate, 1);
    return bytes * bitsPerCharacter(m_settings) * 1000 / baud;
}
