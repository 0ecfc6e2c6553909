// The two item lists, the line store's editing and the control sets that
// follow the connection.
#include "window/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>

QStringList Main::numbered(const QString &pattern, int count)
{
    QStringList entries;
    for (int n = 1; n <= count; ++n)
        entries << pattern.arg(n);
    return entries;
}

// Selects an entry from code and runs the list's handler, as a pick by the
// operator does; Qt's own index changes while a list is rebuilt are not
// selections and run nothing.
void Main::selectEntry(QComboBox *list, int index, void (Main::*onSelect)())
{
    {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(index);
    }
    (this->*onSelect)();
}

void Main::fillList(QComboBox *list, const QString &pattern, int count, void (Main::*onSelect)())
{
    {
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(numbered(pattern, count));
    }
    selectEntry(list, 0, onSelect);
}

void Main::FillLineList()
{
    fillList(LineList, QStringLiteral("Line %1"), LineCount, &Main::LineList_Click);
}

void Main::FillPageList()
{
    fillList(PageList, QStringLiteral("Page %1"), PageCount, &Main::PageList_Click);
    CurrentPage = static_cast<qint16>(PageList->currentIndex());
}

void Main::LineList_Click()
{
    const int index = LineList->currentIndex();
    if (LineStore::isIndex(index))
        LineText->setText(LineTexts.text(index));
}

void Main::LineText_Change()
{
    const int index = LineList->currentIndex();
    if (LineStore::isIndex(index))
        LineTexts.setText(index, LineText->text());
}

void Main::ClearBtn_Click()
{
    LineText->setText(QString());
    const int index = LineList->currentIndex();
    if (LineStore::isIndex(index))
        LineTexts.setText(index, QString());
}

void Main::ClearAllBtn_Click()
{
    LineTexts.clear(LineCount);
    LineText->setText(QString());
}

// The command set, in the order in which it is switched.
void Main::setCommandButtonsEnabled(bool enabled)
{
    for (QPushButton *button :
         {SendLineBtn, SendLeftOffsetBtn, SendClearLineBtn, SendBgTransparencyBtn, SendClearAllLineBtn, SendAllBtn,
          SendHPosBtn, SendVPosBtn, SendSelectLineBtn, SelectedLineCursorOnBtn, SelectedLineCursorOffBtn, OSDTurnOffBtn,
          ReloadSelectedPageBtn, ReloadSelectedLineBtn})
        button->setEnabled(enabled);
}

void Main::EnableCommandButtons()
{
    setCommandButtonsEnabled(true);
}

void Main::DisableCommandButtons()
{
    setCommandButtonsEnabled(false);
}

void Main::EnableSendBytesFrame()
{
    SendBytesFrame->setEnabled(true);
    if (SendBytesCheckBox->isChecked()) {
        SendBytesSelectedLineBtn->setEnabled(true);
        SendBytesBtn->setEnabled(true);
    }
}

void Main::DisableSendBytesFrame()
{
    SendBytesFrame->setEnabled(false);
    SendBytesSelectedLineBtn->setEnabled(false);
    SendBytesBtn->setEnabled(false);
}

void Main::SendBytesCheckBox_Click()
{
    UpdateSendBytesControls();
}

void Main::UpdateSendBytesControls()
{
    const bool ticked = SendBytesCheckBox->isChecked();
    SendBytesText->setEnabled(ticked);
    QPalette background = SendBytesText->palette();
    background.setColor(QPalette::Base, palette().color(ticked ? QPalette::Base : QPalette::Button));
    SendBytesText->setPalette(background);
    SendBytesSelectedLineBtn->setEnabled(ticked);
    SendBytesBtn->setEnabled(ticked);
}
