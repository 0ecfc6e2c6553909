#include "window/remotecontrol.h"

#include "remote/remoteserver.h"
#include "window/dialogs.h"
#include "window/remotedialog.h"
#include "window/texts.h"

#include <QLabel>
#include <QStatusBar>

RemoteControl::RemoteControl(Console &console, Dialogs &dialogs, QStatusBar *bar, QWidget *window)
    : QObject(window)
    , m_dialogs(dialogs)
    , m_window(window)
    , m_server(new RemoteServer(console, this))
{
    RemoteStatus = new QLabel(bar);
    RemoteStatus->setObjectName(QStringLiteral("RemoteStatus"));
    RemoteStatus->setAccessibleDescription(QStringLiteral("Remote control"));
    RemoteStatus->hide();
    bar->addPermanentWidget(RemoteStatus);
    connect(m_server, &RemoteServer::changed, this, &RemoteControl::showState);
}

void RemoteControl::apply(const RemoteSettings &settings)
{
    if (settings == m_settings && m_server->isListening() == settings.on)
        return;
    m_settings = settings;
    m_server->close();
    if (settings.on && !m_server->listen(settings.address, settings.port))
        m_dialogs.showMessage(
            {Report::Kind::Error, Texts::ErrorTitle, Texts::RemoteCannotStart, m_server->errorString()});
    showState();
}

void RemoteControl::showDialog()
{
    RemoteControlDialog dialog(m_settings, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const RemoteSettings chosen = dialog.settings();
    chosen.save();
    apply(chosen);
}

void RemoteControl::showState()
{
    RemoteStatus->setVisible(m_server->isListening());
    if (!m_server->isListening())
        return;
    RemoteStatus->setText(
        Texts::remoteStatus(endpointText(m_server->address(), m_server->port()), m_server->clientCount()));
    RemoteStatus->setToolTip(Texts::remoteDropped(m_server->droppedPackets()));
}
