// The main window, driven offscreen as an operator would.
#include "../support/windowfixture.h"
#include "serial/seriallink.h"

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    // A wheel turned over an unfocused list changes nothing. Connecting locks
    // the port and enables the commands; Send Bytes waits for its tick. Typing
    // stops at the limit. A picked line shows its text; Clear empties it,
    // Clear All every line. Opening the COM list names each port's device.
    void startUpAndConnecting()
    {
        WindowFixture w;
        QCOMPARE(QApplication::focusWidget(), w.control("LineList"));
        QCOMPARE(w.list("LineList") + w.list("PageList"), "Line 1 of 11Page 1 of 32");
        const auto turn = [](QComboBox *list) {
            QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton, {},
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &wheel);
            return list->currentIndex();
        };
        w.control("ExitBtn")->setFocus();
        for (QComboBox *list : w.window.findChildren<QComboBox *>()) {
            const int before = list->currentIndex();
            QVERIFY2(turn(list) == before && !list->hasFocus(), qPrintable(list->objectName()));
        }
        w.control("PageList")->setFocus();
        QCOMPARE(turn(w.control<QComboBox>("PageList")), 1);
        QVERIFY(!w.enabled("DataBit") && !w.enabled("StopBit") && !w.enabled("FlowControl"));
        const QStringList unticked{"SendBytesBtn", "SendBytesSelectedLineBtn"};
        for (const bool ticked : {false, true}) {
            QCOMPARE(w.buttons(true), WindowFixture::IdleButtons);
            QVERIFY(w.enabled("ComPort") && w.enabled("BaudRate") && !w.enabled("SendBytesFrame"));
            w.connectPort();
            QCOMPARE(w.status(), "Connected: " + w.pty.path() + ", 2400,n,8,1");
            QCOMPARE(w.buttons(false), ticked ? QStringList() : unticked);
            QVERIFY(!w.enabled("ComPort") && !w.enabled("BaudRate"));
            w.click("SendBytesCheckBox");
            QCOMPARE(w.buttons(false), ticked ? unticked : QStringList());
            QCOMPARE(w.control("SendBytesText")->palette().color(QPalette::Base),
                     w.window.palette().color(ticked ? QPalette::Button : QPalette::Base));
            for (const auto &[field, limit] : {std::pair("LineText", 255), {"SendBytesText", 512}}) {
                w.type(field, QString());
                QTest::keyClicks(w.control(field), QString(limit + 1, u'7'));
                QCOMPARE(w.text(field).size(), ticked && field == QLatin1String("SendBytesText") ? 0 : limit);
            }
            w.click("ConnectBtn");
            QCOMPARE(w.status(), "Disconnected");
        }
        QCOMPARE(w.pty.collectFor(100), QByteArray());
        QVERIFY(w.dialogs.boxes.isEmpty());

        w.pick("LineList", 1);
        w.type("LineText", "two");
        w.control<QLineEdit>("LineText")->undo();
        QCOMPARE(w.window.lineTexts().text(1), w.text("LineText"));
        w.click("ClearBtn");
        w.pick("LineList", 0);
        QCOMPARE(w.text("LineText") + w.window.lineTexts().text(1), QString(255, u'7'));
        w.click("ClearAllBtn");
        QCOMPARE(w.text("LineText") + w.window.lineTexts().text(0), QString());
        auto *ports = w.control<QComboBox>("ComPort");
        ports->showPopup();
        ports->hidePopup();
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString() + '|' + ports->itemData(15, Qt::ToolTipRole).toString(),
                 w.pty.path() + "|No serial device for this port");
    }

    // The number fields' start values; Open cuts a longer value to the field's width.
    void numberFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("opened");
        // clang-format off
        QTest::newRow("VPos starts 00, opens 2 wide") << "VPos" << "00" << "wx";
        QTest::newRow("HPos starts 00, opens 2 wide") << "HPos" << "00" << "ab";
        QTest::newRow("TransparencyValue starts 0, opens 2 wide") << "TransparencyValue" << "0" << "56";
        QTest::newRow("LeftOffset starts 000, opens 3 wide") << "LeftOffset" << "000" << "123";
        // clang-format on
    }

    void numberFields()
    {
        QFETCH(QString, field);
        WindowFixture w;
        QTEST(w.text(field), "start");
        w.open("0\r\n3\r\n1234\r\n5678\r\n1\r\nA\r\nabcd\r\nwxyz\r\n32\r\n");
        QTEST(w.text(field), "opened");
    }

    void shortcutsWinInFields_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opened");
        for (const char *focus : {"LineText", "LineList", "PageList"}) {
            QTest::addRow("Ctrl+O in %s", focus) << focus << int(Qt::Key_O) << "Open";
            QTest::addRow("Ctrl+S in %s", focus) << focus << int(Qt::Key_S) << "Save As";
            QTest::addRow("Ctrl+A in %s", focus) << focus << int(Qt::Key_A) << "About Quillane";
        }
    }

    // The menu's shortcuts win over a field's own use of the keys.
    void shortcutsWinInFields()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        WindowFixture w;
        QWidget *field = w.control(focus);
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field->focusProxy() ? field->focusProxy() : field);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
        QString opened = w.dialogs.fileDialogs.value(0).section(u'|', 0, 0);
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->objectName() == "frmAbout")
                opened = top->windowTitle();
        QTEST(opened, "opened");
    }

    void realMessageBox_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("icon");
        // clang-format off
        QTest::newRow("error box is Critical") << int(BoxKind::Error) << int(QMessageBox::Critical);
        QTest::newRow("information box is Information") << int(BoxKind::Information) << int(QMessageBox::Information);
        QTest::newRow("plain box has no icon") << int(BoxKind::Plain) << int(QMessageBox::NoIcon);
        // clang-format on
    }

    // The dialogs' real side: a modal box, the reason as informative text.
    void realMessageBox()
    {
        QFETCH(int, kind);
        QFETCH(int, icon);
        WindowFixture w;
        QString seen;
        QTimer::singleShot(0, &w.window, [&seen] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen = QStringList{box->text(), box->windowTitle(), box->informativeText(),
                                   QString::number(box->icon()), QString::number(box->buttons().size())}
                           .join(u'|');
                box->done(0);
            }
        });
        QtDialogs(&w.window).showMessage("Port cannot open", "Error", BoxKind(kind), "Device busy");
        QCOMPARE(seen, QStringLiteral("Port cannot open|Error|Device busy|%1|1").arg(icon));
    }

    // An open About window keeps the program running after the main window closes.
    void endsWithItsLastWindow()
    {
        WindowFixture w;
        w.trigger("AboutSubMenu");
        QPointer<QWidget> about;
        QTRY_VERIFY((about = QApplication::activeWindow()) && about->objectName() == "frmAbout");
        bool ranOn = false;
        QTimer::singleShot(0, &w.window, [&] {
            w.window.close();
            QTimer::singleShot(100, about, [&] {
                ranOn = true;
                about->close();
            });
        });
        QTimer::singleShot(5000, qApp, &QCoreApplication::quit); // in case nothing ends it
        QElapsedTimer clock;
        clock.start();
        QApplication::exec();
        QVERIFY(ranOn && clock.elapsed() < 4000);
    }

    // Saved unedited, an opened file is the same, long lines included; a failed
    // dialog says why; a dialog starts in the last path's folder. A count out of
    // range gets a box, an unusable file changes nothing, an empty one empties
    // the lines only; Connect takes the port and the rate.
    void opensAndSaves()
    {
        WindowFixture w;
        const QByteArray content = "0\r\n5\r\n0A\r\n7\r\n2\r\n" + QByteArray(300, 'a') + "\r\n" + QByteArray(300, 'b')
                                   + "\r\n1F\r\n2E\r\n9\r\n";
        w.open(content);
        QVERIFY(QDir(w.dir.path()).mkdir("elsewhere"));
        const QString saved = w.dir.filePath("elsewhere/again.ptx");
        w.dialogs.answers = {QString(), w.dir.filePath("missing/x.ptx"), w.dir.filePath("elsewhere"), saved};
        for (int i = 0; i < 4; ++i)
            w.trigger("SaveSubMenu");
        w.trigger("OpenSubMenu");
        QFile again(saved);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), content);
        w.open("2\r\n9\r\n000\r\n0\r\n0\r\n" + QByteArray("t\r\n").repeated(12) + "00\r\n00\r\n0\r\n");
        w.open("16\r\n");
        QCOMPARE(w.list("LineList") + w.list("PageList") + w.text("LineText"), "Line 1 of 12Page 1 of 4t");
        w.open({});
        QCOMPARE(w.list("LineList") + w.list("PageList") + w.text("LineText"), "Line 1 of 12Page 1 of 4");
        QCOMPARE(w.dialogs.boxes, QStringList{"Save Error|Error|plain|The dialog was cancelled; nothing was saved."}
                                      << "Save Error|Error|plain|cannot create a file in " + w.dir.filePath("missing")
                                             + ": No such file or directory"
                                      << "Save Error|Error|plain|cannot create a file in " + w.dir.path()
                                             + ": Filename refers to a directory"
                                      << "Open Error|Error|plain|The dialog was cancelled; nothing was opened."
                                      << QStringList(2, "Out of Number of Line|Error|error|")
                                      << "Open Error|Error|plain|line 1: 16 names no entry of the COM port list");
        QCOMPARE(w.dialogs.fileDialogs.value(1), "Save As|save, confirm|ptx|*.ptx|" + w.dir.path());
        QCOMPARE(w.dialogs.fileDialogs.value(5), "Open|open existing|ptx|*.ptx|" + w.dir.filePath("elsewhere"));
        PtyDevice third;
        third.mapAs(3);
        w.connectPort();
        QCOMPARE(w.status(), "Connected: " + third.path() + ", 115200,n,8,1");
    }

    // One path per command family; the stored line, longer than the field, goes
    // out whole. Send All: offset, lines, page, transparency, positions.
    void commandBytes_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("fields"); // LeftOffset, HPos and VPos afterwards
        const QByteArray line = "\xF0S01" + QByteArray(300, 'L') + "\n";
        QTest::newRow("line") << "SendSelectLineBtn" << line << QStringList() << "2a|G|7";
        QTest::newRow("page") << "ReloadSelectedLineBtn" << QByteArray("\xF0L01\xF0p02") << QStringList() << "2a|G|7";
        QTest::newRow("hex bytes after the line") << "SendBytesSelectedLineBtn" << line + "\r\n"
                                                  << QStringList() << "2a|G|7";
        QTest::newRow("values") << "SendAllBtn"
                                << "\xF0O02a" + line + "\xF0P02\xF0V07"
                                << QStringList{"Out of Range|Error|error|", "Invalid Value|Quillane|information|"}
                                << "02a|0G|07";
    }

    void commandBytes()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, wire);
        WindowFixture w;
        w.open("0\r\n3\r\n2a\r\n16\r\n1\r\n" + QByteArray(300, 'L') + "\r\nG\r\n7\r\n");
        w.connectPort();
        w.pick("PageList", 1);
        w.click("AutoSendSelectedPageCheck");
        w.click("SendBytesCheckBox");
        w.type("SendBytesText", "0D0A");
        w.click(button);
        wire.prepend("\xF0p02");
        QCOMPARE(w.pty.collect(wire.size() + 1, 500).toHex(' '), wire.toHex(' '));
        QTEST(w.dialogs.boxes, "boxes");
        QTEST(QStringList({w.text("LeftOffset"), w.text("HPos"), w.text("VPos")}).join(u'|'), "fields");
    }

    // A page goes out only when picked while connected and different from the
    // last one; typed text is no pick; opening a file selects page 1 again.
    void pageList()
    {
        WindowFixture w;
        w.pick("PageList", 3);
        w.connectPort();
        w.pick("PageList", 4);
        w.pick("PageList", 3);
        auto *pages = w.control<QComboBox>("PageList");
        pages->lineEdit()->selectAll();
        QTest::keyClicks(pages, "Page 7");
        QTest::keyClick(pages, Qt::Key_Return);
        QCOMPARE(pages->currentIndex(), -1);
        w.click("ReloadSelectedPageBtn");
        w.open("0\r\n3\r\n000\r\n0\r\n1\r\nA\r\n00\r\n00\r\n32\r\n");
        QCOMPARE(w.pty.collectFor(300), QByteArray("\xF0p05\xF0p04\xF0P00\xF0p01"));
    }

    // Disconnect lets queued bytes go first; a stall shows after 3 s; a second
    // press drops the rest. A lost port disconnects without a box, held in red;
    // connecting again works.
    void stalledThenLostPort()
    {
        WindowFixture w;
        w.connectPort();
        w.type("LineText", QString(255, 'q'));
        constexpr int Sends = 400;
        for (int i = 0; i < Sends; ++i)
            w.click("SendSelectLineBtn");
        QTRY_VERIFY_WITH_TIMEOUT(w.status().startsWith("Line stalled: nothing has left the port for 3 s"), 5000);
        w.click("ConnectBtn");
        QCOMPARE(w.buttons(true), WindowFixture::IdleButtons);
        QVERIFY(!w.enabled("ComPort") && !w.enabled("SendBytesFrame"));
        QVERIFY(w.status().startsWith("Disconnecting: sending the "));
        w.click("ConnectBtn");
        const qsizetype arrived = w.pty.collectFor(100).size();
        QCOMPARE(w.status(), QStringLiteral("Disconnected: %1 queued bytes could not be sent and were dropped")
                                 .arg(Sends * 260 - arrived));
        QVERIFY(arrived > 0 && w.enabled("ComPort") && !w.control("SendProgress")->isVisible());

        w.connectPort();
        for (int i = 0; i < 40; ++i)
            w.click("SendLineBtn");
        w.pty.closeMaster();
        const QRegularExpression lost("^Port lost: .+\\. Disconnected; [1-9][0-9]* queued bytes were not sent$");
        QTRY_VERIFY2(lost.match(w.status()).hasMatch(), qPrintable(w.status()));
        QCOMPARE(w.buttons(true), WindowFixture::IdleButtons);
        QVERIFY(w.enabled("ComPort") && w.dialogs.boxes.isEmpty());
        QVERIFY(w.control("StatusText")->palette().color(QPalette::WindowText)
                != w.window.palette().color(QPalette::WindowText));
        PtyDevice::runEvents(300);
        QVERIFY(lost.match(w.status()).hasMatch());

        PtyDevice replacement;
        replacement.mapAs(1);
        w.connectPort();
        w.window.close(); // through the frame: the port is let go at once
        SerialLink other;
        other.setSettings("2400,n,8,1");
        QVERIFY(other.open());
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
