#pragma once
#include <cstdint>

// A colour as the user picks it: three ints, each 0 to 255.
struct RgbTriple {
    int r;
    int g;
    int b;
};

inline bool operator==(RgbTriple a, RgbTriple b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
inline bool operator!=(RgbTriple a, RgbTriple b) {
    return !(a == b);
}

// GDI colour value (COLORREF): red in the lowest byte. Only the low byte of each
// component counts.
inline uint32_t ToColorRef(RgbTriple c) {
    return (uint32_t(c.r) & 0xFF) | ((uint32_t(c.g) & 0xFF) << 8) | ((uint32_t(c.b) & 0xFF) << 16);
}

// 32-bit canvas pixel: blue in the lowest byte, alpha 255.
inline uint32_t ToCanvasPixel(RgbTriple c) {
    return 0xFF000000u | ((uint32_t(c.r) & 0xFF) << 16) | ((uint32_t(c.g) & 0xFF) << 8) |
           (uint32_t(c.b) & 0xFF);
}

inline RgbTriple FromColorRef(uint32_t colour) {
    return RgbTriple{int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)};
}

inline RgbTriple FromCanvasPixel(uint32_t pixel) {
    return RgbTriple{int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)};
}
