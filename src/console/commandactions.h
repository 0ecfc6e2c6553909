#pragma once

#include "console/consolestate.h"
#include "console/report.h"
#include "protocol/commands.h"

class PortControl;
class SentCommands;

// Every command the operator can send, under the rules of its button: what
// it reads, what it writes back into the work, and how its failures are
// reported (through the report sink, at most once each per action). A send
// that the link's queue cannot take whole is refused whole.
class CommandActions : private Notifier
{
public:
    CommandActions(ConsoleState &state, PortControl &port, SentCommands &record, ReportSink &reports);

    void sendLine(int lineIndex);
    void sendAllLines();
    void sendClearLine(int lineIndex);
    void sendClearAllLines();
    // Reloads (or clears) the line, then selects the picked page.
    void reloadLine(int lineIndex);
    // A page picked in the Page list: goes out while connected when it is
    // not the current page.
    void selectPage(int pageIndex);
    void reloadPage();
    void cursorOn(int lineIndex);
    void cursorOff(int lineIndex);
    void turnOsdOff();
    void sendHPos();
    void sendVPos();
    void sendLeftOffset();
    void sendTransparency();
    void sendAll();
    void sendBytes(const QString &hexText);
    void sendLineThenBytes(int lineIndex, const QString &hexText);

    // Rebuilds the Page list with PageCount entries and selects page 1,
    // which goes out as any page selection does.
    void FillPageList();
    // From here on, each kind of command failure is reported once more: an
    // operator's action reports it once, however many commands fail so.
    void startAction() { m_noticed.clear(); }
    // Off, the commands sent are not recorded.
    void setRecording(bool on);

private:
    void notify(Notice notice) override;
    // Whether a send of at most `bytes` may start: the port is open and its
    // queue takes them all.
    bool admits(qint64 bytes);
    qint64 lineBytes(int lineIndex) const;
    qint64 allLinesBytes() const;
    void sendPosition(const CommandCode &code, ConsoleState::Value value);
    void sendLinesAndReload();

    ConsoleState &m_state;
    PortControl &m_port;
    SentCommands &m_record;
    ReportSink &m_reports;
    CommandCodes m_codes;
    qint16 TransparencyMin = 0;
    qint16 TransparencyMax = 0;
    Commands m_commands;
    QList<Notice> m_noticed;
};
