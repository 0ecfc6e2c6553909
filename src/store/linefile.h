#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The line file: one value per line, each line ended by CR LF, one byte per
// character (see codec.h). With N line texts it has 8 + N lines:
//   1 ComPort index, 2 BaudRate index, 3 LeftOffset, 4 TransparencyValue,
//   5 N, 6 .. 5+N the line texts, 6+N HPos, 7+N VPos, 8+N PageCount.

// What saving writes. Indices are -1 for a list without a selection.
struct LineFileFields
{
    int comPortIndex = -1;
    int baudRateIndex = -1;
    QString leftOffset;
    QString transparencyValue;
    QStringList lineTexts;
    QString hPos;
    QString vPos;
    int pageCount = 0;
};

// The four value fields are trimmed of spaces (only spaces) at both ends; the
// line texts are written exactly as they are.
QByteArray writeLineFile(const LineFileFields &fields);

// Replaces the file at path only once every byte has reached it; on any
// failure an existing file keeps its old content.
bool saveLineFile(const QString &path, const QByteArray &bytes);

// What opening reads. A file may end early: the values it did not reach stay
// empty. Counts outside 1..255 are already replaced (lines 12; pages 32 when
// above, 4 when below) and flagged, so that the caller can say so.
struct LineFileData
{
    std::optional<int> comPortIndex;
    std::optional<int> baudRateIndex;
    std::optional<QString> leftOffset;
    std::optional<QString> transparencyValue;
    std::optional<int> lineCount;
    bool lineCountReplaced = false;
    QStringList lineTexts; // as many as the file holds, at most lineCount
    std::optional<QString> hPos;
    std::optional<QString> vPos;
    std::optional<int> pageCount;
    bool pageCountReplaced = false;
};

// Entry counts of the two lists whose selections the file stores by index.
struct LineFileLists
{
    int comPortEntries = 0;
    int baudRateEntries = 0;
};

// The lines of a file: a line ends at CR, a LF right after the CR belongs to
// the same end, a lone LF is part of the value, and a last line without an end
// still counts.
QStringList splitLineFile(QByteArrayView bytes);

// Reads and checks the whole file. Empty when the file cannot be used: an
// index that names no entry of its list (-1 means no selection), or a number
// outside -32768 .. 32767.
std::optional<LineFileData> readLineFile(QByteArrayView bytes, const LineFileLists &lists);

// Reads a whole file; empty when it cannot be opened or read.
std::optional<QByteArray> loadLineFile(const QString &path);
