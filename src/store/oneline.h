#pragma once

#include <QString>
#include <QStringView>

// Every value the operator edits is one line: the line file ends a value at
// CR, and the controller ends a line's text at LF.
namespace OneLine {

// A pasted or dropped line break (CR LF, CR or LF) becomes one space; line
// breaks at the end are dropped.
QString fromPasted(QStringView text);

// The text without any CR or LF, for fields where a blank is no separator.
QString withoutBreaks(QStringView text);

bool isOneLine(QStringView text);

} // namespace OneLine
