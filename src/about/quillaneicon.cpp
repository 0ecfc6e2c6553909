#include "quillaneicon.h"

#include "quillane.xpm"

QPixmap quillanePixmap()
{
    return QPixmap(quillane_xpm);
}

QIcon quillaneIcon()
{
    return QIcon(quillanePixmap());
}
