#pragma once

#include "console/consolestate.h"
#include "console/report.h"
#include "remote/remotecommand.h"

#include <QList>

class CommandActions;
class Console;

// Runs remote commands as the window's controls run theirs: each through the
// console's actions, under the client's name ("Remote 127.0.0.1:50122"), so
// that the same rules, the same failure policy and the same record apply. The
// reports an action makes become the client's reply instead of boxes.
class CommandRunner
{
public:
    explicit CommandRunner(Console &console) : m_console(console) {}

    // The reply line, without its line end: "OK", "OK <status>" or "ERR <reason>".
    QString run(const QString &actor, const RemoteCommand &command);

private:
    // Why the command cannot run in the present state, or nothing.
    QString refusal(const RemoteCommand &command) const;
    void act(const RemoteCommand &command, const QList<Report> &collected);
    void setAndSend(ConsoleState::Value value, const QString &text, void (CommandActions::*send)());
    QString status() const;

    Console &m_console;
};
