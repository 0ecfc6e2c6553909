// A line file on disk: read only as far as its lines are used, never from
// anything but a regular file, and written whole or not at all.
#include "store/linefile.h"

#include "store/filename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <climits>
#include <cstdio>
#include <cstdlib>
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

#ifdef Q_OS_UNIX
namespace {

QString cannotCreate(const QByteArray &folder, int error)
{
    return QStringLiteral("cannot create a file in %1: %2")
        .arg(FileName::shown(FileName::fromNative(folder)), systemError(error));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote < 0 && errno != EINTR)
            return false;
        done += std::max<ssize_t>(wrote, 0);
    }
    return true;
}

} // namespace

// Written beside the file under a name of its own, flushed to the disk, then
// renamed over it, so that the old file stays whole until the new one is.
// The name is used as bytes, so that a name that is not UTF-8 stays its own.
QString saveFileWhole(const QString &path, const QByteArray &bytes)
{
    QByteArray target = FileName::toNative(path);
    struct stat info = {};
    if (::lstat(target.constData(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(target.constData(), resolved))
            target = resolved; // the link stays; the file it names is replaced
    }
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    if (::stat(target.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return cannotCreate(folder, EISDIR);
    QByteArray temporary = folder + "/.quillane-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return cannotCreate(folder, errno);
    // The new file keeps the old one's permissions, or gets the usual ones.
    if (::stat(target.constData(), &info) == 0) {
        ::fchmod(fd, info.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.constData());
        return systemError(error);
    }
    if (::close(fd) != 0 || ::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemError(error);
    }
    return {};
}
#else
QString saveFileWhole(const QString &path, const QByteArray &bytes)
{
    // QSaveFile::commit() alone would still replace the old file after a
    // short write or a failed flush, so each step is checked here.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
        return QStringLiteral("cannot create a file in %1: %2").arg(folder, file.errorString());
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
#endif

LineFileRead loadLineFile(const QString &path, const LineFileLists &lists)
{
    const QString notRegular = QStringLiteral("not a regular file");
    QFile file;
#ifdef Q_OS_UNIX
    // Looked at before it is opened, so that a FIFO or a terminal is never
    // opened for reading; looked at again once open, in case the path was
    // replaced in between.
    const QByteArray name = FileName::toNative(path);
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
