#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

// A pseudo-terminal as the serial device: the link opens the slave by its
// path, the test reads the master.
class PtyDevice
{
public:
    PtyDevice()
    {
        // Raw, so that no byte is translated on its way through.
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&m_master, &m_slave, nullptr, &raw, nullptr) != 0)
            qFatal("openpty failed");
        m_path = QString::fromLocal8Bit(::ttyname(m_slave));
    }
    ~PtyDevice()
    {
        closeMaster();
        ::close(m_slave);
    }
    Q_DISABLE_COPY_MOVE(PtyDevice)

    QString path() const { return m_path; }
    int master() const { return m_master; }
    int slave() const { return m_slave; }

    // Makes "COM n" stand for this device.
    void mapAs(int n) const { qputenv("QUILLANE_COM" + QByteArray::number(n), m_path.toLocal8Bit()); }

    // Reads chunk by chunk until count bytes have come or timeoutMs is up,
    // running the event loop for pauseMs between chunks so that queued
    // writes can leave.
    QByteArray collect(qsizetype count, int timeoutMs, qsizetype chunk = 4096, int pauseMs = 0)
    {
        QByteArray bytes;
        const QDeadlineTimer deadline(timeoutMs);
        while (bytes.size() < count && !deadline.hasExpired()) {
            runEvents(pauseMs);
            pollfd master{m_master, POLLIN, 0};
            if (::poll(&master, 1, 1) <= 0 || !(master.revents & POLLIN))
                continue;
            const qsizetype had = bytes.size();
            bytes.resize(had + std::min(chunk, count - had));
            bytes.resize(had + std::max<ssize_t>(::read(m_master, bytes.data() + had, bytes.size() - had), 0));
        }
        return bytes;
    }

    // Everything that arrives within ms.
    QByteArray collectFor(int ms) { return collect(1 << 30, ms); }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    static void runEvents(int ms)
    {
        const QDeadlineTimer deadline(ms);
        do
            QCoreApplication::processEvents();
        while (!deadline.hasExpired());
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
