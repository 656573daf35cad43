#pragma once
// The program's pictures, drawn at run time so that no image files need to ship with it.
#include <QIcon>
#include <QPixmap>

namespace kx::mainwindow {

// The product logo, drawn to fill `size`.
QPixmap productLogo(QSize size);
// A round badge with one symbol on it, for the picture buttons of the window's header.
QIcon badgeIcon(QChar symbol, QColor colour);
// The program icon shown in the title bars.
QIcon programIcon();

}  // namespace kx::mainwindow
