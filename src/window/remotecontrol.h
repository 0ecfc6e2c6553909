#pragma once

#include "remote/remotesettings.h"

#include <QObject>

class Console;
class Dialogs;
class QLabel;
class QStatusBar;
class QWidget;
class RemoteServer;

// Remote control as the window shows it: the server, its label in the status
// bar while it listens, the settings dialog, and the one box that says when
// it cannot start (the window goes on without it).
class RemoteControl : public QObject
{
    Q_OBJECT

public:
    RemoteControl(Console &console, Dialogs &dialogs, QStatusBar *bar, QWidget *window);

    // Listens as the settings say, or stops. Settings that are already in
    // force keep the clients connected.
    void apply(const RemoteSettings &settings);
    // The dialog; what it accepts is stored and applied.
    void showDialog();

private:
    void showState();

    Dialogs &m_dialogs;
    QWidget *m_window;
    RemoteServer *m_server;
    QLabel *RemoteStatus;
    RemoteSettings m_settings;
};
