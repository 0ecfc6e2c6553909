#pragma once

#include <QByteArray>
#include <QString>

// File names as the system gives them. On Unix a name is bytes, and one that
// is not UTF-8 must still open and save under its own name: its stray bytes
// travel through a QString as lone surrogates (U+DC80 + byte), and come back
// as the same bytes. Names that are UTF-8 are their plain text.
namespace FileName {

QString fromNative(const QByteArray &name);
QByteArray toNative(const QString &name);
// For the operator's eyes: each stray byte as U+FFFD.
QString shown(const QString &name);
// A path as a file dialog gives it, where each stray byte of a name already
// became U+FFFD: the existing entry of its folder that reads so, when there is
// exactly one; otherwise the path as it is.
QString resolve(const QString &path);

} // namespace FileName
