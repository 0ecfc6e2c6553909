// The main window's construction, wiring, start-up and exit.
#include "window/mainwindow.h"

#include "protocol/commands.h"
#include "serial/seriallink.h"
#include "window/dialogs.h"
#include "window/portcombo.h"
#include "window/sentcommands.h"
#include "window/sentmonitor.h"
#include "window/texts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

Main::Main(Dialogs *dialogs) : m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Main"));
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    setWindowIcon(quillaneIcon());
    buildWindow();
    m_notifier = makeBoxNotifier();
    m_commands = std::make_unique<Commands>(*MSComm1, *m_notifier, m_codes);
    m_sentCommands = new SentCommands([this] { return MSComm1->acceptedTotal(); }, this);
    setRecording(true);
    connectHandlers();
    Form_Load();
    LineList->setFocus();
}

// The Sent Commands window has no owner (it is a window of its own), but it
// shows this window's record.
Main::~Main()
{
    delete m_sentMonitor;
}

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
        connect(control, &QPushButton::clicked, this,
                [this, control = control, handler = handler] { runAs(control->text(), handler); });

    connect(SendBytesCheckBox, &QCheckBox::clicked, this, &Main::SendBytesCheckBox_Click);
    // Only the operator's edits reach the store: showing a text longer than
    // the field's limit cuts it in the field, never in the store.
    connect(LineText, &QLineEdit::textEdited, this, &Main::LineText_Change);
    connect(OpenSubMenu, &QAction::triggered, this, [this] { runAs(OpenSubMenu->text(), &Main::OpenSubMenu_Click); });
    connect(SaveSubMenu, &QAction::triggered, this, &Main::SaveSubMenu_Click);
    connect(ExitSubMenu, &QAction::triggered, this, &Main::ExitSubMenu_Click);
    connect(AboutSubMenu, &QAction::triggered, this, &Main::AboutSubMenu_Click);
    connect(SentCommandsSubMenu, &QAction::triggered, this, &Main::SentCommandsSubMenu_Click);

    // A selection changes by the operator's pick (activated) or by code, and
    // code calls the handler itself: Qt's own index changes while a list is
    // rebuilt are not selections.
    connect(LineList, &QComboBox::activated, this, &Main::LineList_Click);
    connect(PageList, &QComboBox::activated, this, [this] { runAs(Texts::PageListAction, &Main::PageList_Click); });

    connect(ComPort, &PortCombo::aboutToShowPopup, this, &Main::refreshPortTips);
    connect(MSComm1, &SerialLink::progress, this, &Main::showProgress);
    connect(MSComm1, &SerialLink::idle, this, &Main::lineIdle);
    connect(MSComm1, &SerialLink::handedOver, m_sentCommands, &SentCommands::markSentUpTo);
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
        for (const QAction *action : {OpenSubMenu, SaveSubMenu, AboutSubMenu, SentCommandsSubMenu}) {
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

void Main::AboutSubMenu_Click()
{
    m_about.show();
}

void Main::SentCommandsSubMenu_Click()
{
    if (!m_sentMonitor)
        m_sentMonitor = new SentMonitor(*m_sentCommands, *m_dialogs);
    m_sentMonitor->show();
    m_sentMonitor->raise();
    m_sentMonitor->activateWindow();
}

void Main::setRecording(bool on)
{
    m_commands->setRecorder(on ? m_sentCommands : nullptr);
}

// Handlers call one another (Send All sends the offset, which sends all lines):
// the commands belong to the action the operator took.
void Main::runAs(const QString &action, void (Main::*handler)())
{
    const bool outermost = m_sentCommands->action().isEmpty();
    if (outermost)
        m_sentCommands->setAction(action);
    (this->*handler)();
    if (outermost)
        m_sentCommands->setAction(QString());
}
