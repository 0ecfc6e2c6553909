// A line file on disk: read only as far as its lines are used, never from
// anything but a regular file, and written whole or not at all.
#include "store/linefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr qsizetype ReadChunk = qsizetype(64) * 1024;

LineFileRead failure(const QString &reason)
{
    return {std::nullopt, reason};
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString saveFileWhole(const QString &path, const QByteArray &bytes)
{
    // QSaveFile::commit() alone would still replace the old file after a
    // short write or a failed flush, so each step is checked here.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
        return QStringLiteral("cannot create a file in %1: %2").arg(folder, file.errorString());
    }
    // Qt keeps no reason for a short write and words a failed flush as
    // "Unknown error"; the system's own is still in errno.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        QString reason = errno != 0 ? systemError(errno) : file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

LineFileRead loadLineFile(const QString &path, const LineFileLists &lists)
{
    const QString notRegular = QStringLiteral("not a regular file");
    QFile file;
#ifdef Q_OS_UNIX
    // Looked at before it is opened, so that a FIFO or a terminal is never
    // opened for reading; looked at again once open, in case the path was
    // replaced in between.
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    if (::stat(name.constData(), &info) != 0)
        return failure(systemError(errno));
    if (!S_ISREG(info.st_mode))
        return failure(notRegular);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failure(systemError(errno));
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return failure(notRegular);
    }
    file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
#else
    if (!QFileInfo(path).isFile())
        return failure(notRegular);
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failure(file.errorString());
#endif

    LineFileReader reader(lists);
    QByteArray chunk(ReadChunk, Qt::Uninitialized);
    qint64 total = 0;
    while (!reader.complete()) {
        if (total > LineFileReadLimit)
            return failure(QStringLiteral("larger than 16 MiB"));
        const qint64 wanted = std::min<qint64>(chunk.size(), LineFileReadLimit + 1 - total);
        const qint64 got = file.read(chunk.data(), wanted);
        if (got < 0)
            return failure(file.errorString());
        total += got;
        if (!reader.feed(QByteArrayView(chunk.constData(), got), got == 0) || got == 0)
            break;
    }
    return reader.result();
}
