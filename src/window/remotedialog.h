#pragma once

#include "remote/remotesettings.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;

// "&Remote Control…": whether remote control listens, on which port and
// address. OK stays disabled while the address does not read as one.
class RemoteControlDialog : public QDialog
{
    Q_OBJECT

public:
    RemoteControlDialog(const RemoteSettings &settings, QWidget *parent);

    RemoteSettings settings() const;

private:
    QCheckBox *RemoteOnCheck;
    QSpinBox *RemotePort;
    QLineEdit *RemoteAddress;
};
