#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

// One OSC 1.0 message as remote control takes it: an address and int32 ("i")
// or string ("s") arguments. Decoding is strict, so that a message has
// exactly one form on the wire: every string ends in one to four zero bytes
// that bring it to a multiple of four, the type tags are there, and nothing
// follows the last argument.
struct OscMessage
{
    using Argument = std::variant<qint32, QByteArray>;

    QByteArray address;
    std::vector<Argument> arguments;

    // Nothing for a datagram that is not such a message, a bundle included:
    // commands are single, and a bundle's time tag would ask for a schedule
    // that remote control does not keep.
    static std::optional<OscMessage> decode(QByteArrayView datagram);

    // The protocol line the message stands for ("/quillane/send/line ,i 3" is
    // "send line 3"), or nothing when the address is not one of ours.
    std::optional<QString> commandLine() const;
};
