#include "serial/wirequeue.h"

#include "serial/telnet.h"

#include <algorithm>

QByteArray WireQueue::addData(const QByteArray &data, bool escaped)
{
    if (data.isEmpty())
        return data;
    escaped = escaped && data.contains('\xFF');
    m_pieces.push_back({data, 0, 0, escaped, false});
    m_dataWaiting += data.size();
    return escaped ? TelnetClient::escape(data) : data;
}

QByteArray WireQueue::addCommand(const QByteArray &command)
{
    if (!command.isEmpty())
        m_pieces.push_back({QByteArray(), command.size()});
    return command;
}

void WireQueue::written(qint64 wireBytes)
{
    while (wireBytes > 0 && !m_pieces.empty()) {
        Piece &piece = m_pieces.front();
        if (piece.data.isEmpty()) {
            const qint64 taken = std::min<qint64>(wireBytes, piece.wireLeft);
            piece.wireLeft -= taken;
            wireBytes -= taken;
        } else if (!piece.escaped) {
            const qint64 taken = std::min<qint64>(wireBytes, piece.data.size() - piece.done);
            piece.done += taken;
            m_dataWaiting -= taken;
            wireBytes -= taken;
        } else {
            for (; wireBytes > 0 && piece.done < piece.data.size(); --wireBytes) {
                if (piece.data[piece.done] == '\xFF' && !piece.halfDone) {
                    piece.halfDone = true;
                    continue;
                }
                piece.halfDone = false;
                ++piece.done;
                --m_dataWaiting;
            }
        }
        if (piece.data.isEmpty() ? piece.wireLeft == 0 : piece.done == piece.data.size())
            m_pieces.pop_front();
    }
}

void WireQueue::clear()
{
    m_pieces.clear();
    m_dataWaiting = 0;
}
