// The main window as built and after start-up, line editing, typing limits,
// the Send Bytes arming rule and the layout, driven offscreen.
#include "window/mainwindow.h"
#include "recordingdialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

const QStringList CommandButtons = {
    "SendLineBtn",       "SendLeftOffsetBtn",       "SendClearLineBtn",         "SendBgTransparencyBtn",
    "SendClearAllLineBtn", "SendAllBtn",            "SendHPosBtn",              "SendVPosBtn",
    "SendSelectLineBtn", "SelectedLineCursorOnBtn", "SelectedLineCursorOffBtn", "OSDTurnOffBtn",
    "ReloadSelectedPageBtn", "ReloadSelectedLineBtn"};

QStringList entries(const QComboBox *combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i)
        result << combo->itemText(i);
    return result;
}

QStringList numbered(const QString &prefix, int count)
{
    QStringList result;
    for (int n = 1; n <= count; ++n)
        result << prefix.arg(n);
    return result;
}

// Picks an entry the way the operator does, with the keyboard.
void pick(QComboBox *combo, int index)
{
    combo->setFocus();
    const Qt::Key key = index > combo->currentIndex() ? Qt::Key_Down : Qt::Key_Up;
    while (combo->currentIndex() != index)
        QTest::keyClick(combo, key);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    RecordingDialogs dialogs;
    std::unique_ptr<Main> window;

    template<typename T = QWidget>
    T *control(const QString &name)
    {
        T *found = window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

private slots:
    void init()
    {
        dialogs = RecordingDialogs();
        window = std::make_unique<Main>(&dialogs);
    }
    void cleanup() { window.reset(); }

    void controls_data();
    void controls();
    void startUp();
    void typingLimits_data();
    void typingLimits();
    void lineEditing();
    void sendBytesArming();
    void layout();
    void realMessageBox_data();
    void realMessageBox();
    void shortcutsWinEverywhere_data();
    void shortcutsWinEverywhere();
    void wheelNeedsFocus();
    void endsWithItsLastWindow();
};

void TestMainWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");

    const struct
    {
        const char *name, *kind, *container, *caption;
    } table[] = {
        {"Frame6", "QGroupBox", "client", ""},
        {"ReloadSelectedLineBtn", "QPushButton", "Frame6", "Reload Selected Line"},
        {"AutoSendSelectedPageCheck", "QCheckBox", "Frame6", "Auto"},
        {"ReloadSelectedPageBtn", "QPushButton", "Frame6", "Reload Selected Page"},
        {"PageList", "QComboBox", "Frame6", nullptr},
        {"Label8", "QLabel", "Frame6", "Page Number"},
        {"SendBytesFrame", "QGroupBox", "client", "Send Bytes"},
        {"SendBytesBtn", "QPushButton", "SendBytesFrame", "&Send Byte"},
        {"SendBytesSelectedLineBtn", "QPushButton", "SendBytesFrame", "Send Selected Line"},
        {"SendBytesCheckBox", "QCheckBox", "SendBytesFrame", ""},
        {"SendBytesText", "QLineEdit", "SendBytesFrame", ""},
        {"MSComm1", "SerialLink", "Main", nullptr},
        {"Frame2", "QGroupBox", "client", ""},
        {"CommonDialog", "QFileDialog", "Frame2", nullptr},
        {"ComPort", "QComboBox", "Frame2", nullptr},
        {"BaudRate", "QComboBox", "Frame2", nullptr},
        {"DataBit", "QComboBox", "Frame2", nullptr},
        {"FlowControl", "QComboBox", "Frame2", nullptr},
        {"ExitBtn", "QPushButton", "Frame2", "E&xit"},
        {"ConnectBtn", "QPushButton", "Frame2", "&Connect"},
        {"StopBit", "QComboBox", "Frame2", nullptr},
        {"Label1", "QLabel", "Frame2", "Communication Setting:"},
        {"Frame1", "QGroupBox", "client", ""},
        {"VPos", "QLineEdit", "Frame1", "00"},
        {"HPos", "QLineEdit", "Frame1", "00"},
        {"TransparencyValue", "QLineEdit", "Frame1", "0"},
        {"Frame3", "QGroupBox", "Frame1", ""},
        {"OSDTurnOffBtn", "QPushButton", "Frame3", "OSD Turn Off"},
        {"Frame4", "QGroupBox", "Frame3", ""},
        {"SelectedLineCursorOffBtn", "QPushButton", "Frame4", "Selected Line Cursor Off"},
        {"SelectedLineCursorOnBtn", "QPushButton", "Frame4", "Selected Line Cursor On"},
        {"Frame5", "QGroupBox", "Frame4", ""},
        {"SendAllBtn", "QPushButton", "Frame5", "Send All"},
        {"SendSelectLineBtn", "QPushButton", "Frame4", "Send Selected Line"},
        {"SendBgTransparencyBtn", "QPushButton", "Frame4", "Send Background Transparency"},
        {"SendLeftOffsetBtn", "QPushButton", "Frame4", "Send Left Offset"},
        {"SendLineBtn", "QPushButton", "Frame4", "&Send All Line"},
        {"SendVPosBtn", "QPushButton", "Frame4", "Send Vertical Position"},
        {"SendHPosBtn", "QPushButton", "Frame4", "Send Horizontal Position"},
        {"SendClearAllLineBtn", "QPushButton", "Frame3", "Send Clear &All Line"},
        {"SendClearLineBtn", "QPushButton", "Frame3", "Send Clear &Line"},
        {"ClearAllBtn", "QPushButton", "Frame1", "Clear &All"},
        {"ClearBtn", "QPushButton", "Frame1", "C&lear"},
        {"LineText", "QLineEdit", "Frame1", ""},
        {"LeftOffset", "QLineEdit", "Frame1", "000"},
        {"LineList", "QComboBox", "Frame1", nullptr},
        {"Label7", "QLabel", "Frame1", "Vertical Position (00-FF):"},
        {"Label6", "QLabel", "Frame1", "Horizontal Position (00-FF):"},
        {"Label3", "QLabel", "Frame1", "Transparency Value (0-15) :"},
        {"Label5", "QLabel", "Frame1", "Text"},
        {"Label4", "QLabel", "Frame1", "Left Offset (000-3FF):"},
        {"Label2", "QLabel", "Frame1", "Line Number"},
        {"FileMenu", "QMenu", "menuBar", "&File"},
        {"OpenSubMenu", "QAction", "FileMenu", "&Open"},
        {"SaveSubMenu", "QAction", "FileMenu", "&Save"},
        {"ExitSubMenu", "QAction", "FileMenu", "E&xit"},
        {"AboutMenu", "QMenu", "menuBar", "&About"},
        {"AboutSubMenu", "QAction", "AboutMenu", "About"},
    };
    static_assert(std::size(table) == 58);
    for (const auto &row : table)
        QTest::newRow(row.name) << row.name << row.kind << row.container
                                << (row.caption ? QString::fromUtf8(row.caption) : QString());
}

void TestMainWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, container);
    QFETCH(QString, caption);

    if (name == "CommonDialog") // made when a file dialog is first wanted
        window->findChild<QAction *>("OpenSubMenu")->trigger();
    const QList<QObject *> named = window->findChildren<QObject *>(name);
    QCOMPARE(named.size(), 1);
    QObject *object = named.first();
    QVERIFY2(object->inherits(qPrintable(kind)), object->metaObject()->className());

    if (auto *action = qobject_cast<QAction *>(object)) {
        const QList<QObject *> menus = action->associatedObjects();
        QVERIFY(std::any_of(menus.begin(), menus.end(), [&](QObject *m) { return m->objectName() == container; }));
        QCOMPARE(action->text(), caption);
        return;
    }
    if (auto *menu = qobject_cast<QMenu *>(object)) {
        QCOMPARE(menu->title(), caption);
        QVERIFY(window->menuBar()->actions().contains(menu->menuAction()));
        return;
    }
    QCOMPARE(object->parent()->objectName(), container);
    if (caption.isNull())
        return;
    if (auto *box = qobject_cast<QGroupBox *>(object))
        QCOMPARE(box->title(), caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(object))
        QCOMPARE(button->text(), caption);
    else if (auto *text = qobject_cast<QLabel *>(object))
        QCOMPARE(text->text(), caption);
    else if (auto *edit = qobject_cast<QLineEdit *>(object))
        QCOMPARE(edit->text(), caption);
}

