#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

// One command of the remote line protocol, read from one line without its
// line end: its verb, its number as the operator counts (line 1 is 1) and
// its text. Words are read case-insensitively; whether a number is in range
// depends on the work and is for whoever runs the command.
struct RemoteCommand
{
    Q_GADGET

public:
    enum class Verb {
        Unknown,
        Status,
        Port,
        Baud,
        Connect,
        Disconnect,
        SetLine,
        SendLine,
        ClearLine,
        ReloadLine,
        SendAllLines,
        ClearAllLines,
        Page,
        ReloadPage,
        CursorOn,
        CursorOff,
        HPos,
        VPos,
        Offset,
        Transparency,
        SendAll,
        OsdOff,
        Bytes,
    };
    Q_ENUM(Verb)
    // The largest number a command takes: nine digits.
    static constexpr int MaxNumber = 999999999;

    // Unknown when no command's words begin the line; set also when what
    // follows them is refused.
    Verb verb = Verb::Unknown;
    int number = 0;
    QString text;
    // Why the line is refused; empty when it is a command.
    QString error;

    static RemoteCommand parse(QStringView line);
    bool ok() const { return error.isEmpty(); }
};
