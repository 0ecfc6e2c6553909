#include "serial/telnet.h"

#include <QtEndian>

#include <utility>

namespace {

// RFC 854
constexpr quint8 Se = 240;
constexpr quint8 Sb = 250;
constexpr quint8 Will = 251;
constexpr quint8 Wont = 252;
constexpr quint8 Do = 253;
constexpr quint8 Dont = 254;
constexpr quint8 Iac = 255;
// RFC 856, RFC 2217
constexpr quint8 Binary = 0;
constexpr quint8 ComPort = 44;
// RFC 2217 client codes; the server answers each with the code plus 100.
constexpr quint8 SetBaudRate = 1;
constexpr quint8 SetDataSize = 2;
constexpr quint8 SetParity = 3;
constexpr quint8 SetStopSize = 4;
constexpr quint8 ServerOffset = 100;
constexpr int AllAnswered = (1 << SetBaudRate) | (1 << SetDataSize) | (1 << SetParity) | (1 << SetStopSize);

QString optionName(quint8 option)
{
    return option == Binary ? QStringLiteral("BINARY") : QStringLiteral("COM-PORT-OPTION");
}

quint32 parityCode(QSerialPort::Parity parity)
{
    switch (parity) {
    case QSerialPort::OddParity:
        return 2;
    case QSerialPort::EvenParity:
        return 3;
    case QSerialPort::MarkParity:
        return 4;
    case QSerialPort::SpaceParity:
        return 5;
    default:
        return 1;
    }
}

quint32 stopCode(QSerialPort::StopBits stop)
{
    return stop == QSerialPort::TwoStop ? 2 : stop == QSerialPort::OneAndHalfStop ? 3 : 1;
}

// A line setting's value, and with its unit: "9600" and "9600 baud",
// "even" and "parity even".
QString settingValue(quint8 code, quint32 value)
{
    static const char *const Parities[] = {"none", "odd", "even", "mark", "space"};
    static const char *const Stops[] = {"1", "2", "1.5"};
    if (code == SetParity && value >= 1 && value <= 5)
        return QLatin1String(Parities[value - 1]);
    if (code == SetStopSize && value >= 1 && value <= 3)
        return QLatin1String(Stops[value - 1]);
    return QString::number(value);
}

QString settingText(quint8 code, quint32 value)
{
    static const char *const Units[] = {"%1 baud", "%1 data bits", "parity %1", "%1 stop bits"};
    return QLatin1String(Units[code - SetBaudRate]).arg(settingValue(code, value));
}

} // namespace

TelnetClient::TelnetClient(const PortSettings &line) : m_line(line)
{
    m_sub.reserve(MaxSubnegotiation);
}

QByteArray TelnetClient::escape(QByteArrayView data)
{
    if (!data.contains(char(Iac)))
        return data.toByteArray();
    QByteArray wire;
    wire.reserve(data.size() + data.count(char(Iac)));
    for (const char c : data) {
        wire += c;
        if (quint8(c) == Iac)
            wire += c;
    }
    return wire;
}

QByteArray TelnetClient::start()
{
    m_local[Binary] = Side::WantYes;
    m_remote[Binary] = Side::WantYes;
    m_local[ComPort] = Side::WantYes;
    sendOption(Will, Binary);
    sendOption(Do, Binary);
    sendOption(Will, ComPort);
    return std::exchange(m_out, {});
}

QByteArray TelnetClient::receive(QByteArrayView bytes)
{
    for (const char c : bytes) {
        const auto byte = quint8(c);
        switch (m_parse) {
        case Parse::Data:
            if (byte == Iac)
                m_parse = Parse::Command;
            else
                ++m_dataBytes;
            break;
        case Parse::Command:
            command(byte);
            break;
        case Parse::Option:
            m_parse = Parse::Data;
            if (m_verb == Do || m_verb == Dont)
                local(m_verb, byte);
            else
                remote(m_verb, byte);
            settle();
            break;
        case Parse::Sub:
            if (byte == Iac)
                m_parse = Parse::SubCommand;
            else
                keep(byte);
            break;
        case Parse::SubCommand:
            if (byte == Iac) {
                m_parse = Parse::Sub;
                keep(byte);
            } else if (byte == Se) {
                m_parse = Parse::Data;
                if (!m_subTooLong)
                    subnegotiation();
                settle();
            } else {
                // Not a valid end: the subnegotiation is dropped and the
                // byte read as the command it names.
                command(byte);
            }
            break;
        }
    }
    return std::exchange(m_out, {});
}

void TelnetClient::keep(quint8 byte)
{
    if (m_sub.size() < MaxSubnegotiation)
        m_sub += char(byte);
    else
        m_subTooLong = true;
}

