// The About window: its texts from the build information, how it closes,
// and that there is only ever one.
#include "buildinfo.h"
#include "frmabout.h"

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QtTest>

namespace {

QList<frmAbout *> aboutWindows()
{
    QList<frmAbout *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *about = qobject_cast<frmAbout *>(w); about && w->isVisible())
            found << about;
    }
    return found;
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (frmAbout *w : aboutWindows())
            delete w;
    }

    void versionLine_data()
    {
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("line");
        QTest::newRow("present release") << 9 << "Version 1.0.9";
        QTest::newRow("two-digit revision") << 12 << "Version 1.0.12";
    }
    void versionLine()
    {
        QFETCH(int, revision);
        QFETCH(QString, line);
        QCOMPARE(::versionLine(1, 0, revision), line);
    }

    void showsTheBuildInformation()
    {
        AboutKeeper keeper;
        frmAbout *about = keeper.show();
        QCOMPARE(about->windowTitle(), "About Quillane");
        QCOMPARE(about->findChild<QLabel *>("lblTitle")->text(), "Quillane");
        QCOMPARE(about->findChild<QLabel *>("lblVersion")->text(), "Version 1.0.9");
        QCOMPARE(about->findChild<QLabel *>("lblCopyright")->text(), QString::fromUtf8(BuildInfo::Notice));
        QVERIFY(!QString::fromUtf8(BuildInfo::Notice).isEmpty());
        QCOMPARE(about->size(), QSize(256, 121));
        QCOMPARE(about->findChild<QLabel *>("picIcon")->pixmap().size(), QSize(32, 32));
        QCOMPARE(about->findChild<QPushButton *>("cmdOK")->text(), "OK");
        QVERIFY(!about->isModal());
        QVERIFY(!about->parent());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void closes_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("OK") << 0;
    }
    void closes()
    {
        QFETCH(int, key);
        AboutKeeper keeper;
        QPointer<frmAbout> about = keeper.show();
        QVERIFY(QTest::qWaitForWindowActive(about));
        if (key)
            QTest::keyClick(about, Qt::Key(key));
        else
            QTest::mouseClick(about->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(about.isNull());
        QCOMPARE(keeper.window(), nullptr);
    }

    void onlyOneWindow()
    {
        QMainWindow owner;
        owner.show();
        AboutKeeper keeper;
        frmAbout *first = keeper.show();
        first->findChild<QLabel *>("lblVersion")->setText("not loaded again");
        QCOMPARE(keeper.show(), first);
        QCOMPARE(aboutWindows().size(), 1);
        QCOMPARE(first->findChild<QLabel *>("lblVersion")->text(), "not loaded again");
        QVERIFY(owner.isEnabled());

        QPointer<frmAbout> closed = first;
        first->close();
        QTRY_VERIFY(closed.isNull());
        frmAbout *second = keeper.show();
        QCOMPARE(second->findChild<QLabel *>("lblVersion")->text(), "Version 1.0.9");
        QCOMPARE(aboutWindows().size(), 1);
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
