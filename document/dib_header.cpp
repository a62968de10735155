#include "document/dib_header.h"

#include "base/canvas_layout.h"

namespace {

unsigned Le16(const uint8_t* p) {
    return p[0] | unsigned(p[1]) << 8;
}

uint32_t Le32(const uint8_t* p) {
    return Le16(p) | uint32_t(Le16(p + 2)) << 16;
}

int KnownInfoSize(uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

} // namespace

int ReadDibHeader(const uint8_t* bytes, size_t count, size_t at, DibHeader* header) {
    *header = DibHeader{};
    if (!bytes || at > count || count - at < 4)
        return 0;
    const uint8_t* info = bytes + at;
    const size_t available = count - at;
    const uint32_t size = Le32(info);
    int64_t width, height;
    header->headerBytes = size;
    header->paletteEntryBytes = 4;
    if (size == 12 && available >= 12) { // OS/2 core header: unsigned 16-bit sides
        width = Le16(info + 4);
        height = Le16(info + 6);
        header->planes = Le16(info + 8);
        header->bitCount = Le16(info + 10);
        header->paletteEntryBytes = 3;
    } else if (KnownInfoSize(size) && available >= size) {
        width = int32_t(Le32(info + 4));
        height = int32_t(Le32(info + 8));
        header->planes = Le16(info + 12);
        header->bitCount = Le16(info + 14);
        header->compression = Le32(info + 16);
        header->coloursUsed = Le32(info + 32);
        const bool fields =
            header->compression == DibBitFields || header->compression == DibAlphaBitFields;
        // From 52 bytes on the header holds the masks; a 40-byte one is followed by three
        // (bit fields) or four (alpha bit fields).
        unsigned maskCount = size >= 56 ? 4 : size == 52 ? 3 : 0;
        if (size == 40 && fields) {
            maskCount = header->compression == DibBitFields ? 3 : 4;
            header->maskBytes = 4 * maskCount;
        }
        if (available < 40 + 4 * size_t(maskCount))
            return 0;
        for (unsigned i = 0; i < maskCount; ++i)
            header->masks[i] = Le32(info + 40 + 4 * i);
    } else {
        return 0;
    }
    header->topDown = height < 0;
    if (height < 0)
        height = -height;
    if (width < 1 || height < 1 || width > MaxCanvasSide || height > MaxCanvasSide)
        return 0;
    header->width = int(width);
    header->height = int(height);
    if (header->bitCount >= 1 && header->bitCount <= 8) {
        const uint64_t most = uint64_t(1) << header->bitCount;
        header->paletteEntries = header->coloursUsed ? header->coloursUsed : most;
        if (header->paletteEntries > most)
            return 0;
    }
    return 1;
}

int DibPixelsUncompressed(const DibHeader& header, int alphaBitFields) {
    const unsigned bits = header.bitCount;
    if (header.compression == DibRgb)
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (header.compression == DibBitFields ||
        (alphaBitFields && header.compression == DibAlphaBitFields))
        return bits == 16 || bits == 32;
    return 0;
}

uint64_t DibRowBytes(const DibHeader& header) {
    return (uint64_t(header.width) * header.bitCount + 31) / 32 * 4;
}
