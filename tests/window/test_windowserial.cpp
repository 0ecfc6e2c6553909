// The window against a real pseudo-terminal: connecting and disconnecting,
// and the bytes that the buttons put on the wire.
#include "../support/ptydevice.h"
#include "window/mainwindow.h"
#include "recordingdialogs.h"
#include "serial/seriallink.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

} // namespace

class TestWindowSerial : public QObject
{
    Q_OBJECT

private:
    RecordingDialogs dialogs;
    std::unique_ptr<PtyDevice> device;
    std::unique_ptr<Main> window;

    template<typename T = QWidget>
    T *control(const char *name)
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    QString status() { return control<QLabel>("StatusText")->text(); }
    // Picks an entry from the opened list with the mouse, as the operator does.
    void pick(const char *name, int index)
    {
        auto *combo = control<QComboBox>(name);
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        const QModelIndex item = combo->model()->index(index, 0);
        view->scrollTo(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(combo->currentIndex(), index);
    }
    void connectPort()
    {
        click("ConnectBtn");
        QVERIFY(dialogs.boxes.isEmpty());
        QCOMPARE(control<QPushButton>("ConnectBtn")->text(), "&Disconnect");
    }
    void typeLine(int index, const QString &text)
    {
        pick("LineList", index);
        auto *lineText = control<QLineEdit>("LineText");
        lineText->selectAll();
        lineText->insert(text); // as a paste

    }

private slots:
    void init()
    {
        for (int n = 1; n <= 16; ++n)
            qunsetenv(qPrintable(QStringLiteral("QUILLANE_COM%1").arg(n)));
        dialogs = RecordingDialogs();
        device = std::make_unique<PtyDevice>();
        device->mapAs(1);
        window = std::make_unique<Main>(&dialogs);
        window->show();
    }
    void cleanup()
    {
        window.reset();
        device.reset();
    }

    void connectAndDisconnectCycles();
    void connectsToChosenPortAndRate();
    void missingDeviceLeavesWindowDisconnected();
    void portTooltipsShowDevices();
    void commandBytes_data();
    void commandBytes();
    void sendAllWithStartValues();
    void rejectedPositionDoesNotStopSendAll();
    void pageSelection();
    void typedPageTextReloadsPageZero();
    void openingFileWhileConnectedSelectsFirstPage();
    void disconnectDrains_data();
    void disconnectDrains();
    void lostPortDisconnects();
    void longLineGoesOutWhole();
};

void TestWindowSerial::connectAndDisconnectCycles()
{
    typeLine(0, "kept");
    for (int cycle = 0; cycle < 3; ++cycle) {
        connectPort();
        termios settings{};
        QCOMPARE(tcgetattr(device->slave(), &settings), 0);
        QCOMPARE(cfgetospeed(&settings), speed_t(B2400));
        QCOMPARE(settings.c_cflag & CSIZE, tcflag_t(CS8));
        QVERIFY(!(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS)));
        QVERIFY(!control("ComPort")->isEnabled());
        QVERIFY(!control("BaudRate")->isEnabled());
        QVERIFY(control("SendLineBtn")->isEnabled());
        QVERIFY(control("SendBytesFrame")->isEnabled());
        QVERIFY(status().contains(device->path()));

        click("ConnectBtn");
        QCOMPARE(control<QPushButton>("ConnectBtn")->text(), "&Connect");
        QVERIFY(control("ComPort")->isEnabled());
        QVERIFY(control("BaudRate")->isEnabled());
        QVERIFY(!control("SendLineBtn")->isEnabled());
        QVERIFY(!control("SendBytesFrame")->isEnabled());
        for (const char *fixed : {"DataBit", "StopBit", "FlowControl"})
            QVERIFY(!control(fixed)->isEnabled());
    }
    QCOMPARE(window->lineTexts().text(0), "kept");
    QCOMPARE(device->collectFor(100), QByteArray());
    QVERIFY(dialogs.boxes.isEmpty());
}

