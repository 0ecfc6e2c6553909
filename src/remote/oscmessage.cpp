#include "remote/oscmessage.h"

#include <QStringList>
#include <QtEndian>

namespace {

const QByteArray Prefix = QByteArrayLiteral("/quillane/");

// Reads an OSC-string at `at` and moves past its padding.
std::optional<QByteArray> readString(QByteArrayView data, qsizetype &at)
{
    const qsizetype end = data.indexOf('\0', at);
    if (end < 0)
        return std::nullopt;
    const qsizetype next = (end / 4 + 1) * 4;
    if (next > data.size())
        return std::nullopt;
    for (qsizetype i = end; i < next; ++i) {
        if (data[i] != '\0')
            return std::nullopt;
    }
    const QByteArray text = data.sliced(at, end - at).toByteArray();
    at = next;
    return text;
}

bool isWord(QByteArrayView part)
{
    if (part.isEmpty())
        return false;
    for (const char c : part) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    }
    return true;
}

} // namespace

std::optional<OscMessage> OscMessage::decode(QByteArrayView datagram)
{
    if (datagram.isEmpty() || datagram.size() % 4 != 0 || datagram.front() != '/')
        return std::nullopt;
    qsizetype at = 0;
    std::optional<QByteArray> address = readString(datagram, at);
    std::optional<QByteArray> tags = readString(datagram, at);
    if (!address || !tags || !tags->startsWith(','))
        return std::nullopt;
    OscMessage message;
    message.address = *address;
    for (const char tag : QByteArrayView(*tags).sliced(1)) {
        if (tag == 'i') {
            if (at + 4 > datagram.size())
                return std::nullopt;
            message.arguments.emplace_back(qFromBigEndian<qint32>(datagram.data() + at));
            at += 4;
            continue;
        }
        const std::optional<QByteArray> text = tag == 's' ? readString(datagram, at) : std::nullopt;
        if (!text)
            return std::nullopt;
        message.arguments.emplace_back(*text);
    }
    if (at != datagram.size())
        return std::nullopt;
    return message;
}

std::optional<QString> OscMessage::commandLine() const
{
    if (!address.startsWith(Prefix))
        return std::nullopt;
    const QList<QByteArray> parts = address.sliced(Prefix.size()).split('/');
    QStringList words;
    for (const QByteArray &part : parts) {
        if (!isWord(part))
            return std::nullopt;
        words << QString::fromLatin1(part);
    }
    for (const Argument &argument : arguments) {
        if (const qint32 *number = std::get_if<qint32>(&argument))
            words << QString::number(*number);
        else
            words << QString::fromUtf8(std::get<QByteArray>(argument));
    }
    return words.join(u' ');
}
