#include "window/connectionpanel.h"

#include "serial/portmap.h"
#include "window/controls.h"
#include "window/portcombo.h"
#include "window/texts.h"

#include <QHBoxLayout>
#include <QLabel>

using namespace Controls;

ConnectionPanel::ConnectionPanel(Console &console, QWidget *parent) : QGroupBox(parent), m_console(console)
{
    setObjectName(QStringLiteral("Frame2"));
    ComPort = named(new PortCombo(this), "ComPort");
    ComPort->setAccessibleName(QStringLiteral("COM port"));
    ComPort->addItems(numbered(QStringLiteral("COM %1"), ConsoleState::ComPortEntries));
    BaudRate = dropDown(this, "BaudRate", QStringLiteral("Baud rate"), ConsoleState::baudRates());
    DataBit = dropDown(this, "DataBit", QStringLiteral("Data bits"), {"5", "6", "7", "8"});
    FlowControl = dropDown(this, "FlowControl", QStringLiteral("Flow control"), {"Hardware", "Xon/Xoff", "None"});
    ExitBtn = button(this, "ExitBtn", QStringLiteral("E&xit"));
    ConnectBtn = button(this, "ConnectBtn", Texts::Connect);
    StopBit = dropDown(this, "StopBit", QStringLiteral("Stop bits"), {"1", "1.5", "2"});
    Label1 = label(this, "Label1", QStringLiteral("Communication Setting:"));

    const int gap = qMax(2, fontMetrics().height() / 4);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(gap, gap, gap, gap);
    row->setSpacing(gap);
    for (QWidget *w : std::initializer_list<QWidget *>{Label1, ComPort, BaudRate, DataBit, StopBit, FlowControl})
        row->addWidget(w);
    row->addStretch();
    row->addWidget(ConnectBtn);
    row->addWidget(ExitBtn);

    // Picks by the operator only: the lists follow the work when it changes.
    connect(ComPort, &QComboBox::activated, this, [this](int index) { m_console.state().setComPortIndex(index); });
    connect(BaudRate, &QComboBox::activated, this, [this](int index) { m_console.state().setBaudRateIndex(index); });
    connect(ComPort, &PortCombo::aboutToShowPopup, this, &ConnectionPanel::refreshPortTips);
    connect(ConnectBtn, &QPushButton::clicked, this, &ConnectionPanel::ConnectBtn_Click);
    connect(ExitBtn, &QPushButton::clicked, this, &ConnectionPanel::exitRequested);
    connect(&m_console.state(), &ConsoleState::portSelectionChanged, this, &ConnectionPanel::followPortSelection);
    connect(&m_console.port(), &PortControl::connectionChanged, this, &ConnectionPanel::followConnection);
}

void ConnectionPanel::InitPortSettings()
{
    followPortSelection();
    DataBit->setCurrentIndex(3);
    StopBit->setCurrentIndex(0);
    FlowControl->setCurrentIndex(2);
    DataBit->setEnabled(false);
    StopBit->setEnabled(false);
    FlowControl->setEnabled(false);
}

QWidgetList ConnectionPanel::tabOrder() const
{
    return {ComPort, BaudRate, DataBit, StopBit, FlowControl, ConnectBtn, ExitBtn};
}

void ConnectionPanel::ConnectBtn_Click()
{
    const Console::Acting acting(m_console, ConnectBtn->text());
    m_console.port().ConnectBtn_Click();
}

// Connecting leaves the controls as they are while disconnected; from the
// moment the port is open until it is closed again, the port lists are
// locked and the button disconnects.
void ConnectionPanel::followConnection()
{
    using Connection = PortControl::Connection;
    const Connection connection = m_console.port().connection();
    const bool open = connection == Connection::Connected || connection == Connection::Draining;
    ConnectBtn->setText(open ? Texts::Disconnect : Texts::Connect);
    ComPort->setEnabled(!open);
    BaudRate->setEnabled(!open);
}

void ConnectionPanel::followPortSelection()
{
    ComPort->setCurrentIndex(m_console.state().comPortIndex());
    BaudRate->setCurrentIndex(m_console.state().baudRateIndex());
}

void ConnectionPanel::refreshPortTips()
{
    const QStringList targets = PortMap::devicesFor(ComPort->count());
    for (int i = 0; i < ComPort->count(); ++i)
        ComPort->setItemData(i, Texts::deviceTip(targets.at(i)), Qt::ToolTipRole);
}
