// Writes the program's icon as a PNG for the desktop's icon theme.
#include "quillane.xpm"

#include <QImage>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    return QImage(quillane_xpm).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
