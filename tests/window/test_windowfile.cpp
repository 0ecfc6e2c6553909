// Saving and opening the work through the window, with the file dialogs and
// message boxes recorded.
#include "window/mainwindow.h"
#include "recordingdialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray workedExample()
{
    QByteArray bytes = "0\r\n3\r\n000\r\n0\r\n11\r\nHELLO\r\n";
    for (int i = 0; i < 10; ++i)
        bytes += "\r\n";
    return bytes + "00\r\n00\r\n32\r\n";
}

QByteArray fileLines(const QStringList &values)
{
    QByteArray bytes;
    for (const QString &v : values)
        bytes += v.toLatin1() + "\r\n";
    return bytes;
}

} // namespace

class TestWindowFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    std::unique_ptr<Main> window;

    template<typename T = QWidget>
    T *control(const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QString file(const QString &name, const QByteArray &content)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void open(const QString &path)
    {
        dialogs.answers = {path};
        window->findChild<QAction *>("OpenSubMenu")->trigger();
    }
    // Everything the file can change, as the operator sees it.
    QStringList snapshot()
    {
        QStringList s;
        for (const char *name : {"ComPort", "BaudRate", "LineList", "PageList"}) {
            auto *combo = control<QComboBox>(name);
            s << QStringLiteral("%1 %2/%3 %4").arg(name).arg(combo->currentIndex()).arg(combo->count()).arg(
                combo->currentText());
        }
        for (const char *name : {"LeftOffset", "TransparencyValue", "HPos", "VPos", "LineText"})
            s << control<QLineEdit>(name)->text();
        for (int i = 0; i < 256; ++i)
            s << window->lineTexts().text(i);
        s << QString::number(window->lineCount()) << QString::number(window->pageCount())
          << QString::number(window->currentPage());
        return s;
    }

private slots:
    void init()
    {
        dialogs = RecordingDialogs();
        window = std::make_unique<Main>(&dialogs);
    }
    void cleanup() { window.reset(); }

    void workedExampleBothWays();
    void failuresAndCancelsAreReported();
    void replacedCounts_data();
    void replacedCounts();
    void badFileChangesNothing_data();
    void badFileChangesNothing();
    void emptyFileEmptiesTheLines();
    void valuesAreCutToTheirFields();
    void longLinesSurviveUnedited();
    void noPortSelectionFailsTheNextConnect();
};

void TestWindowFile::workedExampleBothWays()
{
    QTest::keyClicks(control("LineText"), "HELLO");
    const QString path = dir.filePath("work.ptx");
    dialogs.answers = {path};
    window->findChild<QAction *>("SaveSubMenu")->trigger();
    QVERIFY(dialogs.boxes.isEmpty());
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), workedExample());

    // Leave the window far from the file's values, then open it again.
    QTest::keyClicks(control("LineText"), " unsaved");
    control<QComboBox>("BaudRate")->setCurrentIndex(9);
    control<QLineEdit>("HPos")->setText("7F");
    control<QComboBox>("LineList")->setCurrentIndex(4);
    control<QLineEdit>("LineText")->insert("fifth");
    open(path);

    QVERIFY(dialogs.boxes.isEmpty());
    QCOMPARE(control<QComboBox>("ComPort")->currentText(), "COM 1");
    QCOMPARE(control<QComboBox>("BaudRate")->currentText(), "2400");
    QCOMPARE(control<QLineEdit>("HPos")->text(), "00");
    QCOMPARE(control<QComboBox>("LineList")->currentIndex(), 0);
    QCOMPARE(control<QLineEdit>("LineText")->text(), "HELLO");
    QCOMPARE(window->lineTexts().text(4), QString());
    QCOMPARE(control<QComboBox>("PageList")->currentText(), "Page 1");

    QCOMPARE(dialogs.fileDialogs.size(), 2);
    const RecordingDialogs::FileDialog &save = dialogs.fileDialogs.first();
    const RecordingDialogs::FileDialog &load = dialogs.fileDialogs.last();
    QCOMPARE(save.title, "Save As");
    QCOMPARE(save.acceptMode, QFileDialog::AcceptSave);
    QVERIFY(save.confirmsOverwrite);
    QCOMPARE(load.title, "Open");
    QCOMPARE(load.acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(load.fileMode, QFileDialog::ExistingFile);
    for (const RecordingDialogs::FileDialog &seen : dialogs.fileDialogs) {
        QCOMPARE(seen.defaultSuffix, "ptx");
        QCOMPARE(seen.nameFilters, QStringList{"*.ptx"});
        QCOMPARE(seen.object, save.object); // one dialog, which keeps the last folder
        QCOMPARE(seen.object->objectName(), "CommonDialog");
    }
}

