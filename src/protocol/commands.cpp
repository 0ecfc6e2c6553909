#include "protocol/commands.h"

#include "protocol/hexpairs.h"
#include "store/codec.h"
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

constexpr quint8 hexDigitCode(int n)
{
    return static_cast<quint8>(n <= 9 ? n + 0x30 : n + 0x37);
}

} // namespace

template<typename Steps>
bool Commands::trapped(Steps &&steps)
{
    const bool outermost = m_depth++ == 0;
    if (outermost) {
        m_current = SentCommand();
        m_writeFailed = false;
    }
    bool whole = true;
    try {
        steps();
    } catch (const std::exception &) {
        whole = false;
    }
    --m_depth;
    if (outermost)
        finishCommand(whole);
    return whole;
}

template<typename Steps>
void Commands::reported(Notice notice, Steps &&steps)
{
    if (!trapped(steps))
        m_notifier.notify(notice);
}

void Commands::put(const QByteArray &piece)
{
    if (!m_writer.write(piece)) {
        m_writeFailed = true;
        throw Refused();
    }
    if (m_recorder)
        m_current.pieces << piece; // shared, not copied: a line's text may be long
}

void Commands::putByte(quint8 byte)
{
    put(QByteArray(1, static_cast<char>(byte)));
}

void Commands::putCode(const CommandCode &code)
{
    m_current.kind = kindOfLetter(static_cast<char>(code[1]));
    put(codeBytes(code));
}

// The field is built before anything is written, so a number that does not
// fit leaves the wire untouched.
void Commands::putNumbered(const CommandCode &code, int index)
{
    const std::optional<QByteArray> field = numberField(index);
    if (!field)
        throw std::out_of_range("number outside the field");
    m_current.number = index + 1;
    putCode(code);
    put(*field);
}

// Typed bytes are told apart into the commands they make; every other
// command is known as it is built.
void Commands::finishCommand(bool whole)
{
    if (!m_recorder || (m_current.pieces.isEmpty() && !m_writeFailed))
        return;
    const bool cut = !whole && !m_current.pieces.isEmpty();
    if (m_current.kind != CommandKind::Raw || m_current.pieces.isEmpty()) {
        m_current.incomplete = cut;
        m_recorder->commandSent(m_current, m_writeFailed);
        return;
    }
    QList<SentCommand> commands = decodeCommands(m_current.pieces.join());
    commands.last().incomplete = commands.last().incomplete || cut;
    for (qsizetype i = 0; i < commands.size(); ++i)
        m_recorder->commandSent(commands.at(i), m_writeFailed && i == commands.size() - 1);
}

Commands::Commands(ByteWriter &writer, Notifier &notifier, const CommandCodes &codes)
    : m_writer(writer)
    , m_notifier(notifier)
    , m_codes(codes)
{
}

void Commands::SendLineCommand(const LineStore &store, int index)
{
    reported(Notice::InvalidData, [&] {
        const QString &text = store.text(index);
        if (text.isEmpty()) {
            SendClearLineCommand(index);
            return;
        }
        const QByteArray bytes = Codec::encode(text);
        m_current.operand = bytes;
        putNumbered(m_codes.CmdSendLine, index);
        put(bytes);
        putByte(LineTerminator);
    });
}

bool Commands::SendClearLineCommand(int index)
{
    return trapped([&] { putNumbered(m_codes.CmdClearLine, index); });
}

void Commands::SendPageCommand(const CommandCode &code, int index)
{
    reported(Notice::InvalidData, [&] { putNumbered(code, index); });
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
            putNumbered(m_codes.CmdReloadLine, lineIndex);
    });
    if (!reloaded) {
        m_notifier.notify(Notice::InvalidData);
        return;
    }
    SendPageCommand(m_codes.CmdSelectPage, pageIndex);
}

void Commands::turnOsdOff()
{
    trapped([&] {
        m_current.kind = CommandKind::OsdOff;
        putByte(CmdOSDTurnOff);
    });
}

QString Commands::zeroFilled(const QString &fieldText, int width)
{
    if (fieldText.isEmpty() || fieldText.size() >= width)
        return fieldText;
    return QString(width - fieldText.size(), QLatin1Char('0')) + fieldText;
}

void Commands::sendPosition(const CommandCode &code, const QString &fieldText)
{
    if (fieldText.isEmpty())
        return;
    const QStringView operand = QStringView(fieldText).left(2);
    reported(Notice::InvalidValue, [&] {
        if (operand.size() < 2 || !readHexPairs(operand).ok)
            throw Refused();
        m_current.operand = Codec::encode(operand);
        putCode(code);
        put(m_current.operand);
    });
}

bool Commands::sendLeftOffset(const QString &fieldText)
{
    if (fieldText.isEmpty())
        return true;
    const bool sent = trapped([&] {
        m_current.operand = Codec::encode(fieldText);
        putCode(m_codes.CmdLeftOffset);
        put(m_current.operand);
    });
    if (!sent)
        m_notifier.notify(Notice::InvalidData);
    return sent;
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
    reported(Notice::InvalidData, [&] {
        m_current.operand = QByteArray(1, static_cast<char>(hexDigitCode(n)));
        putCode(m_codes.CmdBgTransparency);
        put(m_current.operand);
    });
}

void Commands::SendHexBytes(const QString &text)
{
    const HexPairs pairs = readHexPairs(text);
    reported(Notice::SendBytesError, [&] {
        for (const char byte : pairs.bytes)
            put(QByteArray(1, byte));
        if (!pairs.ok)
            throw Refused();
    });
}
