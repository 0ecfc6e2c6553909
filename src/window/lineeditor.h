#pragma once

#include <QGroupBox>

class CommandButtons;
class Console;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ValueFields;

// The working group: the line list and the text of the selected line, the
// display values, the two clear buttons, and below them the command buttons.
// The text field always shows the stored text of the selected line, and every
// edit of it is stored at once.
class LineEditor : public QGroupBox
{
    Q_OBJECT

public:
    LineEditor(Console &console, QWidget *parent);

    // The selected line (0 for Line 1), or -1.
    int selectedLine() const;
    CommandButtons *commandButtons() const { return m_commands; }
    QWidgetList tabOrder() const;

    void FillLineList();

private:
    void LineList_Click();
    void LineText_Change();
    void ClearBtn_Click();
    void ClearAllBtn_Click();

    Console &m_console;
    QLabel *Label2;
    QLabel *Label5;
    QComboBox *LineList;
    QLineEdit *LineText;
    ValueFields *m_values;
    QPushButton *ClearBtn;
    QPushButton *ClearAllBtn;
    CommandButtons *m_commands;
};
