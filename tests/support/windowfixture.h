#pragma once

#include "console/console.h"
#include "ptydevice.h"
#include "recordingdialogs.h"
#include "window/mainwindow.h"

#include <QtTest>
#include <QtWidgets>

// The main window, shown offscreen and driven as an operator would, with its
// boxes and file dialogs recorded and a pseudo-terminal as COM 1.
class WindowFixture
{
public:
    // What can be pressed while disconnected.
    inline static const QStringList IdleButtons{"AutoSendSelectedPageCheck", "ClearAllBtn", "ClearBtn", "ConnectBtn",
                                                "ExitBtn"};

    RecordingDialogs dialogs;
    PtyDevice pty;
    Console console;
    Main window{console, &dialogs};
    QTemporaryDir dir;

    WindowFixture()
    {
        pty.mapAs(1);
        window.show();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the window does not become active");
    }

    template<typename T = QWidget>
    T *control(const QString &name)
    {
        if (T *found = window.findChild<T *>(name))
            return found;
        qFatal("no control %s", qPrintable(name));
    }
    bool enabled(const QString &name) { return control(name)->isEnabled(); }
    QString text(const QString &name) { return control<QLineEdit>(name)->text(); }
    QString status() { return control<QLabel>("StatusText")->text(); }
    QString list(const QString &name) // "Line 1 of 11"
    {
        const auto *list = control<QComboBox>(name);
        return list->currentText() + " of " + QString::number(list->count());
    }
    void click(const QString &name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    void trigger(const QString &name) { control<QAction>(name)->trigger(); }

    // The names of the buttons and check boxes that are (or are not) enabled.
    QStringList buttons(bool enabled)
    {
        QStringList names;
        for (const QAbstractButton *b : window.findChildren<QAbstractButton *>(QRegularExpression("(Btn|Check|Box)$")))
            if (b->isEnabled() == enabled)
                names << b->objectName();
        names.sort();
        return names;
    }

    // Replaces a field's text as a paste does: an operator's edit.
    void type(const QString &name, const QString &text)
    {
        auto *field = control<QLineEdit>(name);
        field->selectAll();
        field->insert(text);
    }

    // Picks a list entry with the arrow keys.
    void pick(const QString &name, int index)
    {
        auto *list = control<QComboBox>(name);
        list->setFocus();
        for (int key = 0; key < 300 && list->currentIndex() != index; ++key)
            QTest::keyClick(list, index > list->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
    }

    // Opens a line file holding these bytes through File > Open.
    void open(const QByteArray &bytes)
    {
        QFile file(dir.filePath("opened.ptx"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.close();
        dialogs.answers = {file.fileName()};
        trigger("OpenSubMenu");
    }

    void connectPort()
    {
        click("ConnectBtn");
        if (!status().startsWith("Connected: "))
            qFatal("cannot connect: %s", qPrintable(status()));
    }
};