void TestWindowSerial::connectsToChosenPortAndRate()
{
    PtyDevice tenth;
    tenth.mapAs(10);
    pick("ComPort", 9);
    pick("BaudRate", 9);
    connectPort();
    termios settings{};
    QCOMPARE(tcgetattr(tenth.slave(), &settings), 0);
    QCOMPARE(cfgetospeed(&settings), speed_t(B115200));
}

void TestWindowSerial::missingDeviceLeavesWindowDisconnected()
{
    qputenv("QUILLANE_COM2", "/dev/quillane-no-such-device");
    pick("ComPort", 1);
    QList<bool> before;
    const QList<QWidget *> all = window->findChildren<QWidget *>();
    for (QWidget *w : all)
        before << w->isEnabled();

    click("ConnectBtn");
    QCOMPARE(dialogs.boxes.size(), 1);
    QCOMPARE(dialogs.boxes.first().text, "Port cannot open");
    QCOMPARE(dialogs.boxes.first().title, "Error");
    QCOMPARE(dialogs.boxes.first().kind, BoxKind::Error);
    QVERIFY2(dialogs.boxes.first().reason.startsWith("/dev/quillane-no-such-device: "),
             qPrintable(dialogs.boxes.first().reason));
    QCOMPARE(control<QPushButton>("ConnectBtn")->text(), "&Connect");
    QList<bool> after;
    for (QWidget *w : all)
        after << w->isEnabled();
    QCOMPARE(after, before);
    QVERIFY(!status().isEmpty());
}

void TestWindowSerial::portTooltipsShowDevices()
{
    auto *ports = control<QComboBox>("ComPort");
    ports->showPopup();
    QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(), device->path());
    ports->hidePopup();

    // The tips follow the mapping as it is when the list opens.
    PtyDevice third;
    third.mapAs(3);
    ports->showPopup();
    QCOMPARE(ports->itemData(2, Qt::ToolTipRole).toString(), third.path());
    ports->hidePopup();
    QCOMPARE(ports->itemText(2), "COM 3");
}

void TestWindowSerial::commandBytes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("bytes");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("selected line") << "SendSelectLineBtn" << 2 << "HELLO" << ""
                                   << hex("F0 53 30 33 48 45 4C 4C 4F 0A");
    QTest::newRow("reload line") << "ReloadSelectedLineBtn" << 2 << "x" << "" << hex("F0 4C 30 33 F0 70 30 31");
    QTest::newRow("OSD off") << "OSDTurnOffBtn" << 0 << "" << "" << hex("BD");
    QTest::newRow("raw bytes after a line") << "SendBytesSelectedLineBtn" << 2 << "AB" << "0D0A"
                                            << hex("F0 53 30 33 41 42 0A 0D 0A");
}

void TestWindowSerial::commandBytes()
{
    QFETCH(QString, button);
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(QString, bytes);
    QFETCH(QByteArray, expected);

    connectPort();
    typeLine(line, text);
    if (!bytes.isEmpty()) {
        click("SendBytesCheckBox");
        control<QLineEdit>("SendBytesText")->setText(bytes);
    }
    click(qPrintable(button));
    QCOMPARE(device->collect(expected.size() + 1, 300).toHex(' '), expected.toHex(' '));
    QVERIFY(dialogs.boxes.isEmpty());
}

void TestWindowSerial::sendAllWithStartValues()
{
    connectPort();
    typeLine(0, "AB");
    click("AutoSendSelectedPageCheck");
    pick("PageList", 1);
    QCOMPARE(device->collect(4, 1000), hex("F0 70 30 32"));

    click("SendAllBtn");
    QByteArray expected = hex("F0 4F 30 30 30 F0 53 30 31 41 42 0A");
    for (int n = 2; n <= 11; ++n)
        expected += hex("F0 43") + QByteArray::number(n, 16).toUpper().rightJustified(2, '0');
    expected += hex("F0 50 30 32 F0 42 30 F0 48 30 30 F0 56 30 30");
    QCOMPARE(device->collect(expected.size() + 1, 500).toHex(' '), expected.toHex(' '));
    QVERIFY(dialogs.boxes.isEmpty());
}

