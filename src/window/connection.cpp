// The port settings, Connect and Disconnect, and the status bar that tells
// how the link is doing.
#include "window/mainwindow.h"

#include "serial/portmap.h"
#include "serial/seriallink.h"
#include "window/dialogs.h"
#include "window/portcombo.h"
#include "window/sentcommands.h"
#include "window/texts.h"

#include <QColor>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>
#include <climits>

void Main::InitPortSettings()
{
    BaudRate->setCurrentIndex(3);
    ComPort->setCurrentIndex(0);
    DataBit->setCurrentIndex(3);
    StopBit->setCurrentIndex(0);
    FlowControl->setCurrentIndex(2);
    DataBit->setEnabled(false);
    StopBit->setEnabled(false);
    FlowControl->setEnabled(false);
}

void Main::refreshPortTips()
{
    const QStringList devices = PortMap::devicesFor(ComPort->count());
    for (int i = 0; i < ComPort->count(); ++i)
        ComPort->setItemData(i, Texts::deviceTip(devices.at(i)), Qt::ToolTipRole);
}

void Main::ApplyPortNumber()
{
    MSComm1->setCommPort(static_cast<qint16>(ComPort->currentIndex() + 1));
}

void Main::ApplyPortSettings()
{
    MSComm1->setSettings(BaudRate->currentText() + QStringLiteral(",n,8,1"));
}

void Main::ConnectBtn_Click()
{
    if (ConnectBtn->text() == Texts::Disconnect) {
        // A second press while the queue drains drops the rest at once.
        if (MSComm1->isDraining())
            return MSComm1->close();
        // Bytes the operator already sent go out before the port closes;
        // finishDisconnect() completes the path once they have. Nothing new
        // may queue behind them meanwhile.
        if (const qint64 pending = MSComm1->pendingBytes(); pending > 0) {
            DisableCommandButtons();
            DisableSendBytesFrame();
            setStatus(Texts::draining(pending));
        }
        MSComm1->drainThenClose();
        return;
    }

    ApplyPortNumber();
    ApplyPortSettings();
    if (!MSComm1->open()) {
        const QString reason = MSComm1->errorString();
        setStatus(Texts::cannotOpen(reason), true);
        const QString hint = MSComm1->permissionDenied() ? QStringLiteral("\n\n") + Texts::DialoutHint : QString();
        showBox(Texts::PortCannotOpen, Texts::ErrorTitle, BoxKind::Error, reason + hint);
        return;
    }
    ComPort->setEnabled(false);
    BaudRate->setEnabled(false);
    ConnectBtn->setText(Texts::Disconnect);
    EnableCommandButtons();
    EnableSendBytesFrame();
    m_statusHeld = false;
    setStatus(Texts::connectedTo(MSComm1->description()));
}

void Main::enterDisconnectedState()
{
    ConnectBtn->setText(Texts::Connect);
    ComPort->setEnabled(true);
    BaudRate->setEnabled(true);
    DisableCommandButtons();
    DisableSendBytesFrame();
    SendProgress->hide();
}

void Main::finishDisconnect(qint64 dropped)
{
    m_sentCommands->markUnsentDropped();
    enterDisconnectedState();
    setStatus(dropped > 0 ? Texts::droppedOnClose(dropped) : Texts::Disconnected);
}

// The port went away under the operator (hang-up, unplugged adapter, I/O
// error): the window says so once, in the status bar, and is disconnected,
// so that no further send can fail into a box.
void Main::portFailed(const QString &reason, qint64 dropped)
{
    m_sentCommands->markUnsentDropped();
    enterDisconnectedState();
    setStatus(Texts::portLost(reason, dropped), true);
}

void Main::showProgress(qint64 queued, qint64 sent)
{
    SendProgress->setRange(0, int(std::min<qint64>(queued, INT_MAX)));
    SendProgress->setValue(int(std::min<qint64>(sent, INT_MAX)));
    SendProgress->setFormat(Texts::progress(MSComm1->msToSend(MSComm1->pendingBytes())));
    SendProgress->show();
    if (MSComm1->isOpen())
        setStatus(Texts::Sending);
}

void Main::lineIdle()
{
    SendProgress->hide();
    if (MSComm1->isOpen())
        setStatus(Texts::connectedTo(MSComm1->description()));
}

void Main::setStatus(const QString &text, bool error)
{
    if (m_statusHeld && !error)
        return;
    m_statusHeld = error;
    QPalette colours = statusBar()->palette();
    if (error)
        colours.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x20));
    StatusText->setPalette(colours);
    StatusText->setText(text);
}
