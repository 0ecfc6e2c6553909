#pragma once

#include "console/report.h"
#include "window/dialogs.h"

#include <QFileDialog>
#include <QStringList>

// Records what the window would show, one line each, and answers file
// dialogs from a list of paths (an empty path, or none left, cancels).
class RecordingDialogs : public Dialogs
{
public:
    QStringList boxes;       // text|title|kind|reason
    QStringList fileDialogs; // title|mode|suffix|filter|starting folder
    QStringList answers;

    void showMessage(const Report &report) override
    {
        static const char *const Kinds[] = {"error", "information", "plain", "status"};
        boxes << QStringList{report.text, report.title, Kinds[int(report.kind)], report.reason}.join(u'|');
    }

    QString runFileDialog(QFileDialog &dialog) override
    {
        const bool open = dialog.acceptMode() == QFileDialog::AcceptOpen;
        const QString mode = open ? (dialog.fileMode() == QFileDialog::ExistingFile ? "open existing" : "open")
                                  : (dialog.testOption(QFileDialog::DontConfirmOverwrite) ? "save" : "save, confirm");
        fileDialogs << QStringList{dialog.windowTitle(), mode, dialog.defaultSuffix(), dialog.nameFilters().join(u' '),
                                   dialog.directory().absolutePath()}
                           .join(u'|');
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};