void TestWindowSerial::rejectedPositionDoesNotStopSendAll()
{
    connectPort();
    control<QLineEdit>("HPos")->setText("G");
    control<QLineEdit>("VPos")->setText("7");
    control<QLineEdit>("LeftOffset")->setText("2a");
    control<QLineEdit>("TransparencyValue")->setText("16");
    click("SendAllBtn");

    QByteArray expected = hex("F0 4F 30 32 61");
    for (int n = 1; n <= 11; ++n)
        expected += hex("F0 43") + QByteArray::number(n, 16).toUpper().rightJustified(2, '0');
    expected += hex("F0 56 30 37");
    QCOMPARE(device->collect(expected.size() + 1, 500).toHex(' '), expected.toHex(' '));
    QCOMPARE(dialogs.texts(), (QStringList{"Out of Range", "Invalid Value"}));
    QCOMPARE(dialogs.boxes.last().title, "Quillane");
    QCOMPARE(dialogs.boxes.last().kind, BoxKind::Information);
    QCOMPARE(control<QLineEdit>("HPos")->text(), "0G");
    QCOMPARE(control<QLineEdit>("VPos")->text(), "07");
    QCOMPARE(control<QLineEdit>("LeftOffset")->text(), "02a");
}

void TestWindowSerial::pageSelection()
{
    pick("PageList", 3); // disconnected: nothing sent, nothing remembered
    QCOMPARE(window->currentPage(), 0);
    connectPort();
    pick("PageList", 4);
    QCOMPARE(device->collect(5, 500), hex("F0 70 30 35"));
    QCOMPARE(window->currentPage(), 4);
    pick("PageList", 4); // the same page again
    QCOMPARE(device->collectFor(100), QByteArray());
    pick("PageList", 31);
    QCOMPARE(device->collect(5, 500), hex("F0 70 32 30"));

    // Rebuilding the list while connected selects page 1, once.
    window->FillPageList();
    QCOMPARE(device->collect(5, 300), hex("F0 70 30 31"));
    QCOMPARE(window->currentPage(), 0);
}

void TestWindowSerial::typedPageTextReloadsPageZero()
{
    connectPort();
    auto *pages = control<QComboBox>("PageList");
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    pages->setFocus();
    pages->lineEdit()->selectAll();
    QTest::keyClicks(pages, "Page 7");
    // Neither Enter nor leaving the field turns the text into a selection.
    QTest::keyClick(pages, Qt::Key_Return);
    control("LineText")->setFocus();
    QCOMPARE(pages->currentIndex(), -1);
    QCOMPARE(pages->currentText(), "Page 7");
    QCOMPARE(device->collectFor(50), QByteArray());
    click("ReloadSelectedPageBtn");
    QCOMPARE(device->collect(5, 300), hex("F0 50 30 30"));
}

void TestWindowSerial::openingFileWhileConnectedSelectsFirstPage()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("work.ptx");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("5\r\n9\r\n000\r\n0\r\n1\r\nX\r\n00\r\n00\r\n8\r\n");
    file.close();

    connectPort();
    pick("PageList", 2);
    QCOMPARE(device->collect(4, 500), hex("F0 70 30 33"));
    dialogs.answers = {path};
    window->findChild<QAction *>("OpenSubMenu")->trigger();
    QCOMPARE(device->collect(5, 300), hex("F0 70 30 31"));
    QCOMPARE(control<QComboBox>("ComPort")->currentText(), "COM 6");
    QCOMPARE(control<QComboBox>("BaudRate")->currentText(), "115200");
    termios settings{};
    tcgetattr(device->slave(), &settings);
    QCOMPARE(cfgetospeed(&settings), speed_t(B2400)); // the open port keeps its settings
}

void TestWindowSerial::disconnectDrains_data()
{
    QTest::addColumn<bool>("reading");
    QTest::newRow("the device reads: every byte goes out first") << true;
    QTest::newRow("the line stalls: a second press drops the rest") << false;
}

