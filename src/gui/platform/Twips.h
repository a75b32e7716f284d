#pragma once

#include <QRect>

namespace paysum {

// Window positions and sizes are written in twips, 15 to a pixel.
constexpr int Px(int twips) {
    return twips / 15;
}

constexpr QRect TwipsRect(int x, int y, int width, int height) {
    return QRect(Px(x), Px(y), Px(width), Px(height));
}

}  // namespace paysum
