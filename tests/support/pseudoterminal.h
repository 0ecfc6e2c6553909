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

// A pseudo-terminal standing in for the serial device: the program opens the
// slave side by its path, the test reads what arrives on the master side.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        if (openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
            qFatal("openpty failed");
        termios raw{};
        tcgetattr(m_slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_path = QString::fromLocal8Bit(ttyname(m_slave));
    }
    ~PseudoTerminal()
    {
        closeMaster();
        ::close(m_slave);
    }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    QString path() const { return m_path; }
    int slave() const { return m_slave; }

    // Makes COM n stand for this device.
    void mapAs(int n) const { qputenv(qPrintable(QStringLiteral("QUILLANE_COM%1").arg(n)), m_path.toLocal8Bit()); }

    // Whatever has arrived by now, running the event loop meanwhile, so that
    // queued writes can leave.
    QByteArray readFor(int milliseconds)
    {
        QByteArray bytes;
        QDeadlineTimer deadline(milliseconds);
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            bytes += readAvailable();
        } while (!deadline.hasExpired());
        return bytes;
    }

    // Reads until count bytes have arrived or the time is up.
    QByteArray read(qsizetype count, int milliseconds = 5000)
    {
        QByteArray bytes;
        QDeadlineTimer deadline(milliseconds);
        while (bytes.size() < count && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            bytes += readAvailable(count - bytes.size());
        }
        return bytes;
    }

    QByteArray readAvailable(qsizetype most = 1 << 16)
    {
        QByteArray bytes;
        char buffer[4096];
        while (bytes.size() < most) {
            pollfd p{m_master, POLLIN, 0};
            if (poll(&p, 1, 0) <= 0 || !(p.revents & POLLIN))
                break;
            const ssize_t n = ::read(m_master, buffer, std::min<qsizetype>(sizeof buffer, most - bytes.size()));
            if (n <= 0)
                break;
            bytes.append(buffer, n);
        }
        return bytes;
    }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