void TestMainWindow::startUp()
{
    const struct
    {
        const char *name;
        QStringList entries;
        const char *selected;
        bool enabled;
    } lists[] = {
        {"LineList", numbered("Line %1", 11), "Line 1", true},
        {"PageList", numbered("Page %1", 32), "Page 1", true},
        {"ComPort", numbered("COM %1", 16), "COM 1", true},
        {"BaudRate",
         {"110", "300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400", "460800",
          "921600"},
         "2400",
         true},
        {"DataBit", {"5", "6", "7", "8"}, "8", false},
        {"StopBit", {"1", "1.5", "2"}, "1", false},
        {"FlowControl", {"Hardware", "Xon/Xoff", "None"}, "None", false},
    };
    for (const auto &list : lists) {
        auto *combo = control<QComboBox>(list.name);
        QCOMPARE(entries(combo), list.entries);
        QCOMPARE(combo->currentText(), QString::fromLatin1(list.selected));
        QCOMPARE(combo->isEnabled(), list.enabled);
        QCOMPARE(combo->isEditable(), combo->objectName() == "PageList");
    }
    QCOMPARE(window->currentPage(), 0);
    QCOMPARE(window->lineCount(), 11);
    QCOMPARE(window->pageCount(), 32);

    for (const QString &name : CommandButtons)
        QVERIFY2(!control(name)->isEnabled(), qPrintable(name));
    for (const char *unusable : {"SendBytesFrame", "SendBytesBtn", "SendBytesSelectedLineBtn"})
        QVERIFY2(!control(unusable)->isEnabled(), unusable);
    for (const char *usable : {"ClearBtn", "ClearAllBtn", "LineText", "AutoSendSelectedPageCheck", "LeftOffset",
                               "TransparencyValue", "HPos", "VPos", "ConnectBtn", "ExitBtn"})
        QVERIFY2(control(usable)->isEnabled(), usable);
    const struct
    {
        const char *name, *shortcut;
    } items[] = {{"OpenSubMenu", "Ctrl+O"}, {"SaveSubMenu", "Ctrl+S"}, {"AboutSubMenu", "Ctrl+A"}, {"ExitSubMenu", ""}};
    for (const auto &item : items) {
        QVERIFY(control<QAction>(item.name)->isEnabled());
        QCOMPARE(control<QAction>(item.name)->shortcut(), QKeySequence(item.shortcut));
    }
    QCOMPARE(window->windowTitle(), "Quillane");
    QVERIFY(dialogs.boxes.isEmpty());
}

void TestMainWindow::typingLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit");
    QTest::newRow("HPos") << "HPos" << 2;
    QTest::newRow("VPos") << "VPos" << 2;
    QTest::newRow("TransparencyValue") << "TransparencyValue" << 2;
    QTest::newRow("LeftOffset") << "LeftOffset" << 3;
    QTest::newRow("LineText") << "LineText" << 255;
    QTest::newRow("SendBytesText") << "SendBytesText" << 512;
}

void TestMainWindow::typingLimits()
{
    QFETCH(QString, name);
    QFETCH(int, limit);
    window->EnableSendBytesFrame();
    auto *edit = control<QLineEdit>(name);
    edit->clear();
    QTest::keyClicks(edit, QString(limit + 1, QLatin1Char('7')));
    QCOMPARE(edit->text(), QString(limit, QLatin1Char('7')));

    edit->setText(QString(limit + 5, QLatin1Char('8')));
    QCOMPARE(edit->text(), QString(limit, QLatin1Char('8')));
}

// LineText always shows the selected line's stored text, through picking,
// typing, clearing and rebuilding the list.
void TestMainWindow::lineEditing()
{
    auto *lineList = control<QComboBox>("LineList");
    auto *lineText = control<QLineEdit>("LineText");
    const auto text = [this](int i) { return window->lineTexts().text(i); };
    QTest::keyClicks(lineText, "  Hello ");
    pick(lineList, 1);
    QCOMPARE(lineText->text(), QString());
    lineText->insert("second"); // a paste is stored like typing
    pick(lineList, 2);
    QTest::keyClicks(lineText, "third!");
    lineText->undo();
    QCOMPARE(text(2), lineText->text());
    pick(lineList, 0);
    QCOMPARE(lineText->text(), "  Hello ");
    QCOMPARE(text(1), "second");

    pick(lineList, 2);
    QTest::mouseClick(control("ClearBtn"), Qt::LeftButton);
    QCOMPARE(lineText->text(), QString());
    QCOMPARE(QStringList({text(0), text(1), text(2)}), QStringList({"  Hello ", "second", ""}));
    QCOMPARE(lineList->currentIndex(), 2);

    window->FillLineList();
    QCOMPARE(lineList->count(), 11);
    QCOMPARE(lineList->currentIndex(), 0);
    QCOMPARE(lineText->text(), "  Hello ");

    pick(lineList, 1);
    QTest::mouseClick(control("ClearAllBtn"), Qt::LeftButton);
    for (int i = 0; i < 11; ++i)
        QCOMPARE(text(i), QString());
    QCOMPARE(lineText->text(), QString());
    QCOMPARE(lineList->currentIndex(), 1);
    QVERIFY(dialogs.boxes.isEmpty());
}

