#include "window/dialogs.h"

#include "console/report.h"

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
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
