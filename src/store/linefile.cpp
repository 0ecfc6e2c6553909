#include "linefile.h"

#include "codec.h"
#include "numberreader.h"

#include <QFile>
#include <QSaveFile>

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

// The next line from pos, without its end; empty once the bytes are used up.
std::optional<QByteArrayView> nextLine(QByteArrayView bytes, qsizetype &pos)
{
    if (pos >= bytes.size())
        return std::nullopt;
    const qsizetype start = pos;
    const qsizetype cr = bytes.indexOf('\r', start);
    if (cr < 0) {
        pos = bytes.size();
        return bytes.sliced(start);
    }
    pos = cr + 1;
    if (pos < bytes.size() && bytes[pos] == '\n')
        ++pos;
    return bytes.sliced(start, cr - start);
}

std::optional<int> readIndex(const QString &line, int entries)
{
    const std::optional<qint16> value = NumberReader::leadingInteger16(line);
    if (!value || *value < -1 || *value >= entries)
        return std::nullopt;
    return *value;
}

} // namespace

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

bool saveLineFile(const QString &path, const QByteArray &bytes)
{
    // QSaveFile::commit() alone would still replace the old file after a
    // short write or a failed flush, so each step is checked here.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QStringList splitLineFile(QByteArrayView bytes)
{
    QStringList lines;
    qsizetype pos = 0;
    while (const auto line = nextLine(bytes, pos))
        lines.append(Codec::decode(*line));
    return lines;
}

std::optional<LineFileData> readLineFile(QByteArrayView bytes, const LineFileLists &lists)
{
    LineFileData data;
    qsizetype pos = 0;
    // Lines after the page count (field 8) are never looked at.
    for (int field = 0; field <= 8;) {
        const std::optional<QByteArrayView> raw = nextLine(bytes, pos);
        if (!raw)
            break;
        const QString line = Codec::decode(*raw);
        switch (field) {
        case 0:
            if (!(data.comPortIndex = readIndex(line, lists.comPortEntries)))
                return std::nullopt;
            break;
        case 1:
            if (!(data.baudRateIndex = readIndex(line, lists.baudRateEntries)))
                return std::nullopt;
            break;
        case 2:
            data.leftOffset = line;
            break;
        case 3:
            data.transparencyValue = line;
            break;
        case 4: {
            const std::optional<qint16> count = NumberReader::leadingInteger16(line);
            if (!count)
                return std::nullopt;
            data.lineCountReplaced = *count < 1 || *count > MaxCount;
            data.lineCount = data.lineCountReplaced ? LineCountWhenOutOfRange : *count;
            break;
        }
        case 5:
            data.lineTexts.append(line);
            if (data.lineTexts.size() < *data.lineCount)
                continue; // the next line is a line text again
            break;
        case 6:
            data.hPos = line;
            break;
        case 7:
            data.vPos = line;
            break;
        case 8: {
            const std::optional<qint16> count = NumberReader::leadingInteger16(line);
            if (!count)
                return std::nullopt;
            data.pageCountReplaced = *count < 1 || *count > MaxCount;
            data.pageCount = *count > MaxCount ? PageCountWhenAbove
                           : *count < 1       ? PageCountWhenBelow
                                              : *count;
            break;
        }
        }
        ++field;
    }
    return data;
}

std::optional<QByteArray> loadLineFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}