void TestWindowSerial::disconnectDrains()
{
    QFETCH(bool, reading);
    connectPort();
    const QString line(255, QLatin1Char('q'));
    control<QLineEdit>("LineText")->insert(line);
    // More than a pty buffers, so that most of it waits in the link.
    constexpr int Sends = 400;
    for (int i = 0; i < Sends; ++i)
        click("SendSelectLineBtn");
    const qsizetype total = Sends * 260;
    if (!reading) {
        QTRY_VERIFY_WITH_TIMEOUT(status().startsWith("Line stalled"), 5000);
        QVERIFY(control("SendProgress")->isVisible());
    }

    click("ConnectBtn"); // most of it is still queued
    QCOMPARE(control<QPushButton>("ConnectBtn")->text(), "&Disconnect");
    QVERIFY(control("ConnectBtn")->isEnabled());
    QVERIFY(!control("ComPort")->isEnabled());
    QVERIFY(!control("SendLineBtn")->isEnabled());
    QVERIFY(!control("SendBytesFrame")->isEnabled());

    QByteArray arrived;
    if (reading) {
        arrived = device->collect(total, 10000);
        QTRY_COMPARE(control<QPushButton>("ConnectBtn")->text(), "&Connect");
        QCOMPARE(status(), "Disconnected");
        QCOMPARE(arrived.right(260), hex("F0 53 30 31") + line.toLatin1() + hex("0A"));
    } else {
        click("ConnectBtn");
        QCOMPARE(control<QPushButton>("ConnectBtn")->text(), "&Connect");
        arrived = device->collectFor(100);
        QCOMPARE(status(), QStringLiteral("Disconnected: %1 queued bytes could not be sent and were dropped")
                               .arg(total - arrived.size()));
    }
    QVERIFY(!control("SendProgress")->isVisible());
    QVERIFY(control("ComPort")->isEnabled());
    QCOMPARE(arrived.size() > 0, true);
    QVERIFY(dialogs.boxes.isEmpty());
}

// The window goes to the disconnected state by itself, says why once, and
// can connect again at once.
void TestWindowSerial::lostPortDisconnects()
{
    connectPort();
    for (int i = 0; i < 40; ++i)
        click("SendLineBtn");
    device->closeMaster();
    QTRY_COMPARE(control<QPushButton>("ConnectBtn")->text(), "&Connect");
    QVERIFY(control("ComPort")->isEnabled());
    QVERIFY(control("BaudRate")->isEnabled());
    QVERIFY(!control("SendLineBtn")->isEnabled());
    QVERIFY(!control("SendBytesFrame")->isEnabled());
    QVERIFY(dialogs.boxes.isEmpty());
    const QRegularExpression lost(QStringLiteral("^Port lost: .+\\. Disconnected; [1-9][0-9]* queued bytes were not sent$"));
    QVERIFY2(lost.match(status()).hasMatch(), qPrintable(status()));
    QVERIFY(control("StatusText")->palette().color(QPalette::WindowText) != window->palette().color(QPalette::WindowText));
    PtyDevice::runEvents(300); // the loss is said once, and stays
    QVERIFY(lost.match(status()).hasMatch());

    PtyDevice replacement;
    replacement.mapAs(1);
    connectPort();
    QVERIFY(status().contains(replacement.path()));
    typeLine(0, "x");
    click("SendSelectLineBtn");
    QCOMPARE(replacement.collect(6, 500), hex("F0 53 30 31 78 0A"));

    window->close(); // through the frame: the port is let go at once
    SerialLink other;
    other.setSettings("2400,n,8,1");
    QVERIFY(other.open());
}

// A stored text longer than the field shows cut, but goes out whole.
void TestWindowSerial::longLineGoesOutWhole()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("long.ptx"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("0\r\n3\r\n000\r\n0\r\n1\r\n" + QByteArray(300, 'L') + "\r\n00\r\n00\r\n32\r\n");
    file.close();
    dialogs.answers = {file.fileName()};
    window->findChild<QAction *>("OpenSubMenu")->trigger();
    QCOMPARE(control<QLineEdit>("LineText")->text().size(), 255);

    connectPort();
    click("SendSelectLineBtn");
    QCOMPARE(device->collect(306, 500), hex("F0 53 30 31") + QByteArray(300, 'L') + hex("0A"));
}

QTEST_MAIN(TestWindowSerial)
#include "test_windowserial.moc"
