// The line file's format: its lines written from the window's values, and
// read back a line at a time as bytes arrive.
#include "store/linefile.h"

#include "store/codec.h"
#include "store/numberreader.h"
#include "store/oneline.h"

#include <utility>

namespace {

constexpr int MaxCount = 255;
constexpr int LineCountWhenOutOfRange = 12;
constexpr int PageCountWhenAbove = 32;
constexpr int PageCountWhenBelow = 4;

QStringView trimSpaces(QStringView text)
{
    while (text.startsWith(u' '))
        text = text.sliced(1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// A line as the operator would recognise it in a message: short and quoted.
QString quoted(const QString &line)
{
    constexpr qsizetype Shown = 20;
    return u'"' + (line.size() > Shown ? line.left(Shown) + QStringLiteral("...") : line) + u'"';
}

} // namespace

QString multiLineValue(const LineFileFields &fields)
{
    const std::pair<const QString &, const char *> values[] = {{fields.leftOffset, "the left offset"},
                                                               {fields.transparencyValue, "the transparency value"},
                                                               {fields.hPos, "the horizontal position"},
                                                               {fields.vPos, "the vertical position"}};
    for (const auto &[text, name] : values) {
        if (!OneLine::isOneLine(text))
            return QLatin1String(name);
    }
    for (qsizetype i = 0; i < fields.lineTexts.size(); ++i) {
        if (!OneLine::isOneLine(fields.lineTexts.at(i)))
            return QStringLiteral("the text of line %1").arg(i + 1);
    }
    return {};
}

QByteArray writeLineFile(const LineFileFields &fields)
{
    QByteArray out;
    auto line = [&out](QStringView text) {
        out += Codec::encode(text);
        out += "\r\n";
    };
    line(QString::number(fields.comPortIndex));
    line(QString::number(fields.baudRateIndex));
    line(trimSpaces(fields.leftOffset));
    line(trimSpaces(fields.transparencyValue));
    line(QString::number(fields.lineTexts.size()));
    for (const QString &text : fields.lineTexts)
        line(text);
    line(trimSpaces(fields.hPos));
    line(trimSpaces(fields.vPos));
    line(QString::number(fields.pageCount));
    return out;
}

bool LineFileReader::feed(QByteArrayView bytes, bool atEnd)
{
    if (!m_error.isEmpty())
        return false;
    qsizetype pos = 0;
    if (m_afterCr && !bytes.isEmpty()) {
        m_afterCr = false;
        if (bytes.front() == '\n')
            pos = 1;
    }
    while (!complete() && pos < bytes.size()) {
        const qsizetype cr = bytes.indexOf('\r', pos);
        if (cr < 0) {
            m_partial += bytes.sliced(pos);
            break;
        }
        bool taken;
        if (m_partial.isEmpty()) {
            taken = takeLine(bytes.sliced(pos, cr - pos));
        } else {
            m_partial += bytes.sliced(pos, cr - pos);
            taken = takeLine(m_partial);
            m_partial.clear();
        }
        if (!taken)
            return false;
        pos = cr + 1;
        if (pos == bytes.size())
            m_afterCr = true;
        else if (bytes[pos] == '\n')
            ++pos;
    }
    if (atEnd && !complete() && !m_partial.isEmpty()) {
        const QByteArray last = std::exchange(m_partial, {});
        return takeLine(last);
    }
    return true;
}

bool LineFileReader::fail(const QString &reason)
{
    m_error = QStringLiteral("line %1: %2").arg(m_lineNumber).arg(reason);
    return false;
}

bool LineFileReader::takeLine(QByteArrayView raw)
{
    ++m_lineNumber;
    const QString line = Codec::decode(raw);
    auto index = [&](const char *list, int entries) -> std::optional<int> {
        const std::optional<qint16> value = NumberReader::leadingInteger16(line);
        if (!value)
            fail(QStringLiteral("%1 is not a number within -32768 to 32767").arg(quoted(line)));
        else if (*value < -1 || *value >= entries)
            fail(QStringLiteral("%1 names no entry of the %2 list").arg(*value).arg(QLatin1String(list)));
        else
            return *value;
        return std::nullopt;
    };
    auto count = [&]() -> std::optional<qint16> {
        const std::optional<qint16> value = NumberReader::leadingInteger16(line);
        if (!value)
            fail(QStringLiteral("the count %1 is not a number within -32768 to 32767").arg(quoted(line)));
        return value;
    };

    switch (m_field) {
    case 0:
        if (!(m_data.comPortIndex = index("COM port", m_lists.comPortEntries)))
            return false;
        break;
    case 1:
        if (!(m_data.baudRateIndex = index("baud rate", m_lists.baudRateEntries)))
            return false;
        break;
    case 2:
        m_data.leftOffset = line;
        break;
    case 3:
        m_data.transparencyValue = line;
        break;
    case 4: {
        const std::optional<qint16> lines = count();
        if (!lines)
            return false;
        m_data.lineCountReplaced = *lines < 1 || *lines > MaxCount;
        m_data.lineCount = m_data.lineCountReplaced ? LineCountWhenOutOfRange : *lines;
        break;
    }
    case 5:
        m_data.lineTexts.append(line);
        if (m_data.lineTexts.size() < *m_data.lineCount)
            return true; // the next line is a line text again
        break;
    case 6:
        m_data.hPos = line;
        break;
    case 7:
        m_data.vPos = line;
        break;
    case 8: {
        const std::optional<qint16> pages = count();
        if (!pages)
            return false;
        m_data.pageCountReplaced = *pages < 1 || *pages > MaxCount;
        m_data.pageCount = *pages > MaxCount ? PageCountWhenAbove : *pages < 1 ? PageCountWhenBelow : *pages;
        break;
    }
    }
    ++m_field;
    return true;
}

LineFileRead LineFileReader::result() const
{
    if (!m_error.isEmpty())
        return {std::nullopt, m_error};
    return {m_data, {}};
}

LineFileRead readLineFile(QByteArrayView bytes, const LineFileLists &lists)
{
    LineFileReader reader(lists);
    reader.feed(bytes, true);
    return reader.result();
}
