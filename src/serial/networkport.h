#pragma once

#include "serial/portaddress.h"
#include "serial/telnet.h"
#include "serial/transport.h"
#include "serial/wirequeue.h"

#include <optional>

class QTcpSocket;
class QTimer;

// A serial port behind a device server, over TCP: raw (socket://), bytes as
// they are at whatever line settings the server has, or through RFC 2217
// (rfc2217://), which sets the line first. Name lookup, connection and
// negotiation all run in the event loop; open() returns at once.
class NetworkPort : public Transport
{
    Q_OBJECT

public:
    static constexpr int ConnectMs = 5000;
    static constexpr int NegotiateMs = 3000;

    explicit NetworkPort(const PortAddress &address, QObject *parent = nullptr);
    ~NetworkPort() override;

    void open(const PortSettings &settings) override;
    bool write(const QByteArray &data) override;
    qint64 bytesToWrite() const override { return m_wire.dataWaiting(); }
    void close() override;
    QString errorString() const override { return m_error; }

private:
    enum class Phase { Closed, Connecting, Negotiating, Open, Failed };

    void onConnected();
    void onReadyRead();
    void onBytesWritten(qint64 wireBytes);
    void onSocketLost();
    void onTimeout();
    void setUpSocket();
    void sendCommand(const QByteArray &bytes);
    void giveUp(const QString &reason);

    PortAddress m_address;
    QTcpSocket *m_socket;
    QTimer *m_timer;
    std::optional<TelnetClient> m_telnet;
    WireQueue m_wire;
    Phase m_phase = Phase::Closed;
    QString m_error;
};