void TestMainWindow::sendBytesArming()
{
    auto *check = control<QCheckBox>("SendBytesCheckBox");
    auto *text = control<QLineEdit>("SendBytesText");
    const QColor buttonFace = window->palette().color(QPalette::Button);
    const QColor fieldBackground = window->palette().color(QPalette::Base);
    QVERIFY(buttonFace != fieldBackground);
    const auto expectArmed = [&](bool armed) {
        QCOMPARE(check->isChecked(), armed);
        QCOMPARE(text->palette().color(QPalette::Base), armed ? fieldBackground : buttonFace);
        QCOMPARE(control("SendBytesBtn")->isEnabled(), armed);
        QCOMPARE(control("SendBytesSelectedLineBtn")->isEnabled(), armed);
    };
    window->show();
    window->EnableCommandButtons();
    window->EnableSendBytesFrame();
    QVERIFY(check->isEnabled());
    QVERIFY(text->isEnabled());
    expectArmed(false);
    QTest::keyClicks(text, "1A2B");

    QTest::mouseClick(check, Qt::LeftButton);
    expectArmed(true);
    QTest::mouseClick(check, Qt::LeftButton);
    expectArmed(false);
    QVERIFY(!text->isEnabled());
    QCOMPARE(text->text(), "1A2B");

    // The tick survives a disconnect: reconnecting arms the buttons at once.
    QTest::mouseClick(check, Qt::LeftButton);
    window->DisableCommandButtons();
    window->DisableSendBytesFrame();
    QVERIFY(!check->isEnabled());
    QVERIFY(!control("SendBytesBtn")->isEnabled());
    window->EnableCommandButtons();
    window->EnableSendBytesFrame();
    expectArmed(true);
}

void TestMainWindow::layout()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(QApplication::focusWidget(), control("LineList"));

    const auto geometry = [this](const QString &name) {
        QWidget *w = control(name);
        return QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size());
    };
    const QStringList groups = {"Frame2", "Frame1", "Frame6", "SendBytesFrame"};
    for (int i = 1; i < groups.size(); ++i)
        QVERIFY2(geometry(groups[i - 1]).bottom() < geometry(groups[i]).top(), qPrintable(groups[i]));

    // Each row from left to right; the members of a row share a band.
    const QList<QStringList> rows = {
        {"Label1", "ComPort", "BaudRate", "DataBit", "StopBit", "FlowControl", "ConnectBtn", "ExitBtn"},
        {"LineList", "LineText"},
        {"Label4", "LeftOffset", "Label3", "TransparencyValue", "ClearBtn", "ClearAllBtn"},
        {"Label6", "HPos", "Label7", "VPos"},
        {"Frame5", "SendHPosBtn", "SendLeftOffsetBtn", "SelectedLineCursorOnBtn", "OSDTurnOffBtn"},
        {"Label8", "PageList", "ReloadSelectedLineBtn", "AutoSendSelectedPageCheck", "ReloadSelectedPageBtn"},
        {"SendBytesCheckBox", "SendBytesText", "SendBytesSelectedLineBtn"},
    };
    for (const QStringList &row : rows) {
        for (int i = 1; i < row.size(); ++i) {
            const QRect left = geometry(row[i - 1]);
            const QRect right = geometry(row[i]);
            QVERIFY2(left.right() < right.left(), qPrintable(row[i]));
            QVERIFY2(left.top() <= right.bottom() && right.top() <= left.bottom(), qPrintable(row[i]));
        }
    }
    QVERIFY(window->grab().save(QStringLiteral("window.png")));
}

