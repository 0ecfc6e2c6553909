#include "window/commandbuttons.h"

#include "window/controls.h"

#include <QBoxLayout>

using namespace Controls;

namespace {

QBoxLayout *column(std::initializer_list<QWidget *> widgets, int spacing)
{
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
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

CommandButtons::CommandButtons(Console &console, const std::function<int()> &selectedLine, QWidget *parent)
    : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame3"));
    OSDTurnOffBtn = button(this, "OSDTurnOffBtn", QStringLiteral("OSD Turn Off"));
    Frame4 = group(this, "Frame4");
    SelectedLineCursorOffBtn = button(Frame4, "SelectedLineCursorOffBtn", QStringLiteral("Selected Line Cursor Off"));
    SelectedLineCursorOnBtn = button(Frame4, "SelectedLineCursorOnBtn", QStringLiteral("Selected Line Cursor On"));
    Frame5 = group(Frame4, "Frame5");
    SendAllBtn = button(Frame5, "SendAllBtn", QStringLiteral("Send All"));
    SendSelectLineBtn = button(Frame4, "SendSelectLineBtn", QStringLiteral("Send Selected Line"));
    SendBgTransparencyBtn = button(Frame4, "SendBgTransparencyBtn", QStringLiteral("Send Background Transparency"));
    SendLeftOffsetBtn = button(Frame4, "SendLeftOffsetBtn", QStringLiteral("Send Left Offset"));
    SendLineBtn = button(Frame4, "SendLineBtn", QStringLiteral("&Send All Line"));
    SendVPosBtn = button(Frame4, "SendVPosBtn", QStringLiteral("Send Vertical Position"));
    SendHPosBtn = button(Frame4, "SendHPosBtn", QStringLiteral("Send Horizontal Position"));
    SendClearAllLineBtn = button(this, "SendClearAllLineBtn", QStringLiteral("Send Clear &All Line"));
    SendClearLineBtn = button(this, "SendClearLineBtn", QStringLiteral("Send Clear &Line"));
    SendSelectLineBtn->setAccessibleDescription(QStringLiteral("Sends the selected line's text"));

    const int gap = qMax(2, fontMetrics().height() / 4);
    auto *frame5 = new QHBoxLayout(Frame5);
    frame5->setContentsMargins(0, 0, 0, 0);
    frame5->addWidget(SendAllBtn);
    for (QPushButton *b : {SendAllBtn, SelectedLineCursorOnBtn, SelectedLineCursorOffBtn})
        tall(b);
    auto *frame4 = new QHBoxLayout(Frame4);
    frame4->setContentsMargins(0, 0, 0, 0);
    frame4->setSpacing(gap);
    frame4->addWidget(Frame5);
    frame4->addLayout(column({SendHPosBtn, SendVPosBtn, SendBgTransparencyBtn}, gap));
    frame4->addLayout(column({SendLeftOffsetBtn, SendSelectLineBtn, SendLineBtn}, gap));
    frame4->addLayout(column({SelectedLineCursorOnBtn, SelectedLineCursorOffBtn}, gap));
    auto *frame3 = new QHBoxLayout(this);
    frame3->setContentsMargins(0, 0, 0, 0);
    frame3->setSpacing(gap);
    frame3->addWidget(Frame4);
    // The right column's buttons stand level with the rows inside Frame4.
    QBoxLayout *clears = column({OSDTurnOffBtn, SendClearLineBtn, SendClearAllLineBtn}, gap);
    clears->setContentsMargins(0, Frame4->contentsMargins().top(), 0, Frame4->contentsMargins().bottom());
    frame3->addLayout(clears);

    CommandActions &actions = console.actions();
    onClick(SendSelectLineBtn, console, [&actions, selectedLine] { actions.sendLine(selectedLine()); });
    onClick(SendLineBtn, console, [&actions] { actions.sendAllLines(); });
    onClick(SendClearLineBtn, console, [&actions, selectedLine] { actions.sendClearLine(selectedLine()); });
    onClick(SendClearAllLineBtn, console, [&actions] { actions.sendClearAllLines(); });
    onClick(SelectedLineCursorOnBtn, console, [&actions, selectedLine] { actions.cursorOn(selectedLine()); });
    onClick(SelectedLineCursorOffBtn, console, [&actions, selectedLine] { actions.cursorOff(selectedLine()); });
    onClick(OSDTurnOffBtn, console, [&actions] { actions.turnOsdOff(); });
    onClick(SendHPosBtn, console, [&actions] { actions.sendHPos(); });
    onClick(SendVPosBtn, console, [&actions] { actions.sendVPos(); });
    onClick(SendLeftOffsetBtn, console, [&actions] { actions.sendLeftOffset(); });
    onClick(SendBgTransparencyBtn, console, [&actions] { actions.sendTransparency(); });
    onClick(SendAllBtn, console, [&actions] { actions.sendAll(); });
}

QList<QPushButton *> CommandButtons::commandSet() const
{
    return {SendLineBtn,
            SendLeftOffsetBtn,
            SendClearLineBtn,
            SendBgTransparencyBtn,
            SendClearAllLineBtn,
            SendAllBtn,
            SendHPosBtn,
            SendVPosBtn,
            SendSelectLineBtn,
            SelectedLineCursorOnBtn,
            SelectedLineCursorOffBtn,
            OSDTurnOffBtn};
}

QWidgetList CommandButtons::tabOrder() const
{
    return {SendAllBtn,       SendHPosBtn,           SendLeftOffsetBtn, SelectedLineCursorOnBtn,
            OSDTurnOffBtn,    SendVPosBtn,           SendSelectLineBtn, SelectedLineCursorOffBtn,
            SendClearLineBtn, SendBgTransparencyBtn, SendLineBtn,       SendClearAllLineBtn};
}
