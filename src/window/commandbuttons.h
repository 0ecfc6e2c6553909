#pragma once

#include <QGroupBox>

#include <functional>

class Console;
class QPushButton;

// The command buttons below the values: "Send All" on its own, the value and
// line commands in three columns, and at the right "OSD Turn Off" and the two
// clear commands. Each sends through the console.
class CommandButtons : public QGroupBox
{
    Q_OBJECT

public:
    CommandButtons(Console &console, const std::function<int()> &selectedLine, QWidget *parent);

    // Twelve of the fourteen buttons of the command set (the other two stand
    // in the page row), in the order in which they are switched.
    QList<QPushButton *> commandSet() const;
    QWidgetList tabOrder() const;

private:
    QGroupBox *Frame4;
    QGroupBox *Frame5;
    QPushButton *OSDTurnOffBtn;
    QPushButton *SelectedLineCursorOffBtn;
    QPushButton *SelectedLineCursorOnBtn;
    QPushButton *SendAllBtn;
    QPushButton *SendSelectLineBtn;
    QPushButton *SendBgTransparencyBtn;
    QPushButton *SendLeftOffsetBtn;
    QPushButton *SendLineBtn;
    QPushButton *SendVPosBtn;
    QPushButton *SendHPosBtn;
    QPushButton *SendClearAllLineBtn;
    QPushButton *SendClearLineBtn;
};
