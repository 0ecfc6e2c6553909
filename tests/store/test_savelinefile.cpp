#include "linefile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Fills the filesystem at path to the brim, then gives back `spare` bytes.
bool fillLeaving(const QString &path, off_t spare)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'f');
    off_t size = 0;
    for (ssize_t n; (n = ::write(fd, block.constData(), block.size())) > 0;)
        size += n;
    const bool ok = errno == ENOSPC && ::ftruncate(fd, size > spare ? size - spare : 0) == 0;
    ::close(fd);
    return ok;
}

struct Unmount
{
    QByteArray path;
    ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
};

} // namespace

class TestSaveLineFile : public QObject
{
    Q_OBJECT

private slots:
    void replacesOnlyOnSuccess()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("work.ptx");
        QVERIFY(writeFile(path, "a much longer old content\r\n"));

        QVERIFY(!saveLineFile(dir.filePath("missing/work.ptx"), "new\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"work.ptx"});
        QVERIFY(!loadLineFile(dir.filePath("missing/work.ptx")));
        QVERIFY(!loadLineFile(dir.path()));

        QVERIFY(saveLineFile(path, "new\r\n"));
        QCOMPARE(loadLineFile(path), std::optional<QByteArray>("new\r\n"));
    }

    void fullFilesystemKeepsOldFile_data()
    {
        QTest::addColumn<int>("spareKiB");
        QTest::addColumn<int>("contentKiB");
        // QFileDevice buffers 16 KiB: below that only flush() sees the failure.
        QTest::newRow("content fits the write buffer, flush fails") << 4 << 12;
        QTest::newRow("content bypasses the write buffer, write runs short") << 8 << 48;
    }

    void fullFilesystemKeepsOldFile()
    {
        QFETCH(int, spareKiB);
        QFETCH(int, contentKiB);
        if (::geteuid() != 0)
            QSKIP("mounting a small tmpfs needs root");
        QTemporaryDir dir;
        const QByteArray mountPoint = QFile::encodeName(dir.path());
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno))));
        const Unmount unmount{mountPoint};

        const QString path = dir.filePath("work.ptx");
        const QByteArray old(2048, 'o');
        QVERIFY(writeFile(path, old));
        QVERIFY(fillLeaving(dir.filePath("filler"), off_t(spareKiB) * 1024));

        QVERIFY(!saveLineFile(path, QByteArray(qsizetype(contentKiB) * 1024, 'n')));
        QCOMPARE(loadLineFile(path), std::optional<QByteArray>(old));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), (QStringList{"filler", "work.ptx"}));
    }
};

QTEST_APPLESS_MAIN(TestSaveLineFile)
#include "test_savelinefile.moc"