void TestWindowFile::failuresAndCancelsAreReported()
{
    // Cancelled, into a missing folder, onto a folder; then a cancelled open.
    dialogs.answers = {QString(), dir.filePath("no/such/folder/x.ptx"), dir.path()};
    for (int i = 0; i < 3; ++i)
        window->findChild<QAction *>("SaveSubMenu")->trigger();
    window->findChild<QAction *>("OpenSubMenu")->trigger();
    QCOMPARE(dialogs.texts(), (QStringList{"Save Error", "Save Error", "Save Error", "Open Error"}));
    QStringList reasons;
    for (const RecordingDialogs::Box &box : dialogs.boxes) {
        QCOMPARE(box.title, "Error");
        QCOMPARE(box.kind, BoxKind::Plain);
        reasons << box.reason;
    }
    QCOMPARE(reasons, (QStringList{"The dialog was cancelled; nothing was saved.",
                                   "cannot create a file in " + dir.filePath("no/such/folder")
                                       + ": No such file or directory",
                                   "cannot create a file in " + QFileInfo(dir.path()).absolutePath()
                                       + ": Filename refers to a directory",
                                   "The dialog was cancelled; nothing was opened."}));
    QVERIFY(QFileInfo(dir.path()).isDir());
}

void TestWindowFile::replacedCounts_data()
{
    QTest::addColumn<QString>("lineCount");
    QTest::addColumn<QString>("pageCount");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("messages");
    QTest::newRow("no lines") << "0" << "0" << 12 << 4 << 2;
    QTest::newRow("256 pages") << "11" << "256" << 11 << 32 << 1;
    QTest::newRow("255 of each") << "255" << "255" << 255 << 255 << 0;
}

void TestWindowFile::replacedCounts()
{
    QFETCH(QString, lineCount);
    QFETCH(QString, pageCount);
    QFETCH(int, lines);
    QFETCH(int, pages);
    QFETCH(int, messages);

    const int texts = std::clamp(lineCount.toInt(), 1, 255) == lineCount.toInt() ? lineCount.toInt() : 12;
    QStringList values = {"0", "3", "000", "0", lineCount};
    for (int i = 0; i < texts; ++i)
        values << QStringLiteral("text %1").arg(i + 1);
    values << "00" << "00" << pageCount;
    open(file("counts.ptx", fileLines(values)));

    QCOMPARE(dialogs.boxes.size(), messages);
    for (const RecordingDialogs::Box &box : dialogs.boxes) {
        QCOMPARE(box.text, "Out of Number of Line");
        QCOMPARE(box.title, "Error");
        QCOMPARE(box.kind, BoxKind::Error);
    }
    QCOMPARE(window->lineCount(), lines);
    QCOMPARE(control<QComboBox>("LineList")->count(), lines);
    QCOMPARE(window->pageCount(), pages);
    QCOMPARE(control<QComboBox>("PageList")->count(), pages);
    QCOMPARE(window->lineTexts().text(lines - 1), QStringLiteral("text %1").arg(lines));
    QCOMPARE(control<QLineEdit>("HPos")->text(), "00");
}

void TestWindowFile::badFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("reason");
    QByteArray example = workedExample();
    QTest::newRow("port past COM 16") << QByteArray(example).replace(0, 1, "16") << true
                                      << "line 1: 16 names no entry of the COM port list";
    QTest::newRow("missing file") << QByteArray() << false << "No such file or directory";
}

