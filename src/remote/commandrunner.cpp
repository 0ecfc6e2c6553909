#include "remote/commandrunner.h"

#include "console/console.h"
#include "store/oneline.h"

namespace {

using Verb = RemoteCommand::Verb;
using Value = ConsoleState::Value;
using Connection = PortControl::Connection;

// Whatever the reasons hold, a reply is one line.
QString refused(const QString &reason)
{
    return QStringLiteral("ERR ") + OneLine::fromPasted(reason);
}

QString outside(const char *what, int number, int last)
{
    if (number >= 1 && number <= last)
        return {};
    return QStringLiteral("%1 %2 is outside 1..%3").arg(QLatin1String(what)).arg(number).arg(last);
}

QString connectRefusal(Connection connection)
{
    switch (connection) {
    case Connection::Disconnected:
        return {};
    case Connection::Connecting:
        return QStringLiteral("already connecting");
    case Connection::Connected:
        return QStringLiteral("already connected");
    case Connection::Draining:
        return QStringLiteral("still disconnecting");
    }
    return {};
}

} // namespace

QString CommandRunner::run(const QString &actor, const RemoteCommand &command)
{
    if (!command.ok())
        return refused(command.error);
    if (const QString why = refusal(command); !why.isEmpty())
        return refused(why);
    QList<Report> collected;
    {
        const Console::Acting acting(m_console, actor, &collected);
        act(command, collected);
    }
    if (collected.isEmpty())
        return command.verb == Verb::Status ? QStringLiteral("OK ") + status() : QStringLiteral("OK");
    QStringList reasons;
    for (const Report &report : collected)
        reasons << (report.reason.isEmpty() ? report.text : report.text + QStringLiteral(": ") + report.reason);
    return refused(reasons.join(QStringLiteral("; ")));
}

QString CommandRunner::refusal(const RemoteCommand &command) const
{
    const ConsoleState &state = m_console.state();
    const Connection connection = m_console.port().connection();
    const int n = command.number;
    switch (command.verb) {
    case Verb::Port:
    case Verb::Baud:
        if (connection != Connection::Disconnected)
            return QStringLiteral("the port can be chosen only while disconnected");
        if (command.verb == Verb::Port)
            return outside("port", n, ConsoleState::ComPortEntries);
        if (!ConsoleState::baudRates().contains(QString::number(n)))
            return QStringLiteral("baud rate %1 is not one of %2").arg(n).arg(ConsoleState::baudRates().join(u' '));
        return {};
    case Verb::Connect:
        return connectRefusal(connection);
    case Verb::Disconnect:
        return connection == Connection::Disconnected ? QStringLiteral("not connected") : QString();
    case Verb::SetLine:
    case Verb::SendLine:
    case Verb::ClearLine:
    case Verb::ReloadLine:
    case Verb::CursorOn:
    case Verb::CursorOff:
        return outside("line", n, state.lineCount());
    case Verb::Page:
        return outside("page", n, state.pageCount());
    default:
        return {};
    }
}

void CommandRunner::act(const RemoteCommand &command, const QList<Report> &collected)
{
    ConsoleState &state = m_console.state();
    CommandActions &actions = m_console.actions();
    const int index = command.number - 1;
    switch (command.verb) {
    case Verb::Unknown:
    case Verb::Status:
        return;
    case Verb::Port:
        return state.setComPortIndex(index);
    case Verb::Baud:
        return state.setBaudRateIndex(int(ConsoleState::baudRates().indexOf(QString::number(command.number))));
    case Verb::Connect:
    case Verb::Disconnect:
        return m_console.port().ConnectBtn_Click();
    case Verb::SetLine:
        return state.setLineText(index, command.text);
    case Verb::SendLine:
        return actions.sendLine(index);
    case Verb::ClearLine:
        return actions.sendClearLine(index);
    case Verb::ReloadLine:
        return actions.reloadLine(index);
    case Verb::SendAllLines:
        return actions.sendAllLines();
    case Verb::ClearAllLines:
        return actions.sendClearAllLines();
    case Verb::Page:
        return actions.selectPage(index);
    case Verb::ReloadPage:
        return actions.reloadPage();
    case Verb::CursorOn:
        return actions.cursorOn(index);
    case Verb::CursorOff:
        return actions.cursorOff(index);
    case Verb::HPos:
        return setAndSend(Value::HPos, command.text, &CommandActions::sendHPos);
    case Verb::VPos:
        return setAndSend(Value::VPos, command.text, &CommandActions::sendVPos);
    case Verb::Offset:
        return setAndSend(Value::LeftOffset, command.text, &CommandActions::sendLeftOffset);
    case Verb::Transparency:
        return setAndSend(Value::TransparencyValue, command.text, &CommandActions::sendTransparency);
    case Verb::SendAll:
        return actions.sendAll();
    case Verb::OsdOff:
        return actions.turnOsdOff();
    case Verb::Bytes:
        // Each word as the Send Bytes field reads its text; the first refused
        // word ends the command, as a bad pair ends the field's.
        for (const QString &word : QString(command.text).replace(u'\t', u' ').split(u' ', Qt::SkipEmptyParts)) {
            actions.sendBytes(word);
            if (!collected.isEmpty())
                return;
        }
        return;
    }
}

// As an operator types the value into its field, then presses its button.
void CommandRunner::setAndSend(ConsoleState::Value value, const QString &text, void (CommandActions::*send)())
{
    m_console.state().setValue(value, text);
    (m_console.actions().*send)();
}

QString CommandRunner::status() const
{
    const ConsoleState &state = m_console.state();
    const bool connected = m_console.port().connection() == Connection::Connected;
    return QStringLiteral("%1 COM %2 %3 LINES %4 PAGES %5 PAGE %6")
        .arg(connected ? QLatin1String("connected") : QLatin1String("disconnected"))
        .arg(state.comPortIndex() + 1)
        .arg(ConsoleState::baudRates().value(state.baudRateIndex(), QStringLiteral("0")))
        .arg(state.lineCount())
        .arg(state.pageCount())
        .arg(state.selectedPage() + 1);
}
