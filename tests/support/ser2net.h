#pragma once

#include "ptydevice.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

// ser2net 4 in front of a pseudo-terminal, started with a configuration of
// its own on a free loopback port: RFC 2217 (rfc2217://) or raw (socket://),
// and, when given, the size of the buffer it passes bytes on to the device in
// (its default is 64).
class Ser2net
{
public:
    PtyDevice pty;
    QTemporaryDir dir;
    QProcess process;
    QString address;

    static QString program() { return QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"}); }

    explicit Ser2net(bool rfc2217 = true, int netToDevBufsize = 0)
    {
        QTcpServer probe; // for a port that nothing listens on
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        address = QStringLiteral("%1://127.0.0.1:%2").arg(rfc2217 ? "rfc2217" : "socket").arg(port);
        QFile config(dir.filePath("ser2net.yaml"));
        const QByteArray yaml =
            "connection: &osd\n  accepter: " + QByteArray(rfc2217 ? "telnet(rfc2217),tcp" : "tcp") + ",127.0.0.1,"
            + QByteArray::number(port) + "\n  connector: serialdev," + pty.path().toUtf8() + ",local\n"
            + (netToDevBufsize > 0 ? "  options:\n    net-to-dev-bufsize: " + QByteArray::number(netToDevBufsize) + "\n"
                                   : QByteArray());
        if (!config.open(QIODevice::WriteOnly) || config.write(yaml) < 0 || !config.flush())
            qFatal("cannot write %s", qPrintable(config.fileName()));
        // In the foreground, without UUCP lock files, its pid file here.
        process.start(program(), {"-n", "-u", "-c", config.fileName(), "-P", dir.filePath("pid")});
        // Listening once /proc/net/tcp has the port in state 0A.
        const QByteArray entry =
            ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0') + " 00000000:0000 0A";
        for (QDeadlineTimer deadline(5000); !deadline.hasExpired(); PtyDevice::runEvents(10)) {
            QFile table("/proc/net/tcp");
            if (table.open(QIODevice::ReadOnly) && table.readAll().contains(entry))
                return;
        }
        qFatal("ser2net does not listen on port %d", port);
    }
    ~Ser2net()
    {
        process.kill();
        process.waitForFinished();
    }
};
