#include "remote/lineclient.h"

#include "remote/commandrunner.h"
#include "remote/remotesettings.h"

#include <QTcpSocket>
#include <QTimer>

LineClient::LineClient(QTcpSocket *socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_actor(QStringLiteral("Remote ") + endpointText(socket->peerAddress(), socket->peerPort()))
{
    socket->setParent(this);
    socket->setReadBufferSize(LineLimit);
    m_bytes.reserve(LineLimit);
    connect(socket, &QTcpSocket::readyRead, this, &LineClient::moved);
    connect(socket, &QTcpSocket::disconnected, this, &LineClient::moved);
}

// Takes all the socket holds: it never holds more than the room left here
// when it last read. Emptying its buffer is also what lets it read on.
void LineClient::fill()
{
    const qsizetype had = m_bytes.size();
    m_bytes.resize(LineLimit);
    m_bytes.resize(had + qMax<qint64>(0, m_socket->read(m_bytes.data() + had, LineLimit - had)));
    const qint64 room = qMax<qint64>(1, LineLimit - m_bytes.size());
    if (m_socket->readBufferSize() != room)
        m_socket->setReadBufferSize(room);
}

// Lines a client sent before it hung up still run; their replies go nowhere.
bool LineClient::hasWork() const
{
    return !m_closing && (m_bytes.contains('\n') || m_bytes.size() >= LineLimit || m_socket->bytesAvailable() > 0);
}

bool LineClient::isDone() const
{
    return m_socket->state() == QAbstractSocket::UnconnectedState && !hasWork();
}

bool LineClient::runNext(CommandRunner &runner)
{
    if (!hasWork())
        return false;
    if (m_socket->bytesToWrite() > ReplyLimit) {
        m_closing = true;
        m_socket->abort();
        return false;
    }
    qsizetype end = m_bytes.indexOf('\n');
    if (end < 0) {
        fill();
        end = m_bytes.indexOf('\n');
    }
    if (end < 0) {
        if (m_bytes.size() >= LineLimit)
            refuseAndClose(QStringLiteral("ERR line over %1 bytes; closing").arg(LineLimit));
        return hasWork();
    }
    QByteArrayView line = QByteArrayView(m_bytes).first(end);
    if (line.endsWith('\r'))
        line.chop(1);
    const QString reply = runner.run(m_actor, RemoteCommand::parse(QString::fromUtf8(line)));
    m_bytes.remove(0, end + 1);
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->write(reply.toUtf8() + '\n');
    return hasWork();
}

void LineClient::refuseAndClose(const QString &reply)
{
    m_closing = true;
    m_socket->write(reply.toUtf8() + '\n');
    m_socket->disconnectFromHost();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        QTimer::singleShot(CloseGraceMs, m_socket, &QTcpSocket::abort);
}
