#include "window/mainwindow.h"

#include "console/console.h"
#include "store/filename.h"
#include "window/commandbuttons.h"
#include "window/connectionpanel.h"
#include "window/dialogs.h"
#include "window/lineeditor.h"
#include "window/pagepanel.h"
#include "window/portsdialog.h"
#include "window/remotecontrol.h"
#include "window/sendbytespanel.h"
#include "window/sentmonitor.h"
#include "window/statusline.h"
#include "window/texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// The client area is never smaller than the window of 1.0.9 (an 11-pixel
// font at 96 dpi); a larger font makes it as large as the rows need.
constexpr QSize SmallestClient(642, 394);

} // namespace

Main::Main(Console &console, Dialogs *dialogs) : m_console(console), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Main"));
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    setWindowTitle(Texts::AppTitle);
    setWindowIcon(quillaneIcon());

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    m_connection = new ConnectionPanel(console, client);
    m_lines = new LineEditor(console, client);
    const auto selectedLine = [lines = m_lines] { return lines->selectedLine(); };
    m_pages = new PagePanel(console, selectedLine, client);
    m_sendBytes = new SendBytesPanel(console, selectedLine, client);
    const int gap = qMax(2, fontMetrics().height() / 4);
    auto *groups = new QVBoxLayout(client);
    groups->setContentsMargins(gap, gap, gap, gap);
    groups->setSpacing(gap);
    for (QWidget *group : std::initializer_list<QWidget *>{m_connection, m_lines, m_pages, m_sendBytes})
        groups->addWidget(group);
    client->setMinimumSize(SmallestClient);
    // Not resizable by the operator: the window keeps the size it needs.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    buildMenus();
    new StatusLine(console, statusBar());
    m_remote = new RemoteControl(console, *m_dialogs, statusBar(), this);
    orderTabs();

    connect(m_connection, &ConnectionPanel::exitRequested, this, &Main::ExitSubMenu_Click);
    connect(&console.port(), &PortControl::connectionChanged, this, &Main::followConnection);
    connect(&console, &Console::reported, this, &Main::showReport);
    // The menu's shortcuts win over the text fields' own use of the same keys
    // (Ctrl+A selects all in a line edit).
    for (QWidget *field : findChildren<QLineEdit *>())
        field->installEventFilter(this);
    for (QWidget *field : findChildren<QComboBox *>())
        field->installEventFilter(this);
    Form_Load();
    findChild<QWidget *>(QStringLiteral("LineList"))->setFocus();
}

// The Sent Commands window has no owner (it is a window of its own), but it
// shows this window's record.
Main::~Main()
{
    delete m_sentMonitor;
}

void Main::buildMenus()
{
    const auto item = [](QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {}) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        return action;
    };
    FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    OpenSubMenu = item(FileMenu, "OpenSubMenu", QStringLiteral("&Open"), Qt::CTRL | Qt::Key_O);
    SaveSubMenu = item(FileMenu, "SaveSubMenu", QStringLiteral("&Save"), Qt::CTRL | Qt::Key_S);
    ExitSubMenu = item(FileMenu, "ExitSubMenu", QStringLiteral("E&xit"));
    ViewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    ViewMenu->setObjectName(QStringLiteral("ViewMenu"));
    SentCommandsSubMenu = item(ViewMenu, "SentCommandsSubMenu", QStringLiteral("&Sent Commands"), Qt::CTRL | Qt::Key_M);

    SettingsMenu = menuBar()->addMenu(QStringLiteral("&Settings"));
    SettingsMenu->setObjectName(QStringLiteral("SettingsMenu"));
    PortsSubMenu = item(SettingsMenu, "PortsSubMenu", QStringLiteral("&Ports…"));
    RemoteControlSubMenu = item(SettingsMenu, "RemoteControlSubMenu", QStringLiteral("&Remote Control…"));
    connect(PortsSubMenu, &QAction::triggered, this, &Main::PortsSubMenu_Click);
    AboutMenu = menuBar()->addMenu(QStringLiteral("&About"));
    AboutMenu->setObjectName(QStringLiteral("AboutMenu"));
    AboutSubMenu = item(AboutMenu, "AboutSubMenu", QStringLiteral("About"), Qt::CTRL | Qt::Key_A);

    connect(OpenSubMenu, &QAction::triggered, this, &Main::OpenSubMenu_Click);
    connect(SaveSubMenu, &QAction::triggered, this, &Main::SaveSubMenu_Click);
    connect(ExitSubMenu, &QAction::triggered, this, &Main::ExitSubMenu_Click);
    connect(AboutSubMenu, &QAction::triggered, this, &Main::AboutSubMenu_Click);
    connect(SentCommandsSubMenu, &QAction::triggered, this, &Main::SentCommandsSubMenu_Click);
    connect(RemoteControlSubMenu, &QAction::triggered, this, &Main::RemoteControlSubMenu_Click);
}

