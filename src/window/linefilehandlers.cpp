// Saving and opening the work through the file dialog.
#include "window/mainwindow.h"

#include "store/linefile.h"
#include "window/dialogs.h"
#include "window/portcombo.h"
#include "window/texts.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>

// Made on first use: building a file dialog costs more than the rest of
// the window together, and most sessions never open one.
QFileDialog &Main::commonDialog()
{
    if (!CommonDialog) {
        CommonDialog = new QFileDialog(Frame2);
        CommonDialog->setObjectName(QStringLiteral("CommonDialog"));
        CommonDialog->setDefaultSuffix(Texts::FileSuffix);
        CommonDialog->setNameFilter(Texts::FileFilter);
    }
    return *CommonDialog;
}

// Either dialog starts where the last one, of either kind, left off, also
// when that path was typed rather than browsed to.
QString Main::runCommonDialog()
{
    QFileDialog &dialog = commonDialog();
    QString path = m_dialogs->runFileDialog(dialog);
    if (!path.isEmpty())
        dialog.setDirectory(QFileInfo(path).absolutePath());
    return path;
}

void Main::SaveSubMenu_Click()
{
    QFileDialog &dialog = commonDialog();
    dialog.setWindowTitle(Texts::SaveDialogTitle);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    const QString path = runCommonDialog();
    if (path.isEmpty())
        return showBox(Texts::SaveError, Texts::ErrorTitle, BoxKind::Plain, Texts::SaveCancelled);

    LineFileFields fields;
    fields.comPortIndex = ComPort->currentIndex();
    fields.baudRateIndex = BaudRate->currentIndex();
    fields.leftOffset = LeftOffset->text();
    fields.transparencyValue = TransparencyValue->text();
    for (int i = 0; i < LineCount; ++i)
        fields.lineTexts << LineTexts.text(i);
    fields.hPos = HPos->text();
    fields.vPos = VPos->text();
    fields.pageCount = PageCount;
    if (const QString failure = saveLineFile(path, writeLineFile(fields)); !failure.isEmpty())
        showBox(Texts::SaveError, Texts::ErrorTitle, BoxKind::Plain, failure);
}

void Main::OpenSubMenu_Click()
{
    QFileDialog &dialog = commonDialog();
    dialog.setWindowTitle(Texts::OpenDialogTitle);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString path = runCommonDialog();
    if (path.isEmpty())
        return showBox(Texts::OpenError, Texts::ErrorTitle, BoxKind::Plain, Texts::OpenCancelled);
    const LineFileRead read = loadLineFile(path, {ComPort->count(), BaudRate->count()});
    if (!read.data)
        return showBox(Texts::OpenError, Texts::ErrorTitle, BoxKind::Plain, read.error);
    applyLineFile(*read.data);
}

// The file has been read and checked whole, so nothing here can fail: the
// window changes only for a file that is usable.
void Main::applyLineFile(const LineFileData &data)
{
    ClearAllBtn_Click();
    if (data.comPortIndex)
        ComPort->setCurrentIndex(*data.comPortIndex);
    if (data.baudRateIndex)
        BaudRate->setCurrentIndex(*data.baudRateIndex);
    if (data.leftOffset)
        LeftOffset->setText(*data.leftOffset);
    if (data.transparencyValue)
        TransparencyValue->setText(*data.transparencyValue);
    if (data.lineCount) {
        if (data.lineCountReplaced)
            showBox(Texts::OutOfNumberOfLine, Texts::ErrorTitle, BoxKind::Error);
        LineCount = static_cast<qint16>(*data.lineCount);
        FillLineList();
    }
    for (int k = 0; k < data.lineTexts.size(); ++k)
        LineTexts.setText(k, data.lineTexts.at(k));
    if (data.hPos)
        HPos->setText(*data.hPos);
    if (data.vPos)
        VPos->setText(*data.vPos);
    if (data.pageCount) {
        PageCount = static_cast<qint16>(*data.pageCount);
        if (data.pageCountReplaced)
            showBox(Texts::OutOfNumberOfLine, Texts::ErrorTitle, BoxKind::Error);
        FillPageList();
    }
    selectEntry(LineList, 0, &Main::LineList_Click);
    LineText->setText(LineTexts.text(0));
}
