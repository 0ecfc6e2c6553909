// The character set, numbers as text, and the line file in memory and on disk.
#include "fuzz/linefileinvariant.h"
#include "fuzz/numberreaderinvariant.h"
#include "store/filename.h"
#include "store/oneline.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray file(const QStringList &lines)
{
    return Codec::encode(lines.join("\r\n") + "\r\n");
}

// A missing value is "-", a replaced count ends in "!"; a refusal is its reason.
QString describe(const LineFileRead &read)
{
    if (!read.data)
        return read.error;
    const LineFileData &d = *read.data;
    const auto number = [](const std::optional<int> &v, bool replaced) {
        return v ? QString::number(*v) + (replaced ? "!" : "") : QStringLiteral("-");
    };
    QStringList fields{number(d.comPortIndex, false), number(d.baudRateIndex, false), d.leftOffset.value_or("-")};
    fields << d.transparencyValue.value_or("-") << number(d.lineCount, d.lineCountReplaced) << d.lineTexts.join(u',');
    fields << d.hPos.value_or("-") << d.vPos.value_or("-") << number(d.pageCount, d.pageCountReplaced);
    return fields.join(u'|');
}

// The bytes, then zeros up to size.
bool writeFile(const QString &path, const QByteArray &bytes, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.resize(size);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Bytes this process has read so far, through any call.
qint64 bytesRead()
{
    const QByteArray text = contents("/proc/self/io");
    const qsizetype at = text.indexOf("rchar: ") + 7;
    return text.mid(at, text.indexOf('\n', at) - at).toLongLong();
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    // Whatever is pasted or dropped into a one-line value stays one line.
    void pastedLineBreaks_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("line");
        // clang-format off
        QTest::newRow("LF inside is a space") << "AB\nCD" << "AB CD";
        QTest::newRow("CR LF inside is one space") << "AB\r\nCD" << "AB CD";
        QTest::newRow("CR alone inside is a space") << "AB\rCD" << "AB CD";
        QTest::newRow("a copied line's end is dropped") << "SECOND\r\nY\r\n" << "SECOND Y";
        QTest::newRow("two breaks are two spaces") << "a\n\nb" << "a  b";
        QTest::newRow("leading breaks are spaces") << "\r\nX" << " X";
        QTest::newRow("only breaks is empty") << "\r\n\n" << "";
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << "a  b";
        // clang-format on
    }

    void pastedLineBreaks()
    {
        QFETCH(QString, pasted);
        QTEST(OneLine::fromPasted(pasted), "line");
    }

    // Every byte decodes to a character of its own and back: the euro sign,
    // a C1 control, the last byte unlike Latin-1. A character outside the set
    // is one '?': U+0100, U+0080, a surrogate pair, a lone high surrogate.
    void codec()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString text = Codec::decode(all);
        QCOMPARE(Codec::encode(text), all);
        QCOMPARE(text.mid(0x80, 2) + text[0x9F], u"\u20AC\u0081\u0178"_qs);
        QCOMPARE(Codec::encode(u"A\u0100B\u0080\U0001F600!"_qs + QChar(0xD83D) + u'x'), QByteArray("A?B?"
                                                                                                   "?!?x"));
    }

    // As strtod reads them, rounded halfway to even (see the invariant).
    void decimalReadsAsStrtod_data()
    {
        QTest::addColumn<QString>("text");
        const QString millionNines(1'000'000, u'9');
        // clang-format off
        QTest::newRow("2.5 halfway to even 2") << "2.5";
        QTest::newRow("blanks, tabs and line feeds skipped") << " - 1\t2\n. 5 e + 1";
        QTest::newRow("32767 is the largest") << "32767";
        QTest::newRow("32767.5 rounds out of range") << "32767.5";
        QTest::newRow("-32768.5 rounds in range") << "-32768.5";
        QTest::newRow("a million digits") << millionNines;
        QTest::newRow("CR stops the number") << "1\r2";
        QTest::newRow("a doubled sign is no number") << "--1";
        QTest::newRow("largest double") << "1.7976931348623157e308";
        QTest::newRow("1e309 is infinite") << "1e309";
        QTest::newRow("smallest subnormal") << "4.9e-324";
        QTest::newRow("2e-324 is 0") << "2e-324";
        QTest::newRow("exponent 2^64 + 5 does not wrap to 5") << "1e18446744073709551621";
        QTest::newRow("the exponent offsets a thousand leading zeros") << "0." + QString(1000, u'0') + "1e1000";
        // Halfway between 1 and the next double, but for a digit 1000 places on.
        QTest::newRow("far digits decide a halfway case") << "1.00000000000000011102230246251565404236316680908203125" + QString(1000, u'0') + "1";
        // clang-format on
    }

    void decimalReadsAsStrtod()
    {
        QFETCH(QString, text);
        QVERIFY(readsAsStrtod(Codec::encode(text)));
    }

    // &H and &O read unsigned, so &HFFFF is too large for 16 bits.
    void radixNumbers()
    {
        QList<double> read;
        for (const char16_t *text : {u" & H 1 F", u"&o17", u"&o8", u"&HFFFF"})
            read << NumberReader::leadingNumber(text);
        QCOMPARE(read, (QList<double>{31, 15, 0, 65535}));
        QVERIFY(readsAsStrtod("&HFFFF"));
    }

    void readsLineFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QStringList head{"0", "3", "000", "0"};
        const QStringList twelve(12, "t"), tail{"00", "00", "32"};
        const QString readTwelve = "0|3|000|0|12!|" + twelve.join(u',') + "|00|00|32";
        QByteArray everyByte;
        for (int b = 1; b < 256; ++b)
            if (b != '\r' && b != '\n')
                everyByte += char(b);
        const QString text = Codec::decode(everyByte) + QString(47, 'x');

        // clang-format off
        QTest::newRow("300 characters: every byte but CR and LF") << file(head + QStringList{"1", text, "h", "v", "7"}) << "0|3|000|0|1|" + text + "|h|v|7";
        QTest::newRow("line count 0 becomes 12") << file(head + QStringList("0") + twelve + tail) << readTwelve;
        QTest::newRow("line count 300 becomes 12") << file(head + QStringList("300") + twelve + tail) << readTwelve;
        QTest::newRow("page count 0 becomes 4") << file(head + QStringList{"1", "a", "h", "v", "0"}) << "0|3|000|0|1|a|h|v|4!";
        QTest::newRow("page count 256 becomes 32") << file(head + QStringList{"1", "a", "h", "v", "256"}) << "0|3|000|0|1|a|h|v|32!";
        QTest::newRow("file ends among the texts") << file(head + QStringList{"3", "a"}) << "0|3|000|0|3|a|-|-|-";
        QTest::newRow("values kept as read") << file({"0", "0", " 1 ", "2 ", "1", " a ", " h", "v ", "9"}) << "0|0| 1 |2 |1| a | h|v |9";
        QTest::newRow("CR alone ends a line, LF alone is a character") << QByteArray("0\r3\r\n\n1 \n\r\r\n") << "0|3|\n1 \n||-||-|-|-";
        QTest::newRow("lines ended by LF alone are one line") << QByteArray("0\n3\n000\n0\n1\nA\n00\n00\n7\n") << "line 1: \"0\n3\n000\n0\n1\nA\n00\n00\n...\" is not a number within -32768 to 32767";
        QTest::newRow("indexes round halfway to even") << file({"2.5", "3.5"}) << "2|4|-|-|-||-|-|-";
        QTest::newRow("index -1 is no selection") << file({"-1", "-1"}) << "-1|-1|-|-|-||-|-|-";
        QTest::newRow("port index 16 of 16 entries") << file({"16"}) << "line 1: 16 names no entry of the COM port list";
        QTest::newRow("port index -2") << file({"-2"}) << "line 1: -2 names no entry of the COM port list";
        QTest::newRow("baud index against its own list") << file({"0", "14"}) << "line 2: 14 names no entry of the baud rate list";
        QTest::newRow("line count 40000") << file(head + QStringList{"40000"}) << "line 5: the count \"40000\" is not a number within -32768 to 32767";
        QTest::newRow("page count 40000") << file(head + QStringList{"1", "a", "h", "v", "40000"}) << "line 9: the count \"40000\" is not a number within -32768 to 32767";
        // clang-format on
    }

    // The same whole and fed byte by byte; what is accepted reads back alike.
    void readsLineFile()
    {
        QFETCH(QByteArray, bytes);
        QTEST(describe(readLineFile(bytes, InvariantLists)), "expected");
        LineFileReader reader(InvariantLists);
        for (qsizetype i = 0; i < bytes.size() && !reader.complete(); ++i)
            reader.feed(bytes.sliced(i, 1), false);
        reader.feed({}, true);
        QTEST(describe(reader.result()), "expected");
        QVERIFY(roundTrips(bytes));
    }

    void fullFilesystemKeepsOldFile_data()
    {
        QTest::addColumn<int>("spareKiB");
        QTest::addColumn<int>("contentKiB");
        // QFileDevice buffers 16 KiB: below that only flush() sees the failure.
        // clang-format off
        QTest::newRow("content fits the write buffer, flush fails") << 4 << 12;
        QTest::newRow("content bypasses the write buffer, write runs short") << 8 << 48;
        // clang-format on
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
            QSKIP(qPrintable("cannot mount a tmpfs: " + qt_error_string()));
        const auto unmount = qScopeGuard([&mountPoint] { ::umount2(mountPoint.constData(), MNT_DETACH); });
        const QString path = dir.filePath("work.ptx");
        QVERIFY(writeFile(path, QByteArray(4096, 'x'), 4096)); // a save replaces a longer file whole
        QCOMPARE(saveFileWhole(path, QByteArray(2048, 'o')), QString());
        QCOMPARE(contents(path), QByteArray(2048, 'o'));
        QFile filler(dir.filePath("filler")); // fills the filesystem, then gives back the spare bytes
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        for (const QByteArray block(4096, 'f'); filler.write(block) > 0;) {
        }
        QVERIFY(filler.resize(filler.size() - spareKiB * 1024));

        QCOMPARE(saveFileWhole(path, QByteArray(contentKiB * 1024, 'n')), "No space left on device");
        QCOMPARE(contents(path), QByteArray(2048, 'o'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 (QStringList{"filler", "work.ptx"}));
    }

    // A name that is not UTF-8 keeps its bytes: found again from the form a
    // file dialog shows it in, opened, and saved over under the same bytes.
    void namesAsTheSystemHasThem()
    {
        for (const QByteArray bytes : {"caf\xC3\xA9", "\xF0\x9F\x98\x80", "\xC0\x80 overlong", "\xED\xA0\x80 surrogate",
                                       "cut \xE2\x82", "\xFF\xFE"}) {
            QCOMPARE(FileName::toNative(FileName::fromNative(bytes)), bytes);
            QCOMPARE(FileName::shown(FileName::fromNative(bytes)), QFile::decodeName(bytes));
        }
        QTemporaryDir dir;
        const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xE9 \xFF.ptx";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0600);
        const QByteArray content = "0\r\n3\r\n000\r\n0\r\n1\r\nA\r\n00\r\n00\r\n7\r\n";
        QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
        ::close(fd);
        const QString path = FileName::resolve(QFile::decodeName(name));
        QCOMPARE(FileName::toNative(path), name);
        QVERIFY(loadLineFile(path, InvariantLists).data);
        QCOMPARE(saveFileWhole(path, "saved"), QString());
        QStringList entries;
        DIR *folder = ::opendir(QFile::encodeName(dir.path()).constData());
        while (const dirent *entry = ::readdir(folder))
            entries << QString::fromLatin1(QByteArray(entry->d_name).toHex());
        ::closedir(folder);
        entries.sort();
        QCOMPARE(entries,
                 (QStringList{"2e", "2e2e", QString::fromLatin1(name.mid(name.lastIndexOf('/') + 1).toHex())}));
    }

    void opensOnlyWhatItUses_data()
    {
        QTest::addColumn<int>("type");           // what the path names, if anything
        QTest::addColumn<QByteArray>("content"); // a file's first bytes (zeros follow up to 1 GiB), a link's target
        QTest::addColumn<QString>("error");
        QTest::addColumn<qint64>("mostRead");
        constexpr qint64 MiB = 1024 * 1024;
        const QString notRegular = "not a regular file";
        // clang-format off
        QTest::newRow("missing file") << 0 << QByteArray() << "No such file or directory" << 0LL;
        QTest::newRow("folder") << int(S_IFDIR) << QByteArray() << notRegular << 0LL;
        QTest::newRow("FIFO with no writer") << int(S_IFIFO) << QByteArray() << notRegular << 0LL;
        QTest::newRow("socket") << int(S_IFSOCK) << QByteArray() << notRegular << 0LL;
        QTest::newRow("link to /dev/zero") << int(S_IFLNK) << QByteArray("/dev/zero") << notRegular << 0LL;
        QTest::newRow("link to /dev/urandom") << int(S_IFLNK) << QByteArray("/dev/urandom") << notRegular << 0LL;
        QTest::newRow("1 GiB without a line end") << int(S_IFREG) << QByteArray() << "larger than 16 MiB" << 17 * MiB;
        QTest::newRow("1 GiB after a valid head") << int(S_IFREG) << QByteArray("0\r\n3\r\n000\r\n0\r\n1\r\nA\r\n00\r\n00\r\n7\r\n") << "" << MiB;
        QTest::newRow("1 GiB after a bad first line") << int(S_IFREG) << QByteArray("16\r\n") << "line 1: 16 names no entry of the COM port list" << MiB;
        // clang-format on
    }

    // Opening neither waits nor reads past what it uses, and says why it refuses.
    void opensOnlyWhatItUses()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, content);
        QFETCH(qint64, mostRead);
        QTemporaryDir dir;
        const QString path = dir.filePath("work.ptx");
        const QByteArray name = QFile::encodeName(path);
        if (type == S_IFDIR)
            QCOMPARE(::mkdir(name.constData(), 0700), 0);
        else if (type == S_IFLNK)
            QCOMPARE(::symlink(content.constData(), name.constData()), 0);
        else if (type == S_IFREG)
            QVERIFY(writeFile(path, content, qint64(1) << 30));
        else if (type != 0)
            QCOMPARE(::mknod(name.constData(), mode_t(type) | 0600, 0), 0);

        const qint64 before = bytesRead();
        const LineFileRead read = loadLineFile(path, InvariantLists);
        QVERIFY(bytesRead() - before <= mostRead + 4096); // reading /proc/self/io counts too
        QTEST(read.error, "error");
        QCOMPARE(read.data.has_value(), read.error.isEmpty());
        if (read.data)
            QCOMPARE(read.data->pageCount, 7);
    }
};

QTEST_APPLESS_MAIN(TestStore)
#include "test_store.moc"
