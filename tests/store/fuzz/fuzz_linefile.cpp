// Any bytes: the reader never crashes, and whatever it accepts is written and
// read back to the same values (trimmed where the writer trims).
#include "store/linefile.h"

#include <cstdlib>

namespace {

const LineFileLists Lists{16, 14};

QString trimmedOfSpaces(const QString &text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto bytes = QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<LineFileData> read = readLineFile(bytes, Lists).data;
    if (!read || !read->lineCount)
        return 0;
    check(*read->lineCount >= 1 && *read->lineCount <= 255);
    check(read->lineTexts.size() <= *read->lineCount);

    LineFileFields fields{*read->comPortIndex, *read->baudRateIndex, *read->leftOffset, *read->transparencyValue,
                          read->lineTexts, read->hPos.value_or(QString()), read->vPos.value_or(QString()),
                          read->pageCount.value_or(32)};
    while (fields.lineTexts.size() < *read->lineCount)
        fields.lineTexts.append(QString());

    const std::optional<LineFileData> again = readLineFile(writeLineFile(fields), Lists).data;
    check(again.has_value());
    check(again->comPortIndex == fields.comPortIndex && again->baudRateIndex == fields.baudRateIndex);
    check(again->leftOffset == trimmedOfSpaces(fields.leftOffset));
    check(again->transparencyValue == trimmedOfSpaces(fields.transparencyValue));
    check(again->lineCount == read->lineCount && !again->lineCountReplaced);
    check(again->lineTexts == fields.lineTexts);
    check(again->hPos == trimmedOfSpaces(fields.hPos) && again->vPos == trimmedOfSpaces(fields.vPos));
    check(again->pageCount == fields.pageCount && !again->pageCountReplaced);
    return 0;
}
