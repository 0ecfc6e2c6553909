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

    // One unowned About window until OK closes it; the next is made anew and
    // shows the build's texts and the program's icon.
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
        QStringList texts;
        for (const char *label : {"lblTitle", "lblVersion", "lblCopyright"})
            texts << second->findChild<QLabel *>(label)->text();
        QCOMPARE(texts, (QStringList{"Quillane", "Version " PROJECT_VERSION_TEXT, PROJECT_NOTICE_TEXT}));
        QCOMPARE(second->findChild<QLabel *>("picIcon")->pixmap().toImage(), quillanePixmap().toImage());
        // Fixed, and at least the size of 1.0.9 whatever the fonts need.
        QCOMPARE(second->minimumSize(), second->maximumSize());
        QVERIFY(second->width() >= 256 && second->height() >= 121);
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
