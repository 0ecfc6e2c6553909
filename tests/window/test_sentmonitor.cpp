// The record of sent commands, end to end through a pseudo-terminal and the
// real window, and the record's own limit. QUILLANE_SCREENSHOTS=<folder>
// saves the window after Send All.
#include "../support/windowfixture.h"
#include "console/sentcommands.h"

class TestSentMonitor : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> ui;
    QWidget *monitor = nullptr;
    QAbstractItemModel *rows = nullptr;

    // Opens the monitor the operator's way, from a text field.
    void openMonitor()
    {
        QTest::keyClick(ui->control("LineText"), Qt::Key_M, Qt::ControlModifier);
        QTRY_VERIFY((monitor = QApplication::activeWindow()) && monitor->objectName() == "SentMonitor");
        QCOMPARE(monitor->windowTitle(), "Sent Commands");
        rows = monitor->findChild<QTableView *>("SentCommandsView")->model();
    }
    QStringList column(int column)
    {
        QStringList cells;
        for (int r = 0; r < rows->rowCount(); ++r)
            cells << rows->index(r, column).data(Qt::ToolTipRole).toString();
        return cells;
    }

private slots:
    void init() { ui = std::make_unique<WindowFixture>(); }
    void cleanup() { ui.reset(); }

    // The window opens within the screen's room, and Esc or Ctrl+W close it.
    void fitsAndCloses()
    {
        for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W}) {
            ui->window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&ui->window));
            openMonitor();
            QVERIFY(monitor->screen()->availableGeometry().contains(monitor->frameGeometry()));
            QPointer<QWidget> open = monitor;
            QTest::keyClick(monitor, key.key(), key.keyboardModifiers());
            QTRY_VERIFY(open.isNull());
        }
    }

    // Send All with the start values: one row per command, in order, whose
    // bytes together are what the device read; the CSV has the same rows.
    void sendAllRowsAreTheWire()
    {
        openMonitor();
        ui->connectPort();
        ui->type("LineText", "a,\"b\"");
        ui->click("SendAllBtn");
        const QByteArray wire = ui->pty.collectFor(300);
        QTRY_COMPARE(column(SentCommands::StateColumn), QStringList(15, "sent"));
        QCOMPARE(column(SentCommands::BytesColumn).join(u' '), QString::fromLatin1(wire.toHex(' ').toUpper()));
        QCOMPARE(column(SentCommands::ActionColumn), QStringList(15, "Send All"));
        const QStringList words = column(SentCommands::CommandColumn);
        QCOMPARE(words.mid(0, 3), (QStringList{"Left offset 000", "Set line 1 to \"a,\"b\"\"", "Clear line 2"}));
        QCOMPARE(words.mid(12),
                 (QStringList{"Background transparency 0", "Horizontal position 00", "Vertical position 00"}));
        if (const QString folder = qEnvironmentVariable("QUILLANE_SCREENSHOTS"); !folder.isEmpty())
            QVERIFY(monitor->grab().save(folder + "/sent-commands.png"));

        ui->dialogs.answers = {ui->dir.filePath("sent.csv")};
        QTest::mouseClick(monitor->findChild<QPushButton *>("SaveBtn"), Qt::LeftButton);
        QFile csv(ui->dir.filePath("sent.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 16);
        QCOMPARE(lines.first(), "Time,Action,Command,Bytes,State");
        // Quotes around a field with a comma or a quote, which is doubled.
        QCOMPARE(lines.at(2).section(u',', 1),
                 "Send All,\"Set line 1 to \"\"a,\"\"b\"\"\"\"\",F0 53 30 31 61 2C 22 62 22 0A,sent");
    }
};

QTEST_MAIN(TestSentMonitor)
#include "test_sentmonitor.moc"
