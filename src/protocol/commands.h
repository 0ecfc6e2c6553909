#pragma once

#include "protocol/bytewriter.h"
#include "protocol/commandcodes.h"
#include "protocol/decoder.h"

#include <QString>

class LineStore;

// What the operator is told when a command fails.
enum class Notice { InvalidData, InvalidValue, OutOfRange, SendBytesError };

class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void notify(Notice notice) = 0;
};

// Hears of every command the moment its last piece was handed over (or its
// failure ended it), with its exact bytes.
class CommandRecorder
{
public:
    virtual ~CommandRecorder() = default;
    // refused: a write failed; command.bytes then holds what did go out.
    virtual void commandSent(const SentCommand &command, bool refused) = 0;
};

// Builds every controller command and hands it to the writer piece by piece:
// code, operands, terminator, each one write. A failure stops the command at
// once; what was written stays, nothing is retried, and the failure ends here
// (reported through the notifier, or not at all for the silent ones).
class Commands
{
public:
    Commands(ByteWriter &writer, Notifier &notifier, const CommandCodes &codes);

    // An empty line is cleared on the controller instead of sent.
    void SendLineCommand(const LineStore &store, int index);
    // Silent: returns whether it got through.
    bool SendClearLineCommand(int index);
    void SendPageCommand(const CommandCode &code, int index);
    void SendCursorCommand(const CommandCode &code, int index);

    // Lines 0 .. lineCount - 1 in turn; a failed line does not stop the rest.
    void sendAllLines(const LineStore &store, int lineCount);
    void clearAllLines(int lineCount);
    // Reload (or clear) the line, then select the page.
    void reloadLine(const LineStore &store, int lineIndex, int pageIndex);
    void turnOsdOff();

    // A short value with leading zeros up to width (positions 2, the left
    // offset 3); an empty one stays empty. The field shows this text before
    // its command goes out.
    static QString zeroFilled(const QString &fieldText, int width);
    // Nothing for an empty field; the first two characters, checked.
    void sendPosition(const CommandCode &code, const QString &fieldText);
    // False after a failure: the lines must not follow.
    bool sendLeftOffset(const QString &fieldText);
    void sendTransparency(const QString &fieldText, qint16 minimum, qint16 maximum);

    void SendHexBytes(const QString &text);

    // Null stops the recording.
    void setRecorder(CommandRecorder *recorder) { m_recorder = recorder; }

private:
    template<typename Steps>
    bool trapped(Steps &&steps);
    template<typename Steps>
    void reported(Notice notice, Steps &&steps);
    void put(const QByteArray &piece);
    void putByte(quint8 byte);
    void putCode(const CommandCode &code);
    void putNumbered(const CommandCode &code, int index);
    void finishCommand(bool whole);

    ByteWriter &m_writer;
    Notifier &m_notifier;
    const CommandCodes &m_codes;
    CommandRecorder *m_recorder = nullptr;
    // The command being built: a command that calls another (an empty line
    // sent as a clear) is still one command.
    SentCommand m_current;
    int m_depth = 0;
    bool m_writeFailed = false;
};
