#include "base/canvas_layout.h"

int CanvasSizeIsAddressable(IntSize size) {
    if (size.w < 1 || size.h < 1)
        return 0;
    if (size.w > MaxCanvasSide || size.h > MaxCanvasSide)
        return 0;
    return 1;
}

uint32_t CanvasValueOverWhite(uint32_t argb) {
    const uint32_t alpha = argb >> 24;
    uint32_t value = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t channel = (argb >> shift) & 0xFF;
        value |= ((channel * alpha + 255 * (255 - alpha) + 127) / 255) << shift;
    }
    return value;
}
