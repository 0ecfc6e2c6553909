// The line file on disk: what saving leaves behind, and what opening will and
// will not read.
#include "store/linefile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

const LineFileLists Lists{16, 13};

// Bytes this process has read so far, through any call.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        qFatal("no /proc/self/io");
    const QByteArray text = io.readAll();
    const qsizetype at = text.indexOf("rchar: ") + 7;
    return text.mid(at, text.indexOf('\n', at) - at).toLongLong();
}

struct Unmount
{
    QByteArray path;
    ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
};

} // namespace

class TestLineFileDisk : public QObject
{
    Q_OBJECT

private slots:
    void replacesOnlyOnSuccess()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("work.ptx");
        QVERIFY(writeFile(path, "a much longer old content\r\n"));

        QCOMPARE(saveLineFile(dir.filePath("missing/work.ptx"), "new\r\n"),
                 "cannot create a file in " + dir.filePath("missing") + ": No such file or directory");
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"work.ptx"});

        QCOMPARE(saveLineFile(path, "5\r\n"), QString());
        QCOMPARE(loadLineFile(path, Lists).data->comPortIndex, 5);
    }

    // Whatever the path names, opening neither waits nor reads past what it
    // uses, and says why it refuses.
    void opensOnlyWhatItUses_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::addColumn<qint64>("mostRead");
        constexpr qint64 MiB = 1024 * 1024;
        QTest::newRow("missing file") << "missing" << "No such file or directory" << 0LL;
        QTest::newRow("folder") << "folder" << "not a regular file" << 0LL;
        QTest::newRow("FIFO with no writer") << "fifo" << "not a regular file" << 0LL;
        QTest::newRow("socket") << "socket" << "not a regular file" << 0LL;
        QTest::newRow("link to /dev/zero") << "zero" << "not a regular file" << 0LL;
        QTest::newRow("link to /dev/urandom") << "urandom" << "not a regular file" << 0LL;
        QTest::newRow("1 GiB without a line end") << "nocr" << "larger than 16 MiB" << 17 * MiB;
        QTest::newRow("1 GiB after a valid head") << "head" << "" << MiB;
        QTest::newRow("line 1 past COM 16") << "badport" << "line 1: 16 names no entry of the COM port list" << MiB;
    }

    void opensOnlyWhatItUses()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        QFETCH(qint64, mostRead);
        QTemporaryDir dir;
        const QString path = dir.filePath("work.ptx");
        const QByteArray name = QFile::encodeName(path);
        constexpr off_t GiB = off_t(1) << 30;
        if (kind == "folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (kind == "socket") {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, name.constData(), sizeof address.sun_path - 1);
            QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
            ::close(fd);
        } else if (kind == "zero" || kind == "urandom") {
            QVERIFY(QFile::link("/dev/" + kind, path));
        } else if (kind == "nocr") {
            QVERIFY(writeFile(path, {}));
            QCOMPARE(::truncate(name.constData(), GiB), 0);
        } else if (kind == "head" || kind == "badport") {
            QVERIFY(writeFile(path, kind == "head" ? "0\r\n3\r\n000\r\n0\r\n1\r\nA\r\n00\r\n00\r\n7\r\n" : "16\r\n"));
            QCOMPARE(::truncate(name.constData(), GiB), 0);
        }

        const qint64 before = bytesRead();
        const LineFileRead read = loadLineFile(path, Lists);
        QVERIFY(bytesRead() - before <= mostRead + 4096); // reading /proc/self/io counts too
        QCOMPARE(read.error, error);
        QCOMPARE(read.data.has_value(), error.isEmpty());
        if (read.data)
            QCOMPARE(read.data->pageCount, 7);
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

        QCOMPARE(saveLineFile(path, QByteArray(qsizetype(contentKiB) * 1024, 'n')), "No space left on device");
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), (QStringList{"filler", "work.ptx"}));
    }
};

QTEST_APPLESS_MAIN(TestLineFileDisk)
#include "test_linefiledisk.moc"
