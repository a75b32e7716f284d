#pragma once

#include <QFont>

namespace paysum {

// The program's fonts, asked for by family lists with Linux fallbacks.

// 新細明體, the proportional font of labels, captions and buttons.
QFont UiFont(int pointSize = 10);

// 細明體, a fixed-pitch font in which a Chinese character takes two ASCII columns.
QFont MingFont(int pointSize = 10);

// Courier New, for code and amount boxes.
QFont CourierFont(int pointSize = 10);

}  // namespace paysum
