#pragma once

#include <QGroupBox>

#include <functional>

class Console;
class PageCombo;
class QCheckBox;
class QLabel;
class QPushButton;

// The page row: the Page list, "Reload Selected Line", "Auto" and "Reload
// Selected Page". A page picked in the list goes out at once (while
// connected); text typed into it is never a pick.
class PagePanel : public QGroupBox
{
    Q_OBJECT

public:
    PagePanel(Console &console, const std::function<int()> &selectedLine, QWidget *parent);

    // The two buttons of the command set that stand in this row.
    QList<QPushButton *> commandSet() const;
    QWidgetList tabOrder() const;

    void FillPageList();

private:
    void PageList_Click(int index);
    void followSelection(int index);

    Console &m_console;
    QLabel *Label8;
    PageCombo *PageList;
    QPushButton *ReloadSelectedLineBtn;
    QCheckBox *AutoSendSelectedPageCheck;
    QPushButton *ReloadSelectedPageBtn;
};
