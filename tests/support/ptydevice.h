#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>

#include <fcntl.h>
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
        if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
            qFatal("openpty failed");
        termios raw{};
        ::tcgetattr(m_slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(m_slave, TCSANOW, &raw);
        m_path = QString::fromLocal8Bit(::ttyname(m_slave));
    }
    ~PtyDevice()
    {
        closeMaster();
        ::close(m_slave);
    }
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    QString path() const { return m_path; }
    int slave() const { return m_slave; }

    // Makes "COM n" stand for this device.
    void mapAs(int n) const
    {
        qputenv(QByteArray("QUILLANE_COM") + QByteArray::number(n), m_path.toLocal8Bit());
    }

    // Up to most bytes, waiting at most waitMs for the first of them.
    QByteArray read(qsizetype most, int waitMs = 0)
    {
        pollfd master{m_master, POLLIN, 0};
        if (most <= 0 || ::poll(&master, 1, waitMs) <= 0 || !(master.revents & POLLIN))
            return {};
        QByteArray bytes(most, Qt::Uninitialized);
        const ssize_t n = ::read(m_master, bytes.data(), bytes.size());
        bytes.resize(std::max<ssize_t>(n, 0));
        return bytes;
    }

    // Reads chunk by chunk until count bytes have come or timeoutMs is up,
    // running the event loop for pauseMs between chunks so that queued
    // writes can leave.
    QByteArray collect(qsizetype count, int timeoutMs, qsizetype chunk = 4096, int pauseMs = 0)
    {
        QByteArray bytes;
        const QDeadlineTimer deadline(timeoutMs);
        while (bytes.size() < count && !deadline.hasExpired()) {
            runEvents(pauseMs);
            bytes += read(std::min(chunk, count - bytes.size()), 1);
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
