#include "serial/portsettings.h"

namespace {

QChar parityLetter(QSerialPort::Parity parity)
{
    switch (parity) {
    case QSerialPort::EvenParity:
        return u'e';
    case QSerialPort::OddParity:
        return u'o';
    case QSerialPort::SpaceParity:
        return u's';
    case QSerialPort::MarkParity:
        return u'm';
    default:
        return u'n';
    }
}

} // namespace

QString settingsText(const PortSettings &settings)
{
    const QString stop = settings.stopBits == QSerialPort::OneAndHalfStop ? QStringLiteral("1.5")
                                                                          : QString::number(int(settings.stopBits));
    return QStringLiteral("%1,%2,%3,%4")
        .arg(settings.baudRate)
        .arg(parityLetter(settings.parity))
        .arg(int(settings.dataBits))
        .arg(stop);
}

int bitsPerCharacter(const PortSettings &settings)
{
    return 1 + int(settings.dataBits) + (settings.parity == QSerialPort::NoParity ? 0 : 1)
           + (settings.stopBits == QSerialPort::OneStop ? 1 : 2);
}
