#include "window/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillane"));
    Main window;
    window.show();
    return QApplication::exec();
}
