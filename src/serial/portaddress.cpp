#include "serial/portaddress.h"

#include "store/digits.h"

#include <QHostAddress>

#include <algorithm>

namespace {

constexpr QStringView SchemeEnd = u"://";

PortAddress refused(PortAddress address, const QString &error)
{
    address.error = error;
    return address;
}

} // namespace

QString PortAddress::shown() const
{
    if (!isNetwork())
        return text;
    const QString name = host.contains(u':') ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1:%2").arg(name).arg(port);
}

PortAddress PortAddress::parse(const QString &text)
{
    PortAddress address;
    address.text = text;
    const qsizetype schemeEnd = text.indexOf(SchemeEnd);
    if (schemeEnd < 0)
        return address;
    const QString scheme = text.left(schemeEnd).toLower();
    if (scheme == u"socket")
        address.kind = Kind::Raw;
    else if (scheme == u"rfc2217")
        address.kind = Kind::Rfc2217;
    else
        return refused(address, QStringLiteral("unknown scheme \"%1://\": use socket://HOST:PORT or "
                                               "rfc2217://HOST:PORT")
                                    .arg(text.left(schemeEnd)));

    const QStringView rest = QStringView(text).mid(schemeEnd + SchemeEnd.size());
    QStringView host = rest;
    QStringView afterHost;
    const bool bracketed = rest.startsWith(u'[');
    if (bracketed) {
        const qsizetype close = rest.indexOf(u']');
        if (close < 0)
            return refused(address, QStringLiteral("an IPv6 address needs its closing bracket: [::1]:7000"));
        host = rest.mid(1, close - 1);
        afterHost = rest.mid(close + 1);
    } else if (const qsizetype colon = rest.lastIndexOf(u':'); colon >= 0) {
        host = rest.left(colon);
        afterHost = rest.mid(colon);
    }
    if (host.trimmed().isEmpty())
        return refused(address, QStringLiteral("the host is empty"));
    if (bracketed && QHostAddress(host.toString()).protocol() != QAbstractSocket::IPv6Protocol)
        return refused(address, QStringLiteral("\"%1\" in brackets is no IPv6 address").arg(host));
    if (!bracketed && host.contains(u':'))
        return refused(address, QStringLiteral("an IPv6 address goes in brackets: [::1]:7000"));
    if (std::any_of(host.begin(), host.end(), [](QChar c) { return c.isSpace() || c == u'/'; }))
        return refused(address, QStringLiteral("\"%1\" is no host name").arg(host));

    if (!afterHost.startsWith(u':'))
        return refused(address, QStringLiteral("no port: the address ends in :PORT, 1-65535"));
    const QStringView digits = afterHost.mid(1);
    const bool decimal =
        !digits.isEmpty() && digits.size() <= 5
        && std::all_of(digits.begin(), digits.end(), [](QChar c) { return isDecimalDigit(c.unicode()); });
    const int port = decimal ? digits.toInt() : 0;
    if (port < 1 || port > 65535)
        return refused(address, QStringLiteral("the port \"%1\" is outside 1-65535").arg(digits));
    address.host = host.toString();
    address.port = quint16(port);
    return address;
}
