// The controller command buttons and the page selection, and the boxes
// their failures show.
#include "window/mainwindow.h"

#include "protocol/commands.h"
#include "serial/seriallink.h"
#include "window/dialogs.h"
#include "window/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

class Main::BoxNotifier : public Notifier
{
public:
    explicit BoxNotifier(Main &window) : m_window(window) {}

    void notify(Notice notice) override
    {
        switch (notice) {
        case Notice::InvalidData:
            return m_window.showBox(Texts::InvalidData, Texts::ErrorTitle, BoxKind::Error);
        case Notice::InvalidValue:
            return m_window.showBox(Texts::InvalidValue, Texts::AppTitle, BoxKind::Information);
        case Notice::OutOfRange:
            return m_window.showBox(Texts::OutOfRange, Texts::ErrorTitle, BoxKind::Error);
        case Notice::SendBytesError:
            return m_window.showBox(Texts::SendBytesError, Texts::AppTitle, BoxKind::Information);
        }
    }

private:
    Main &m_window;
};

std::unique_ptr<Notifier> Main::makeBoxNotifier()
{
    return std::make_unique<BoxNotifier>(*this);
}

void Main::SendSelectLineBtn_Click()
{
    m_commands->SendLineCommand(LineTexts, LineList->currentIndex());
}

void Main::SendLineBtn_Click()
{
    m_commands->sendAllLines(LineTexts, LineCount);
    if (AutoSendSelectedPageCheck->isChecked())
        ReloadSelectedPageBtn_Click();
}

void Main::SendClearLineBtn_Click()
{
    m_commands->SendClearLineCommand(LineList->currentIndex());
}

void Main::SendClearAllLineBtn_Click()
{
    m_commands->clearAllLines(LineCount);
}

void Main::ReloadSelectedLineBtn_Click()
{
    m_commands->reloadLine(LineTexts, LineList->currentIndex(), PageList->currentIndex());
}

void Main::PageList_Click()
{
    if (!MSComm1->isOpen())
        return;
    const int index = PageList->currentIndex();
    if (index == CurrentPage)
        return;
    m_commands->SendPageCommand(m_codes.CmdSelectPage, index);
    CurrentPage = static_cast<qint16>(index);
}

void Main::ReloadSelectedPageBtn_Click()
{
    m_commands->SendPageCommand(m_codes.CmdReloadPage, PageList->currentIndex());
}

void Main::SelectedLineCursorOnBtn_Click()
{
    m_commands->SendCursorCommand(m_codes.CmdCursorOn, LineList->currentIndex());
}

void Main::SelectedLineCursorOffBtn_Click()
{
    m_commands->SendCursorCommand(m_codes.CmdCursorOff, LineList->currentIndex());
}

void Main::OSDTurnOffBtn_Click()
{
    m_commands->turnOsdOff();
}

void Main::SendHPosBtn_Click()
{
    HPos->setText(m_commands->sendPosition(m_codes.CmdHPos, HPos->text()));
}

void Main::SendVPosBtn_Click()
{
    VPos->setText(m_commands->sendPosition(m_codes.CmdVPos, VPos->text()));
}

void Main::SendLeftOffsetBtn_Click()
{
    const Commands::LeftOffsetResult result = m_commands->sendLeftOffset(LeftOffset->text());
    LeftOffset->setText(result.fieldText);
    if (result.sendLines)
        SendLineBtn_Click();
}

void Main::SendBgTransparencyBtn_Click()
{
    m_commands->sendTransparency(TransparencyValue->text(), TransparencyMin, TransparencyMax);
}

void Main::SendAllBtn_Click()
{
    SendLeftOffsetBtn_Click();
    SendBgTransparencyBtn_Click();
    SendHPosBtn_Click();
    SendVPosBtn_Click();
}

void Main::SendBytesBtn_Click()
{
    m_commands->SendHexBytes(SendBytesText->text());
}

void Main::SendBytesSelectedLineBtn_Click()
{
    m_commands->SendLineCommand(LineTexts, LineList->currentIndex());
    m_commands->SendHexBytes(SendBytesText->text());
}
