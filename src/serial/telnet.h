#pragma once

#include "serial/portsettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

// The client side of Telnet with the COM port option (RFC 854, 855, 856,
// 2217), without a socket: what the server sends goes in, what to send back
// comes out, so any byte stream can be fed to it.
//
// BINARY is asked for in both directions and COM-PORT-OPTION offered; once
// the server takes it, the line is set and every value checked in the
// server's reply. Whatever else the server asks for is refused, once per
// option and direction. Data the server sends is counted and dropped: the
// link never reads.
class TelnetClient
{
public:
    enum class State { Negotiating, Ready, Refused };
    // A longer subnegotiation is dropped whole.
    static constexpr qsizetype MaxSubnegotiation = 256;
    // The most the line settings take on the wire.
    static constexpr qsizetype MaxLineRequest = 40;

    explicit TelnetClient(const PortSettings &line);

    // What goes out as soon as the connection is made.
    QByteArray start();
    // Reads what the server sent, in pieces of any size; returns what to
    // send back.
    QByteArray receive(QByteArrayView bytes);

    State state() const { return m_state; }
    // Why the server's answers cannot be used, once Refused.
    QString refusal() const { return m_refusal; }
    // Data bytes the server sent.
    qint64 dataBytes() const { return m_dataBytes; }

    // Data as it goes on the wire: every 0xFF doubled.
    static QByteArray escape(QByteArrayView data);

private:
    enum class Parse { Data, Command, Option, Sub, SubCommand };
    // Where an option stands in one direction. Refused: said no once, so a
    // repeated request goes unanswered.
    enum class Side : quint8 { No, WantYes, Yes, Refused };

    // A byte of a subnegotiation.
    void keep(quint8 byte);
    void command(quint8 byte);
    void local(quint8 verb, quint8 option);
    void remote(quint8 verb, quint8 option);
    void subnegotiation();
    void reply(quint8 code, QByteArrayView value);
    void sendOption(quint8 verb, quint8 option);
    void sendLine();
    void refuse(const QString &reason);
    void settle();

    PortSettings m_line;
    State m_state = State::Negotiating;
    QString m_refusal;
    Parse m_parse = Parse::Data;
    quint8 m_verb = 0;
    QByteArray m_sub;
    bool m_subTooLong = false;
    std::array<Side, 256> m_local{};  // what we do
    std::array<Side, 256> m_remote{}; // what the server does
    bool m_lineSent = false;
    int m_answered = 0; // a bit for each line setting the server confirmed
    qint64 m_dataBytes = 0;
    QByteArray m_out;
};
