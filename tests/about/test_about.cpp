#include "about/frmabout.h"

#include <QtTest>
#include <QtWidgets>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void oneWindowAtATime_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter presses OK") << int(Qt::Key_Enter);
        QTest::newRow("Esc presses OK") << int(Qt::Key_Escape);
    }

    // One unowned About window until OK closes it; the next is made anew.
    void oneWindowAtATime()
    {
        QFETCH(int, key);
        AboutKeeper keeper;
        QPointer<frmAbout> first = keeper.show();
        QVERIFY(!first->isModal() && !first->parentWidget());
        QCOMPARE(keeper.show(), first.data());
        QSignalSpy pressed(first->findChild<QPushButton *>("cmdOK"), &QPushButton::clicked);
        QTest::keyClick(first.data(), Qt::Key(key));
        QCOMPARE(pressed.count(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        frmAbout *second = keeper.show();
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{second});
        QCOMPARE(second->windowTitle(), "About Quillane");
        QCOMPARE(second->findChild<QLabel *>("lblVersion")->text(), "Version " PROJECT_VERSION_TEXT);
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
