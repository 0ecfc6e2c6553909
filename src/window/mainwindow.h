#pragma once

#include "about/frmabout.h"
#include "protocol/commandcodes.h"
#include "store/linestore.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>

class Commands;
class Dialogs;
class Notifier;
enum class BoxKind;
class PortCombo;
class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class SentCommands;
class SentMonitor;
class SerialLink;
struct LineFileData;

// The main window: every control, the window state, and the handlers.
class Main : public QMainWindow
{
    Q_OBJECT

public:
    // Without dialogs the window shows real message boxes and file dialogs.
    explicit Main(Dialogs *dialogs = nullptr);
    ~Main() override;

    qint16 lineCount() const { return LineCount; }
    qint16 pageCount() const { return PageCount; }
    qint16 currentPage() const { return CurrentPage; }
    const LineStore &lineTexts() const { return LineTexts; }
    // The record of sent commands runs from start-up; off, nothing is kept.
    void setRecording(bool on);

    void FillLineList();
    void FillPageList();
    void EnableCommandButtons();
    void DisableCommandButtons();
    void EnableSendBytesFrame();
    void DisableSendBytesFrame();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class BoxNotifier;
    std::unique_ptr<Notifier> makeBoxNotifier();

    void buildWindow();
    void layOutWindow();
    void nameForScreenReaders();
    void orderTabs();
    void connectHandlers();
    void Form_Load();

    void InitPortSettings();
    void ApplyPortNumber();
    void ApplyPortSettings();
    void refreshPortTips();
    void finishDisconnect(qint64 dropped);
    void portFailed(const QString &reason, qint64 dropped);
    void enterDisconnectedState();
    void showProgress(qint64 queued, qint64 sent);
    void lineIdle();
    // error: shown in the error colour, and kept until the next Connect.
    void setStatus(const QString &text, bool error = false);

    void ConnectBtn_Click();
    void ExitBtn_Click();
    void ExitSubMenu_Click();
    void LineList_Click();
    void LineText_Change();
    void ClearBtn_Click();
    void ClearAllBtn_Click();
    void SendBytesCheckBox_Click();
    void UpdateSendBytesControls();

    void SendSelectLineBtn_Click();
    void SendLineBtn_Click();
    void SendClearLineBtn_Click();
    void SendClearAllLineBtn_Click();
    void ReloadSelectedLineBtn_Click();
    void PageList_Click();
    void ReloadSelectedPageBtn_Click();
    void SelectedLineCursorOnBtn_Click();
    void SelectedLineCursorOffBtn_Click();
    void OSDTurnOffBtn_Click();
    void SendHPosBtn_Click();
    void SendVPosBtn_Click();
    void SendLeftOffsetBtn_Click();
    void SendBgTransparencyBtn_Click();
    void SendAllBtn_Click();
    void SendBytesBtn_Click();
    void SendBytesSelectedLineBtn_Click();

    QFileDialog &commonDialog();
    QString runCommonDialog();
    void SaveSubMenu_Click();
    void OpenSubMenu_Click();
    void applyLineFile(const LineFileData &data);
    void AboutSubMenu_Click();
    void SentCommandsSubMenu_Click();
    // Runs a handler with the commands it sends recorded under `action`.
    void runAs(const QString &action, void (Main::*handler)());

    static QStringList numbered(const QString &pattern, int count);
    void selectEntry(QComboBox *list, int index, void (Main::*onSelect)());
    void fillList(QComboBox *list, const QString &pattern, int count, void (Main::*onSelect)());
    void setCommandButtonsEnabled(bool enabled);
    void showBox(const QString &text, const QString &title, BoxKind kind, const QString &reason = {});

    // Window state.
    qint16 LineCount = 0;
    qint16 PageCount = 0;
    qint16 TransparencyMin = 0;
    qint16 TransparencyMax = 0;
    qint16 CurrentPage = 0;
    LineStore LineTexts;
    CommandCodes m_codes;

    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs *m_dialogs;
    std::unique_ptr<Notifier> m_notifier;
    std::unique_ptr<Commands> m_commands;
    AboutKeeper m_about;
    SentCommands *m_sentCommands = nullptr;
    QPointer<SentMonitor> m_sentMonitor;
    bool m_statusHeld = false;

    // Controls, named as the operator's documentation names them.
    QGroupBox *Frame6 = nullptr;
    QPushButton *ReloadSelectedLineBtn = nullptr;
    QCheckBox *AutoSendSelectedPageCheck = nullptr;
    QPushButton *ReloadSelectedPageBtn = nullptr;
    QComboBox *PageList = nullptr;
    QLabel *Label8 = nullptr;
    QGroupBox *SendBytesFrame = nullptr;
    QPushButton *SendBytesBtn = nullptr;
    QPushButton *SendBytesSelectedLineBtn = nullptr;
    QCheckBox *SendBytesCheckBox = nullptr;
    QLineEdit *SendBytesText = nullptr;
    SerialLink *MSComm1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QFileDialog *CommonDialog = nullptr;
    PortCombo *ComPort = nullptr;
    QComboBox *BaudRate = nullptr;
    QComboBox *DataBit = nullptr;
    QComboBox *FlowControl = nullptr;
    QPushButton *ExitBtn = nullptr;
    QPushButton *ConnectBtn = nullptr;
    QComboBox *StopBit = nullptr;
    QLabel *Label1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLineEdit *VPos = nullptr;
    QLineEdit *HPos = nullptr;
    QLineEdit *TransparencyValue = nullptr;
    QGroupBox *Frame3 = nullptr;
    QPushButton *OSDTurnOffBtn = nullptr;
    QGroupBox *Frame4 = nullptr;
    QPushButton *SelectedLineCursorOffBtn = nullptr;
    QPushButton *SelectedLineCursorOnBtn = nullptr;
    QGroupBox *Frame5 = nullptr;
    QPushButton *SendAllBtn = nullptr;
    QPushButton *SendSelectLineBtn = nullptr;
    QPushButton *SendBgTransparencyBtn = nullptr;
    QPushButton *SendLeftOffsetBtn = nullptr;
    QPushButton *SendLineBtn = nullptr;
    QPushButton *SendVPosBtn = nullptr;
    QPushButton *SendHPosBtn = nullptr;
    QPushButton *SendClearAllLineBtn = nullptr;
    QPushButton *SendClearLineBtn = nullptr;
    QPushButton *ClearAllBtn = nullptr;
    QPushButton *ClearBtn = nullptr;
    QLineEdit *LineText = nullptr;
    QLineEdit *LeftOffset = nullptr;
    QComboBox *LineList = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label2 = nullptr;
    QMenu *FileMenu = nullptr;
    QAction *OpenSubMenu = nullptr;
    QAction *SaveSubMenu = nullptr;
    QAction *ExitSubMenu = nullptr;
    QMenu *ViewMenu = nullptr;
    QAction *SentCommandsSubMenu = nullptr;
    QMenu *AboutMenu = nullptr;
    QAction *AboutSubMenu = nullptr;
    QLabel *StatusText = nullptr;
    QProgressBar *SendProgress = nullptr;
};
