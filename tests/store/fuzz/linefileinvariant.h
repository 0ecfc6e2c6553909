#pragma once

// Any bytes: whatever the reader accepts has its counts in range, and is
// written and read back to the same values (trimmed of spaces where the
// writer trims). Run by the fuzz target and on test_store's rows.
#include "store/linefile.h"

#include <QRegularExpression>

inline const LineFileLists InvariantLists{16, 14};

inline bool roundTrips(QByteArrayView bytes)
{
    const std::optional<LineFileData> read = readLineFile(bytes, InvariantLists).data;
    if (!read || !read->lineCount)
        return true;
    if (*read->lineCount < 1 || *read->lineCount > 255 || read->lineTexts.size() > *read->lineCount)
        return false;
    LineFileFields fields{*read->comPortIndex,
                          *read->baudRateIndex,
                          *read->leftOffset,
                          *read->transparencyValue,
                          read->lineTexts,
                          read->hPos.value_or(QString()),
                          read->vPos.value_or(QString()),
                          read->pageCount.value_or(32)};
    while (fields.lineTexts.size() < *read->lineCount)
        fields.lineTexts.append(QString());

    const auto trimmed = [](QString text) { return text.remove(QRegularExpression("^ +| +\\z")); };
    const std::optional<LineFileData> again = readLineFile(writeLineFile(fields), InvariantLists).data;
    return again && again->comPortIndex == fields.comPortIndex && again->baudRateIndex == fields.baudRateIndex
           && again->leftOffset == trimmed(fields.leftOffset)
           && again->transparencyValue == trimmed(fields.transparencyValue) && again->lineCount == read->lineCount
           && !again->lineCountReplaced && again->lineTexts == fields.lineTexts && again->hPos == trimmed(fields.hPos)
           && again->vPos == trimmed(fields.vPos) && again->pageCount == fields.pageCount && !again->pageCountReplaced;
}
