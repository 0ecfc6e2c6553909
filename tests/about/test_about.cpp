#include "about/buildinfo.h"
#include "about/frmabout.h"
#include "about/versionline.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {

int aboutWindowCount()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<frmAbout *>(widget) != nullptr;
    return count;
}

template <typename T> T *control(QWidget *window, const char *name)
{
    if (T *found = window->findChild<T *>(QLatin1String(name)))
        return found;
    qFatal("no control %s", name);
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void versionLineIsPlainDecimal()
    {
        QCOMPARE(versionLine(1, 0, 9), QStringLiteral("Version 1.0.9"));
        QCOMPARE(versionLine(1, 0, 12), QStringLiteral("Version 1.0.12"));
    }

    void windowShowsBuildInformation()
    {
        AboutKeeper keeper;
        frmAbout *window = keeper.show();
        QCOMPARE(window->windowTitle(), QStringLiteral("About Quillane"));
        QCOMPARE(control<QLabel>(window, "lblTitle")->text(), QStringLiteral("Quillane"));
        QCOMPARE(control<QLabel>(window, "lblVersion")->text(), QStringLiteral("Version " PROJECT_VERSION_TEXT));
        QCOMPARE(control<QPushButton>(window, "cmdOK")->text(), QStringLiteral("OK"));
        QLabel *notice = control<QLabel>(window, "lblCopyright");
        QCOMPARE(notice->text(), QString::fromUtf8(BuildInfo::Notice));
        QVERIFY(window->rect().contains(notice->geometry()));
        QCOMPARE(window->size(), QSize(256, 121));

        const QImage icon = control<QLabel>(window, "picIcon")->pixmap().toImage();
        QCOMPARE(icon.size(), QSize(32, 32));
        QSet<QRgb> colours;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                colours.insert(icon.pixel(x, y));
        QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
        QVERIFY(!quillaneIcon().isNull());
    }

    void oneWindowAtATime_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter presses OK") << int(Qt::Key_Enter);
        QTest::newRow("Esc presses OK") << int(Qt::Key_Escape);
    }

    void oneWindowAtATime()
    {
        QFETCH(int, key);
        AboutKeeper keeper;
        QPointer<frmAbout> first = keeper.show();
        QVERIFY(!first->isModal());
        QVERIFY(!first->parentWidget());

        // A changed text survives a second show only if it does not load again.
        control<QLabel>(first, "lblVersion")->setText(QStringLiteral("marked"));
        QCOMPARE(keeper.show(), first.data());
        QCOMPARE(aboutWindowCount(), 1);
        QCOMPARE(control<QLabel>(first, "lblVersion")->text(), QStringLiteral("marked"));

        QSignalSpy pressed(control<QPushButton>(first, "cmdOK"), &QPushButton::clicked);
        QTest::keyClick(first.data(), Qt::Key(key));
        QCOMPARE(pressed.count(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());

        frmAbout *second = keeper.show();
        QVERIFY(second->isVisible());
        QCOMPARE(aboutWindowCount(), 1);
        QCOMPARE(control<QLabel>(second, "lblVersion")->text(), QStringLiteral("Version " PROJECT_VERSION_TEXT));
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
