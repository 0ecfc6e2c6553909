#pragma once

#include <QObject>
#include <QString>

class CommandRunner;
class QTcpSocket;

// One TCP client of the line protocol. At most LineLimit bytes of what it
// sends are held here, in the socket's buffer and this one together (TCP
// holds back the rest); a line that does not fit is refused and the
// connection closed. A client that lets more than ReplyLimit bytes of
// replies pile up unread is closed.
class LineClient : public QObject
{
    Q_OBJECT

public:
    // A line with its line end.
    static constexpr qint64 LineLimit = 4096;
    static constexpr qint64 ReplyLimit = qint64(64) * 1024;
    // How long a refused client has to take its last reply.
    static constexpr int CloseGraceMs = 1000;

    // Takes the connected socket.
    LineClient(QTcpSocket *socket, QObject *parent);

    // Runs the next complete line and replies; true when another one waits.
    bool runNext(CommandRunner &runner);
    // Gone, and nothing of it left to run.
    bool isDone() const;

signals:
    // Bytes came, or the connection ended.
    void moved();

private:
    void fill();
    bool hasWork() const;
    void refuseAndClose(const QString &reply);

    QTcpSocket *m_socket;
    QString m_actor;
    QByteArray m_bytes;
    bool m_closing = false;
};
