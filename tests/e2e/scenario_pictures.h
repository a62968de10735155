#pragma once
// Pictures the scenarios make, load and expect back, and the arithmetic of the view sizes
// the program shows them at.

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

const uint32_t Black = 0x000000, White = 0xFFFFFF;
const uint32_t SurroundYellow = 0xFFFFA0;

// Four flat quadrants, split at (width / 2, height / 2).
inline uint32_t QuadrantColour(int x, int y, int width, int height) {
    if (y < height / 2)
        return x < width / 2 ? 0xE03020u : 0x20A040u;
    return x < width / 2 ? 0x2040E0u : 0xF0D020u;
}

// Sixteen flat colours in bands of 10 x 10 pixels, with one-pixel details: a picture every
// lossless format keeps exactly.
inline uint32_t BlockColour(int x, int y) {
    static const uint32_t colours[16] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00,
                                         0x00FFFF, 0xFF00FF, 0x804020, 0x208040, 0x402080, 0x808080,
                                         0xC0C0C0, 0x123456, 0xFEDCBA, 0x7F7F00};
    if ((x * 7 + y * 3) % 23 == 0)
        return colours[(x + y) % 16]; // scattered single pixels
    return colours[(x / 10 + y / 10 * 3) % 16];
}

// A white sheet with a one-pixel black frame, as a new sheet is.
inline uint32_t SheetColour(int x, int y, int width, int height) {
    return x == 0 || y == 0 || x == width - 1 || y == height - 1 ? Black : White;
}

// The pixels of a captured picture (row by row, `width` wide) that are not the sheet of that
// size; -1 when the capture has another size.
inline int PixelsOffTheSheet(const std::vector<uint32_t>& seen, int width, int height) {
    if (seen.size() != size_t(width) * height)
        return -1;
    int off = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            off += seen[size_t(y) * width + x] != SheetColour(x, y, width, height);
    return off;
}

// The largest difference of one colour channel between two 0xRRGGBB colours.
inline int ChannelDifference(uint32_t a, uint32_t b) {
    int largest = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int d = std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
        largest = d > largest ? d : largest;
    }
    return largest;
}

// The on-screen size of a canvas at a zoom level: a step in is x 1.1 and a step out x 0.9,
// each truncated, always counted from the canvas's own size.
inline SIZE ViewSizeAt(SIZE canvas, int zoom) {
    SIZE view = canvas;
    for (int i = 0; i < zoom; ++i)
        view = SIZE{LONG(view.cx * 1.1), LONG(view.cy * 1.1)};
    for (int i = 0; i > zoom; --i)
        view = SIZE{LONG(view.cx * 0.9), LONG(view.cy * 0.9)};
    return view;
}
