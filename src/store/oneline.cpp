#include "store/oneline.h"

#include <algorithm>

namespace {

bool isBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

namespace OneLine {

QString fromPasted(QStringView text)
{
    while (!text.isEmpty() && isBreak(text.back()))
        text.chop(1);
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBreak(text[i])) {
            line += text[i];
            continue;
        }
        line += u' ';
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    return line;
}

QString withoutBreaks(QStringView text)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        if (!isBreak(c))
            line += c;
    }
    return line;
}

bool isOneLine(QStringView text)
{
    return std::none_of(text.begin(), text.end(), isBreak);
}

} // namespace OneLine
