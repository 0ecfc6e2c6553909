#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>

// What a piece of the command stream tells the controller.
enum class CommandKind {
    SetLine,      // F0 53 nn text 0A
    ClearLine,    // F0 43 nn
    ReloadLine,   // F0 4C nn
    SelectPage,   // F0 70 nn
    ReloadPage,   // F0 50 nn
    CursorOn,     // F0 54 nn
    CursorOff,    // F0 74 nn
    HPos,         // F0 48 hh
    VPos,         // F0 56 hh
    LeftOffset,   // F0 4F ooo
    Transparency, // F0 42 d
    OsdOff,       // BD
    Raw,          // anything else, kept as it is
};

// One command with its exact bytes: the items of a stream, put together,
// give back the stream byte for byte.
struct SentCommand
{
    CommandKind kind = CommandKind::Raw;
    // The line or page as the operator sees it (1 for "Line 1"); -1 when the
    // number field is not two upper-case hexadecimal digits.
    int number = -1;
    // The text, position, offset or transparency digit, as bytes.
    QByteArray operand;
    QByteArray bytes;
    // A command as it was built carries its bytes as the pieces that were
    // written, which the link's queue holds too; bytes is then empty.
    QList<QByteArray> pieces;
    // The stream ended, or a write failed, before the command was whole.
    bool incomplete = false;

    QByteArray wholeBytes() const { return pieces.isEmpty() ? bytes : pieces.join(); }
};

// The command a code's letter starts, or Raw for a letter that starts none.
CommandKind kindOfLetter(char letter);

// Splits a stream into commands. Bytes that start no command run together
// into one Raw item until the next byte that does.
QList<SentCommand> decodeCommands(QByteArrayView stream);

// The command in words, with its number as the operator sees it:
// Set line 3 to "AB", Select page 2, Horizontal position 1A, Raw bytes.
QString commandWords(const SentCommand &command);
