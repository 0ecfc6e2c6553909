// Builds the main window's controls once; layoutwindow.cpp arranges them in
// rows.
#include "serial/seriallink.h"
#include "window/listcombo.h"
#include "window/mainwindow.h"
#include "window/pagecombo.h"
#include "window/portcombo.h"
#include "window/texts.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyleOptionButton>

namespace {

// A push button as wide as its caption inside the style's frame, with a little
// room on each side. Styles pad a short caption out to a minimum width (Fusion:
// 80 px) and add margins that the rows have no room for at an 11-pixel font.
class CaptionButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

    QSize sizeHint() const override
    {
        QStyleOptionButton option;
        initStyleOption(&option);
        const int wide = 1000;
        option.rect = QRect(0, 0, wide, wide);
        const int frame = wide - style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).width();
        const int room = qMax(2, fontMetrics().height() / 6);
        const int caption = fontMetrics().size(Qt::TextShowMnemonic, text()).width();
        return {caption + frame + 2 * room, QPushButton::sizeHint().height()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

template<typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QGroupBox *group(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QGroupBox(caption, parent), name);
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = named(new CaptionButton(caption, parent), name);
    b->setAutoDefault(false);
    return b;
}

// A label names its field for screen readers too.
QLabel *label(QWidget *parent, const char *name, const QString &caption, QWidget *field = nullptr)
{
    auto *l = named(new QLabel(caption, parent), name);
    l->setBuddy(field);
    return l;
}

QLineEdit *textBox(QWidget *parent, const char *name, const QString &text, int maxLength)
{
    auto *edit = named(new QLineEdit(parent), name);
    edit->setMaxLength(maxLength);
    edit->setText(text);
    return edit;
}

template<typename Combo = ListCombo>
Combo *dropDown(QWidget *parent, const char *name, const QString &setting, const QStringList &entries = {})
{
    auto *combo = named(new Combo(parent), name);
    combo->setAccessibleName(setting);
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
    return combo;
}

} // namespace

