// The main window, driven offscreen as an operator would.
#include "../support/windowfixture.h"
#include "serial/portmap.h"
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
        QCOMPARE(w.text("LeftOffset") + w.text("TransparencyValue") + w.text("HPos") + w.text("VPos"), "000"
                                                                                                       "0"
                                                                                                       "00"
                                                                                                       "00");
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
        w.type("LineText", "AB\r\nCD\n");
        QCOMPARE(w.text("LineText"), "AB CD");
        w.type("LineText", "two");
        w.control<QLineEdit>("LineText")->undo();
        QCOMPARE(w.console.state().lineTexts().text(1), w.text("LineText"));
        w.click("ClearBtn");
        w.pick("LineList", 0);
        QCOMPARE(w.text("LineText") + w.console.state().lineTexts().text(1), QString(255, u'7'));
        w.click("ClearAllBtn");
        QCOMPARE(w.text("LineText") + w.console.state().lineTexts().text(0), QString());
        auto *ports = w.control<QComboBox>("ComPort");
        ports->showPopup();
        ports->hidePopup();
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString() + '|' + ports->itemData(15, Qt::ToolTipRole).toString(),
                 w.pty.path() + "|No serial device for this port");
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
        QTest::newRow("error box is Critical") << int(Report::Kind::Error) << int(QMessageBox::Critical);
        QTest::newRow("information box is Information") << int(Report::Kind::Information) << int(QMessageBox::Information);
        QTest::newRow("plain box has no icon") << int(Report::Kind::Plain) << int(QMessageBox::NoIcon);
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
        QtDialogs(&w.window).showMessage({Report::Kind(kind), "Error", "Port cannot open", "Device busy"});
        QCOMPARE(seen, QStringLiteral("Port cannot open|Error|Device busy|%1|1").arg(icon));
    }

    // A path typed into the real file dialog leaves no completion list
    // behind over the main window.
    void typedPathLeavesNoPopup()
    {
        WindowFixture w;
        QFile(w.dir.filePath("work.ptx")).open(QIODevice::WriteOnly);
        QFileDialog dialog(&w.window);
        dialog.setDirectory(w.dir.path());
        QWidget *popup = nullptr;
        QSignalSpy listed(dialog.findChild<QFileSystemModel *>(), &QFileSystemModel::directoryLoaded);
        QTimer::singleShot(0, &dialog, [&] {
            auto *name = dialog.findChild<QLineEdit *>("fileNameEdit");
            QApplication::setActiveWindow(&dialog);
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTRY_VERIFY(!listed.isEmpty());
            QTest::keyClicks(name, "work.ptx");
            QCompleter *completer = dialog.findChild<QCompleter *>();
            QTRY_VERIFY(completer->completionCount() > 0);
            completer->complete();
            QVERIFY((popup = completer->popup())->isVisible());
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        QCOMPARE(QtDialogs(&w.window).runFileDialog(dialog), w.dir.filePath("work.ptx"));
        QVERIFY(popup && !popup->isVisible());
    }

    // Settings > Ports…: a bad entry is said in the dialog and nothing is
    // stored; a good one is what COM n stands for from then on.
    void portsDialog()
    {
        WindowFixture w;
        qunsetenv("QUILLANE_COM2");
        PortMap::saveMap({});
        w.trigger("PortsSubMenu");
        auto *dialog = w.window.findChild<QDialog *>("PortsDialog");
        QVERIFY(dialog && dialog->isVisible());
        auto *entry = dialog->findChild<QLineEdit *>("PortEntry2");
        for (const char *typed : {"telnet://host:1", "socket://:4001", "rfc2217://host:70000"}) {
            entry->setText(typed);
            QMetaObject::invokeMethod(dialog, "accept");
            QVERIFY(dialog->isVisible() && dialog->findChild<QLabel *>("PortsError")->text().startsWith("COM 2: "));
        }
        QCOMPARE(PortMap::targetFor(2), PortMap::deviceFor(2));
        entry->setText("socket://localhost:4001");
        QMetaObject::invokeMethod(dialog, "accept");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(PortMap::targetFor(2), "socket://localhost:4001");
        PortMap::saveMap({});
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

    // A cancelled or failing dialog says why; a dialog starts in the last
    // path's folder; the console's boxes show; Connect takes the file's port.
    void fileDialogs()
    {
        WindowFixture w;
        w.open("2\r\n5\r\n000\r\n0\r\n0\r\n" + QByteArray("t\r\n").repeated(12) + "00\r\n00\r\n0\r\n");
        QCOMPARE(w.list("LineList") + w.list("PageList") + w.text("LineText"), "Line 1 of 12Page 1 of 4t");
        QVERIFY(QDir(w.dir.path()).mkdir("elsewhere"));
        w.dialogs.answers = {QString(), w.dir.filePath("elsewhere"), w.dir.filePath("elsewhere/again.ptx")};
        for (int i = 0; i < 3; ++i)
            w.trigger("SaveSubMenu");
        w.trigger("OpenSubMenu");
        QCOMPARE(w.dialogs.boxes,
                 QStringList(2, "Out of Number of Line|Error|error|")
                     << "Save Error|Error|plain|The dialog was cancelled; nothing was saved."
                     << "Save Error|Error|plain|cannot create a file in " + w.dir.path() + ": Is a directory"
                     << "Open Error|Error|plain|The dialog was cancelled; nothing was opened.");
        QCOMPARE(w.dialogs.fileDialogs.value(1), "Save As|save, confirm|ptx|*.ptx|" + w.dir.path());
        QCOMPARE(w.dialogs.fileDialogs.value(4), "Open|open existing|ptx|*.ptx|" + w.dir.filePath("elsewhere"));
        PtyDevice third;
        third.mapAs(3);
        w.connectPort();
        QCOMPARE(w.status(), "Connected: " + third.path() + ", 9600,n,8,1");
    }

    // Every button sends through the console under its own caption; the
    // stored line, longer than the field, goes out whole.
    void buttonsDriveTheirActions()
    {
        WindowFixture w;
        w.open("0\r\n3\r\n2a\r\n16\r\n1\r\n" + QByteArray(300, 'L') + "\r\nG\r\n7\r\n");
        w.connectPort();
        w.click("AutoSendSelectedPageCheck");
        w.click("SendBytesCheckBox");
        w.type("SendBytesText", "0D0A");
        QStringList expected;
        for (QAbstractButton *b : w.window.findChildren<QAbstractButton *>(QRegularExpression("Btn$"))) {
            if (!b->isEnabled() || b->objectName() == "ConnectBtn" || b->objectName() == "ExitBtn"
                || b->objectName().startsWith("Clear"))
                continue;
            b->click();
            expected << b->text().remove(u'&');
        }
        QCOMPARE(expected.size(), 16);
        SentCommands &record = w.console.record();
        record.flush();
        QStringList actions;
        for (int r = 0; r < record.rowCount(); ++r) {
            const QString action = record.index(r, SentCommands::ActionColumn).data().toString();
            if (actions.isEmpty() || actions.last() != action)
                actions << action;
        }
        // Refused, so nothing recorded: 16 is out of range, G no digit.
        expected.removeAll("Send Background Transparency");
        expected.removeAll("Send Horizontal Position");
        QCOMPARE(actions.join(u'|'), expected.join(u'|'));
        const QStringList refusals{"Out of Range|Error|error|", "Invalid Value|Quillane|information|"};
        QCOMPARE(w.dialogs.boxes, refusals + refusals); // Send All, then the two alone
        // Send All: the offset, then line 1.
        QCOMPARE(record.index(4, SentCommands::CommandColumn).data(Qt::ToolTipRole).toString(),
                 "Set line 1 to \"" + QString(300, u'L') + '"');
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

    // While queued bytes drain before a close, nothing can send and the port
    // lists stay locked; a second press drops the rest. A lost port
    // disconnects without a box, highlighted until the next Connect; closing
    // the window lets the port go at once.
    void drainingAndLostPort()
    {
        WindowFixture w;
        w.connectPort();
        for (int i = 0; i < 40; ++i)
            w.click("SendLineBtn");
        w.click("ConnectBtn");
        QCOMPARE(w.buttons(true), WindowFixture::IdleButtons);
        QVERIFY(!w.enabled("ComPort") && !w.enabled("SendBytesFrame"));
        QVERIFY(w.status().startsWith("Disconnecting: sending the "));
        w.click("ConnectBtn");
        QVERIFY(w.status().startsWith("Disconnected: ") && w.enabled("ComPort"));
        QVERIFY(!w.control("SendProgress")->isVisible());

        w.connectPort();
        for (int i = 0; i < 40; ++i)
            w.click("SendLineBtn");
        w.pty.closeMaster();
        QTRY_VERIFY2(w.status().startsWith("Port lost: "), qPrintable(w.status()));
        QCOMPARE(w.buttons(true), WindowFixture::IdleButtons);
        QVERIFY(w.enabled("ComPort") && w.dialogs.boxes.isEmpty());
        QCOMPARE(w.control("StatusText")->backgroundRole(), QPalette::Highlight);

        PtyDevice replacement;
        replacement.mapAs(1);
        w.connectPort();
        QCOMPARE(w.control("StatusText")->backgroundRole(), QPalette::Window);
        w.window.close();
        SerialLink other;
        other.open({1, 2400});
        QVERIFY(other.isOpen());
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