// The byte after an IAC.
void TelnetClient::command(quint8 byte)
{
    m_parse = Parse::Data;
    if (byte == Iac) {
        ++m_dataBytes;
    } else if (byte >= Will && byte <= Dont) {
        m_verb = byte;
        m_parse = Parse::Option;
    } else if (byte == Sb) {
        m_sub.clear();
        m_subTooLong = false;
        m_parse = Parse::Sub;
    }
    // Anything else (NOP, GA, a break, a data mark) means nothing to a link
    // that never reads.
}

// DO and DONT: what the server wants us to do. We offer BINARY and
// COM-PORT-OPTION, nothing else.
void TelnetClient::local(quint8 verb, quint8 option)
{
    Side &side = m_local[option];
    const bool ours = option == Binary || option == ComPort;
    if (verb == Do) {
        if (side == Side::No && ours)
            sendOption(Will, option);
        else if (side == Side::No)
            sendOption(Wont, option);
        if (side == Side::No || side == Side::WantYes)
            side = ours ? Side::Yes : Side::Refused;
        if (option == ComPort && side == Side::Yes && !m_lineSent)
            sendLine();
        return;
    }
    if (side == Side::Yes)
        sendOption(Wont, option);
    if (side == Side::Yes || side == Side::WantYes) {
        side = Side::No;
        if (m_state == State::Negotiating)
            refuse(QStringLiteral("the server refused %1").arg(optionName(option)));
    }
}

// WILL and WONT: what the server offers to do. Only BINARY is welcome; the
// server refusing it matters not, as nothing it sends is read.
void TelnetClient::remote(quint8 verb, quint8 option)
{
    Side &side = m_remote[option];
    if (verb == Will) {
        if (side == Side::No)
            sendOption(option == Binary ? Do : Dont, option);
        if (side == Side::No || side == Side::WantYes)
            side = option == Binary ? Side::Yes : Side::Refused;
        return;
    }
    if (side == Side::Yes)
        sendOption(Dont, option);
    if (side == Side::Yes || side == Side::WantYes)
        side = Side::No;
}

void TelnetClient::subnegotiation()
{
    if (m_sub.size() < 2 || quint8(m_sub[0]) != ComPort || m_local[ComPort] != Side::Yes)
        return;
    const auto code = quint8(m_sub[1]);
    if (code > ServerOffset)
        reply(code - ServerOffset, QByteArrayView(m_sub).sliced(2));
    // Line and modem state notices, flow control requests and a request for
    // our signature go unanswered: nothing here waits on them.
}

// The server's answer to one line setting: the value it now has.
void TelnetClient::reply(quint8 code, QByteArrayView value)
{
    if (m_state != State::Negotiating || code < SetBaudRate || code > SetStopSize)
        return;
    quint32 asked = 0;
    quint32 set = 0;
    if (code == SetBaudRate) {
        if (value.size() != 4)
            return;
        asked = quint32(m_line.baudRate);
        set = qFromBigEndian<quint32>(value.data());
    } else {
        if (value.size() != 1)
            return;
        asked = code == SetDataSize ? quint32(m_line.dataBits)
                : code == SetParity ? parityCode(m_line.parity)
                                    : stopCode(m_line.stopBits);
        set = quint8(value[0]);
    }
    if (set != asked)
        return refuse(
            QStringLiteral("the server set %1, not %2").arg(settingText(code, set), settingValue(code, asked)));
    m_answered |= 1 << code;
}

void TelnetClient::sendOption(quint8 verb, quint8 option)
{
    m_out.append(char(Iac)).append(char(verb)).append(char(option));
}

// No flow control is simply not asked for: SET-CONTROL is never sent, as
// servers in front of a pseudo-terminal never answer it, and a device
// server's port has none unless it is set up so.
void TelnetClient::sendLine()
{
    m_lineSent = true;
    const auto setting = [this](quint8 code, QByteArrayView value) {
        const char start[] = {char(Iac), char(Sb), char(ComPort), char(code)};
        m_out.append(start, sizeof start).append(escape(value)).append(char(Iac)).append(char(Se));
    };
    const quint32 baud = qToBigEndian(quint32(m_line.baudRate));
    setting(SetBaudRate, QByteArrayView(reinterpret_cast<const char *>(&baud), sizeof baud));
    setting(SetDataSize, QByteArray(1, char(m_line.dataBits)));
    setting(SetParity, QByteArray(1, char(parityCode(m_line.parity))));
    setting(SetStopSize, QByteArray(1, char(stopCode(m_line.stopBits))));
}

void TelnetClient::refuse(const QString &reason)
{
    m_state = State::Refused;
    m_refusal = reason;
}

// Ready from the byte that completes the negotiation on, however the bytes
// were split into reads: a reply after it no longer counts.
void TelnetClient::settle()
{
    if (m_state == State::Negotiating && m_answered == AllAnswered && m_local[Binary] == Side::Yes)
        m_state = State::Ready;
}
