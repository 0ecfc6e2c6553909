#include "store/filename.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace {

constexpr char16_t StrayBase = 0xDC00;

bool isStray(char16_t c)
{
    return c >= StrayBase + 0x80 && c <= StrayBase + 0xFF;
}

// The length of the well-formed UTF-8 sequence at bytes[at], or 0.
qsizetype sequenceLength(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    qsizetype length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (qsizetype i = at + 2; i < at + length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

namespace FileName {

QString fromNative(const QByteArray &name)
{
#ifdef Q_OS_UNIX
    QString text;
    qsizetype at = 0;
    while (at < name.size()) {
        qsizetype end = at;
        while (end < name.size() && sequenceLength(name, end) > 0)
            end += sequenceLength(name, end);
        text += QString::fromUtf8(name.constData() + at, end - at);
        if (end < name.size())
            text += QChar(char16_t(StrayBase + static_cast<unsigned char>(name[end++])));
        at = end;
    }
    return text;
#else
    return QFile::decodeName(name);
#endif
}

QByteArray toNative(const QString &name)
{
#ifdef Q_OS_UNIX
    QByteArray bytes;
    qsizetype at = 0;
    while (at < name.size()) {
        qsizetype end = at;
        while (end < name.size() && !isStray(name[end].unicode()))
            ++end;
        bytes += QStringView(name).sliced(at, end - at).toUtf8();
        if (end < name.size())
            bytes += char(name[end++].unicode() - StrayBase);
        at = end;
    }
    return bytes;
#else
    return QFile::encodeName(name);
#endif
}

QString shown(const QString &name)
{
    QString text = name;
    for (QChar &c : text) {
        if (isStray(c.unicode()))
            c = QChar::ReplacementCharacter;
    }
    return text;
}

QString resolve(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info = {};
    if (!path.contains(QChar::ReplacementCharacter) || ::stat(toNative(path).constData(), &info) == 0)
        return path;
    const QFileInfo file(path);
    const QString folder = resolve(file.path());
    DIR *entries = ::opendir(toNative(folder).constData());
    if (!entries)
        return path;
    QString found;
    int matches = 0;
    while (const dirent *entry = ::readdir(entries)) {
        const QString name = fromNative(QByteArray(entry->d_name));
        if (shown(name) == file.fileName() && ++matches == 1)
            found = folder + u'/' + name;
    }
    ::closedir(entries);
    return matches == 1 ? found : path;
#else
    return path;
#endif
}

} // namespace FileName
