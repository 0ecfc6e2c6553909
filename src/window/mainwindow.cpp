#include "window/mainwindow.h"
#include "store/linefile.h"
#include "window/portcombo.h"
#include "serial/portmap.h"
#include "serial/seriallink.h"
#include "window/texts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>

#include <algorithm>
#include <climits>

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

Main::Main(Dialogs *dialogs) : m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Main"));
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    setWindowIcon(quillaneIcon());
    buildWindow();
    m_notifier = std::make_unique<BoxNotifier>(*this);
    m_commands = std::make_unique<Commands>(*MSComm1, *m_notifier, m_codes);
    connectHandlers();
    Form_Load();
    LineList->setFocus();
}

Main::~Main() = default;

void Main::connectHandlers()
{
    const std::pair<QPushButton *, void (Main::*)()> buttons[] = {
        {ReloadSelectedLineBtn, &Main::ReloadSelectedLineBtn_Click},
        {ReloadSelectedPageBtn, &Main::ReloadSelectedPageBtn_Click},
        {SendBytesBtn, &Main::SendBytesBtn_Click},
        {SendBytesSelectedLineBtn, &Main::SendBytesSelectedLineBtn_Click},
        {ExitBtn, &Main::ExitBtn_Click},
        {ConnectBtn, &Main::ConnectBtn_Click},
        {OSDTurnOffBtn, &Main::OSDTurnOffBtn_Click},
        {SelectedLineCursorOffBtn, &Main::SelectedLineCursorOffBtn_Click},
        {SelectedLineCursorOnBtn, &Main::SelectedLineCursorOnBtn_Click},
        {SendAllBtn, &Main::SendAllBtn_Click},
        {SendSelectLineBtn, &Main::SendSelectLineBtn_Click},
        {SendBgTransparencyBtn, &Main::SendBgTransparencyBtn_Click},
        {SendLeftOffsetBtn, &Main::SendLeftOffsetBtn_Click},
        {SendLineBtn, &Main::SendLineBtn_Click},
        {SendVPosBtn, &Main::SendVPosBtn_Click},
        {SendHPosBtn, &Main::SendHPosBtn_Click},
        {SendClearAllLineBtn, &Main::SendClearAllLineBtn_Click},
        {SendClearLineBtn, &Main::SendClearLineBtn_Click},
        {ClearAllBtn, &Main::ClearAllBtn_Click},
        {ClearBtn, &Main::ClearBtn_Click},
    };
    for (const auto &[control, handler] : buttons)
        connect(control, &QPushButton::clicked, this, handler);

    connect(SendBytesCheckBox, &QCheckBox::clicked, this, &Main::SendBytesCheckBox_Click);
    // Only the operator's edits reach the store: showing a text longer than
    // the field's limit cuts it in the field, never in the store.
    connect(LineText, &QLineEdit::textEdited, this, &Main::LineText_Change);
    connect(OpenSubMenu, &QAction::triggered, this, &Main::OpenSubMenu_Click);
    connect(SaveSubMenu, &QAction::triggered, this, &Main::SaveSubMenu_Click);
    connect(ExitSubMenu, &QAction::triggered, this, &Main::ExitSubMenu_Click);
    connect(AboutSubMenu, &QAction::triggered, this, &Main::AboutSubMenu_Click);

    // A selection changes by the operator's pick (activated) or by code, and
    // code calls the handler itself: Qt's own index changes while a list is
    // rebuilt are not selections.
    connect(LineList, &QComboBox::activated, this, &Main::LineList_Click);
    connect(PageList, &QComboBox::activated, this, &Main::PageList_Click);

    // Typed page text is no selection: no entry stays selected, and neither
    // Enter, leaving the field nor completion may pick one behind the
    // operator's back.
    QLineEdit *pageEdit = PageList->lineEdit();
    PageList->setCompleter(nullptr);
    PageList->setInsertPolicy(QComboBox::NoInsert);
    disconnect(pageEdit, &QLineEdit::editingFinished, PageList, nullptr);
    disconnect(pageEdit, &QLineEdit::returnPressed, PageList, nullptr);
    connect(pageEdit, &QLineEdit::textEdited, this, [this, pageEdit](const QString &text) {
        const int cursor = pageEdit->cursorPosition();
        const QSignalBlocker blocker(PageList);
        PageList->setCurrentIndex(-1);
        PageList->setEditText(text);
        pageEdit->setCursorPosition(cursor);
    });

    connect(ComPort, &PortCombo::aboutToShowPopup, this, &Main::refreshPortTips);
    connect(MSComm1, &SerialLink::progress, this, &Main::showProgress);
    connect(MSComm1, &SerialLink::idle, this, &Main::lineIdle);
    connect(MSComm1, &SerialLink::stalled, this, [this](qint64 waiting) { setStatus(Texts::stalled(waiting)); });
    connect(MSComm1, &SerialLink::failed, this, &Main::portFailed);
    connect(MSComm1, &SerialLink::drained, this, &Main::finishDisconnect);

    // The menu's shortcuts win over the text fields' own use of the same keys
    // (Ctrl+A selects all in a line edit).
    for (QWidget *field : findChildren<QLineEdit *>())
        field->installEventFilter(this);
    for (QWidget *field : findChildren<QComboBox *>())
        field->installEventFilter(this);
}