void Main::buildWindow()
{
    setWindowTitle(Texts::AppTitle);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    Frame6 = group(client, "Frame6", QString());
    ReloadSelectedLineBtn = button(Frame6, "ReloadSelectedLineBtn", QStringLiteral("Reload Selected Line"));
    AutoSendSelectedPageCheck = named(new QCheckBox(QStringLiteral("Auto"), Frame6), "AutoSendSelectedPageCheck");
    ReloadSelectedPageBtn = button(Frame6, "ReloadSelectedPageBtn", QStringLiteral("Reload Selected Page"));
    PageList = dropDown<PageCombo>(Frame6, "PageList", QStringLiteral("Page Number"));
    PageList->setEditText(QStringLiteral("Combo1"));
    Label8 = label(Frame6, "Label8", QStringLiteral("Page Number"), PageList);

    SendBytesFrame = group(client, "SendBytesFrame", QStringLiteral("Send Bytes"));
    SendBytesBtn = button(SendBytesFrame, "SendBytesBtn", QStringLiteral("&Send Byte"));
    SendBytesSelectedLineBtn = button(SendBytesFrame, "SendBytesSelectedLineBtn", QStringLiteral("Send Selected Line"));
    SendBytesCheckBox = named(new QCheckBox(SendBytesFrame), "SendBytesCheckBox");
    SendBytesText = textBox(SendBytesFrame, "SendBytesText", QString(), 512);
    QPalette buttonFace = SendBytesText->palette();
    buttonFace.setColor(QPalette::Base, palette().color(QPalette::Button));
    SendBytesText->setPalette(buttonFace);

    MSComm1 = new SerialLink(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));

    Frame2 = group(client, "Frame2", QString());
    ComPort =
        dropDown<PortCombo>(Frame2, "ComPort", QStringLiteral("COM port"), numbered(QStringLiteral("COM %1"), 16));
    BaudRate = dropDown(Frame2, "BaudRate", QStringLiteral("Baud rate"),
                        {"110", "300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400",
                         "460800", "921600"});
    DataBit = dropDown(Frame2, "DataBit", QStringLiteral("Data bits"), {"5", "6", "7", "8"});
    FlowControl = dropDown(Frame2, "FlowControl", QStringLiteral("Flow control"), {"Hardware", "Xon/Xoff", "None"});
    ExitBtn = button(Frame2, "ExitBtn", QStringLiteral("E&xit"));
    ConnectBtn = button(Frame2, "ConnectBtn", Texts::Connect);
    StopBit = dropDown(Frame2, "StopBit", QStringLiteral("Stop bits"), {"1", "1.5", "2"});
    Label1 = label(Frame2, "Label1", QStringLiteral("Communication Setting:"));

    Frame1 = group(client, "Frame1", QString());
    VPos = textBox(Frame1, "VPos", QStringLiteral("00"), 2);
    HPos = textBox(Frame1, "HPos", QStringLiteral("00"), 2);
    TransparencyValue = textBox(Frame1, "TransparencyValue", QStringLiteral("0"), 2);
    Frame3 = group(Frame1, "Frame3", QString());
    OSDTurnOffBtn = button(Frame3, "OSDTurnOffBtn", QStringLiteral("OSD Turn Off"));
    Frame4 = group(Frame3, "Frame4", QString());
    SelectedLineCursorOffBtn = button(Frame4, "SelectedLineCursorOffBtn", QStringLiteral("Selected Line Cursor Off"));
    SelectedLineCursorOnBtn = button(Frame4, "SelectedLineCursorOnBtn", QStringLiteral("Selected Line Cursor On"));
    Frame5 = group(Frame4, "Frame5", QString());
    SendAllBtn = button(Frame5, "SendAllBtn", QStringLiteral("Send All"));
    SendSelectLineBtn = button(Frame4, "SendSelectLineBtn", QStringLiteral("Send Selected Line"));
    SendBgTransparencyBtn = button(Frame4, "SendBgTransparencyBtn", QStringLiteral("Send Background Transparency"));
    SendLeftOffsetBtn = button(Frame4, "SendLeftOffsetBtn", QStringLiteral("Send Left Offset"));
    SendLineBtn = button(Frame4, "SendLineBtn", QStringLiteral("&Send All Line"));
    SendVPosBtn = button(Frame4, "SendVPosBtn", QStringLiteral("Send Vertical Position"));
    SendHPosBtn = button(Frame4, "SendHPosBtn", QStringLiteral("Send Horizontal Position"));
    SendClearAllLineBtn = button(Frame3, "SendClearAllLineBtn", QStringLiteral("Send Clear &All Line"));
    SendClearLineBtn = button(Frame3, "SendClearLineBtn", QStringLiteral("Send Clear &Line"));
    ClearAllBtn = button(Frame1, "ClearAllBtn", QStringLiteral("Clear &All"));
    ClearBtn = button(Frame1, "ClearBtn", QStringLiteral("C&lear"));
    LineText = textBox(Frame1, "LineText", QString(), 255);
    LeftOffset = textBox(Frame1, "LeftOffset", QStringLiteral("000"), 3);
    LineList = dropDown(Frame1, "LineList", QStringLiteral("Line Number"));
    Label7 = label(Frame1, "Label7", QStringLiteral("Vertical Position (00-FF):"), VPos);
    Label6 = label(Frame1, "Label6", QStringLiteral("Horizontal Position (00-FF):"), HPos);
    Label3 = label(Frame1, "Label3", QStringLiteral("Transparency Value (0-15) :"), TransparencyValue);
    Label5 = label(Frame1, "Label5", QStringLiteral("Text"), LineText);
    Label4 = label(Frame1, "Label4", QStringLiteral("Left Offset (000-3FF):"), LeftOffset);
    Label2 = label(Frame1, "Label2", QStringLiteral("Line Number"), LineList);

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
    // Room for "12345 of 66300 bytes, about 230 s left".
    SendProgress->setMaximumWidth(SendProgress->fontMetrics().averageCharWidth() * 40);
    SendProgress->hide();
    statusBar()->addPermanentWidget(SendProgress);

    layOutWindow();
    nameForScreenReaders();
    orderTabs();
}
