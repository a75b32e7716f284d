#pragma once

#include <QIcon>
#include <QPixmap>

namespace paysum {

// The program's picture, for the main window and the About box: a salary slip with a coin.
QPixmap ProgramPicture(int size);

// The window icon: the icon the package installs into the icon theme, or where the theme lacks
// it (a build tree), the same icon's sizes built into the program.
QIcon ProgramIcon();

}  // namespace paysum
