#pragma once
// A picture on the clipboard as a device-independent bitmap (the CF_DIB and CF_DIBV5
// formats): one memory block holding an info header, the masks of a 40-byte header with bit
// fields, the colour table and the pixel rows, and after them, in a V5 block, perhaps a colour
// profile, which is ignored. Any program can put anything there, so the block is read with
// the care of a file. Platform-free.

#include <cstddef>
#include <cstdint>

#include "base/int_rect.h"

enum class ClipboardAlpha : int {
    None = 0,       // opaque
    FromMask,       // the header's alpha mask gives each pixel's alpha
    WhenAnyNonZero, // 32 bits without masks: the fourth byte, unless it is 0 everywhere
};

struct ClipboardDib {
    IntSize size; // width and height of the picture, both 1..MaxCanvasSide
    int bitCount; // 1, 4, 8, 16, 24 or 32
    int topDown;  // rows from the top (a negative height), else from the bottom
    // Red, green, blue and alpha of a 16- or 32-bit pixel value.
    uint32_t masks[4];
    ClipboardAlpha alpha;
    size_t colourTableAt;
    size_t colourCount; // entries in the colour table of 1 to 8 bits per pixel
    size_t pixelsAt;
    size_t rowBytes; // padded to four bytes
};

// 1 when the block holds a bitmap the program can take: an info header of a known size,
// 1, 4, 8, 16, 24 or 32 bits per pixel, BI_RGB or bit fields, sides from 1 to
// MaxCanvasSide (base/canvas_layout.h), and every byte the header promises (masks, colour
// table, every row) inside `count`, all sizes computed without overflow. 0 otherwise:
// compressed (RLE, JPEG, PNG inside a DIB), planes other than 1, a size of 0 or above
// 32767, a header or table or rows that run past the end.
int ReadClipboardDib(const uint8_t* bytes, size_t count, ClipboardDib* dib);

// Fills the canvas pixels of dib.size (the bottom-up layout of base/canvas_layout.h,
// CanvasPixelIndex; 0xFF000000 | RGB) from an accepted block. Parts with alpha come out
// over white paper exactly as loaded PNGs do (CanvasValueOverWhite, straight alpha). Alpha
// counts when the header has an alpha mask (V4/V5, BI_ALPHABITFIELDS); for a 32-bit BI_RGB
// block the fourth byte counts only when some pixel has it non-zero (screenshots leave it 0
// everywhere, which means opaque). Colour indices past the table give black. Never reads
// outside `count`.
void DecodeClipboardDib(const uint8_t* bytes, size_t count, const ClipboardDib& dib,
                        uint32_t* canvasPixels);
