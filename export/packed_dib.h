#pragma once
// The canvas as a device-independent bitmap of 24 bits per pixel, the form in which the
// clipboard carries a picture to other programs (CF_DIB): a 40-byte BITMAPINFOHEADER, then the
// rows from the bottom up, three bytes a pixel (blue, green, red), each row padded to 4 bytes.
// Without a fourth byte no reader can take the canvas's unused one for transparency.
// Platform-free.

#include <cstddef>
#include <cstdint>

#include "base/int_rect.h"

// Bytes of the whole block; 0 when a side is below 1 or the block would not fit in memory.
size_t PackedDibBytes(IntSize size);

// Writes the block for the canvas pixels (the bottom-up surface) into `out`, which holds
// PackedDibBytes(size) bytes.
void PackCanvasAsDib(const uint32_t* canvasPixels, IntSize size, uint8_t* out);
