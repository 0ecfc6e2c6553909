#include "remote/remotesettings.h"

#include <QSettings>

namespace {

const QString Organization = QStringLiteral("Quillane");
const QString Application = QStringLiteral("Quillane");

} // namespace

RemoteSettings RemoteSettings::load()
{
    RemoteSettings settings;
    const QSettings store(Organization, Application);
    settings.on = store.value(QStringLiteral("remote/on")).toString() == QLatin1String("true");
    settings.port = readPort(store.value(QStringLiteral("remote/port")).toString()).value_or(DefaultPort);
    QHostAddress address;
    if (address.setAddress(store.value(QStringLiteral("remote/address")).toString()))
        settings.address = address;
    return settings;
}

void RemoteSettings::save() const
{
    QSettings store(Organization, Application);
    store.setValue(QStringLiteral("remote/on"), on);
    store.setValue(QStringLiteral("remote/port"), port);
    store.setValue(QStringLiteral("remote/address"), address.toString());
}

std::optional<quint16> RemoteSettings::readPort(const QString &text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

QString endpointText(const QHostAddress &address, quint16 port)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4)
        return QStringLiteral("%1:%2").arg(QHostAddress(v4).toString()).arg(port);
    return QStringLiteral("[%1]:%2").arg(address.toString()).arg(port);
}
