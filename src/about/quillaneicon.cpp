#include "about/quillaneicon.h"

#include "about/quillane.xpm"

QPixmap quillanePixmap()
{
    return QPixmap(quillane_xpm);
}

QIcon quillaneIcon()
{
    return QIcon(quillanePixmap());
}
