// Builds the main window's controls once, at fixed positions and sizes.
#include "window/mainwindow.h"
#include "window/listcombo.h"
#include "window/pagecombo.h"
#include "window/portcombo.h"
#include "serial/seriallink.h"
#include "window/texts.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

constexpr int ClientWidth = 642;
constexpr int ClientHeight = 394;
constexpr int FontPixels = 11;

template<typename W>
W *place(W *widget, const char *name, int x, int y, int w, int h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QGroupBox *group(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h)
{
    return place(new QGroupBox(caption, parent), name, x, y, w, h);
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h)
{
    auto *b = place(new QPushButton(caption, parent), name, x, y, w, h);
    b->setAutoDefault(false);
    return b;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h)
{
    return place(new QLabel(caption, parent), name, x, y, w, h);
}

QLineEdit *textBox(QWidget *parent, const char *name, const QString &text, int maxLength, int x, int y, int w,
                   int h)
{
    auto *edit = place(new QLineEdit(parent), name, x, y, w, h);
    edit->setMaxLength(maxLength);
    edit->setText(text);
    return edit;
}

template<typename Combo = ListCombo>
Combo *dropDown(QWidget *parent, const char *name, const QStringList &entries, int x, int y, int w, int h)
{
    auto *combo = place(new Combo(parent), name, x, y, w, h);
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
    return combo;
}

} // namespace

