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

// What among the fields holds a line break ("the text of line 3"), or empty.
// Such a value would not read back as it was written.
QString multiLineValue(const LineFileFields &fields);

// The four value fields are trimmed of spaces (only spaces) at both ends; the
// line texts are written exactly as they are.
QByteArray writeLineFile(const LineFileFields &fields);

// Writes a file whole or not at all (a line file, or any other the program
// saves): the file at path is replaced only once every byte has reached it,
// and on any failure an existing file keeps its old content. Empty on
// success, else why it failed, in the system's words ("cannot create a file
// in /some/folder: Permission denied", "No space left on device").
QString saveFileWhole(const QString &path, const QByteArray &bytes);

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

// A file is read no further than its used lines: 8 + N, or fewer when it ends
// early. What comes before their end may take at most this many bytes.
constexpr qint64 LineFileReadLimit = qint64(16) * 1024 * 1024;

// What opening found: the values when the file can be used, otherwise the
// reason, in words for the operator ("line 1: 16 names no entry of the COM
// port list").
struct LineFileRead
{
    std::optional<LineFileData> data;
    QString error;
};

// Takes a file's lines one at a time. A line ends at CR, a LF right after the
// CR belongs to the same end, a lone LF is part of the value, and a last line
// without an end still counts.
class LineFileReader
{
public:
    explicit LineFileReader(const LineFileLists &lists) : m_lists(lists) {}

    // Takes the next bytes of the file; atEnd says no more will come. False
    // once the file is known to be unusable.
    bool feed(QByteArrayView bytes, bool atEnd);
    // The page count has been read: nothing after it is ever used.
    bool complete() const { return m_field > 8; }
    LineFileRead result() const;

private:
    bool takeLine(QByteArrayView raw);
    bool fail(const QString &reason);

    LineFileLists m_lists;
    LineFileData m_data;
    QString m_error;
    QByteArray m_partial; // a line whose end has not come yet
    bool m_afterCr = false;
    int m_field = 0;
    int m_lineNumber = 0;
};

// Reads and checks a whole file held in memory.
LineFileRead readLineFile(QByteArrayView bytes, const LineFileLists &lists);

// Opens and reads the file at path. Only a regular file is read (after
// following links): a FIFO, device, socket or folder is refused without being
// opened for reading, so nothing here waits on a writer or reads forever.
LineFileRead loadLineFile(const QString &path, const LineFileLists &lists);
