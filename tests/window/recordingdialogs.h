#pragma once

#include "window/dialogs.h"

#include <QFileDialog>
#include <QList>
#include <QStringList>

// Records what the window would show, and answers file dialogs from a list
// of paths (an empty path cancels).
class RecordingDialogs : public Dialogs
{
public:
    struct Box
    {
        QString text;
        QString title;
        BoxKind kind;
        QString reason;
    };
    struct FileDialog
    {
        QString title;
        QFileDialog::AcceptMode acceptMode;
        QFileDialog::FileMode fileMode;
        QString defaultSuffix;
        QString directory;
        QStringList nameFilters;
        bool confirmsOverwrite;
        const QFileDialog *object;
    };

    QList<Box> boxes;
    QList<FileDialog> fileDialogs;
    QStringList answers;

    void showMessage(const QString &text, const QString &title, BoxKind kind, const QString &reason) override
    {
        boxes.append({text, title, kind, reason});
    }

    QString runFileDialog(QFileDialog &dialog) override
    {
        fileDialogs.append({dialog.windowTitle(), dialog.acceptMode(), dialog.fileMode(), dialog.defaultSuffix(),
                            dialog.directory().absolutePath(), dialog.nameFilters(), !dialog.testOption(QFileDialog::DontConfirmOverwrite), &dialog});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Box &box : boxes)
            result << box.text;
        return result;
    }
};
