#include "export/packed_dib.h"

#include <cstring>

namespace {

const size_t InfoHeaderBytes = 40;

size_t RowBytes(int width) {
    return (size_t(width) * 3 + 3) / 4 * 4;
}

void PutLittleEndian(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        at[i] = uint8_t(value >> (8 * i));
}

} // namespace

size_t PackedDibBytes(IntSize size) {
    if (size.w < 1 || size.h < 1)
        return 0;
    const uint64_t bytes =
        uint64_t(InfoHeaderBytes) + uint64_t(RowBytes(size.w)) * uint64_t(size.h);
    // The header's image size field, and a block of the clipboard, hold 32 bits.
    if (bytes > UINT32_MAX || bytes > uint64_t(SIZE_MAX))
        return 0;
    return size_t(bytes);
}

void PackCanvasAsDib(const uint32_t* canvasPixels, IntSize size, uint8_t* out) {
    const size_t rowBytes = RowBytes(size.w);
    std::memset(out, 0, InfoHeaderBytes);
    PutLittleEndian(out + 0, uint32_t(InfoHeaderBytes), 4);            // biSize
    PutLittleEndian(out + 4, uint32_t(size.w), 4);                     // biWidth
    PutLittleEndian(out + 8, uint32_t(size.h), 4);                     // biHeight: bottom-up
    PutLittleEndian(out + 12, 1, 2);                                   // biPlanes
    PutLittleEndian(out + 14, 24, 2);                                  // biBitCount
    PutLittleEndian(out + 20, uint32_t(rowBytes * size_t(size.h)), 4); // biSizeImage
    // The surface's rows are stored bottom-up too, so memory row r is the block's row r.
    uint8_t* row = out + InfoHeaderBytes;
    for (int r = 0; r < size.h; ++r, row += rowBytes) {
        const uint32_t* in = canvasPixels + size_t(r) * size_t(size.w);
        for (int x = 0; x < size.w; ++x) {
            row[3 * x] = uint8_t(in[x]);
            row[3 * x + 1] = uint8_t(in[x] >> 8);
            row[3 * x + 2] = uint8_t(in[x] >> 16);
        }
        std::memset(row + 3 * size_t(size.w), 0, rowBytes - 3 * size_t(size.w));
    }
}
