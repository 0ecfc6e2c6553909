#include "serial/linesettings.h"

#include "store/digits.h"

#include <QStringList>

#include <algorithm>

namespace {

bool isDecimal(const QString &text)
{
    return !text.isEmpty()
           && std::all_of(text.begin(), text.end(), [](QChar c) { return isDecimalDigit(c.unicode()); });
}

} // namespace

std::optional<LineFormat> parseSettings(const QString &settings)
{
    const QStringList fields = settings.split(u',');
    if (fields.size() != 4 || !isDecimal(fields[0]))
        return std::nullopt;

    LineFormat format;
    bool ok = false;
    format.baud = fields[0].toInt(&ok);
    if (!ok || format.baud <= 0)
        return std::nullopt;

    const QString parity = fields[1].toLower();
    if (parity == u"n")
        format.parity = QSerialPort::NoParity;
    else if (parity == u"e")
        format.parity = QSerialPort::EvenParity;
    else if (parity == u"o")
        format.parity = QSerialPort::OddParity;
    else if (parity == u"m")
        format.parity = QSerialPort::MarkParity;
    else if (parity == u"s")
        format.parity = QSerialPort::SpaceParity;
    else
        return std::nullopt;

    const QString &data = fields[2];
    if (data.size() != 1 || data[0] < u'5' || data[0] > u'8')
        return std::nullopt;
    format.dataBits = static_cast<QSerialPort::DataBits>(data.toInt());

    const QString &stop = fields[3];
    if (stop == u"1")
        format.stopBits = QSerialPort::OneStop;
    else if (stop == u"1.5")
        format.stopBits = QSerialPort::OneAndHalfStop;
    else if (stop == u"2")
        format.stopBits = QSerialPort::TwoStop;
    else
        return std::nullopt;

    format.bitsPerChar = 1 + format.dataBits + (format.parity == QSerialPort::NoParity ? 0 : 1)
                         + (format.stopBits == QSerialPort::OneStop ? 1 : 2);
    return format;
}
