#pragma once

#include <QWidget>

class Dialogs;
class QLabel;
class QTableView;
class SentCommands;

// The "Sent Commands" window: the recorded commands, live, newest at the
// bottom. It only reads the record; it sends nothing and changes nothing in
// the main window.
class SentMonitor : public QWidget
{
    Q_OBJECT

public:
    SentMonitor(SentCommands &commands, Dialogs &dialogs);

    void copySelection();
    void saveAll();

private:
    void showDiscarded(qint64 discarded);

    SentCommands &m_commands;
    Dialogs &m_dialogs;
    QTableView *m_view;
    QLabel *m_discarded;
    bool m_following = true;
};
