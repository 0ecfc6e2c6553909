#include "console/console.h"
#include "window/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillane"));
    Console console;
    Main window(console);
    window.show();
    return QApplication::exec();
}
