#include "window/dialogs.h"

#include "console/report.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QMessageBox>

void QtDialogs::showMessage(const Report &report)
{
    const QMessageBox::Icon icon = report.kind == Report::Kind::Error         ? QMessageBox::Critical
                                   : report.kind == Report::Kind::Information ? QMessageBox::Information
                                                                              : QMessageBox::NoIcon;
    QMessageBox box(icon, report.title, report.text, QMessageBox::Ok, m_parent);
    box.setInformativeText(report.reason);
    box.exec();
}

QString QtDialogs::runFileDialog(QFileDialog &dialog)
{
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // A typed path leaves its completion list open, a window of its own that
    // would stay over the main window after the dialog closes.
    for (const QCompleter *completer : dialog.findChildren<QCompleter *>())
        completer->popup()->hide();
    return accepted ? dialog.selectedFiles().value(0) : QString();
}