// Tab follows the screen: row by row, left to right, from the top; a tall
// button counts in the row where it begins. The focus starts in LineList.
void Main::orderTabs()
{
    const QWidgetList lines = m_lines->tabOrder();
    const QWidgetList commands = m_lines->commandButtons()->tabOrder();
    const QWidgetList chain =
        m_connection->tabOrder() + lines + commands + m_pages->tabOrder() + m_sendBytes->tabOrder();
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

void Main::Form_Load()
{
    m_connection->InitPortSettings();
    m_lines->FillLineList();
    m_pages->FillPageList();
    DisableCommandButtons();
    m_sendBytes->DisableSendBytesFrame();
}

void Main::EnableCommandButtons()
{
    for (QPushButton *button : m_lines->commandButtons()->commandSet() + m_pages->commandSet())
        button->setEnabled(true);
}

void Main::DisableCommandButtons()
{
    for (QPushButton *button : m_lines->commandButtons()->commandSet() + m_pages->commandSet())
        button->setEnabled(false);
}

// Sending is possible only while connected; while queued bytes drain before
// a close, nothing new may queue behind them.
void Main::followConnection()
{
    if (m_console.port().connection() == PortControl::Connection::Connected) {
        EnableCommandButtons();
        m_sendBytes->EnableSendBytesFrame();
    } else {
        DisableCommandButtons();
        m_sendBytes->DisableSendBytesFrame();
    }
}

void Main::showReport(const Report &report)
{
    m_dialogs->showMessage(report);
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

void Main::closeEvent(QCloseEvent *event)
{
    m_console.port().release();
    QMainWindow::closeEvent(event);
}

void Main::ExitSubMenu_Click()
{
    m_console.port().release();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void Main::AboutSubMenu_Click()
{
    m_about.show();
}

void Main::SentCommandsSubMenu_Click()
{
    if (!m_sentMonitor)
        m_sentMonitor = new SentMonitor(m_console.record(), *m_dialogs);
    m_sentMonitor->show();
    m_sentMonitor->raise();
    m_sentMonitor->activateWindow();
}

// open(), not exec(): the menu returns at once and nothing waits on the answer.
void Main::PortsSubMenu_Click()
{
    if (!m_portsDialog)
        m_portsDialog = new PortsDialog(this);
    m_portsDialog->load();
    m_portsDialog->open();
}

void Main::RemoteControlSubMenu_Click()
{
    m_remote->showDialog();
}

void Main::startRemote(const RemoteSettings &settings)
{
    m_remote->apply(settings);
}

// Made on first use: building a file dialog costs more than the rest of
// the window together, and most sessions never open one.
QFileDialog &Main::commonDialog()
{
    if (!CommonDialog) {
        CommonDialog = new QFileDialog(m_connection);
        CommonDialog->setObjectName(QStringLiteral("CommonDialog"));
        CommonDialog->setDefaultSuffix(Texts::FileSuffix);
        CommonDialog->setNameFilter(Texts::FileFilter);
    }
    return *CommonDialog;
}

// Either dialog starts where the last one, of either kind, left off, also
// when that path was typed rather than browsed to. A name the dialog could
// only show with replacement characters is looked up as the system has it.
QString Main::runCommonDialog()
{
    QFileDialog &dialog = commonDialog();
    QString path = m_dialogs->runFileDialog(dialog);
    if (path.isEmpty())
        return path;
    dialog.setDirectory(QFileInfo(path).absolutePath());
    return FileName::resolve(path);
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
        return showReport({Report::Kind::Plain, Texts::ErrorTitle, Texts::SaveError, Texts::SaveCancelled});
    m_console.files().save(path);
}

void Main::OpenSubMenu_Click()
{
    QFileDialog &dialog = commonDialog();
    dialog.setWindowTitle(Texts::OpenDialogTitle);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString path = runCommonDialog();
    if (path.isEmpty())
        return showReport({Report::Kind::Plain, Texts::ErrorTitle, Texts::OpenError, Texts::OpenCancelled});
    openLineFile(path);
}

void Main::openLineFile(const QString &path)
{
    const Console::Acting acting(m_console, OpenSubMenu->text());
    m_console.files().open(path);
}
