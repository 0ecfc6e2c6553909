#pragma once

#include "console/report.h"
#include "serial/seriallink.h"

#include <QObject>

class ConsoleState;
class SentCommands;

// Connect and Disconnect, and what the status bar says of the link.
class PortControl : public QObject
{
    Q_OBJECT

public:
    enum class Connection { Disconnected, Connecting, Connected, Draining };

    PortControl(ConsoleState &state, SentCommands &record, ReportSink &reports, QObject *parent = nullptr);

    Connection connection() const { return m_connection; }
    SerialLink &link() { return *m_link; }
    const SerialLink &link() const { return *m_link; }

    // What "&Connect" / "&Disconnect" does in the state it finds: opens the
    // chosen port; gives up a connection still being made; lets the queued
    // bytes go out and closes; while they drain, drops the rest at once.
    void ConnectBtn_Click();
    // Exit: whatever is queued is dropped, the port released at once.
    void release();
    // A note in the status bar, in the error colour when error is set.
    void showStatus(const QString &text, bool error = false);

signals:
    void connectionChanged(PortControl::Connection connection);
    void statusChanged(const QString &text, bool error);
    // A long send's progress; msLeft at the open baud rate.
    void progressChanged(qint64 queued, qint64 sent, qint64 msLeft);
    void progressEnded();

private:
    void connectPort();
    void disconnectPort();
    void onOpened();
    void onOpenFailed(const QString &reason);
    void finishDisconnect(qint64 dropped);
    void portFailed(const QString &reason, qint64 dropped, bool atMost);
    void setConnection(Connection connection);
    // held: kept until the next Connect, whatever else happens.
    void setStatus(const QString &text, bool error, bool held);

    ConsoleState &m_state;
    SentCommands &m_record;
    ReportSink &m_reports;
    SerialLink *m_link;
    Connection m_connection = Connection::Disconnected;
    bool m_statusHeld = false;
    // The pending connect was asked for by a remote client.
    bool m_openForClient = false;
};
