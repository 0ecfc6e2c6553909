#include "remote/remoteserver.h"

#include "remote/lineclient.h"
#include "remote/oscmessage.h"
#include "remote/remotesettings.h"

#include <QScopedValueRollback>
#include <QTcpSocket>

RemoteServer::RemoteServer(Console &console, QObject *parent) : QObject(parent), m_runner(console)
{
    m_turn.setSingleShot(true);
    m_turn.setInterval(0);
    connect(&m_turn, &QTimer::timeout, this, &RemoteServer::takeTurn);
    connect(&m_tcp, &QTcpServer::newConnection, this, &RemoteServer::accept);
    connect(&m_udp, &QUdpSocket::readyRead, this, [this] {
        m_datagramsWaiting = true;
        onArrival();
    });
}

RemoteServer::~RemoteServer()
{
    close();
}

bool RemoteServer::listen(const QHostAddress &address, quint16 port)
{
    close();
    const QString where = endpointText(address, port);
    if (!m_tcp.listen(address, port)) {
        m_error = QStringLiteral("%1: %2").arg(where, m_tcp.errorString());
        return false;
    }
    if (!m_udp.bind(address, m_tcp.serverPort(), QAbstractSocket::DontShareAddress)) {
        m_error = QStringLiteral("%1: %2").arg(where, m_udp.errorString());
        m_tcp.close();
        return false;
    }
    m_error.clear();
    m_dropped = 0;
    emit changed();
    return true;
}

void RemoteServer::close()
{
    m_turn.stop();
    m_tcp.close();
    m_udp.close();
    m_datagramsWaiting = false;
    qDeleteAll(m_clients);
    m_clients.clear();
    emit changed();
}

// Beyond MaxClients a connection is closed at once.
void RemoteServer::accept()
{
    while (QTcpSocket *socket = m_tcp.nextPendingConnection()) {
        if (m_clients.size() >= MaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto *client = new LineClient(socket, this);
        connect(client, &LineClient::moved, this, &RemoteServer::onArrival);
        m_clients << client;
        emit changed();
    }
}

// Commands run as they come, with no extra pass of the event loop, as long as
// the turns of the last TurnMs took less than TurnMs in all; past that, in a
// busy spell, a turn waits for a pass of the loop each. A turn that closes a
// client starts no other.
void RemoteServer::onArrival()
{
    if (m_inTurn || m_turn.isActive())
        return;
    if (m_spell.isValid() && m_spell.elapsed() < TurnMs && m_spellSpentNs >= TurnMs * 1000000)
        return m_turn.start();
    takeTurn();
}

void RemoteServer::takeTurn()
{
    const QScopedValueRollback<bool> inTurn(m_inTurn, true);
    if (!m_spell.isValid() || m_spell.elapsed() >= TurnMs) {
        m_spell.start();
        m_spellSpentNs = 0;
    }
    QElapsedTimer spent;
    spent.start();
    bool waiting = true;
    while (waiting && spent.elapsed() < TurnMs) {
        waiting = false;
        for (LineClient *client : std::as_const(m_clients))
            waiting |= client->runNext(m_runner);
        waiting |= runDatagram();
    }
    removeDone();
    m_spellSpentNs += spent.nsecsElapsed();
    if (waiting)
        m_turn.start();
}

bool RemoteServer::runDatagram()
{
    if (!m_datagramsWaiting)
        return false;
    const qint64 size = m_udp.pendingDatagramSize();
    m_datagram.resize(MaxDatagram);
    QHostAddress host;
    quint16 port = 0;
    const qint64 read = m_udp.readDatagram(m_datagram.data(), MaxDatagram, &host, &port);
    const std::optional<OscMessage> message =
        read >= 0 && size <= MaxDatagram ? OscMessage::decode(QByteArrayView(m_datagram).first(read)) : std::nullopt;
    const std::optional<QString> line = message ? message->commandLine() : std::nullopt;
    const RemoteCommand command = line ? RemoteCommand::parse(*line) : RemoteCommand();
    if (command.verb == RemoteCommand::Verb::Unknown) {
        ++m_dropped;
        emit changed();
    } else {
        // OSC has no reply: a refused command is as if it had not come.
        m_runner.run(QStringLiteral("Remote ") + endpointText(host, port), command);
    }
    m_datagramsWaiting = m_udp.hasPendingDatagrams();
    return m_datagramsWaiting;
}

void RemoteServer::removeDone()
{
    const auto done = std::stable_partition(m_clients.begin(), m_clients.end(),
                                            [](const LineClient *client) { return !client->isDone(); });
    if (done == m_clients.end())
        return;
    for (auto it = done; it != m_clients.end(); ++it)
        (*it)->deleteLater();
    m_clients.erase(done, m_clients.end());
    emit changed();
}
