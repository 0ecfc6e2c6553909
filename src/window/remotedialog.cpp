#include "window/remotedialog.h"

#include "window/controls.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

using namespace Controls;

namespace {

// Room for an IPv6 address with its zone.
constexpr int AddressChars = 64;

} // namespace

RemoteControlDialog::RemoteControlDialog(const RemoteSettings &settings, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RemoteControlDialog"));
    setWindowTitle(QStringLiteral("Remote Control"));
    RemoteOnCheck = named(new QCheckBox(QStringLiteral("&Listen for remote control"), this), "RemoteOnCheck");
    RemoteOnCheck->setChecked(settings.on);
    RemotePort = named(new QSpinBox(this), "RemotePort");
    RemotePort->setRange(1, 65535);
    RemotePort->setValue(settings.port);
    RemoteAddress = textBox(this, "RemoteAddress", settings.address.toString(), AddressChars, true);
    auto *note = label(this, "RemoteNote",
                       QStringLiteral("Text lines on TCP and OSC messages on UDP, both on this port. Any address "
                                      "but 127.0.0.1 lets other machines send commands."));
    note->setWordWrap(true);
    auto *buttons = named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this), "RemoteButtons");

    auto *form = new QFormLayout(this);
    form->addRow(RemoteOnCheck);
    form->addRow(label(this, "RemotePortLabel", QStringLiteral("&Port:"), RemotePort), RemotePort);
    form->addRow(label(this, "RemoteAddressLabel", QStringLiteral("&Address:"), RemoteAddress), RemoteAddress);
    form->addRow(note);
    form->addRow(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(RemoteAddress, &QLineEdit::textChanged, this,
            [ok = buttons->button(QDialogButtonBox::Ok)](const QString &text) {
                ok->setEnabled(!QHostAddress(text).isNull());
            });
}

RemoteSettings RemoteControlDialog::settings() const
{
    RemoteSettings settings;
    settings.on = RemoteOnCheck->isChecked();
    settings.port = quint16(RemotePort->value());
    settings.address = QHostAddress(RemoteAddress->text());
    return settings;
}
