#include "serial/networkport.h"

#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace {

// The server's bytes are read as they come and dropped; this bounds what
// the socket keeps of them meanwhile.
constexpr qint64 ReadChunk = 4096;
constexpr qint64 ReadBuffer = 16 * ReadChunk;

} // namespace

NetworkPort::NetworkPort(const PortAddress &address, QObject *parent)
    : Transport(parent)
    , m_address(address)
    , m_socket(new QTcpSocket(this))
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    // A device server is reached directly, whatever proxy the desktop sets.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    m_socket->setReadBufferSize(ReadBuffer);
    connect(m_socket, &QTcpSocket::connected, this, &NetworkPort::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &NetworkPort::onReadyRead);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &NetworkPort::onBytesWritten);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &NetworkPort::onSocketLost);
    connect(m_socket, &QTcpSocket::disconnected, this, &NetworkPort::onSocketLost);
    connect(m_timer, &QTimer::timeout, this, &NetworkPort::onTimeout);
}

NetworkPort::~NetworkPort()
{
    close();
}

void NetworkPort::open(const PortSettings &settings)
{
    m_error.clear();
    m_wire.clear();
    if (m_address.kind == PortAddress::Kind::Rfc2217)
        m_telnet.emplace(settings);
    else
        m_telnet.reset();
    m_phase = Phase::Connecting;
    // Looks the name up and connects without waiting; either may take long.
    m_timer->start(ConnectMs);
    m_socket->connectToHost(m_address.host, m_address.port);
}

void NetworkPort::onConnected()
{
    if (m_phase != Phase::Connecting)
        return;
    setUpSocket();
    if (!m_telnet) {
        m_timer->stop();
        m_phase = Phase::Open;
        emit opened();
        return;
    }
    m_phase = Phase::Negotiating;
    m_timer->start(NegotiateMs);
    sendCommand(m_telnet->start());
}

// Small writes leave at once, and a server that went away without a word
// (power cut, cable pulled) is noticed: when idle, by keep-alive probes after
// 10 s, 5 s apart, four of them; with bytes unacknowledged, after 30 s.
void NetworkPort::setUpSocket()
{
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
    const int fd = int(m_socket->socketDescriptor());
    const auto set = [fd](int name, int value) { ::setsockopt(fd, IPPROTO_TCP, name, &value, sizeof value); };
    set(TCP_KEEPIDLE, 10);
    set(TCP_KEEPINTVL, 5);
    set(TCP_KEEPCNT, 4);
    set(TCP_USER_TIMEOUT, 30000);
#endif
}

void NetworkPort::onReadyRead()
{
    while (m_phase != Phase::Closed && m_socket->bytesAvailable() > 0) {
        const QByteArray bytes = m_socket->read(ReadChunk);
        if (m_telnet && m_phase != Phase::Failed)
            sendCommand(m_telnet->receive(bytes));
    }
    if (m_phase != Phase::Negotiating)
        return;
    if (m_telnet->state() == TelnetClient::State::Refused)
        return giveUp(m_telnet->refusal());
    if (m_telnet->state() == TelnetClient::State::Ready) {
        m_timer->stop();
        m_phase = Phase::Open;
        emit opened();
    }
}

void NetworkPort::onBytesWritten(qint64 wireBytes)
{
    m_wire.written(wireBytes);
    if (m_phase == Phase::Open)
        emit bytesWritten();
}

// Refused, unreachable, unknown name, or the connection closed or broken.
void NetworkPort::onSocketLost()
{
    const QString reason = m_socket->error() == QAbstractSocket::UnknownSocketError
                               ? QStringLiteral("the server closed the connection")
                               : m_socket->errorString();
    if (m_phase == Phase::Open) {
        m_phase = Phase::Failed;
        m_error = QStringLiteral("%1: %2").arg(m_address.shown(), reason);
        emit failed(m_error);
    } else if (m_phase == Phase::Connecting || m_phase == Phase::Negotiating) {
        giveUp(reason);
    }
}

void NetworkPort::onTimeout()
{
    if (m_phase == Phase::Connecting)
        giveUp(QStringLiteral("no answer within %1 s").arg(ConnectMs / 1000));
    else if (m_phase == Phase::Negotiating)
        giveUp(QStringLiteral("no answer to the RFC 2217 negotiation within %1 s").arg(NegotiateMs / 1000));
}

// The socket is let go by close(), on a later pass: this may run inside
// the socket's own signal.
void NetworkPort::giveUp(const QString &reason)
{
    m_phase = Phase::Closed;
    m_timer->stop();
    m_error = QStringLiteral("%1: %2").arg(m_address.shown(), reason);
    emit openFailed(m_error);
}

bool NetworkPort::write(const QByteArray &data)
{
    if (m_phase != Phase::Open) {
        m_error = QStringLiteral("%1: not connected").arg(m_address.shown());
        return false;
    }
    const QByteArray wire = m_wire.addData(data, m_telnet.has_value());
    if (m_socket->write(wire) == wire.size())
        return true;
    m_error = QStringLiteral("%1: %2").arg(m_address.shown(), m_socket->errorString());
    return false;
}

void NetworkPort::sendCommand(const QByteArray &bytes)
{
    if (!bytes.isEmpty())
        m_socket->write(m_wire.addCommand(bytes));
}

void NetworkPort::close()
{
    m_phase = Phase::Closed;
    m_timer->stop();
    m_socket->abort();
    m_wire.clear();
}
