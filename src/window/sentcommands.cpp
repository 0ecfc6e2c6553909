#include "window/sentcommands.h"

namespace {

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
{
}

void SentCommands::commandSent(const SentCommand &command, bool refused)
{
    if (m_rows.size() == MaxRows) {
        beginRemoveRows({}, 0, 0);
        m_rows.pop_front();
        m_firstQueued = m_firstQueued > 0 ? m_firstQueued - 1 : 0;
        endRemoveRows();
        emit discardedChanged(++m_discarded);
    }
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.push_back({QTime::currentTime(), m_action, command, m_acceptedTotal(),
                      refused ? State::Refused : State::Queued});
    endInsertRows();
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
        emit dataChanged(index(int(first), StateColumn), index(int(m_firstQueued) - 1, StateColumn));
}

void SentCommands::markUnsentDropped()
{
    const size_t first = m_firstQueued;
    for (; m_firstQueued < m_rows.size(); ++m_firstQueued) {
        if (m_rows[m_firstQueued].state == State::Queued)
            m_rows[m_firstQueued].state = State::Dropped;
    }
    if (m_firstQueued > first)
        emit dataChanged(index(int(first), StateColumn), index(int(m_firstQueued) - 1, StateColumn));
}

void SentCommands::clear()
{
    beginResetModel();
    m_rows.clear();
    m_firstQueued = 0;
    m_discarded = 0;
    endResetModel();
    emit discardedChanged(0);
}

QString SentCommands::cell(const Row &row, int column) const
{
    switch (column) {
    case TimeColumn:
        return row.time.toString(QStringLiteral("hh:mm:ss.zzz"));
    case ActionColumn:
        return row.action;
    case CommandColumn:
        return commandWords(row.command);
    case BytesColumn:
        return QString::fromLatin1(row.command.bytes.toHex(' ').toUpper());
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
    for (const Row &row : m_rows) {
        QStringList cells;
        for (int column = 0; column < ColumnCount; ++column)
            cells << csvField(cell(row, column));
        lines << cells.join(u',');
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

int SentCommands::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SentCommands::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SentCommands::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || size_t(index.row()) >= m_rows.size())
        return {};
    return cell(m_rows[size_t(index.row())], index.column());
}

QVariant SentCommands::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QString Headers[] = {QStringLiteral("Time"), QStringLiteral("Action"), QStringLiteral("Command"),
                                      QStringLiteral("Bytes"), QStringLiteral("State")};
    return section >= 0 && section < ColumnCount ? Headers[section] : QVariant();
}
