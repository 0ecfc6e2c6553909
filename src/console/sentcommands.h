#pragma once

#include "protocol/commands.h"

#include <QAbstractTableModel>

#include <deque>
#include <functional>
#include <vector>

class QTimer;

// Every command the program handed to the port, newest last: when, for which
// action, what it says, its bytes and whether it left. Keeps the last MaxRows
// and at most MaxBytes of their bytes; new rows show once the event loop runs
// again.
class SentCommands : public QAbstractTableModel, public CommandRecorder
{
    Q_OBJECT

public:
    enum Column { TimeColumn, ActionColumn, CommandColumn, BytesColumn, StateColumn, ColumnCount };
    enum class State { Queued, Sent, Dropped, Refused };
    static constexpr int MaxRows = 10000;
    static constexpr qint64 MaxBytes = qint64(32) * 1024 * 1024;

    // acceptedTotal: how many bytes the link has taken since it opened, so
    // that each command knows where in the stream it ends.
    explicit SentCommands(std::function<qint64()> acceptedTotal, QObject *parent = nullptr);

    // What the operator did that sends the commands recorded from now on.
    void setAction(const QString &action);
    QString action() const { return m_actions[m_action]; }

    void commandSent(const SentCommand &command, bool refused) override;
    // The link has handed `total` bytes since it opened to the driver.
    void markSentUpTo(qint64 total);
    // The port closed: what had not left is lost.
    void markUnsentDropped();
    void clear();
    // Tells the views now what the next batch would tell them.
    void flush();
    // Rows that fell off the front to keep within the bounds.
    qint64 discardedRows() const { return m_discarded; }

    // Tab-separated, one line a row; CSV with a header line.
    QString rowsAsText(const QList<int> &rows) const;
    QByteArray toCsv() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void discardedChanged(qint64 discarded);

private:
    struct Row
    {
        qint64 msecsSinceEpoch;
        qint64 end; // where its last byte lies in the link's stream
        QList<QByteArray> pieces;
        qint64 size;
        int action; // in m_actions
        int number;
        CommandKind kind;
        State state;
        bool incomplete;
    };
    SentCommand command(const Row &row) const;
    QString cell(const Row &row, int column) const;
    void announceStates(size_t first);
    void scheduleBatch();

    std::function<qint64()> m_acceptedTotal;
    std::deque<Row> m_rows;
    qint64 m_bytes = 0; // of every row kept
    // The few texts that name an action, each kept once.
    std::vector<QString> m_actions{QString()};
    int m_action = 0;
    qint64 m_discarded = 0;
    size_t m_firstQueued = 0; // rows before it have all left or failed
    // Views hear of new rows and of states in batches, at most every
    // BatchMs: a view that repaints while 255 lines go out spends longer on
    // it than the port does.
    static constexpr int BatchMs = 100;
    QTimer *m_batch;
    int m_shown = 0;
    size_t m_firstUnannounced = 0; // state changes from here on are not told yet
};
