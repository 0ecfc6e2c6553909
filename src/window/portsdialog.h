#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;

// Settings > Ports…: what COM 1 … COM 16 stand for, a device path or an
// address (socket://HOST:PORT, rfc2217://HOST:PORT). A blank entry keeps the
// automatic choice, shown greyed in it. The map is stored only when every
// entry is usable; the line file keeps the COM index alone.
class PortsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PortsDialog(QWidget *parent);

    // The saved map, and the automatic choices as they are now.
    void load();
    void accept() override;

private:
    QList<QLineEdit *> m_entries;
    QLabel *m_error;
};
