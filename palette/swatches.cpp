#include "palette/swatches.h"

#include "palette/palette_layout.h"

namespace {

constexpr uint32_t Rgb(int r, int g, int b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

constexpr uint32_t White = Rgb(255, 255, 255);

} // namespace

// clang-format off
const uint32_t SwatchTable[SwatchRows][SwatchColumns] = {
    {Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(30, 30, 30), Rgb(60, 60, 60),
     Rgb(90, 90, 90), Rgb(120, 120, 120), Rgb(150, 150, 150), Rgb(180, 180, 180),
     Rgb(255, 0, 0), Rgb(210, 0, 0), Rgb(180, 0, 0), Rgb(150, 0, 0),
     Rgb(120, 0, 0), Rgb(90, 0, 0), Rgb(60, 0, 0), Rgb(30, 0, 0),
     Rgb(0, 255, 0), Rgb(0, 210, 0), Rgb(0, 180, 0), Rgb(0, 150, 0),
     Rgb(0, 120, 0), Rgb(0, 90, 0), Rgb(0, 60, 0), Rgb(0, 30, 0),
     Rgb(255, 0, 255), Rgb(210, 0, 210), Rgb(180, 0, 180), Rgb(150, 0, 150),
     Rgb(120, 0, 120), Rgb(90, 0, 90), Rgb(60, 0, 60), Rgb(30, 0, 30)},
    {Rgb(0, 0, 255), Rgb(0, 0, 210), Rgb(0, 0, 180), Rgb(0, 0, 150),
     Rgb(0, 0, 120), Rgb(0, 0, 90), Rgb(0, 0, 60), Rgb(0, 0, 30),
     Rgb(255, 255, 0), Rgb(210, 210, 0), Rgb(180, 180, 0), Rgb(150, 150, 0),
     Rgb(120, 120, 0), Rgb(90, 90, 0), Rgb(60, 60, 0), Rgb(30, 30, 0),
     Rgb(0, 255, 255), Rgb(0, 210, 210), Rgb(0, 180, 180), Rgb(0, 150, 150),
     Rgb(0, 120, 120), Rgb(0, 90, 90), Rgb(0, 60, 60), Rgb(0, 30, 30),
     Rgb(255, 30, 0), Rgb(255, 60, 0), Rgb(255, 90, 0), Rgb(255, 120, 0),
     Rgb(255, 150, 0), Rgb(255, 180, 0), Rgb(255, 210, 0), Rgb(255, 230, 0)},
    {Rgb(255, 30, 30), Rgb(255, 60, 60), Rgb(255, 90, 90), Rgb(255, 120, 120),
     Rgb(255, 150, 150), Rgb(255, 180, 180), Rgb(30, 255, 30), Rgb(60, 255, 60),
     Rgb(90, 255, 90), Rgb(120, 255, 120), Rgb(150, 255, 150), Rgb(180, 255, 180),
     Rgb(255, 30, 255), Rgb(255, 60, 255), Rgb(255, 90, 255), Rgb(255, 120, 255),
     Rgb(255, 150, 255), Rgb(255, 180, 255), Rgb(30, 30, 255), Rgb(60, 60, 255),
     Rgb(90, 90, 255), Rgb(120, 120, 255), Rgb(150, 150, 255), Rgb(180, 180, 255),
     Rgb(255, 255, 30), Rgb(255, 255, 60), Rgb(255, 255, 90), Rgb(255, 255, 120),
     Rgb(255, 255, 150), Rgb(255, 255, 180), Rgb(30, 0, 255), Rgb(60, 0, 255)},
    {Rgb(30, 255, 255), Rgb(60, 255, 255), Rgb(90, 255, 255), Rgb(120, 255, 255),
     Rgb(150, 255, 255), Rgb(180, 255, 255), Rgb(255, 0, 30), Rgb(255, 0, 60),
     Rgb(255, 0, 90), Rgb(255, 0, 120), Rgb(255, 0, 150), Rgb(255, 0, 180),
     Rgb(30, 255, 0), Rgb(60, 255, 0), Rgb(90, 255, 0), Rgb(120, 255, 0),
     Rgb(150, 255, 0), Rgb(180, 255, 0), Rgb(0, 255, 30), Rgb(0, 255, 60),
     Rgb(0, 255, 90), Rgb(0, 255, 120), Rgb(0, 255, 150), Rgb(0, 255, 180),
     Rgb(0, 30, 255), Rgb(0, 60, 255), Rgb(0, 90, 255), Rgb(0, 120, 255),
     Rgb(0, 150, 255), Rgb(0, 180, 255), Rgb(90, 0, 255), Rgb(120, 0, 255)},
    {White, White, White, White, White, White, White, White,
     White, White, White, White, White, White, White, White,
     White, White, White, White, White, White, White, White,
     White, White, White, White, White, White, White, White},
};
// clang-format on

IntRect SwatchCellRect(int row, int column) {
    const IntRect first = AppState::swatchCellRect;
    int dx = SwatchPitch * column;
    int dy = SwatchPitch * row;
    return IntRect{first.left + dx, first.top + dy, first.right + dx, first.bottom + dy};
}

SwatchHit FindSwatchAt(int x, int y) {
    SwatchHit hit = {0, 0, 0};
    for (int row = 0; row < SwatchRows; ++row) {
        for (int column = 0; column < SwatchColumns; ++column) {
            IntRect cell = SwatchCellRect(row, column);
            if (cell.left <= x && x <= cell.right && cell.top <= y && y <= cell.bottom)
                hit = SwatchHit{1, row, column};
        }
    }
    return hit;
}

int HitsColourExchange(int x, int y) {
    const IntRect square = SecondaryDiscRect;
    return square.left <= x && x <= square.right && square.top <= y && y <= square.bottom;
}
