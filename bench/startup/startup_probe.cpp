// Starts a QApplication, builds and shows one window, and prints the
// monotonic clock once the event loop has shown it: "quillane" builds the
// real main window, "empty" a bare QMainWindow of the same size, "text" the
// same with a menu and one label (the first text costs the font set-up). Tearing
// down is not start-up, so it ends without it.
#include "window/mainwindow.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? argv[1] : "quillane";
    std::unique_ptr<QMainWindow> window;
    if (mode == "quillane") {
        window = std::make_unique<Main>();
    } else {
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(mode == "text" ? new QLabel(QStringLiteral("Text")) : new QWidget);
        window->centralWidget()->setFixedSize(642, 394);
        if (mode == "text")
            window->menuBar()->addMenu(QStringLiteral("&File"));
    }
    window->show();
    QTimer::singleShot(0, &app, [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        std::_Exit(0);
    });
    return QApplication::exec();
}
