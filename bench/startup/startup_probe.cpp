// One start-up of a window, for bench_startup: starts a QApplication the way
// app/main.cpp does, builds and shows one window, and once the window's first
// paint is complete prints one line
//   <CLOCK_MONOTONIC ns> <VmHWM KiB> <width>x<height> <widgets painted>
// then ends at once: tearing down is not start-up.
//
// The window, by the first argument:
//   empty     a bare QMainWindow;
//   menu      a QMainWindow with the real window's menus (File: Open, Save,
//             Exit; About: About) and a QLabel with a line of text as its
//             central widget: the least any Qt window that shows text costs;
//   quillane  the real main window (Main), made with no arguments.
// The first two get the real window's size, so that all three paint and keep
// a backing store of the same size.
//
// Where the first paint ends: show() creates the top-level QWindow, and the
// platform then delivers an Expose event to it through the event loop (the
// offscreen platform queues it from show() itself). Qt's widget window
// handles that event synchronously: inside QWindow::event() it maps the
// window, paints every dirty widget into the QBackingStore (the top-level
// widget first, then each child, one QEvent::Paint each) and flushes the
// backing store to the platform. A Paint filter on the top-level widget alone
// would stop the clock before any child has painted, and for Quillane the
// children (its controls) are nearly all of the paint. So the filter below takes the Expose (and UpdateRequest, the
// other event that paints and flushes) on its way to the window, runs the
// window's own event() itself, and reads the clock when that returns having
// painted the top-level widget: at that point the whole window has been
// painted and flushed.
#include "console/console.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

// The size that Main gives itself (client area, menu bar and status bar,
// offscreen); each run reports its size, and the bench says if they differ.
constexpr QSize WindowSize(692, 440);

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The process's peak resident set size so far, in KiB.
long peakRssKiB()
{
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            kib = std::strtol(line + 6, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kib;
}

// Counts the paint events of every widget.
class PaintCounter : public QObject
{
public:
    int painted = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++painted;
        return false;
    }
};

// Watches the top-level widget and its QWindow; ends the process right after
// the first event that painted the top-level widget has been handled.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget &window, const PaintCounter &counter) : m_window(window), m_counter(counter) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Paint:
            if (watched == &m_window)
                m_windowPainted = true;
            return false;
        case QEvent::Expose:
        case QEvent::UpdateRequest: {
            // QObject::event() is public: this runs the window's own handler.
            watched->event(event);
            if (m_windowPainted)
                finish();
            return true; // handled here, not to be delivered twice
        }
        default:
            return false;
        }
    }

private:
    [[noreturn]] void finish() const
    {
        const long long at = monotonicNs();
        const long peak = peakRssKiB();
        std::printf("%lld %ld %dx%d %d\n", at, peak, m_window.width(), m_window.height(), m_counter.painted);
        std::fflush(stdout);
        std::_Exit(0);
    }

    QWidget &m_window;
    const PaintCounter &m_counter;
    bool m_windowPainted = false;
};

std::unique_ptr<QMainWindow> menuWindow()
{
    auto window = std::make_unique<QMainWindow>();
    QMenu *file = window->menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addAction(QStringLiteral("&Save"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addAction(QStringLiteral("E&xit"));
    QMenu *about = window->menuBar()->addMenu(QStringLiteral("&About"));
    about->addAction(QStringLiteral("About"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    window->setCentralWidget(new QLabel(QStringLiteral("Line 1: the quick brown fox jumps over the lazy dog")));
    window->resize(WindowSize);
    return window;
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? argv[1] : "";
    if (mode != "empty" && mode != "menu" && mode != "quillane") {
        std::fprintf(stderr, "usage: %s empty|menu|quillane\n", argv[0]);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillane"));
    PaintCounter counter;
    app.installEventFilter(&counter);

    std::unique_ptr<Console> console;
    std::unique_ptr<QMainWindow> window;
    if (mode == "quillane") {
        console = std::make_unique<Console>();
        window = std::make_unique<Main>(*console);
    } else if (mode == "menu") {
        window = menuWindow();
    } else {
        window = std::make_unique<QMainWindow>();
        window->resize(WindowSize);
    }

    FirstPaint firstPaint(*window, counter);
    window->installEventFilter(&firstPaint);
    window->show();
    // The top-level QWindow exists once shown; its Expose is still queued.
    if (counter.painted != 0 || !window->windowHandle()) {
        std::fprintf(stderr, "the window painted inside show(), before it could be watched\n");
        return 1;
    }
    window->windowHandle()->installEventFilter(&firstPaint);
    QApplication::exec();
    std::fprintf(stderr, "the event loop ended without a paint\n");
    return 1;
}
