#pragma once
// The pixel layout of the canvas surface and the sizes a surface may have. Platform-free.

#include <cstddef>
#include <cstdint>

#include "base/app_state.h"

// Mouse positions carry 16 signed bits per coordinate, so no side may pass 32767 pixels:
// a pixel beyond that could never be reached with the mouse.
constexpr int MaxCanvasSide = 32767;

// 1 when a surface of this size can be addressed: both sides from 1 to MaxCanvasSide.
// Typed paper sizes and the sizes of loaded pictures both pass through this rule.
int CanvasSizeIsAddressable(IntSize size);

// The surface is a bottom-up 32-bit DIB: row 0 (the top row) is stored last.
inline size_t CanvasPixelIndex(int x, int y, IntSize size) {
    return size_t(x) + size_t(size.h - 1 - y) * size_t(size.w);
}

// The canvas value of a decoded pixel of straight (not premultiplied) ARGB laid on white paper,
// as a person sees it: transparent parts show the paper.
uint32_t CanvasValueOverWhite(uint32_t argb);
