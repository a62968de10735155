#include "base/centring.h"

IntRect CentredWindowRect(IntRect desktop, IntRect window) {
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int x = (desktop.right - width) / 2;
    int y = (desktop.bottom - height) / 2;
    return IntRect{x, y, x + width, y + height};
}
