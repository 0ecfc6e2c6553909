#include "console/commandactions.h"

#include "console/portcontrol.h"
#include "console/sentcommands.h"
#include "console/texts.h"
#include "store/oneline.h"

namespace {

// Upper bounds of what each command puts in the queue.
constexpr qint64 NumberedBytes = 4; // code and number field
constexpr qint64 PositionBytes = 4;
constexpr qint64 TransparencyBytes = 3;
constexpr qint64 OffsetBytes = 5; // code and three characters

qint64 hexBytes(const QString &text)
{
    return (text.size() + 1) / 2;
}

} // namespace

CommandActions::CommandActions(ConsoleState &state, PortControl &port, SentCommands &record, ReportSink &reports)
    : m_state(state)
    , m_port(port)
    , m_record(record)
    , m_reports(reports)
    , m_commands(port.link(), *this, m_codes)
{
    InitCommandCodes(m_codes, TransparencyMin, TransparencyMax);
    initReloadLineCode(m_codes);
    setRecording(true);
}

void CommandActions::setRecording(bool on)
{
    m_commands.setRecorder(on ? &m_record : nullptr);
}

void CommandActions::notify(Notice notice)
{
    if (m_noticed.contains(notice))
        return;
    m_noticed << notice;
    switch (notice) {
    case Notice::InvalidData:
        return m_reports.report({Report::Kind::Error, Texts::ErrorTitle, Texts::InvalidData, {}});
    case Notice::InvalidValue:
        return m_reports.report({Report::Kind::Information, Texts::AppTitle, Texts::InvalidValue, {}});
    case Notice::OutOfRange:
        return m_reports.report({Report::Kind::Error, Texts::ErrorTitle, Texts::OutOfRange, {}});
    case Notice::SendBytesError:
        return m_reports.report({Report::Kind::Information, Texts::AppTitle, Texts::SendBytesError, {}});
    }
}

bool CommandActions::admits(qint64 bytes)
{
    const SerialLink &link = m_port.link();
    if (!link.isOpen()) {
        m_reports.report({Report::Kind::Status, Texts::ErrorTitle, Texts::NotConnected, {}});
        return false;
    }
    if (bytes > link.room()) {
        m_reports.report({Report::Kind::Status,
                          Texts::ErrorTitle,
                          Texts::queueFull(bytes, SerialLink::QueueLimit - link.room()),
                          {}});
        return false;
    }
    return true;
}

qint64 CommandActions::lineBytes(int lineIndex) const
{
    if (!LineStore::isIndex(lineIndex))
        return 0;
    const QString &text = m_state.lineTexts().text(lineIndex);
    // One byte per character at most: a surrogate pair goes out as one '?'.
    return text.isEmpty() ? NumberedBytes : NumberedBytes + text.size() + 1;
}

qint64 CommandActions::allLinesBytes() const
{
    qint64 bytes = NumberedBytes; // the page reload that "Auto" adds
    for (int i = 0; i < m_state.lineCount(); ++i)
        bytes += lineBytes(i);
    return bytes;
}

void CommandActions::sendLine(int lineIndex)
{
    if (admits(lineBytes(lineIndex)))
        m_commands.SendLineCommand(m_state.lineTexts(), lineIndex);
}

void CommandActions::sendLinesAndReload()
{
    m_commands.sendAllLines(m_state.lineTexts(), m_state.lineCount());
    if (m_state.autoReload())
        m_commands.SendPageCommand(m_codes.CmdReloadPage, m_state.selectedPage());
}

void CommandActions::sendAllLines()
{
    if (admits(allLinesBytes()))
        sendLinesAndReload();
}

void CommandActions::sendClearLine(int lineIndex)
{
    if (admits(NumberedBytes))
        m_commands.SendClearLineCommand(lineIndex);
}

void CommandActions::sendClearAllLines()
{
    if (admits(NumberedBytes * m_state.lineCount()))
        m_commands.clearAllLines(m_state.lineCount());
}

void CommandActions::reloadLine(int lineIndex)
{
    if (admits(2 * NumberedBytes))
        m_commands.reloadLine(m_state.lineTexts(), lineIndex, m_state.selectedPage());
}

void CommandActions::selectPage(int pageIndex)
{
    m_state.setSelectedPage(pageIndex);
    if (!m_port.link().isOpen() || pageIndex == m_state.currentPage())
        return;
    if (!admits(NumberedBytes))
        return;
    m_commands.SendPageCommand(m_codes.CmdSelectPage, pageIndex);
    m_state.setCurrentPage(static_cast<qint16>(pageIndex));
}

void CommandActions::FillPageList()
{
    selectPage(0);
    m_state.setCurrentPage(static_cast<qint16>(m_state.selectedPage()));
}

void CommandActions::reloadPage()
{
    if (admits(NumberedBytes))
        m_commands.SendPageCommand(m_codes.CmdReloadPage, m_state.selectedPage());
}

void CommandActions::cursorOn(int lineIndex)
{
    if (admits(NumberedBytes))
        m_commands.SendCursorCommand(m_codes.CmdCursorOn, lineIndex);
}

void CommandActions::cursorOff(int lineIndex)
{
    if (admits(NumberedBytes))
        m_commands.SendCursorCommand(m_codes.CmdCursorOff, lineIndex);
}

void CommandActions::turnOsdOff()
{
    if (admits(1))
        m_commands.turnOsdOff();
}

// The zero-filled value is in the field before its command goes out, and
// stays there even when the value is then refused.
void CommandActions::sendPosition(const CommandCode &code, ConsoleState::Value value)
{
    const QString filled = Commands::zeroFilled(m_state.value(value), 2);
    m_state.setValue(value, filled);
    m_commands.sendPosition(code, filled);
}

void CommandActions::sendHPos()
{
    if (admits(PositionBytes))
        sendPosition(m_codes.CmdHPos, ConsoleState::Value::HPos);
}

void CommandActions::sendVPos()
{
    if (admits(PositionBytes))
        sendPosition(m_codes.CmdVPos, ConsoleState::Value::VPos);
}

void CommandActions::sendLeftOffset()
{
    const QString text = m_state.value(ConsoleState::Value::LeftOffset);
    if (!admits(OffsetBytes + allLinesBytes()))
        return;
    const QString filled = Commands::zeroFilled(text, 3);
    m_state.setValue(ConsoleState::Value::LeftOffset, filled);
    if (m_commands.sendLeftOffset(filled))
        sendLinesAndReload();
}

void CommandActions::sendTransparency()
{
    if (admits(TransparencyBytes))
        m_commands.sendTransparency(m_state.value(ConsoleState::Value::TransparencyValue), TransparencyMin,
                                    TransparencyMax);
}

void CommandActions::sendAll()
{
    if (!admits(OffsetBytes + allLinesBytes() + TransparencyBytes + 2 * PositionBytes))
        return;
    sendLeftOffset();
    sendTransparency();
    sendHPos();
    sendVPos();
}

// A line break in the typed bytes counts for nothing, as the field never
// holds one.
void CommandActions::sendBytes(const QString &hexText)
{
    const QString text = OneLine::withoutBreaks(hexText);
    if (admits(hexBytes(text)))
        m_commands.SendHexBytes(text);
}

void CommandActions::sendLineThenBytes(int lineIndex, const QString &hexText)
{
    const QString text = OneLine::withoutBreaks(hexText);
    if (!admits(lineBytes(lineIndex) + hexBytes(text)))
        return;
    m_commands.SendLineCommand(m_state.lineTexts(), lineIndex);
    m_commands.SendHexBytes(text);
}
