// The record of sent commands: end to end through a pseudo-terminal and the
// real window, and the record's own limit and export.
// QUILLANE_SCREENSHOTS=<folder> saves the window after Send All.
#include "../support/ptydevice.h"
#include "recordingdialogs.h"
#include "window/mainwindow.h"
#include "window/sentcommands.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The fields of one CSV line, quotes undone.
QStringList csvFields(const QString &line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"' && quoted && i + 1 < line.size() && line[i + 1] == u'"')
            fields.last() += line[++i];
        else if (c == u'"')
            quoted = !quoted;
        else if (c == u',' && !quoted)
            fields << QString();
        else
            fields.last() += c;
    }
    return fields;
}

} // namespace

class TestSentMonitor : public QObject
{
    Q_OBJECT

private:
    RecordingDialogs dialogs;
    std::unique_ptr<PtyDevice> device;
    std::unique_ptr<Main> window;

    template<typename T = QWidget>
    T *find(QObject *in, const char *name)
    {
        T *found = in->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void click(const char *name) { QTest::mouseClick(find(window.get(), name), Qt::LeftButton); }
    QWidget *monitor = nullptr;
    // Opens the monitor the operator's way, from a text field.
    QAbstractItemModel *openMonitor()
    {
        auto *text = find(window.get(), "LineText");
        text->setFocus();
        QTest::keyClick(text, Qt::Key_M, Qt::ControlModifier);
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == "SentMonitor" && w->isVisible())
                monitor = w;
        if (!monitor)
            qFatal("no Sent Commands window");
        if (monitor->windowTitle() != "Sent Commands")
            qFatal("wrong title");
        return find<QTableView>(monitor, "SentCommandsView")->model();
    }
    QStringList column(QAbstractItemModel *rows, int column)
    {
        QStringList cells;
        for (int r = 0; r < rows->rowCount(); ++r)
            cells << rows->index(r, column).data().toString();
        return cells;
    }

private slots:
    void init()
    {
        dialogs = RecordingDialogs();
        device = std::make_unique<PtyDevice>();
        device->mapAs(1);
        window = std::make_unique<Main>(&dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup()
    {
        window.reset();
        device.reset();
    }

    // Send All with the start values: one row per command, in order, whose
    // bytes together are what the device read.
    void sendAllRowsAreTheWire()
    {
        QAbstractItemModel *rows = openMonitor();
        click("ConnectBtn");
        auto *text = find<QLineEdit>(window.get(), "LineText");
        text->insert("a,\"b\"");
        click("SendAllBtn");
        const QByteArray wire = device->collectFor(300);
        QTRY_COMPARE(column(rows, SentCommands::StateColumn), QStringList(15, "sent"));
        QCOMPARE(column(rows, SentCommands::BytesColumn).join(u' '), QString::fromLatin1(wire.toHex(' ').toUpper()));
        QCOMPARE(column(rows, SentCommands::ActionColumn), QStringList(15, "Send All"));
        const QStringList words = column(rows, SentCommands::CommandColumn);
        QCOMPARE(words.mid(0, 3), (QStringList{"Left offset 000", "Set line 1 to \"a,\"b\"\"", "Clear line 2"}));
        QCOMPARE(words.mid(12), (QStringList{"Background transparency 0", "Horizontal position 00", "Vertical position 00"}));
        if (const QString folder = qEnvironmentVariable("QUILLANE_SCREENSHOTS"); !folder.isEmpty())
            QVERIFY(monitor->grab().save(folder + "/sent-commands.png"));

        QTemporaryDir dir;
        dialogs.answers = {dir.filePath("sent.csv")};
        click("ConnectBtn");
        QTest::mouseClick(find(monitor, "SaveBtn"), Qt::LeftButton);
        QFile csv(dir.filePath("sent.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 16);
        QCOMPARE(lines.first(), "Time,Action,Command,Bytes,State");
        QCOMPARE(csvFields(lines.at(2)).mid(1),
                 (QStringList{"Send All", words.at(1), column(rows, SentCommands::BytesColumn).at(1), "sent"}));
    }

    // Commands still queued when the port goes are dropped; those that left
    // stay sent.
    void lostPortDropsTheUnsent()
    {
        QAbstractItemModel *rows = openMonitor();
        click("ConnectBtn");
        find<QLineEdit>(window.get(), "LineText")->insert(QString(255, u'q'));
        for (int i = 0; i < 400; ++i)
            click("SendSelectLineBtn");
        // The first lines fill what the device buffers; the rest wait.
        QTRY_COMPARE(rows->index(0, SentCommands::StateColumn).data().toString(), "sent");
        device->closeMaster();
        QTRY_COMPARE(rows->index(399, SentCommands::StateColumn).data().toString(), "dropped");
        QCOMPARE(rows->index(0, SentCommands::StateColumn).data().toString(), "sent");
        QVERIFY(!column(rows, SentCommands::StateColumn).contains("queued"));
    }

    // The record keeps the newest rows and counts the ones it let go.
    void keepsTheLastTenThousand()
    {
        SentCommands record([] { return qint64(0); });
        SentCommand command;
        for (int i = 0; i <= SentCommands::MaxRows; ++i) {
            command.bytes = QByteArray::number(i);
            record.commandSent(command, false);
            if (i % 1000 == 0)
                record.flush(); // as the batches would show them
        }
        record.flush();
        QCOMPARE(record.rowCount(), SentCommands::MaxRows);
        QCOMPARE(record.discardedRows(), 1);
        QCOMPARE(record.index(0, SentCommands::BytesColumn).data().toString(), "31"); // "1"
        record.clear();
        QCOMPARE(record.rowCount(), 0);
    }
};

QTEST_MAIN(TestSentMonitor)
#include "test_sentmonitor.moc"
