#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own 32 x 32, 16-colour icon: the About window's picture and
// the main window's window icon. Needs a QGuiApplication.
QPixmap quillanePixmap();
QIcon quillaneIcon();
