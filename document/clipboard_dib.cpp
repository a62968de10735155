#include "document/clipboard_dib.h"

#include "base/canvas_layout.h"
#include "document/dib_header.h"

namespace {

uint32_t Le32(const uint8_t* p) {
    return p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A mask, where its lowest bit lies and its largest value there; none for an empty mask.
struct MaskScale {
    uint32_t mask;
    int shift;
    uint64_t most;
};

MaskScale ScaleOf(uint32_t mask) {
    MaskScale scale = {mask, 0, 0};
    while (mask && !((mask >> scale.shift) & 1))
        ++scale.shift;
    scale.most = mask >> scale.shift;
    return scale;
}

// The channel a mask selects, scaled to 0..255; 0 for an empty mask.
uint32_t Channel(uint32_t value, const MaskScale& scale) {
    if (!scale.most)
        return 0;
    const uint64_t channel = (value & scale.mask) >> scale.shift;
    if (scale.most == 255) // eight bits: as it is
        return uint32_t(channel);
    return uint32_t((channel * 255 + scale.most / 2) / scale.most);
}

// The colour of one pixel of a row, as straight ARGB.
uint32_t PixelArgb(const uint8_t* row, int x, const ClipboardDib& dib, const MaskScale* scales,
                   const uint8_t* table, bool alpha) {
    switch (dib.bitCount) {
    case 24:
        return 0xFF000000u | row[3 * x] | uint32_t(row[3 * x + 1]) << 8 |
               uint32_t(row[3 * x + 2]) << 16;
    case 16:
    case 32: {
        const uint32_t value = dib.bitCount == 16 ? uint32_t(row[2 * x] | row[2 * x + 1] << 8)
                                                  : Le32(row + 4 * size_t(x));
        const uint32_t a = alpha ? Channel(value, scales[3]) : 255;
        return a << 24 | Channel(value, scales[0]) << 16 | Channel(value, scales[1]) << 8 |
               Channel(value, scales[2]);
    }
    default: { // an index into the colour table, blue, green, red and a byte that is ignored
        const int perByte = 8 / dib.bitCount;
        const int shift = 8 - dib.bitCount * (x % perByte + 1);
        const size_t index = (row[x / perByte] >> shift) & ((1u << dib.bitCount) - 1);
        if (index >= dib.colourCount)
            return 0xFF000000u;
        const uint8_t* entry = table + 4 * index;
        return 0xFF000000u | entry[0] | uint32_t(entry[1]) << 8 | uint32_t(entry[2]) << 16;
    }
    }
}

// 32 bits without masks: screenshots leave the fourth byte 0 everywhere, which means opaque.
bool AnyFourthByte(const uint8_t* bytes, const ClipboardDib& dib) {
    const size_t pixelBytes = dib.rowBytes * size_t(dib.size.h);
    for (size_t at = 3; at < pixelBytes; at += 4)
        if (bytes[dib.pixelsAt + at])
            return true;
    return false;
}

// What DecodeClipboardDib relies on: a record ReadClipboardDib could have made for the block.
bool DibFitsBlock(const ClipboardDib& dib, size_t count) {
    const int bits = dib.bitCount;
    if (!CanvasSizeIsAddressable(dib.size) ||
        !(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32) ||
        dib.rowBytes < (uint64_t(dib.size.w) * unsigned(bits) + 7) / 8 || dib.pixelsAt > count ||
        uint64_t(dib.rowBytes) * uint64_t(dib.size.h) > count - dib.pixelsAt)
        return false;
    return !dib.colourCount || (dib.colourTableAt <= dib.pixelsAt &&
                                dib.colourCount <= (dib.pixelsAt - dib.colourTableAt) / 4);
}

} // namespace

int ReadClipboardDib(const uint8_t* bytes, size_t count, ClipboardDib* dib) {
    *dib = ClipboardDib{};
    DibHeader header;
    if (!ReadDibHeader(bytes, count, 0, &header) || header.headerBytes == 12 ||
        header.planes != 1 || !DibPixelsUncompressed(header, 1))
        return 0;
    // After the header and its masks comes the colour table: the palette of 1 to 8 bits per
    // pixel, or, with more bits, the colours an application says it used.
    const uint64_t tableEntries =
        header.bitCount <= 8 ? header.paletteEntries : uint64_t(header.coloursUsed);
    const uint64_t tableAt = uint64_t(header.headerBytes) + header.maskBytes;
    const uint64_t pixelsAt = tableAt + 4 * tableEntries;
    const uint64_t rowBytes = DibRowBytes(header);
    if (pixelsAt > count || rowBytes * uint64_t(header.height) > count - pixelsAt)
        return 0;

    dib->size = IntSize{header.width, header.height};
    dib->bitCount = int(header.bitCount);
    dib->topDown = header.topDown;
    dib->colourTableAt = size_t(tableAt);
    dib->colourCount = header.bitCount <= 8 ? size_t(tableEntries) : 0;
    dib->pixelsAt = size_t(pixelsAt);
    dib->rowBytes = size_t(rowBytes);
    if (header.compression == DibRgb) {
        const uint32_t red = header.bitCount == 16 ? 0x7C00 : 0xFF0000;
        const uint32_t green = header.bitCount == 16 ? 0x03E0 : 0xFF00;
        const uint32_t blue = header.bitCount == 16 ? 0x001F : 0xFF;
        const uint32_t alpha = header.bitCount == 32 ? 0xFF000000u : 0;
        dib->masks[0] = red;
        dib->masks[1] = green;
        dib->masks[2] = blue;
        dib->masks[3] = alpha;
        dib->alpha = alpha ? ClipboardAlpha::WhenAnyNonZero : ClipboardAlpha::None;
    } else {
        for (int i = 0; i < 4; ++i)
            dib->masks[i] = header.masks[i];
        dib->alpha = header.masks[3] ? ClipboardAlpha::FromMask : ClipboardAlpha::None;
    }
    return 1;
}

void DecodeClipboardDib(const uint8_t* bytes, size_t count, const ClipboardDib& dib,
                        uint32_t* canvasPixels) {
    if (!bytes || !canvasPixels || !DibFitsBlock(dib, count))
        return;
    const bool alpha = dib.alpha == ClipboardAlpha::FromMask ||
                       (dib.alpha == ClipboardAlpha::WhenAnyNonZero && AnyFourthByte(bytes, dib));
    const uint8_t* table = bytes + dib.colourTableAt;
    const MaskScale scales[4] = {ScaleOf(dib.masks[0]), ScaleOf(dib.masks[1]),
                                 ScaleOf(dib.masks[2]), ScaleOf(dib.masks[3])};
    for (int y = 0; y < dib.size.h; ++y) {
        const int storedRow = dib.topDown ? y : dib.size.h - 1 - y;
        const uint8_t* row = bytes + dib.pixelsAt + size_t(storedRow) * dib.rowBytes;
        uint32_t* target = canvasPixels + CanvasPixelIndex(0, y, dib.size);
        for (int x = 0; x < dib.size.w; ++x) {
            const uint32_t argb = PixelArgb(row, x, dib, scales, table, alpha);
            target[x] = alpha ? 0xFF000000u | CanvasValueOverWhite(argb) : argb;
        }
    }
}
