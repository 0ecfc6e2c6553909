#include "buildinfo.h"
#include "frmabout.h"
#include "versionline.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void versionLineIsPlainDecimal_data();
    void versionLineIsPlainDecimal();
    void loadShowsBuildInformation();
    void iconIsSmallWithFewColours();
    void closesLikeOk_data();
    void closesLikeOk();
    void oneWindowAtATime();
};

namespace {
void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int aboutWindowCount()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<frmAbout *>(widget) != nullptr;
    return count;
}

template <typename T> T *control(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}
}

void TestAbout::cleanup()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
    processDeferredDeletes();
}

void TestAbout::versionLineIsPlainDecimal_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("line");
    QTest::newRow("present release, no zero padding") << 1 << 0 << 9 << "Version 1.0.9";
    QTest::newRow("two-digit revision") << 1 << 0 << 12 << "Version 1.0.12";
}

void TestAbout::versionLineIsPlainDecimal()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, line);
    QCOMPARE(versionLine(major, minor, revision), line);
}

void TestAbout::loadShowsBuildInformation()
{
    AboutKeeper keeper;
    frmAbout *window = keeper.show();
    QCOMPARE(window->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(window->windowTitle(), QStringLiteral("About Quillane"));
    QCOMPARE(control<QLabel>(window, "lblTitle")->text(), QStringLiteral("Quillane"));
    QCOMPARE(control<QLabel>(window, "lblVersion")->text(),
             QStringLiteral("Version " PROJECT_VERSION_TEXT));
    QLabel *notice = control<QLabel>(window, "lblCopyright");
    QCOMPARE(notice->text(), QString::fromUtf8(BuildInfo::Notice));
    QCOMPARE(notice->font().family(), QStringLiteral("Times New Roman"));
    QCOMPARE(notice->font().pointSizeF(), 8.25);
    QVERIFY(window->rect().contains(notice->geometry()));
    QCOMPARE(window->size(), QSize(256, 121));
    QCOMPARE(control<QLabel>(window, "picIcon")->pixmap().size(), QSize(32, 32));
    QCOMPARE(control<QPushButton>(window, "cmdOK")->text(), QStringLiteral("OK"));
}

void TestAbout::iconIsSmallWithFewColours()
{
    const QImage image = quillanePixmap().toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
    QVERIFY(!quillaneIcon().isNull());
}

void TestAbout::closesLikeOk_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("OK clicked") << 0;
    QTest::newRow("Enter presses OK") << int(Qt::Key_Enter);
    QTest::newRow("Return presses OK") << int(Qt::Key_Return);
    QTest::newRow("Esc presses OK") << int(Qt::Key_Escape);
}

void TestAbout::closesLikeOk()
{
    QFETCH(int, key);
    AboutKeeper keeper;
    QPointer<frmAbout> window = keeper.show();
    QSignalSpy pressed(control<QPushButton>(window, "cmdOK"), &QPushButton::clicked);
    if (key)
        QTest::keyClick(window.data(), Qt::Key(key));
    else
        QTest::mouseClick(control<QPushButton>(window, "cmdOK"), Qt::LeftButton);
    QCOMPARE(pressed.count(), 1);
    QVERIFY(!window->isVisible());
    processDeferredDeletes();
    QVERIFY(window.isNull());
    QVERIFY(!keeper.window());
}

void TestAbout::oneWindowAtATime()
{
    AboutKeeper keeper;
    QPointer<frmAbout> first = keeper.show();
    QVERIFY(first->isVisible());
    QVERIFY(!first->isModal());
    QVERIFY(!first->parentWidget());
    QVERIFY(!QApplication::activeModalWidget());

    // A changed text survives a second show only if it does not load again.
    control<QLabel>(first, "lblVersion")->setText(QStringLiteral("marked"));
    QCOMPARE(keeper.show(), first.data());
    QCOMPARE(aboutWindowCount(), 1);
    QCOMPARE(control<QLabel>(first, "lblVersion")->text(), QStringLiteral("marked"));

    first->close();
    processDeferredDeletes();
    QVERIFY(first.isNull());
    frmAbout *second = keeper.show();
    QVERIFY(second->isVisible());
    QCOMPARE(aboutWindowCount(), 1);
    QCOMPARE(control<QLabel>(second, "lblVersion")->text(), QStringLiteral("Version " PROJECT_VERSION_TEXT));
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
