#include "window/portsdialog.h"

#include "serial/portaddress.h"
#include "serial/portmap.h"
#include "window/controls.h"
#include "window/texts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Controls;

PortsDialog::PortsDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PortsDialog"));
    setWindowTitle(Texts::PortsTitle);
    auto *column = new QVBoxLayout(this);
    auto *help = label(this, "PortsHelp", Texts::PortsHelp);
    help->setWordWrap(true);
    column->addWidget(help);
    auto *form = new QFormLayout;
    for (int n = 1; n <= PortMap::HighestPort; ++n) {
        auto *entry = textBox(this, QStringLiteral("PortEntry%1").arg(n).toLatin1().constData(), {}, 1024, true);
        entry->setAccessibleName(QStringLiteral("COM %1").arg(n));
        form->addRow(label(this, "", QStringLiteral("COM %1").arg(n), entry), entry);
        m_entries << entry;
    }
    column->addLayout(form);
    m_error = label(this, "PortsError", {});
    m_error->setWordWrap(true);
    m_error->setForegroundRole(QPalette::HighlightedText);
    m_error->setBackgroundRole(QPalette::Highlight);
    m_error->setAutoFillBackground(true);
    m_error->hide();
    column->addWidget(m_error);
    auto *buttons = named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this), "PortsButtons");
    column->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PortsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PortsDialog::reject);
}

void PortsDialog::load()
{
    const QStringList saved = PortMap::savedMap();
    const QStringList automatic = PortMap::devicesFor(PortMap::HighestPort, false);
    for (int i = 0; i < m_entries.size(); ++i) {
        m_entries[i]->setText(saved.value(i));
        m_entries[i]->setPlaceholderText(Texts::deviceTip(automatic.value(i)));
        m_entries[i]->setToolTip(Texts::portEntryTip(i + 1));
    }
    m_error->hide();
}

void PortsDialog::accept()
{
    QStringList entries;
    for (int i = 0; i < m_entries.size(); ++i) {
        const QString entry = m_entries[i]->text().trimmed();
        if (const PortAddress address = PortAddress::parse(entry); !address.error.isEmpty()) {
            m_error->setText(QStringLiteral("COM %1: %2").arg(i + 1).arg(address.error));
            m_error->show();
            m_entries[i]->setFocus();
            return;
        }
        entries << entry;
    }
    PortMap::saveMap(entries);
    QDialog::accept();
}
