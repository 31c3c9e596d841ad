#pragma once
// The program's icon: a house over a worksheet, drawn in code so that the
// window and the installed desktop entry show the same picture without an
// image file to find at run time.

#include <QIcon>
#include <QImage>

namespace zrv::ui {

// The icon drawn on a transparent square of `size` pixels.
QImage DrawAppIcon(int size);

// The icon at the sizes a window title bar and a task bar ask for.
QIcon AppIcon();

}  // namespace zrv::ui
