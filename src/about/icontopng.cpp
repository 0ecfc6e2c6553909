// Build tool: writes the compiled-in icon as the PNG that is installed into
// the desktop's icon theme.
#include "about/quillane.xpm"

#include <QImage>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: icontopng <output.png>\n");
        return 2;
    }
    if (!QImage(quillane_xpm).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "icontopng: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
