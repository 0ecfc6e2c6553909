// Starts a QApplication, builds and shows one window, and exits as soon as
// the event loop has shown it: "quillane" builds the real main window,
// "empty" a bare QMainWindow of the same size.
#include "mainwindow.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool empty = argc > 1 && qstrcmp(argv[1], "empty") == 0;
    std::unique_ptr<QMainWindow> window;
    if (empty) {
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QWidget);
        window->centralWidget()->setFixedSize(642, 394);
    } else {
        window = std::make_unique<Main>();
    }
    window->show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
