// Builds the main window's controls once and lays them out in rows that follow
// the application's font: the window takes the size its content needs.
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

// The client area is never smaller than the window of 1.0.9 (an 11-pixel
// font at 96 dpi); a larger font makes it as large as the rows need.
constexpr QSize SmallestClient(642, 394);
// The entry that a line file can make the widest: "Line 255", "Page 255".
constexpr int ItemListChars = 8;

// A push button as wide as its caption inside the style's frame, with a little
// room on each side. Styles pad a short caption out to a minimum width (Fusion:
// 80 px) and add margins that the rows have no room for at an 11-pixel font.
// Without Q_OBJECT it still reports itself as a QPushButton.
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
        return QSize(caption + frame + 2 * room, QPushButton::sizeHint().height());
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

// A value field as wide as one hexadecimal digit more than it holds: the
// extra digit is room for the text margins and the cursor.
void fitDigits(QLineEdit *edit)
{
    const QFontMetrics metrics = edit->fontMetrics();
    int digit = 0;
    for (const QChar c : QStringLiteral("0123456789ABCDEF"))
        digit = qMax(digit, metrics.horizontalAdvance(c));
    // The minimum hint holds the frame around one widest glyph of the font.
    const int frame = edit->minimumSizeHint().width() - metrics.maxWidth();
    edit->setFixedWidth(frame + digit * (edit->maxLength() + 1));
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

// The line and page lists hold up to 255 entries after a line file.
void fitItemList(QComboBox *list)
{
    list->setMinimumContentsLength(ItemListChars);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

template<typename L>
L *spaced(L *layout, int margin, int spacing)
{
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);
    return layout;
}

QBoxLayout *column(std::initializer_list<QWidget *> widgets, int spacing)
{
    auto *layout = spaced(new QVBoxLayout, 0, spacing);
    for (QWidget *w : widgets)
        layout->addWidget(w);
    return layout;
}

// A push button that shares a column's height with the others.
void tall(QPushButton *button)
{
    button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Expanding);
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

// The four groups stacked; in each, its rows from left to right, a label just
// before its field. Margins and gaps follow the font (3 px at 11 px).
void Main::layOutWindow()
{
    const int gap = qMax(2, fontMetrics().height() / 4);

    auto *row2 = spaced(new QHBoxLayout(Frame2), gap, gap);
    for (QWidget *w : std::initializer_list<QWidget *>{Label1, ComPort, BaudRate, DataBit, StopBit, FlowControl})
        row2->addWidget(w);
    row2->addStretch();
    row2->addWidget(ConnectBtn);
    row2->addWidget(ExitBtn);

    auto *lines = spaced(new QGridLayout, 0, gap);
    lines->addWidget(Label2, 0, 0);
    lines->addWidget(Label5, 0, 1);
    lines->addWidget(LineList, 1, 0);
    lines->addWidget(LineText, 1, 1);
    fitItemList(LineList);

    auto *values = spaced(new QGridLayout, 0, gap);
    const struct
    {
        QLabel *label;
        QLineEdit *field;
        int row, column;
    } fields[] = {
        {Label4, LeftOffset, 0, 0}, {Label3, TransparencyValue, 0, 2}, {Label6, HPos, 1, 0}, {Label7, VPos, 1, 2}};
    for (const auto &f : fields) {
        values->addWidget(f.label, f.row, f.column, Qt::AlignRight);
        values->addWidget(f.field, f.row, f.column + 1, Qt::AlignLeft);
        fitDigits(f.field);
    }
    values->setColumnStretch(4, 1);
    values->addWidget(ClearBtn, 0, 5);
    values->addWidget(ClearAllBtn, 0, 6);

    spaced(new QHBoxLayout(Frame5), 0, 0)->addWidget(SendAllBtn);
    tall(SendAllBtn);
    tall(SelectedLineCursorOnBtn);
    tall(SelectedLineCursorOffBtn);
    auto *commands = spaced(new QHBoxLayout(Frame4), 0, gap);
    commands->addWidget(Frame5);
    commands->addLayout(column({SendHPosBtn, SendVPosBtn, SendBgTransparencyBtn}, gap));
    commands->addLayout(column({SendLeftOffsetBtn, SendSelectLineBtn, SendLineBtn}, gap));
    commands->addLayout(column({SelectedLineCursorOnBtn, SelectedLineCursorOffBtn}, gap));
    auto *frame3 = spaced(new QHBoxLayout(Frame3), 0, gap);
    frame3->addWidget(Frame4);
    // The right column's buttons stand level with the rows inside Frame4.
    QBoxLayout *clears = column({OSDTurnOffBtn, SendClearLineBtn, SendClearAllLineBtn}, gap);
    clears->setContentsMargins(0, Frame4->contentsMargins().top(), 0, Frame4->contentsMargins().bottom());
    frame3->addLayout(clears);

    auto *frame1 = spaced(new QVBoxLayout(Frame1), gap, gap);
    frame1->addLayout(lines);
    frame1->addLayout(values);
    frame1->addWidget(Frame3);

    auto *row6 = spaced(new QHBoxLayout(Frame6), gap, gap);
    for (QWidget *w : std::initializer_list<QWidget *>{Label8, PageList, ReloadSelectedLineBtn,
                                                       AutoSendSelectedPageCheck, ReloadSelectedPageBtn})
        row6->addWidget(w);
    row6->addStretch();
    fitItemList(PageList);

    auto *sendBytes = spaced(new QHBoxLayout(SendBytesFrame), gap, gap);
    sendBytes->addWidget(SendBytesCheckBox);
    sendBytes->addWidget(SendBytesText);
    sendBytes->addLayout(column({SendBytesSelectedLineBtn, SendBytesBtn}, gap));

    auto *groups = spaced(new QVBoxLayout(centralWidget()), gap, gap);
    for (QGroupBox *g : {Frame2, Frame1, Frame6, SendBytesFrame})
        groups->addWidget(g);
    centralWidget()->setMinimumSize(SmallestClient);
    // Not resizable by the operator: the window keeps the size it needs.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// Names for screen readers where a control's caption or label says too little.
void Main::nameForScreenReaders()
{
    SendBytesCheckBox->setAccessibleName(QStringLiteral("Enable Send Bytes"));
    SendBytesText->setAccessibleName(QStringLiteral("Bytes in hexadecimal"));
    SendSelectLineBtn->setAccessibleDescription(QStringLiteral("Sends the selected line's text"));
    SendBytesSelectedLineBtn->setAccessibleDescription(
        QStringLiteral("Sends the selected line, then the bytes typed in hexadecimal"));
    statusBar()->setAccessibleName(QStringLiteral("Status"));
    // The status text stays the label's name, so that it is what is read.
    StatusText->setAccessibleDescription(QStringLiteral("Status"));
    SendProgress->setAccessibleName(QStringLiteral("Send progress"));
}

// Tab follows the screen: row by row, left to right, from the top; a tall
// button counts in the row where it begins. The focus starts in LineList.
void Main::orderTabs()
{
    const QList<QWidgetList> rows = {
        {ComPort, BaudRate, DataBit, StopBit, FlowControl, ConnectBtn, ExitBtn},
        {LineList, LineText},
        {LeftOffset, TransparencyValue, ClearBtn, ClearAllBtn},
        {HPos, VPos},
        {SendAllBtn, SendHPosBtn, SendLeftOffsetBtn, SelectedLineCursorOnBtn, OSDTurnOffBtn},
        {SendVPosBtn, SendSelectLineBtn, SelectedLineCursorOffBtn, SendClearLineBtn},
        {SendBgTransparencyBtn, SendLineBtn, SendClearAllLineBtn},
        {PageList, ReloadSelectedLineBtn, AutoSendSelectedPageCheck, ReloadSelectedPageBtn},
        {SendBytesCheckBox, SendBytesText, SendBytesSelectedLineBtn, SendBytesBtn},
    };
    QWidget *previous = nullptr;
    for (const auto &row : rows) {
        for (QWidget *control : row) {
            if (previous)
                setTabOrder(previous, control);
            previous = control;
        }
    }
}
