// Any datagram: one that decodes is the only encoding of its message, so
// writing the message out again gives back the datagram byte for byte; and
// only addresses under /quillane/ stand for a command.
#include "remote/oscmessage.h"

#include <QtEndian>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto padded = [](const QByteArray &text) { return text + QByteArray(4 - text.size() % 4, '\0'); };
    const auto datagram = QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<OscMessage> message = OscMessage::decode(datagram);
    if (!message)
        return 0;
    QByteArray tags(","), arguments;
    for (const OscMessage::Argument &argument : message->arguments) {
        const qint32 *number = std::get_if<qint32>(&argument);
        const qint32 bigEndian = number ? qToBigEndian(*number) : 0;
        tags += number ? 'i' : 's';
        arguments +=
            number ? QByteArray(reinterpret_cast<const char *>(&bigEndian), 4) : padded(std::get<QByteArray>(argument));
    }
    if (padded(message->address) + padded(tags) + arguments != datagram
        || (message->commandLine() && !message->address.startsWith("/quillane/")))
        std::abort();
    return 0;
}
