#include "console/portcontrol.h"

#include "console/consolestate.h"
#include "console/sentcommands.h"
#include "console/texts.h"

PortControl::PortControl(ConsoleState &state, SentCommands &record, ReportSink &reports, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_record(record)
    , m_reports(reports)
    , m_link(new SerialLink(this))
{
    connect(m_link, &SerialLink::opened, this, &PortControl::onOpened);
    connect(m_link, &SerialLink::openFailed, this, &PortControl::onOpenFailed);
    connect(m_link, &SerialLink::handedOver, &m_record, &SentCommands::markSentUpTo);
    connect(m_link, &SerialLink::failed, this, &PortControl::portFailed);
    connect(m_link, &SerialLink::drained, this, &PortControl::finishDisconnect);
    connect(m_link, &SerialLink::stalled, this,
            [this](qint64 waiting) { setStatus(Texts::stalled(waiting), false, false); });
    connect(m_link, &SerialLink::progress, this, [this](qint64 queued, qint64 sent) {
        emit progressChanged(queued, sent, m_link->msToSend(m_link->pendingBytes()));
        if (m_link->isOpen())
            setStatus(Texts::Sending, false, false);
    });
    connect(m_link, &SerialLink::idle, this, [this] {
        emit progressEnded();
        if (m_link->isOpen())
            setStatus(Texts::connectedTo(m_link->description()), false, false);
    });
}

void PortControl::ConnectBtn_Click()
{
    switch (m_connection) {
    case Connection::Disconnected:
        return connectPort();
    case Connection::Connecting:
        m_link->cancelOpen();
        setConnection(Connection::Disconnected);
        return setStatus(Texts::Disconnected, false, false);
    case Connection::Connected:
    case Connection::Draining:
        return disconnectPort();
    }
}

void PortControl::connectPort()
{
    m_statusHeld = false;
    m_openForClient = m_reports.collecting();
    setConnection(Connection::Connecting);
    m_link->open(m_state.portSettings());
    if (m_link->isOpening())
        setStatus(Texts::connectingTo(m_link->address().shown()), false, false);
}

void PortControl::onOpened()
{
    setConnection(Connection::Connected);
    setStatus(Texts::connectedTo(m_link->description()), false, false);
}

void PortControl::onOpenFailed(const QString &reason)
{
    setConnection(Connection::Disconnected);
    setStatus(Texts::cannotOpen(reason), true, true);
    // A client's connect that fails once its reply has gone is said in the
    // status bar only: the operator asked for nothing and gets no box.
    if (m_openForClient && !m_reports.collecting())
        return;
    const QString hint = m_link->permissionDenied() ? QStringLiteral("\n\n") + Texts::DialoutHint : QString();
    m_reports.report({Report::Kind::Error, Texts::ErrorTitle, Texts::PortCannotOpen, reason + hint});
}

void PortControl::disconnectPort()
{
    // A second press while the queue drains drops the rest at once.
    if (m_link->isDraining())
        return m_link->close();
    // Bytes the operator already sent go out before the port closes;
    // finishDisconnect() completes the path once they have. Nothing new may
    // queue behind them meanwhile.
    if (const qint64 pending = m_link->pendingBytes(); pending > 0) {
        setConnection(Connection::Draining);
        setStatus(Texts::draining(pending), false, false);
    }
    m_link->drainThenClose();
}

void PortControl::release()
{
    m_link->close();
}

void PortControl::finishDisconnect(qint64 dropped)
{
    m_record.markUnsentDropped();
    setConnection(Connection::Disconnected);
    emit progressEnded();
    setStatus(dropped > 0 ? Texts::droppedOnClose(dropped) : Texts::Disconnected, false, false);
}

// The port went away under the operator (hang-up, unplugged adapter, I/O
// error): said once, in the status bar, and disconnected, so that no
// further send can fail into a box.
void PortControl::portFailed(const QString &reason, qint64 dropped, bool atMost)
{
    m_record.markUnsentDropped();
    setConnection(Connection::Disconnected);
    emit progressEnded();
    setStatus(Texts::portLost(reason, dropped, atMost), true, true);
}

void PortControl::showStatus(const QString &text, bool error)
{
    setStatus(text, error, false);
}

void PortControl::setConnection(Connection connection)
{
    if (connection == m_connection)
        return;
    m_connection = connection;
    emit connectionChanged(connection);
}

void PortControl::setStatus(const QString &text, bool error, bool held)
{
    if (m_statusHeld && !held)
        return;
    m_statusHeld = held;
    emit statusChanged(text, error);
}
