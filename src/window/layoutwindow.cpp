// Lays the main window's controls out in rows that follow the application's
// font (the window takes the size its content needs), names them for screen
// readers and orders their tabs.
#include "window/mainwindow.h"
#include "window/portcombo.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

// The client area is never smaller than the window of 1.0.9 (an 11-pixel
// font at 96 dpi); a larger font makes it as large as the rows need.
constexpr QSize SmallestClient(642, 394);
// The entry that a line file can make the widest: "Line 255", "Page 255".
constexpr int ItemListChars = 8;

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

// The line and page lists hold up to 255 entries after a line file; each is
// as wide as its longest entry can be.
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