void TestMainWindow::realMessageBox_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::newRow("error") << int(BoxKind::Error) << int(QMessageBox::Critical);
    QTest::newRow("information") << int(BoxKind::Information) << int(QMessageBox::Information);
    QTest::newRow("plain") << int(BoxKind::Plain) << int(QMessageBox::NoIcon);
}

void TestMainWindow::realMessageBox()
{
    QFETCH(int, kind);
    QFETCH(int, icon);
    QtDialogs real(window.get());
    QString seen;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = QStringLiteral("%1|%2|%3|%4|%5").arg(box->text(), box->windowTitle(), box->informativeText())
                   .arg(box->icon())
                   .arg(box->buttons().size());
        if (box->buttons().size() == 1 && box->standardButton(box->buttons().first()) == QMessageBox::Ok)
            box->buttons().first()->click();
        else
            box->reject();
    });
    real.showMessage("Port cannot open", "Error", BoxKind(kind), "Device busy");
    QCOMPARE(seen, QStringLiteral("Port cannot open|Error|Device busy|%1|1").arg(icon));
}

void TestMainWindow::shortcutsWinEverywhere_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("outcome");
    for (const char *focus : {"LineText", "SendBytesText", "LineList", "PageList"}) {
        QTest::addRow("Ctrl+O in %s", focus) << focus << int(Qt::Key_O) << "Open";
        QTest::addRow("Ctrl+S in %s", focus) << focus << int(Qt::Key_S) << "Save";
        QTest::addRow("Ctrl+A in %s", focus) << focus << int(Qt::Key_A) << "About";
    }
}

void TestMainWindow::shortcutsWinEverywhere()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, outcome);
    window->EnableSendBytesFrame();
    control<QCheckBox>("SendBytesCheckBox")->click();
    control<QLineEdit>("LineText")->insert("some text");
    control<QLineEdit>("SendBytesText")->setText("1A2B");
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QWidget *field = control(focus);
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field->focusProxy() ? field->focusProxy() : field);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);

    if (outcome == "About") {
        QVERIFY(dialogs.fileDialogs.isEmpty());
        const auto about = [] {
            const QWidgetList all = QApplication::topLevelWidgets();
            const auto found = std::find_if(all.begin(), all.end(), [](QWidget *w) { return w->isVisible() && w->objectName() == "frmAbout"; });
            return found == all.end() ? nullptr : *found;
        };
        QTRY_VERIFY(about());
        about()->close();
    } else {
        QCOMPARE(dialogs.fileDialogs.size(), 1);
        QCOMPARE(dialogs.fileDialogs.first().acceptMode,
                 outcome == "Open" ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        QCOMPARE(dialogs.texts(), QStringList{outcome + " Error"}); // cancelled
    }
    for (const char *edit : {"LineText", "SendBytesText"})
        QVERIFY2(!control<QLineEdit>(edit)->hasSelectedText(), edit);
    QCOMPARE(control<QLineEdit>("LineText")->text(), "some text");
}

// A wheel turned over a list in passing changes nothing; over the focused
// list it steps as usual.
void TestMainWindow::wheelNeedsFocus()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    control("ExitBtn")->setFocus();
    for (QComboBox *list : window->findChildren<QComboBox *>()) {
        const int before = list->currentIndex();
        QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &wheel);
        QVERIFY2(list->currentIndex() == before && !list->hasFocus(), qPrintable(list->objectName()));
    }
    auto *pages = control<QComboBox>("PageList");
    pages->setFocus();
    QWheelEvent wheel(QPointF(5, 5), pages->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(pages, &wheel);
    QCOMPARE(pages->currentIndex(), 1);
}

// Closing the main window leaves an open About window running; the program
// ends with the last window.
void TestMainWindow::endsWithItsLastWindow()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->findChild<QAction *>("AboutSubMenu")->trigger();
    QPointer<QWidget> about;
    QTRY_VERIFY((about = QApplication::activeWindow()) && about->objectName() == "frmAbout");
    bool ranOn = false;
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, window.get(), [&] {
        window->close();
        QTimer::singleShot(100, about, [&] {
            ranOn = true;
            about->close();
        });
    });
    QTimer::singleShot(5000, qApp, &QCoreApplication::quit); // in case nothing ends it
    QApplication::exec();
    QVERIFY(ranOn);
    QVERIFY(clock.elapsed() < 4000);
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