bool Main::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
        for (const QAction *action : {OpenSubMenu, SaveSubMenu, AboutSubMenu}) {
            if (action->shortcut() == pressed)
                return true; // not accepted: the shortcut goes to the menu
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Main::Form_Load()
{
    LineCount = 11;
    PageCount = 32;
    InitPortSettings();
    FillLineList();
    FillPageList();
    InitCommandCodes(m_codes, TransparencyMin, TransparencyMax);
    DisableCommandButtons();
    DisableSendBytesFrame();
    initReloadLineCode(m_codes);
}

void Main::closeEvent(QCloseEvent *event)
{
    MSComm1->close();
    QMainWindow::closeEvent(event);
}

void Main::ExitBtn_Click()
{
    MSComm1->close();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void Main::ExitSubMenu_Click()
{
    ExitBtn_Click();
}

void Main::showBox(const QString &text, const QString &title, BoxKind kind, const QString &reason)
{
    m_dialogs->showMessage(text, title, kind, reason);
}

// --- Lists and the line store ---

void Main::selectLineListEntry(int index)
{
    {
        const QSignalBlocker blocker(LineList);
        LineList->setCurrentIndex(index);
    }
    LineList_Click();
}

void Main::selectPageListEntry(int index)
{
    {
        const QSignalBlocker blocker(PageList);
        PageList->setCurrentIndex(index);
    }
    PageList_Click();
}

void Main::FillLineList()
{
    {
        const QSignalBlocker blocker(LineList);
        LineList->clear();
        for (int n = 1; n <= LineCount; ++n)
            LineList->addItem(QStringLiteral("Line %1").arg(n));
    }
    selectLineListEntry(0);
}

void Main::FillPageList()
{
    {
        const QSignalBlocker blocker(PageList);
        PageList->clear();
        for (int n = 1; n <= PageCount; ++n)
            PageList->addItem(QStringLiteral("Page %1").arg(n));
    }
    selectPageListEntry(0);
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

// --- Control enablement ---

void Main::EnableCommandButtons()
{
    for (QPushButton *b : {SendLineBtn, SendLeftOffsetBtn, SendClearLineBtn, SendBgTransparencyBtn,
                           SendClearAllLineBtn, SendAllBtn, SendHPosBtn, SendVPosBtn, SendSelectLineBtn,
                           SelectedLineCursorOnBtn, SelectedLineCursorOffBtn, OSDTurnOffBtn, ReloadSelectedPageBtn,
                           ReloadSelectedLineBtn})
        b->setEnabled(true);
}

void Main::DisableCommandButtons()
{
    for (QPushButton *b : {SendLineBtn, SendLeftOffsetBtn, SendClearLineBtn, SendBgTransparencyBtn,
                           SendClearAllLineBtn, SendAllBtn, SendHPosBtn, SendVPosBtn, SendSelectLineBtn,
                           SelectedLineCursorOnBtn, SelectedLineCursorOffBtn, OSDTurnOffBtn, ReloadSelectedPageBtn,
                           ReloadSelectedLineBtn})
        b->setEnabled(false);
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

// --- Port settings and connection ---

void Main::InitPortSettings()
{
    BaudRate->setCurrentIndex(3);
    ComPort->setCurrentIndex(0);
    DataBit->setCurrentIndex(3);
    StopBit->setCurrentIndex(0);
    FlowControl->setCurrentIndex(2);
    DataBit->setEnabled(false);
    StopBit->setEnabled(false);
    FlowControl->setEnabled(false);
}

void Main::refreshPortTips()
{
    const QStringList devices = PortMap::devicesFor(ComPort->count());
    for (int i = 0; i < ComPort->count(); ++i)
        ComPort->setItemData(i, Texts::deviceTip(devices.at(i)), Qt::ToolTipRole);
}

void Main::ApplyPortNumber()
{
    MSComm1->setCommPort(static_cast<qint16>(ComPort->currentIndex() + 1));
}

void Main::ApplyPortSettings()
{
    MSComm1->setSettings(BaudRate->currentText() + QStringLiteral(",n,8,1"));
}

void Main::ConnectBtn_Click()
{
    if (ConnectBtn->text() == Texts::Disconnect) {
        // A second press while the queue drains drops the rest at once.
        if (MSComm1->isDraining())
            return MSComm1->close();
        // Bytes the operator already sent go out before the port closes;
        // finishDisconnect() completes the path once they have. Nothing new
        // may queue behind them meanwhile.
        if (const qint64 pending = MSComm1->pendingBytes(); pending > 0) {
            DisableCommandButtons();
            DisableSendBytesFrame();
            setStatus(Texts::draining(pending));
        }
        MSComm1->drainThenClose();
        return;
    }

    ApplyPortNumber();
    ApplyPortSettings();
    if (!MSComm1->open()) {
        const QString reason = MSComm1->errorString();
        setStatus(Texts::cannotOpen(reason), true);
        const QString hint = MSComm1->permissionDenied() ? QStringLiteral("\n\n") + Texts::DialoutHint : QString();
        showBox(Texts::PortCannotOpen, Texts::ErrorTitle, BoxKind::Error, reason + hint);
        return;
    }
    ComPort->setEnabled(false);
    BaudRate->setEnabled(false);
    ConnectBtn->setText(Texts::Disconnect);
    EnableCommandButtons();
    EnableSendBytesFrame();
    m_statusHeld = false;
    setStatus(Texts::connectedTo(MSComm1->description()));
}

void Main::enterDisconnectedState()
{
    ConnectBtn->setText(Texts::Connect);
    ComPort->setEnabled(true);
    BaudRate->setEnabled(true);
    DisableCommandButtons();
    DisableSendBytesFrame();
    SendProgress->hide();
}

void Main::finishDisconnect(qint64 dropped)
{
    enterDisconnectedState();
    setStatus(dropped > 0 ? Texts::droppedOnClose(dropped) : Texts::Disconnected);
}

// The port went away under the operator (hang-up, unplugged adapter, I/O
// error): the window says so once, in the status bar, and is disconnected,
// so that no further send can fail into a box.
void Main::portFailed(const QString &reason, qint64 dropped)
{
    enterDisconnectedState();
    setStatus(Texts::portLost(reason, dropped), true);
}

void Main::showProgress(qint64 queued, qint64 sent)
{
    SendProgress->setRange(0, int(std::min<qint64>(queued, INT_MAX)));
    SendProgress->setValue(int(std::min<qint64>(sent, INT_MAX)));
    SendProgress->setFormat(Texts::progress(MSComm1->msToSend(MSComm1->pendingBytes())));
    SendProgress->show();
    if (MSComm1->isOpen())
        setStatus(Texts::Sending);
}

void Main::lineIdle()
{
    SendProgress->hide();
    if (MSComm1->isOpen())
        setStatus(Texts::connectedTo(MSComm1->description()));
}

void Main::setStatus(const QString &text, bool error)
{
    if (m_statusHeld && !error)
        return;
    m_statusHeld = error;
    QPalette colours = statusBar()->palette();
    if (error)
        colours.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x20));
    StatusText->setPalette(colours);
    StatusText->setText(text);
}

// --- Controller commands ---

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

// --- Line file ---

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
    const QString path = m_dialogs->runFileDialog(dialog);
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
    selectLineListEntry(0);
    LineText->setText(LineTexts.text(0));
}

void Main::AboutSubMenu_Click()
{
    m_about.show();
}
