#pragma once

#include <QGroupBox>

class Console;
class PortCombo;
class QComboBox;
class QLabel;
class QPushButton;

// The communication settings row: the port and baud rate lists, the three
// lists that only show the fixed line format, "&Connect" and "E&xit".
class ConnectionPanel : public QGroupBox
{
    Q_OBJECT

public:
    ConnectionPanel(Console &console, QWidget *parent);

    void InitPortSettings();
    QWidgetList tabOrder() const;

signals:
    void exitRequested();

private:
    void ConnectBtn_Click();
    void followConnection();
    void followPortSelection();
    void refreshPortTips();

    Console &m_console;
    QLabel *Label1;
    PortCombo *ComPort;
    QComboBox *BaudRate;
    QComboBox *DataBit;
    QComboBox *StopBit;
    QComboBox *FlowControl;
    QPushButton *ConnectBtn;
    QPushButton *ExitBtn;
};
