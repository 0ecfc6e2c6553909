#pragma once

#include "remote/commandrunner.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <QUdpSocket>

class Console;
class LineClient;

// Remote control: the line protocol on TCP and OSC messages on UDP, both on
// one port. Commands run on the console's thread in turns that take at most
// about TurnMs each, one command from each client in turn, so that no client
// can hold the window up or starve another; a busy spell gets one turn per
// pass of the event loop. Nothing a client sends is kept without a bound.
class RemoteServer : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxClients = 16;
    static constexpr qint64 MaxDatagram = 8192;
    static constexpr qint64 TurnMs = 4;

    explicit RemoteServer(Console &console, QObject *parent = nullptr);
    ~RemoteServer() override;

    // Listens on TCP and UDP; port 0 takes a free port for both. False, with
    // errorString(), when either cannot.
    bool listen(const QHostAddress &address, quint16 port);
    void close();
    bool isListening() const { return m_tcp.isListening(); }
    // "127.0.0.1:9000: The bound address is already in use"
    QString errorString() const { return m_error; }
    QHostAddress address() const { return m_tcp.serverAddress(); }
    quint16 port() const { return m_tcp.serverPort(); }
    int clientCount() const { return int(m_clients.size()); }
    // Datagrams that were no OSC message, or none of ours.
    qint64 droppedPackets() const { return m_dropped; }

signals:
    // The number of clients or of dropped packets changed.
    void changed();

private:
    void accept();
    void onArrival();
    void takeTurn();
    // Runs the next datagram; true when another one waits.
    bool runDatagram();
    void removeDone();

    CommandRunner m_runner;
    QTcpServer m_tcp;
    QUdpSocket m_udp;
    QList<LineClient *> m_clients;
    QTimer m_turn;
    // The time turns took since m_spell began.
    QElapsedTimer m_spell;
    qint64 m_spellSpentNs = 0;
    bool m_inTurn = false;
    // Asking the system costs a call: readyRead() says when to start.
    bool m_datagramsWaiting = false;
    QByteArray m_datagram;
    qint64 m_dropped = 0;
    QString m_error;
};
