// The main and About windows at every font from 8 to 16 pt, and as a caption
// and the font change while open (ctest runs this at scale factors 1, 1.5 and
// 2); their names for screen readers and the tab chain; driven offscreen.
// QUILLANE_SCREENSHOTS=<folder> saves each main window.
#include "../support/recordingdialogs.h"
#include "console/console.h"
#include "window/mainwindow.h"
#include "window/texts.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QtTest>

namespace {

// No caption is cut: a label, check box or list has its size hint; a push
// button holds its caption inside its frame with 2 px to spare on each side.
void expectCaptionsWhole(QWidget *window)
{
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->objectName().isEmpty() || !w->isVisibleTo(window))
            continue;
        if (auto *b = qobject_cast<QPushButton *>(w)) {
            QStyleOptionButton option;
            option.initFrom(b);
            const QRect inside = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
            const int caption = b->fontMetrics().size(Qt::TextShowMnemonic, b->text()).width();
            QVERIFY2(inside.width() >= caption + 4, qPrintable(w->objectName()));
        } else if (qobject_cast<QLabel *>(w) || qobject_cast<QCheckBox *>(w) || qobject_cast<QComboBox *>(w)) {
            QVERIFY2(w->width() >= w->sizeHint().width() && w->height() >= w->sizeHint().height(),
                     qPrintable(w->objectName()));
        }
        // An item list is as wide as Qt's own rule for its length makes it.
        if (auto *list = qobject_cast<QComboBox *>(w); list && list->minimumContentsLength() > 0) {
            QComboBox qtList;
            qtList.setFont(list->font());
            qtList.setEditable(list->isEditable());
            qtList.setMinimumContentsLength(list->minimumContentsLength());
            qtList.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            QCOMPARE(list->sizeHint(), qtList.sizeHint());
        }
    }
}

QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    while (w && w->objectName().isEmpty())
        w = w->parentWidget();
    return w ? w->objectName() : QString();
}

} // namespace

class TestWindowFit : public QObject
{
    Q_OBJECT

private:
    RecordingDialogs dialogs;
    const QFont appFont = QApplication::font();

private slots:
    void cleanup() { QApplication::setFont(appFont); }
    void fits_data();
    void fits();
    void accessibleNames_data();
    void accessibleNames();
    void tabChain();
};
void TestWindowFit::fits_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QSize>("screen");
    QFont font = appFont;
    font.setPixelSize(11); // the window of 1.0.9, which stays 642 x 394
    QTest::newRow("11 px") << font << QSize();
    for (int points = 8; points <= 16; ++points) {
        font.setPointSize(points);
        QTest::addRow("%d pt", points) << font << (points <= 12 ? QSize(1280, 800) : QSize(1920, 1080));
    }
}

