#include "window/sendbytespanel.h"

#include "window/controls.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLineEdit>

using namespace Controls;

SendBytesPanel::SendBytesPanel(Console &console, const std::function<int()> &selectedLine, QWidget *parent)
    : QGroupBox(QStringLiteral("Send Bytes"), parent)
{
    setObjectName(QStringLiteral("SendBytesFrame"));
    SendBytesBtn = button(this, "SendBytesBtn", QStringLiteral("&Send Byte"));
    SendBytesSelectedLineBtn = button(this, "SendBytesSelectedLineBtn", QStringLiteral("Send Selected Line"));
    SendBytesCheckBox = named(new QCheckBox(this), "SendBytesCheckBox");
    // Line breaks are no digits, and no separators either: they are dropped.
    SendBytesText = textBox(this, "SendBytesText", QString(), 512, true);
    setBackground(QPalette::Button);
    SendBytesCheckBox->setAccessibleName(QStringLiteral("Enable Send Bytes"));
    SendBytesText->setAccessibleName(QStringLiteral("Bytes in hexadecimal"));
    SendBytesSelectedLineBtn->setAccessibleDescription(
        QStringLiteral("Sends the selected line, then the bytes typed in hexadecimal"));

    const int gap = qMax(2, fontMetrics().height() / 4);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(gap, gap, gap, gap);
    row->setSpacing(gap);
    row->addWidget(SendBytesCheckBox);
    row->addWidget(SendBytesText);
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(gap);
    buttons->addWidget(SendBytesSelectedLineBtn);
    buttons->addWidget(SendBytesBtn);
    row->addLayout(buttons);

    connect(SendBytesCheckBox, &QCheckBox::clicked, this, &SendBytesPanel::SendBytesCheckBox_Click);
    CommandActions &actions = console.actions();
    onClick(SendBytesBtn, console, [this, &actions] { actions.sendBytes(SendBytesText->text()); });
    onClick(SendBytesSelectedLineBtn, console,
            [this, &actions, selectedLine] { actions.sendLineThenBytes(selectedLine(), SendBytesText->text()); });
}

QWidgetList SendBytesPanel::tabOrder() const
{
    return {SendBytesCheckBox, SendBytesText, SendBytesSelectedLineBtn, SendBytesBtn};
}

void SendBytesPanel::EnableSendBytesFrame()
{
    setEnabled(true);
    if (SendBytesCheckBox->isChecked()) {
        SendBytesSelectedLineBtn->setEnabled(true);
        SendBytesBtn->setEnabled(true);
    }
}

void SendBytesPanel::DisableSendBytesFrame()
{
    setEnabled(false);
    SendBytesSelectedLineBtn->setEnabled(false);
    SendBytesBtn->setEnabled(false);
}

void SendBytesPanel::SendBytesCheckBox_Click()
{
    UpdateSendBytesControls();
}

void SendBytesPanel::UpdateSendBytesControls()
{
    const bool ticked = SendBytesCheckBox->isChecked();
    SendBytesText->setEnabled(ticked);
    setBackground(ticked ? QPalette::Base : QPalette::Button);
    SendBytesSelectedLineBtn->setEnabled(ticked);
    SendBytesBtn->setEnabled(ticked);
}

// The field's background: the button face while it is not armed.
void SendBytesPanel::setBackground(QPalette::ColorRole role)
{
    QPalette colours = SendBytesText->palette();
    colours.setColor(QPalette::Base, palette().color(role));
    SendBytesText->setPalette(colours);
}
