#pragma once

#include "console/commandactions.h"
#include "console/consolestate.h"
#include "console/linefileactions.h"
#include "console/portcontrol.h"
#include "console/report.h"
#include "console/sentcommands.h"

#include <QList>
#include <QObject>

// The operator's state and every action on it, for each way in: the window,
// remote control and the command line drive the same actions under the same
// rules, and the same record lists what went out.
class Console : public QObject, private ReportSink
{
    Q_OBJECT

public:
    explicit Console(QObject *parent = nullptr);
    ~Console() override;

    ConsoleState &state() { return m_state; }
    SentCommands &record() { return m_record; }
    PortControl &port() { return m_port; }
    CommandActions &actions() { return m_actions; }
    LineFileActions &files() { return m_files; }

    // Names who acts for as long as it lives ("&Send All Line", "Remote
    // 127.0.0.1:50122"): the record lists the commands sent meanwhile under
    // that name. A command's failure is reported once, however often it
    // recurs within the action. With `collected`, reports go there instead of being
    // emitted (a remote client gets them as its reply), and the status bar
    // shows them. Nested, the outermost one counts.
    class Acting
    {
    public:
        Acting(Console &console, const QString &actor, QList<Report> *collected = nullptr);
        ~Acting();
        Q_DISABLE_COPY_MOVE(Acting)

    private:
        Console &m_console;
        bool m_outermost;
    };

signals:
    void reported(const Report &report);

private:
    void report(const Report &report) override;
    bool collecting() const override { return m_collected != nullptr; }

    ConsoleState m_state;
    SentCommands m_record;
    PortControl m_port;
    CommandActions m_actions;
    LineFileActions m_files;
    QString m_actor;
    QList<Report> *m_collected = nullptr;
    int m_depth = 0;
};
