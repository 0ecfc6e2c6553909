#include "window/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

void QtDialogs::showMessage(const QString &text, const QString &title, BoxKind kind, const QString &reason)
{
    const QMessageBox::Icon icon = kind == BoxKind::Error         ? QMessageBox::Critical
                                   : kind == BoxKind::Information ? QMessageBox::Information
                                                                  : QMessageBox::NoIcon;
    QMessageBox box(icon, title, text, QMessageBox::Ok, m_parent);
    box.setInformativeText(reason);
    box.exec();
}

QString QtDialogs::runFileDialog(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
