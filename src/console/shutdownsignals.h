#pragma once

#include <QObject>

class QSocketNotifier;

// Asks for the program to end, as Exit does, when the system tells it to
// (SIGTERM, SIGINT, SIGHUP: a logout, a service manager, Ctrl+C). The signal
// handler only writes a byte to a pipe; the event loop reads it and emits
// requested(), so that the port is let go as by Exit and not cut off. Where
// the system has no such signals, it never emits.
class ShutdownSignals : public QObject
{
    Q_OBJECT

public:
    explicit ShutdownSignals(QObject *parent = nullptr);
    ~ShutdownSignals() override;

signals:
    void requested(int signal);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
