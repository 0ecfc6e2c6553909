#pragma once

#include <QByteArray>

#include <deque>

// What waits in a socket's buffer, counted in the link's data bytes: a
// doubled 0xFF is one data byte, a Telnet command none. The socket tells
// how many wire bytes it wrote; this says how many data bytes that was.
class WireQueue
{
public:
    // Returns what goes on the wire for data: with every 0xFF doubled when
    // escaped is set (Telnet), else the data as it is.
    QByteArray addData(const QByteArray &data, bool escaped);
    // A command is no data: returned as it is, counted as none.
    QByteArray addCommand(const QByteArray &command);
    // The socket wrote that many wire bytes.
    void written(qint64 wireBytes);
    qint64 dataWaiting() const { return m_dataWaiting; }
    void clear();

private:
    struct Piece
    {
        QByteArray data;       // empty for a command
        qsizetype wireLeft;    // of a command
        qsizetype done = 0;    // data bytes written
        bool escaped = false;  // 0xFF goes out twice
        bool halfDone = false; // the first of a doubled 0xFF is out
    };
    std::deque<Piece> m_pieces;
    qint64 m_dataWaiting = 0;
};
