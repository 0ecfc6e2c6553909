#pragma once

#include <QGroupBox>

#include <functional>

class Console;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The raw byte sender: the check box that arms it, the field of hexadecimal
// digits, and its two buttons. The group is usable only while connected;
// inside it, the check box decides.
class SendBytesPanel : public QGroupBox
{
    Q_OBJECT

public:
    SendBytesPanel(Console &console, const std::function<int()> &selectedLine, QWidget *parent);

    void EnableSendBytesFrame();
    void DisableSendBytesFrame();
    QWidgetList tabOrder() const;

private:
    void SendBytesCheckBox_Click();
    void UpdateSendBytesControls();
    void setBackground(QPalette::ColorRole role);

    QPushButton *SendBytesBtn;
    QPushButton *SendBytesSelectedLineBtn;
    QCheckBox *SendBytesCheckBox;
    QLineEdit *SendBytesText;
};
