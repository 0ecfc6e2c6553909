#pragma once

#include "about/frmabout.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class CommandButtons;
class ConnectionPanel;
class Console;
class Dialogs;
class LineEditor;
class PagePanel;
class PortsDialog;
class QAction;
class QFileDialog;
class QMenu;
class RemoteControl;
class SendBytesPanel;
class SentMonitor;
struct RemoteSettings;
struct Report;

// The main window: the panels that show and drive the console, the menus
// and the status bar.
class Main : public QMainWindow
{
    Q_OBJECT

public:
    // Without dialogs the window shows real message boxes and file dialogs.
    explicit Main(Console &console, Dialogs *dialogs = nullptr);
    ~Main() override;

    // Opens a line file as File > Open does once its dialog has a path.
    void openLineFile(const QString &path);
    // Ends the program: whatever is queued is dropped, the port let go.
    void ExitSubMenu_Click();
    // Remote control as the settings say; the command line's win over the stored ones.
    void startRemote(const RemoteSettings &settings);

    void EnableCommandButtons();
    void DisableCommandButtons();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void orderTabs();
    void Form_Load();
    void followConnection();
    void showReport(const Report &report);

    QFileDialog &commonDialog();
    QString runCommonDialog();
    void SaveSubMenu_Click();
    void OpenSubMenu_Click();
    void AboutSubMenu_Click();
    void SentCommandsSubMenu_Click();
    void PortsSubMenu_Click();
    void RemoteControlSubMenu_Click();

    Console &m_console;
    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs *m_dialogs;
    AboutKeeper m_about;
    QPointer<SentMonitor> m_sentMonitor;

    ConnectionPanel *m_connection;
    LineEditor *m_lines;
    PagePanel *m_pages;
    SendBytesPanel *m_sendBytes;
    RemoteControl *m_remote;
    QFileDialog *CommonDialog = nullptr;
    PortsDialog *m_portsDialog = nullptr;
    QMenu *FileMenu = nullptr;
    QAction *OpenSubMenu = nullptr;
    QAction *SaveSubMenu = nullptr;
    QAction *ExitSubMenu = nullptr;
    QMenu *ViewMenu = nullptr;
    QAction *SentCommandsSubMenu = nullptr;
    QMenu *SettingsMenu = nullptr;
    QAction *PortsSubMenu = nullptr;
    QAction *RemoteControlSubMenu = nullptr;
    QMenu *AboutMenu = nullptr;
    QAction *AboutSubMenu = nullptr;
};
