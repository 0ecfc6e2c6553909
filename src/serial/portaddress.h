#pragma once

#include <QString>

// What a COM port stands for: a serial device of this machine, or a device
// server on the network, raw (socket://HOST:PORT) or through RFC 2217
// (rfc2217://HOST:PORT). HOST is a name, an IPv4 address or an IPv6 address
// in brackets.
struct PortAddress
{
    enum class Kind { Device, Raw, Rfc2217 };

    Kind kind = Kind::Device;
    QString text; // as given
    QString host; // without brackets
    quint16 port = 0;
    QString error; // why the text is no usable address; empty when it is

    bool isNetwork() const { return kind != Kind::Device; }
    // "HOST:PORT" ("[::1]:7000") for an address, the path for a device.
    QString shown() const;

    // Anything without "://" is a device path, taken as it is.
    static PortAddress parse(const QString &text);
};
