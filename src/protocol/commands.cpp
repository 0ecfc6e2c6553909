#include "protocol/commands.h"

#include "store/codec.h"
#include "protocol/hexpairs.h"
#include "store/linestore.h"
#include "store/numberreader.h"

#include <cmath>
#include <stdexcept>

namespace {

// Any failing step throws; each command traps its steps in one place, so a
// failure stops it at once and never reaches the window.
struct Refused : std::runtime_error
{
    Refused() : std::runtime_error("command refused") {}
};

void put(ByteWriter &writer, const QByteArray &piece)
{
    if (!writer.write(piece))
        throw Refused();
}

void putByte(ByteWriter &writer, quint8 byte)
{
    put(writer, QByteArray(1, static_cast<char>(byte)));
}

// The field is built before anything is written, so a number that does not
// fit leaves the wire untouched.
void putNumbered(ByteWriter &writer, const CommandCode &code, int index)
{
    const std::optional<QByteArray> field = numberField(index);
    if (!field)
        throw std::out_of_range("number outside the field");
    put(writer, codeBytes(code));
    put(writer, *field);
}

template <typename Steps>
bool trapped(Steps &&steps)
{
    try {
        steps();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

template <typename Steps>
void reported(Notifier &notifier, Notice notice, Steps &&steps)
{
    if (!trapped(steps))
        notifier.notify(notice);
}

constexpr quint8 hexDigitCode(int n)
{
    return static_cast<quint8>(n <= 9 ? n + 0x30 : n + 0x37);
}

} // namespace

Commands::Commands(ByteWriter &writer, Notifier &notifier, const CommandCodes &codes)
    : m_writer(writer), m_notifier(notifier), m_codes(codes)
{
}

void Commands::SendLineCommand(const LineStore &store, int index)
{
    reported(m_notifier, Notice::InvalidData, [&] {
        const QString &text = store.text(index);
        if (text.isEmpty()) {
            SendClearLineCommand(index);
            return;
        }
        putNumbered(m_writer, m_codes.CmdSendLine, index);
        put(m_writer, Codec::encode(text));
        putByte(m_writer, LineTerminator);
    });
}

bool Commands::SendClearLineCommand(int index)
{
    return trapped([&] { putNumbered(m_writer, m_codes.CmdClearLine, index); });
}

void Commands::SendPageCommand(const CommandCode &code, int index)
{
    reported(m_notifier, Notice::InvalidData, [&] { putNumbered(m_writer, code, index); });
}

void Commands::SendCursorCommand(const CommandCode &code, int index)
{
    // Same framing as a page command; only the codes differ.
    SendPageCommand(code, index);
}

void Commands::sendAllLines(const LineStore &store, int lineCount)
{
    for (int i = 0; i < lineCount; ++i)
        SendLineCommand(store, i);
}

void Commands::clearAllLines(int lineCount)
{
    for (int i = 0; i < lineCount; ++i)
        SendClearLineCommand(i);
}

void Commands::reloadLine(const LineStore &store, int lineIndex, int pageIndex)
{
    const bool reloaded = trapped([&] {
        if (store.text(lineIndex).isEmpty())
            SendClearLineCommand(lineIndex); // silent: the page still follows
        else
            putNumbered(m_writer, m_codes.CmdReloadLine, lineIndex);
    });
    if (!reloaded) {
        m_notifier.notify(Notice::InvalidData);
        return;
    }
    SendPageCommand(m_codes.CmdSelectPage, pageIndex);
}

void Commands::turnOsdOff()
{
    trapped([&] { putByte(m_writer, CmdOSDTurnOff); });
}

QString Commands::sendPosition(const CommandCode &code, const QString &fieldText)
{
    if (fieldText.isEmpty())
        return fieldText;
    // The leading zero stays in the field even when the value is then refused.
    QString text = fieldText.size() == 1 ? QLatin1Char('0') + fieldText : fieldText;
    const QStringView operand = QStringView(text).left(2);
    reported(m_notifier, Notice::InvalidValue, [&] {
        if (!readHexPairs(operand).ok)
            throw Refused();
        put(m_writer, codeBytes(code));
        put(m_writer, Codec::encode(operand));
    });
    return text;
}

Commands::LeftOffsetResult Commands::sendLeftOffset(const QString &fieldText)
{
    LeftOffsetResult result{fieldText, true};
    if (fieldText.isEmpty())
        return result;
    if (fieldText.size() < 3)
        result.fieldText = QString(3 - fieldText.size(), QLatin1Char('0')) + fieldText;
    result.sendLines = trapped([&] {
        put(m_writer, codeBytes(m_codes.CmdLeftOffset));
        put(m_writer, Codec::encode(result.fieldText));
    });
    if (!result.sendLines)
        m_notifier.notify(Notice::InvalidData);
    return result;
}

void Commands::sendTransparency(const QString &fieldText, qint16 minimum, qint16 maximum)
{
    if (fieldText.isEmpty())
        return;
    const double value = NumberReader::leadingNumber(fieldText);
    // Written so that NaN counts as outside.
    if (!(value >= minimum && value <= maximum)) {
        m_notifier.notify(Notice::OutOfRange);
        return;
    }
    const int n = static_cast<int>(std::nearbyint(value)); // halfway goes to even
    reported(m_notifier, Notice::InvalidData, [&] {
        put(m_writer, codeBytes(m_codes.CmdBgTransparency));
        putByte(m_writer, hexDigitCode(n));
    });
}

void Commands::SendHexBytes(const QString &text)
{
    const HexPairs pairs = readHexPairs(text);
    reported(m_notifier, Notice::SendBytesError, [&] {
        for (const char byte : pairs.bytes)
            put(m_writer, QByteArray(1, byte));
        if (!pairs.ok)
            throw Refused();
    });
}
