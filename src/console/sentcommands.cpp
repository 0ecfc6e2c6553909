#include "console/sentcommands.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>

namespace {

constexpr qsizetype ShownBytes = 24;
constexpr qsizetype ShownCharacters = 80;

QString stateText(SentCommands::State state)
{
    switch (state) {
    case SentCommands::State::Queued:
        return QStringLiteral("queued");
    case SentCommands::State::Sent:
        return QStringLiteral("sent");
    case SentCommands::State::Dropped:
        return QStringLiteral("dropped");
    case SentCommands::State::Refused:
        return QStringLiteral("refused");
    }
    return {};
}

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

SentCommands::SentCommands(std::function<qint64()> acceptedTotal, QObject *parent)
    : QAbstractTableModel(parent)
    , m_acceptedTotal(std::move(acceptedTotal))
    , m_batch(new QTimer(this))
{
    m_batch->setSingleShot(true);
    m_batch->setInterval(BatchMs);
    connect(m_batch, &QTimer::timeout, this, &SentCommands::flush);
}

void SentCommands::setAction(const QString &action)
{
    const auto known = std::find(m_actions.begin(), m_actions.end(), action);
    m_action = int(known - m_actions.begin());
    if (known == m_actions.end())
        m_actions.push_back(action);
}

void SentCommands::commandSent(const SentCommand &command, bool refused)
{
    // The operand lies within the bytes, where the words are read from again.
    const QList<QByteArray> pieces = command.pieces.isEmpty() ? QList<QByteArray>{command.bytes} : command.pieces;
    qint64 size = 0;
    for (const QByteArray &piece : pieces)
        size += piece.size();
    m_rows.push_back({QDateTime::currentMSecsSinceEpoch(), m_acceptedTotal(), pieces, size, m_action, command.number,
                      command.kind, refused ? State::Refused : State::Queued, command.incomplete});
    m_bytes += size;
    // Long lines reach the byte bound long before a batch is due.
    if (m_bytes > MaxBytes)
        flush();
    else
        scheduleBatch();
}

SentCommand SentCommands::command(const Row &row) const
{
    SentCommand command;
    command.kind = row.kind;
    command.number = row.number;
    command.bytes = row.pieces.size() == 1 ? row.pieces.first() : row.pieces.join();
    command.incomplete = row.incomplete;
    return command;
}

void SentCommands::flush()
{
    m_batch->stop();
    announceStates(m_firstUnannounced);
    size_t excess = m_rows.size() > MaxRows ? m_rows.size() - MaxRows : 0;
    qint64 keptBytes = m_bytes;
    for (size_t i = 0; i < excess; ++i)
        keptBytes -= m_rows[i].size;
    // The newest row stays, however long.
    while (keptBytes > MaxBytes && excess + 1 < m_rows.size())
        keptBytes -= m_rows[excess++].size;
    if (excess > 0) {
        const size_t shownGone = std::min(excess, size_t(m_shown));
        if (shownGone > 0)
            beginRemoveRows({}, 0, int(shownGone) - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + qsizetype(excess));
        m_bytes = keptBytes;
        m_shown -= int(shownGone);
        m_firstQueued = m_firstQueued > excess ? m_firstQueued - excess : 0;
        m_firstUnannounced = m_firstUnannounced > excess ? m_firstUnannounced - excess : 0;
        m_discarded += qint64(excess);
        if (shownGone > 0)
            endRemoveRows();
        emit discardedChanged(m_discarded);
    }
    if (size_t(m_shown) == m_rows.size())
        return;
    beginInsertRows({}, m_shown, int(m_rows.size()) - 1);
    m_shown = int(m_rows.size());
    endInsertRows();
}

void SentCommands::scheduleBatch()
{
    if (!m_batch->isActive())
        m_batch->start();
}

void SentCommands::markSentUpTo(qint64 total)
{
    const size_t first = m_firstQueued;
    while (m_firstQueued < m_rows.size()) {
        Row &row = m_rows[m_firstQueued];
        if (row.state == State::Queued) {
            if (row.end > total)
                break;
            row.state = State::Sent;
        }
        ++m_firstQueued;
    }
    if (m_firstQueued > first)
        scheduleBatch();
}

void SentCommands::markUnsentDropped()
{
    for (; m_firstQueued < m_rows.size(); ++m_firstQueued) {
        if (m_rows[m_firstQueued].state == State::Queued)
            m_rows[m_firstQueued].state = State::Dropped;
    }
    scheduleBatch();
}

// Rows not shown yet carry their state when they are.
void SentCommands::announceStates(size_t first)
{
    const int last = std::min(int(m_firstQueued), m_shown) - 1;
    if (int(first) <= last)
        emit dataChanged(index(int(first), StateColumn), index(last, StateColumn));
    m_firstUnannounced = std::max(m_firstUnannounced, size_t(last + 1));
}

void SentCommands::clear()
{
    beginResetModel();
    m_rows.clear();
    m_bytes = 0;
    m_shown = 0;
    m_firstQueued = 0;
    m_firstUnannounced = 0;
    m_discarded = 0;
    endResetModel();
    emit discardedChanged(0);
}

QString SentCommands::cell(const Row &row, int column) const
{
    switch (column) {
    case TimeColumn:
        return QDateTime::fromMSecsSinceEpoch(row.msecsSinceEpoch).time().toString(QStringLiteral("hh:mm:ss.zzz"));
    case ActionColumn:
        return m_actions[size_t(row.action)];
    case CommandColumn: {
        // The bytes decode to exactly the command that was built (the decoder
        // is the builders' inverse); bytes cut short decode as incomplete.
        SentCommand sent = command(row);
        if (const QList<SentCommand> decoded = decodeCommands(sent.bytes); !decoded.isEmpty())
            sent = decoded.first();
        sent.incomplete = sent.incomplete || row.incomplete;
        return commandWords(sent);
    }
    case BytesColumn:
        return QString::fromLatin1(command(row).bytes.toHex(' ').toUpper());
    case StateColumn:
        return stateText(row.state);
    }
    return {};
}

QString SentCommands::rowsAsText(const QList<int> &rows) const
{
    QStringList lines;
    for (const int r : rows) {
        QStringList cells;
        for (int column = 0; column < ColumnCount; ++column)
            cells << cell(m_rows[size_t(r)], column);
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n');
}

QByteArray SentCommands::toCsv() const
{
    QStringList lines;
    QStringList header;
    for (int column = 0; column < ColumnCount; ++column)
        header << headerData(column, Qt::Horizontal).toString();
    lines << header.join(u',');
    for (int r = 0; r < m_shown; ++r) {
        const Row &row = m_rows[size_t(r)];
        QStringList cells;
        for (int column = 0; column < ColumnCount; ++column)
            cells << csvField(cell(row, column));
        lines << cells.join(u',');
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

int SentCommands::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int SentCommands::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SentCommands::data(const QModelIndex &index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() || index.row() >= m_shown)
        return {};
    const Row &row = m_rows[size_t(index.row())];
    if (role == Qt::ToolTipRole)
        return cell(row, index.column());
    // A cell shows a line's worth; laying out a 780-character byte column
    // for every visible row would cost more than all the rest of a repaint.
    if (index.column() == BytesColumn && row.size > ShownBytes) {
        return QStringLiteral("%1 … (%2 bytes)")
            .arg(QString::fromLatin1(command(row).bytes.first(ShownBytes).toHex(' ').toUpper()))
            .arg(row.size);
    }
    const QString text = cell(row, index.column());
    return text.size() > ShownCharacters ? text.left(ShownCharacters - 1) + u'…' : text;
}

QVariant SentCommands::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QString Headers[] = {QStringLiteral("Time"), QStringLiteral("Action"), QStringLiteral("Command"),
                                      QStringLiteral("Bytes"), QStringLiteral("State")};
    return section >= 0 && section < ColumnCount ? Headers[section] : QVariant();
}
