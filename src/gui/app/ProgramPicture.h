#pragma once

#include <QPixmap>

namespace paysum {

// The program's picture, for the main window, the About box and the window icon: a salary slip
// with a coin.
QPixmap ProgramPicture(int size);

}  // namespace paysum