void TestWindowFit::fits()
{
    QFETCH(QFont, font);
    QFETCH(QSize, screen);
    QApplication::setFont(font);
    Console console;
    Main window(console, &dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    expectCaptionsWhole(&window);
    QCOMPARE(window.minimumSize(), window.maximumSize());
    if (screen.isEmpty()) {
        QCOMPARE(window.centralWidget()->size(), QSize(642, 394));
    } else {
        // The scale factor is the screen's device pixel ratio: at 2, a 1280 x
        // 800 screen has 2560 x 1600 device pixels.
        const qreal ratio = window.devicePixelRatio();
        const QSizeF devicePixels = QSizeF(window.frameGeometry().size()) * ratio;
        QVERIFY2(devicePixels.width() <= screen.width() * ratio && devicePixels.height() <= screen.height() * ratio,
                 qPrintable(QStringLiteral("%1 x %2").arg(devicePixels.width()).arg(devicePixels.height())));
        if (const QString folder = qEnvironmentVariable("QUILLANE_SCREENSHOTS"); !folder.isEmpty())
            QVERIFY(window.grab().save(QStringLiteral("%1/window-%2pt.png").arg(folder).arg(font.pointSize())));
    }

    AboutKeeper about;
    expectCaptionsWhole(about.show());
    // The notice keeps its typeface at the size of the rest.
    const QFont notice = about.window()->findChild<QLabel *>("lblCopyright")->font();
    QCOMPARE(notice.family(), "Times New Roman");
    QCOMPARE(QFontInfo(notice).pixelSize(), QFontInfo(font).pixelSize());

    // A longer caption, then a larger font, while the window is open: each
    // pass of the posted events carries the change one group further out.
    window.findChild<QPushButton *>("ConnectBtn")->setText(Texts::Disconnect);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    expectCaptionsWhole(&window);
    font.setPixelSize(QFontInfo(font).pixelSize() + 3);
    QApplication::setFont(font);
    QTRY_COMPARE(window.findChild<QPushButton *>("ExitBtn")->font(), font);
    for (int pass = 0; pass < 10; ++pass)
        QCoreApplication::sendPostedEvents();
    expectCaptionsWhole(&window);
}

void TestWindowFit::accessibleNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label"); // the label the control is labelled by
    QTest::addColumn<QString>("more");  // its value (lists) or description
    const char *const table[][4] = {
        {"LineText", "Text", "Label5", ""},
        {"LeftOffset", "Left Offset (000-3FF):", "Label4", ""},
        {"TransparencyValue", "Transparency Value (0-15) :", "Label3", ""},
        {"HPos", "Horizontal Position (00-FF):", "Label6", ""},
        {"VPos", "Vertical Position (00-FF):", "Label7", ""},
        {"ComPort", "COM port", "", "COM 1"},
        {"BaudRate", "Baud rate", "", "2400"},
        {"DataBit", "Data bits", "", "8"},
        {"StopBit", "Stop bits", "", "1"},
        {"FlowControl", "Flow control", "", "None"},
        {"LineList", "Line Number", "Label2", "Line 1"},
        {"PageList", "Page Number", "Label8", "Page 1"},
        {"SendBytesCheckBox", "Enable Send Bytes", "", ""},
        {"SendBytesText", "Bytes in hexadecimal", "", ""},
        {"SendSelectLineBtn", "Send Selected Line", "", "Sends the selected line's text"},
        {"SendBytesSelectedLineBtn", "Send Selected Line", "",
         "Sends the selected line, then the bytes typed in hexadecimal"},
        {"statusBar", "Status", "", ""},
        {"SendProgress", "Send progress", "", ""},
    };
    for (const auto &row : table)
        QTest::newRow(row[0]) << row[0] << row[1] << row[2] << row[3];
}

void TestWindowFit::accessibleNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, label);
    QFETCH(QString, more);
    Console console;
    Main window(console, &dialogs);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(window.findChild<QWidget *>(control));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    if (!label.isEmpty()) {
        const auto labels = accessible->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->object()->objectName(), label);
    }
    if (!more.isEmpty()) {
        const bool list = accessible->role() == QAccessible::ComboBox;
        QCOMPARE(accessible->text(list ? QAccessible::Value : QAccessible::Description), more);
    }
}

// With every control usable, Tab visits them all in the order of the screen.
void TestWindowFit::tabChain()
{
    Console console;
    Main window(console, &dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(focusName(), "LineList");
    for (QWidget *w : window.findChildren<QWidget *>())
        w->setEnabled(true);
    QStringList chain;
    do {
        chain << focusName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (focusName() != "LineList" && chain.size() < 50);
    const QString screenOrder = QStringLiteral(
        "LineList LineText LeftOffset TransparencyValue ClearBtn ClearAllBtn HPos VPos SendAllBtn SendHPosBtn "
        "SendLeftOffsetBtn SelectedLineCursorOnBtn OSDTurnOffBtn SendVPosBtn SendSelectLineBtn "
        "SelectedLineCursorOffBtn SendClearLineBtn SendBgTransparencyBtn SendLineBtn SendClearAllLineBtn "
        "PageList ReloadSelectedLineBtn AutoSendSelectedPageCheck ReloadSelectedPageBtn SendBytesCheckBox "
        "SendBytesText SendBytesSelectedLineBtn SendBytesBtn ComPort BaudRate DataBit StopBit FlowControl "
        "ConnectBtn ExitBtn");
    QCOMPARE(chain, screenOrder.split(QLatin1Char(' ')));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(focusName(), "ExitBtn");
}

QTEST_MAIN(TestWindowFit)
#include "test_windowfit.moc"