void TestWindowFile::badFileChangesNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QTest::keyClicks(control("LineText"), "unsaved work");
    control<QComboBox>("LineList")->setCurrentIndex(2);
    control<QLineEdit>("LeftOffset")->setText("1FF");
    const QStringList before = snapshot();

    open(exists ? file("bad.ptx", content) : dir.filePath("missing.ptx"));

    QCOMPARE(dialogs.texts(), QStringList{"Open Error"});
    QCOMPARE(dialogs.boxes.first().kind, BoxKind::Plain);
    QTEST(dialogs.boxes.first().reason, "reason");
    QCOMPARE(snapshot(), before);
}

void TestWindowFile::emptyFileEmptiesTheLines()
{
    QTest::keyClicks(control("LineText"), "one");
    control<QComboBox>("LineList")->setCurrentIndex(3);
    control<QLineEdit>("VPos")->setText("3C");
    open(file("empty.ptx", {}));

    QVERIFY(dialogs.boxes.isEmpty());
    QCOMPARE(window->lineTexts().text(0), QString());
    QCOMPARE(control<QComboBox>("LineList")->currentIndex(), 0);
    QCOMPARE(control<QLineEdit>("VPos")->text(), "3C");
    QCOMPARE(window->lineCount(), 11);
}

void TestWindowFile::valuesAreCutToTheirFields()
{
    QStringList values = {"-1", "9", "0000", "123", "2", QString(300, 'x'), "second", "ABC", "  7", "12"};
    open(file("long.ptx", fileLines(values)));

    QVERIFY(dialogs.boxes.isEmpty());
    QCOMPARE(control<QComboBox>("ComPort")->currentIndex(), -1);
    QCOMPARE(control<QComboBox>("BaudRate")->currentText(), "115200");
    QCOMPARE(control<QLineEdit>("LeftOffset")->text(), "000");
    QCOMPARE(control<QLineEdit>("TransparencyValue")->text(), "12");
    QCOMPARE(control<QLineEdit>("HPos")->text(), "AB");
    QCOMPARE(control<QLineEdit>("VPos")->text(), "  ");
    QCOMPARE(control<QLineEdit>("LineText")->text(), QString(255, 'x'));
    QCOMPARE(window->lineTexts().text(1), "second");
    QCOMPARE(window->pageCount(), 12);
}

// Showing a text longer than the field never shortens it in the store: a
// file opened and saved again unedited is the same file. Either dialog then
// starts in the folder of the path typed last.
void TestWindowFile::longLinesSurviveUnedited()
{
    QByteArray content = "0\r\n3\r\n000\r\n0\r\n2\r\n" + QByteArray(300, 'a') + "\r\n" + QByteArray(300, 'b')
                       + "\r\n00\r\n00\r\n32\r\n";
    open(file("long.ptx", content));
    QCOMPARE(control<QLineEdit>("LineText")->text(), QString(255, 'a'));
    control<QComboBox>("LineList")->setCurrentIndex(1);
    const QString saved = dir.filePath("elsewhere/again.ptx");
    QVERIFY(QDir(dir.path()).mkdir("elsewhere"));
    dialogs.answers = {saved};
    window->findChild<QAction *>("SaveSubMenu")->trigger();
    QVERIFY(dialogs.boxes.isEmpty());
    QFile again(saved);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), content);

    window->findChild<QAction *>("OpenSubMenu")->trigger(); // cancelled
    QCOMPARE(dialogs.fileDialogs.last().directory, dir.filePath("elsewhere"));
}

void TestWindowFile::noPortSelectionFailsTheNextConnect()
{
    QByteArray example = workedExample();
    open(file("noport.ptx", example.replace(0, 1, "-1")));
    QVERIFY(dialogs.boxes.isEmpty());
    QCOMPARE(control<QComboBox>("ComPort")->currentIndex(), -1);

    QTest::mouseClick(control("ConnectBtn"), Qt::LeftButton);
    QCOMPARE(dialogs.texts(), QStringList{"Port cannot open"});
    QCOMPARE(control<QPushButton>("ConnectBtn")->text(), "&Connect");
}

QTEST_MAIN(TestWindowFile)
#include "test_windowfile.moc"