void Main::buildWindow()
{
    setWindowTitle(Texts::AppTitle);
    QFont font = this->font();
    font.setPixelSize(FontPixels);
    setFont(font);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);

    Frame6 = group(client, "Frame6", QString(), 4, 277, 635, 40);
    ReloadSelectedLineBtn = button(Frame6, "ReloadSelectedLineBtn", QStringLiteral("Reload Selected Line"), 194, 9, 128, 24);
    AutoSendSelectedPageCheck = place(new QCheckBox(QStringLiteral("Auto"), Frame6), "AutoSendSelectedPageCheck", 332, 9, 56, 24);
    ReloadSelectedPageBtn = button(Frame6, "ReloadSelectedPageBtn", QStringLiteral("Reload Selected Page"), 394, 9, 130, 24);
    PageList = place(new PageCombo(Frame6), "PageList", 88, 9, 96, 24);
    PageList->setEditText(QStringLiteral("Combo1"));
    Label8 = label(Frame6, "Label8", QStringLiteral("Page Number"), 8, 9, 78, 24);

    SendBytesFrame = group(client, "SendBytesFrame", QStringLiteral("Send Bytes"), 4, 322, 634, 67);
    SendBytesBtn = button(SendBytesFrame, "SendBytesBtn", QStringLiteral("&Send Byte"), 508, 43, 120, 22);
    SendBytesSelectedLineBtn = button(SendBytesFrame, "SendBytesSelectedLineBtn", QStringLiteral("Send Selected Line"), 508, 19, 120, 22);
    SendBytesCheckBox = place(new QCheckBox(SendBytesFrame), "SendBytesCheckBox", 8, 34, 18, 18);
    SendBytesText = textBox(SendBytesFrame, "SendBytesText", QString(), 512, 30, 32, 470, 22);
    QPalette buttonFace = SendBytesText->palette();
    buttonFace.setColor(QPalette::Base, palette().color(QPalette::Button));
    SendBytesText->setPalette(buttonFace);

    MSComm1 = new SerialLink(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));

    Frame2 = group(client, "Frame2", QString(), 4, 4, 635, 71);
    ComPort = dropDown<PortCombo>(Frame2, "ComPort", numbered(QStringLiteral("COM %1"), 16), 146, 23, 74, 25);
    BaudRate = dropDown(Frame2, "BaudRate",
                        {"110", "300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400",
                         "460800", "921600"},
                        224, 23, 76, 25);
    DataBit = dropDown(Frame2, "DataBit", {"5", "6", "7", "8"}, 304, 23, 40, 25);
    FlowControl = dropDown(Frame2, "FlowControl", {"Hardware", "Xon/Xoff", "None"}, 398, 23, 82, 25);
    ExitBtn = button(Frame2, "ExitBtn", QStringLiteral("E&xit"), 564, 23, 62, 25);
    ConnectBtn = button(Frame2, "ConnectBtn", Texts::Connect, 486, 23, 74, 25);
    StopBit = dropDown(Frame2, "StopBit", {"1", "1.5", "2"}, 348, 23, 46, 25);
    Label1 = label(Frame2, "Label1", QStringLiteral("Communication Setting:"), 8, 23, 136, 25);

    Frame1 = group(client, "Frame1", QString(), 4, 75, 635, 201);
    VPos = textBox(Frame1, "VPos", QStringLiteral("00"), 2, 352, 80, 32, 22);
    HPos = textBox(Frame1, "HPos", QStringLiteral("00"), 2, 164, 80, 32, 22);
    TransparencyValue = textBox(Frame1, "TransparencyValue", QStringLiteral("0"), 2, 346, 54, 32, 22);
    Frame3 = group(Frame1, "Frame3", QString(), 4, 106, 627, 90);
    OSDTurnOffBtn = button(Frame3, "OSDTurnOffBtn", QStringLiteral("OSD Turn Off"), 510, 8, 113, 24);
    Frame4 = group(Frame3, "Frame4", QString(), 3, 3, 504, 84);
    SelectedLineCursorOffBtn = button(Frame4, "SelectedLineCursorOffBtn", QStringLiteral("Selected Line Cursor Off"), 362, 44, 139, 37);
    SelectedLineCursorOnBtn = button(Frame4, "SelectedLineCursorOnBtn", QStringLiteral("Selected Line Cursor On"), 362, 5, 139, 37);
    Frame5 = group(Frame4, "Frame5", QString(), 3, 3, 59, 78);
    SendAllBtn = button(Frame5, "SendAllBtn", QStringLiteral("Send All"), 3, 3, 53, 72);
    SendSelectLineBtn = button(Frame4, "SendSelectLineBtn", QStringLiteral("Send Selected Line"), 248, 31, 111, 24);
    SendBgTransparencyBtn = button(Frame4, "SendBgTransparencyBtn", QStringLiteral("Send Background Transparency"), 65, 57, 180, 24);
    SendLeftOffsetBtn = button(Frame4, "SendLeftOffsetBtn", QStringLiteral("Send Left Offset"), 248, 5, 111, 24);
    SendLineBtn = button(Frame4, "SendLineBtn", QStringLiteral("&Send All Line"), 248, 57, 111, 24);
    SendVPosBtn = button(Frame4, "SendVPosBtn", QStringLiteral("Send Vertical Position"), 65, 31, 180, 24);
    SendHPosBtn = button(Frame4, "SendHPosBtn", QStringLiteral("Send Horizontal Position"), 65, 5, 180, 24);
    SendClearAllLineBtn = button(Frame3, "SendClearAllLineBtn", QStringLiteral("Send Clear &All Line"), 510, 60, 113, 24);
    SendClearLineBtn = button(Frame3, "SendClearLineBtn", QStringLiteral("Send Clear &Line"), 510, 34, 113, 24);
    ClearAllBtn = button(Frame1, "ClearAllBtn", QStringLiteral("Clear &All"), 557, 54, 70, 22);
    ClearBtn = button(Frame1, "ClearBtn", QStringLiteral("C&lear"), 483, 54, 70, 22);
    LineText = textBox(Frame1, "LineText", QString(), 255, 104, 24, 523, 24);
    LeftOffset = textBox(Frame1, "LeftOffset", QStringLiteral("000"), 3, 130, 54, 40, 22);
    LineList = place(new ListCombo(Frame1), "LineList", 8, 24, 90, 24);
    Label7 = label(Frame1, "Label7", QStringLiteral("Vertical Position (00-FF):"), 210, 80, 140, 22);
    Label6 = label(Frame1, "Label6", QStringLiteral("Horizontal Position (00-FF):"), 8, 80, 154, 22);
    Label3 = label(Frame1, "Label3", QStringLiteral("Transparency Value (0-15) :"), 184, 54, 160, 22);
    Label5 = label(Frame1, "Label5", QStringLiteral("Text"), 104, 8, 60, 15);
    Label4 = label(Frame1, "Label4", QStringLiteral("Left Offset (000-3FF):"), 8, 54, 120, 22);
    Label2 = label(Frame1, "Label2", QStringLiteral("Line Number"), 8, 8, 90, 15);

    FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    OpenSubMenu = FileMenu->addAction(QStringLiteral("&Open"));
    OpenSubMenu->setObjectName(QStringLiteral("OpenSubMenu"));
    OpenSubMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    SaveSubMenu = FileMenu->addAction(QStringLiteral("&Save"));
    SaveSubMenu->setObjectName(QStringLiteral("SaveSubMenu"));
    SaveSubMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    ExitSubMenu = FileMenu->addAction(QStringLiteral("E&xit"));
    ExitSubMenu->setObjectName(QStringLiteral("ExitSubMenu"));
    ViewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    ViewMenu->setObjectName(QStringLiteral("ViewMenu"));
    SentCommandsSubMenu = ViewMenu->addAction(QStringLiteral("&Sent Commands"));
    SentCommandsSubMenu->setObjectName(QStringLiteral("SentCommandsSubMenu"));
    SentCommandsSubMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    AboutMenu = menuBar()->addMenu(QStringLiteral("&About"));
    AboutMenu->setObjectName(QStringLiteral("AboutMenu"));
    AboutSubMenu = AboutMenu->addAction(QStringLiteral("About"));
    AboutSubMenu->setObjectName(QStringLiteral("AboutSubMenu"));
    AboutSubMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));

    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->setSizeGripEnabled(false);
    // A label rather than showMessage(): a menu's status tip would wipe a
    // message, and a lost port must stay said until the next Connect.
    StatusText = new QLabel(statusBar());
    StatusText->setObjectName(QStringLiteral("StatusText"));
    statusBar()->addWidget(StatusText, 1);
    SendProgress = new QProgressBar(statusBar());
    SendProgress->setObjectName(QStringLiteral("SendProgress"));
    SendProgress->setMaximumWidth(ClientWidth / 3);
    SendProgress->hide();
    statusBar()->addPermanentWidget(SendProgress);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}
