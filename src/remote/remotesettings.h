#pragma once

#include <QHostAddress>
#include <QString>

#include <optional>

// Whether and where remote control listens. Stored with QSettings; off
// until the operator turns it on, and on the loopback address unless asked
// otherwise.
struct RemoteSettings
{
    static constexpr quint16 DefaultPort = 9000;

    bool on = false;
    quint16 port = DefaultPort;
    QHostAddress address{QHostAddress::LocalHost};

    // What is stored; a value that does not read as one is the default.
    static RemoteSettings load();
    void save() const;
    // A decimal port from 1 to 65535.
    static std::optional<quint16> readPort(const QString &text);

    friend bool operator==(const RemoteSettings &a, const RemoteSettings &b)
    {
        return a.on == b.on && a.port == b.port && a.address == b.address;
    }
};

// "127.0.0.1:9000", "[::1]:9000"; an IPv4 address seen through IPv6 as IPv4.
QString endpointText(const QHostAddress &address, quint16 port);
