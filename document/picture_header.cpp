#include "document/picture_header.h"

#include <cstring>

#include "base/canvas_layout.h"
#include "document/dib_header.h"

namespace {

// The file's bytes, read only through bounds-checked accessors.
struct FileBytes {
    const uint8_t* data;
    size_t count;

    bool Has(uint64_t at, uint64_t length) const { return at <= count && length <= count - at; }
    unsigned Le16(size_t at) const { return data[at] | unsigned(data[at + 1]) << 8; }
    uint32_t Le32(size_t at) const { return Le16(at) | uint32_t(Le16(at + 2)) << 16; }
    unsigned Be16(size_t at) const { return unsigned(data[at]) << 8 | data[at + 1]; }
    uint32_t Be32(size_t at) const { return uint32_t(Be16(at)) << 16 | Be16(at + 2); }
    bool StartsWith(const char* signature, size_t length) const {
        return Has(0, length) && std::memcmp(data, signature, length) == 0;
    }
};

uint64_t CeilDiv(uint64_t value, uint64_t divisor) {
    return (value + divisor - 1) / divisor;
}

int SidesAddressable(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= MaxCanvasSide && height <= MaxCanvasSide;
}

// The most picture bytes that compressed data can expand to, per byte: deflate's longest match
// (258 bytes) costs at least two bits; an LZW code of at least 9 bits yields at most 4096
// bytes; a PackBits run of two bytes yields at most 128.
const uint64_t DeflateExpansion = 1032;
const uint64_t LzwExpansion = 4096 * 8 / 9 + 1;
const uint64_t PackBitsExpansion = 64;

PictureKind SignatureKind(const FileBytes& file) {
    if (file.StartsWith("BM", 2))
        return PictureKind::Bmp;
    if (file.StartsWith("\xFF\xD8\xFF", 3))
        return PictureKind::Jpeg;
    if (file.StartsWith("GIF87a", 6) || file.StartsWith("GIF89a", 6))
        return PictureKind::Gif;
    if (file.StartsWith("\x89PNG\r\n\x1A\n", 8))
        return PictureKind::Png;
    if (file.StartsWith("II*\0", 4) || file.StartsWith("MM\0*", 4))
        return PictureKind::Tiff;
    if (file.StartsWith("\0\0\1\0", 4))
        return PictureKind::Icon;
    if (file.StartsWith("\0\0\2\0", 4))
        return PictureKind::Cursor;
    if (file.StartsWith("\xD7\xCD\xC6\x9A", 4) || file.StartsWith("\1\0\x09\0\0\3", 6) ||
        file.StartsWith("\2\0\x09\0\0\3", 6))
        return PictureKind::Metafile;
    if (file.StartsWith("\1\0\0\0", 4) && file.Has(40, 4) &&
        std::memcmp(file.data + 40, " EMF", 4) == 0)
        return PictureKind::EnhancedMetafile;
    return PictureKind::Unknown;
}

// --- BMP ---------------------------------------------------------------------------------

// A run-length coded bitmap is complete when its codes set every pixel of every row before
// the end-of-bitmap code or the end of the file: a delta, or a line or bitmap ended early,
// would leave pixels the file never gives.
int RleSetsEveryPixel(const FileBytes& file, size_t at, int64_t width, int64_t height,
                      int bitsPerPixel) {
    int64_t x = 0, y = 0;
    while (y < height) {
        if (!file.Has(at, 2))
            return 0;
        unsigned first = file.data[at], second = file.data[at + 1];
        at += 2;
        if (first > 0) { // a run of one value
            x += first;
        } else if (second == 0 || second == 1) { // end of line, end of bitmap
            if (x < width)
                return 0;
            x = 0;
            ++y;
            if (second == 1)
                return y == height;
        } else if (second == 2) { // delta: skips pixels
            return 0;
        } else { // literal pixels, padded to a 16-bit boundary
            uint64_t bytes = bitsPerPixel == 8 ? second : CeilDiv(second, 2);
            at += size_t((bytes + 1) & ~uint64_t(1));
            if (at > file.count)
                return 0;
            x += second;
        }
        if (x >= width && y == height - 1 && !file.Has(at, 2))
            return 1; // the last row is full and the file ends without its closing codes
    }
    return 1;
}

int ReadBmp(const FileBytes& file, IntSize* size) {
    DibHeader dib;
    if (!file.Has(0, 18) || !ReadDibHeader(file.data, file.count, 14, &dib))
        return 0;
    *size = IntSize{dib.width, dib.height};
    const bool rle = dib.compression == DibRle8 || dib.compression == DibRle4;
    if (rle) {
        if (dib.bitCount != (dib.compression == DibRle8 ? 8u : 4u) || dib.topDown)
            return 0;
    } else if (!DibPixelsUncompressed(dib, 0)) {
        return 0; // embedded JPEG or PNG, and anything unknown
    }
    const uint64_t dataOffset = file.Le32(10);
    const uint64_t tablesEnd =
        14 + uint64_t(dib.headerBytes) + dib.maskBytes + dib.paletteEntries * dib.paletteEntryBytes;
    if (tablesEnd > dataOffset || !file.Has(dataOffset, 0))
        return 0;
    if (rle)
        return RleSetsEveryPixel(file, size_t(dataOffset), dib.width, dib.height,
                                 int(dib.bitCount));
    return file.Has(dataOffset, DibRowBytes(dib) * uint64_t(dib.height));
}

// --- JPEG --------------------------------------------------------------------------------

struct JpegComponent {
    unsigned id, h, v;
};

struct JpegFrame {
    int64_t width, height;
    unsigned componentCount;
    JpegComponent components[4];
    unsigned hMax, vMax;
};

// Huffman-coded frames of 8-bit samples: baseline, extended and progressive. Lossless,
// hierarchical and arithmetic-coded frames are refused: decoders differ in which of them they
// take, and the size check below holds only for Huffman codes.
int ReadJpegFrame(const FileBytes& file, size_t at, size_t length, JpegFrame* frame) {
    if (length < 6 || file.data[at] != 8)
        return 0;
    frame->height = file.Be16(at + 1);
    frame->width = file.Be16(at + 3);
    frame->componentCount = file.data[at + 5];
    if (frame->componentCount < 1 || frame->componentCount > 4 ||
        length != 6 + 3 * size_t(frame->componentCount))
        return 0;
    frame->hMax = frame->vMax = 1;
    for (unsigned i = 0; i < frame->componentCount; ++i) {
        const uint8_t* c = file.data + at + 6 + 3 * i;
        JpegComponent& component = frame->components[i];
        component = JpegComponent{c[0], unsigned(c[1] >> 4), unsigned(c[1] & 15)};
        if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4)
            return 0;
        frame->hMax = component.h > frame->hMax ? component.h : frame->hMax;
        frame->vMax = component.v > frame->vMax ? component.v : frame->vMax;
    }
    return 1;
}

// The 8 x 8 blocks that a scan over the listed components codes.
int BlocksInScan(const FileBytes& file, size_t at, size_t length, const JpegFrame& frame,
                 uint64_t* blocks) {
    if (length < 1)
        return 0;
    unsigned count = file.data[at];
    if (count < 1 || count > frame.componentCount || length < 1 + 2 * size_t(count) + 3)
        return 0;
    uint64_t perMcu = 0;
    const JpegComponent* only = nullptr;
    for (unsigned i = 0; i < count; ++i) {
        unsigned id = file.data[at + 1 + 2 * i];
        const JpegComponent* found = nullptr;
        for (unsigned k = 0; k < frame.componentCount; ++k)
            if (frame.components[k].id == id)
                found = &frame.components[k];
        if (!found)
            return 0;
        perMcu += found->h * found->v;
        only = found;
    }
    if (count == 1) { // a single component is coded block by block, not in MCUs
        uint64_t w = CeilDiv(uint64_t(frame.width) * only->h, frame.hMax);
        uint64_t h = CeilDiv(uint64_t(frame.height) * only->v, frame.vMax);
        *blocks = CeilDiv(w, 8) * CeilDiv(h, 8);
    } else {
        *blocks = CeilDiv(uint64_t(frame.width), 8 * frame.hMax) *
                  CeilDiv(uint64_t(frame.height), 8 * frame.vMax) * perMcu;
    }
    return 1;
}

// Skips the entropy-coded data that follows a scan header; `at` ends on the next marker.
// 0 when the file ends first.
int SkipEntropyCodedData(const FileBytes& file, size_t* at, uint64_t* dataBytes) {
    size_t i = *at;
    uint64_t bytes = 0;
    while (i < file.count) {
        if (file.data[i] != 0xFF) {
            ++i;
            ++bytes;
            continue;
        }
        if (i + 1 >= file.count)
            return 0;
        unsigned next = file.data[i + 1];
        if (next == 0x00) { // a stuffed 0xFF data byte
            i += 2;
            ++bytes;
        } else if (next >= 0xD0 && next <= 0xD7) { // restart marker
            i += 2;
        } else if (next == 0xFF) { // fill byte
            ++i;
        } else {
            *at = i;
            *dataBytes = bytes;
            return 1;
        }
    }
    return 0;
}

// Walks the marker segments from the start of image to the end of image. APPn and other
// segments are skipped by their lengths, so thumbnails inside them are never mistaken for
// the picture. Every block of the first scan needs at least one bit for its DC code, so a
// frame that needs more blocks than the first scan has bits cannot be complete; a file that
// ends before its end-of-image marker is cut short.
int ReadJpeg(const FileBytes& file, IntSize* size) {
    JpegFrame frame = {};
    bool haveFrame = false, haveScan = false;
    size_t at = 2;
    for (;;) {
        if (!file.Has(at, 2) || file.data[at] != 0xFF)
            return 0;
        while (file.Has(at, 1) && file.data[at] == 0xFF)
            ++at;
        if (!file.Has(at, 1))
            return 0;
        unsigned marker = file.data[at++];
        if (marker == 0xD9) // end of image
            return haveScan;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a segment
        if (marker == 0xD8 || marker == 0x00 || !file.Has(at, 2))
            return 0;
        size_t length = file.Be16(at);
        if (length < 2 || !file.Has(at, length))
            return 0;
        const size_t body = at + 2, bodyLength = length - 2;
        at += length;
        bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (haveFrame || marker > 0xC2 || !ReadJpegFrame(file, body, bodyLength, &frame) ||
                !SidesAddressable(frame.width, frame.height))
                return 0;
            haveFrame = true;
            *size = IntSize{int(frame.width), int(frame.height)};
        } else if (marker == 0xDA) { // start of scan
            uint64_t blocks = 0, dataBytes = 0;
            if (!haveFrame || !BlocksInScan(file, body, bodyLength, frame, &blocks) ||
                !SkipEntropyCodedData(file, &at, &dataBytes))
                return 0;
            if (!haveScan && blocks > dataBytes * 8)
                return 0;
            haveScan = true;
        }
    }
}

// --- GIF ---------------------------------------------------------------------------------

// Skips a run of data sub-blocks up to and including its terminator.
int SkipSubBlocks(const FileBytes& file, size_t* at, uint64_t* dataBytes) {
    uint64_t bytes = 0;
    for (;;) {
        if (!file.Has(*at, 1))
            return 0;
        unsigned length = file.data[(*at)++];
        if (length == 0)
            break;
        if (!file.Has(*at, length))
            return 0;
        *at += length;
        bytes += length;
    }
    *dataBytes = bytes;
    return 1;
}

size_t ColourTableBytes(unsigned flags) {
    return flags & 0x80 ? size_t(3) << ((flags & 7) + 1) : 0;
}

// The picture is the logical screen, and its first image must cover all of it: how decoders
// fill a screen around a smaller image differs between systems.
int ReadGif(const FileBytes& file, IntSize* size) {
    if (!file.Has(0, 13))
        return 0;
    const int width = int(file.Le16(6)), height = int(file.Le16(8));
    if (!SidesAddressable(width, height))
        return 0;
    *size = IntSize{width, height};
    size_t at = 13 + ColourTableBytes(file.data[10]);
    for (;;) {
        if (!file.Has(at, 1))
            return 0;
        unsigned introducer = file.data[at++];
        uint64_t dataBytes = 0;
        if (introducer == 0x21) { // extension: label, then sub-blocks
            ++at;
            if (!SkipSubBlocks(file, &at, &dataBytes))
                return 0;
            continue;
        }
        if (introducer != 0x2C || !file.Has(at, 10))
            return 0;
        const unsigned left = file.Le16(at), top = file.Le16(at + 2);
        const int imageWidth = int(file.Le16(at + 4)), imageHeight = int(file.Le16(at + 6));
        at += 9 + ColourTableBytes(file.data[at + 8]);
        if (left != 0 || top != 0 || imageWidth != width || imageHeight != height ||
            !file.Has(at, 1))
            return 0;
        const unsigned minimumCodeSize = file.data[at++];
        if (minimumCodeSize < 2 || minimumCodeSize > 8 || !SkipSubBlocks(file, &at, &dataBytes))
            return 0;
        // Every code is at least minimumCodeSize + 1 bits and yields at most 4096 pixels.
        uint64_t codes = dataBytes * 8 / (minimumCodeSize + 1);
        return uint64_t(width) * uint64_t(height) <= codes * 4096;
    }
}

// --- PNG ---------------------------------------------------------------------------------

int PngDepthAllowed(unsigned colourType, unsigned depth) {
    switch (colourType) {
    case 0: // grey
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: // palette
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: // RGB
    case 4: // grey and alpha
    case 6: // RGBA
        return depth == 8 || depth == 16;
    default:
        return 0;
    }
}

unsigned PngSamples(unsigned colourType) {
    static const unsigned samples[] = {1, 0, 3, 1, 2, 0, 4};
    return samples[colourType];
}

// Every chunk must be whole with a matching CRC, up to IEND; the compressed image data must be
// enough for the declared size at deflate's highest ratio.
int ReadPng(const FileBytes& file, IntSize* size) {
    if (!file.Has(8, 8 + 13 + 4) || file.Be32(8) != 13 || std::memcmp(file.data + 12, "IHDR", 4))
        return 0;
    const int64_t width = file.Be32(16), height = file.Be32(20);
    const unsigned depth = file.data[24], colourType = file.data[25];
    if (!SidesAddressable(width, height) || !PngDepthAllowed(colourType, depth) ||
        file.data[26] != 0 || file.data[27] != 0 || file.data[28] > 1)
        return 0;
    *size = IntSize{int(width), int(height)};
    uint64_t imageDataBytes = 0;
    size_t at = 8;
    for (;;) {
        if (!file.Has(at, 12))
            return 0;
        const uint32_t length = file.Be32(at);
        if (length > 0x7FFFFFFFu || !file.Has(at + 8, uint64_t(length) + 4))
            return 0;
        const uint8_t* type = file.data + at + 4;
        if (Crc32(0, type, 4 + size_t(length)) != file.Be32(at + 8 + length))
            return 0;
        if (std::memcmp(type, "IDAT", 4) == 0)
            imageDataBytes += length;
        at += 12 + size_t(length);
        if (std::memcmp(type, "IEND", 4) == 0)
            break;
    }
    const uint64_t rowBytes = CeilDiv(uint64_t(width) * depth * PngSamples(colourType), 8);
    return imageDataBytes > 0 && uint64_t(height) * rowBytes <= imageDataBytes * DeflateExpansion;
}

// --- TIFF --------------------------------------------------------------------------------

struct TiffReader {
    FileBytes file;
    bool bigEndian;

    unsigned U16(size_t at) const { return bigEndian ? file.Be16(at) : file.Le16(at); }
    uint32_t U32(size_t at) const { return bigEndian ? file.Be32(at) : file.Le32(at); }
};

// One directory entry's values: SHORT or LONG, inline when they fit in four bytes.
struct TiffValues {
    bool present;
    unsigned type;
    uint32_t count;
    size_t at;
};

int TiffValuesInFile(const TiffReader& tiff, size_t entry, TiffValues* values) {
    values->present = true;
    values->type = tiff.U16(entry + 2);
    values->count = tiff.U32(entry + 4);
    if (values->type != 3 && values->type != 4)
        return 0;
    const uint64_t bytes = uint64_t(values->count) * (values->type == 3 ? 2 : 4);
    values->at = bytes <= 4 ? entry + 8 : tiff.U32(entry + 8);
    return values->count > 0 && tiff.file.Has(values->at, bytes);
}

uint32_t TiffValue(const TiffReader& tiff, const TiffValues& values, uint32_t index) {
    return values.type == 3 ? tiff.U16(values.at + 2 * size_t(index))
                            : tiff.U32(values.at + 4 * size_t(index));
}

uint32_t TiffFirstOr(const TiffReader& tiff, const TiffValues& values, uint32_t missing) {
    return values.present ? TiffValue(tiff, values, 0) : missing;
}

enum TiffField {
    Width,
    Length,
    Bits,
    Compression,
    Samples,
    RowsPerStrip,
    Planar,
    Offsets,
    Counts,
    TileWidth,
    TileLength,
    TiffFieldCount
};

// The directory entries the check reads; tiles take the place of strips.
struct TiffTag {
    unsigned tag;
    int field;
};
const TiffTag TiffTags[] = {
    {256, Width},        {257, Length},  {258, Bits},    {259, Compression}, {277, Samples},
    {278, RowsPerStrip}, {284, Planar},  {273, Offsets}, {279, Counts},      {322, TileWidth},
    {323, TileLength},   {324, Offsets}, {325, Counts}};

// 1 when `dataBytes` of the compression can hold `rawBytes` of samples in `rows` rows. 0 for
// compressions the program does not take: among them JPEG, which GDI+ under Wine cannot
// decode, so it is refused on every system alike.
int TiffDataCanHold(unsigned compression, uint64_t dataBytes, uint64_t rawBytes, uint64_t rows) {
    switch (compression) {
    case 1: // none
        return dataBytes >= rawBytes;
    case 2: // CCITT: at least one bit per row
    case 3:
    case 4:
        return dataBytes * 8 >= rows;
    case 5: // LZW
        return dataBytes * LzwExpansion >= rawBytes;
    case 8: // deflate
    case 32946:
        return dataBytes * DeflateExpansion >= rawBytes;
    case 32773: // PackBits
        return dataBytes * PackBitsExpansion >= rawBytes;
    default:
        return 0;
    }
}

// Only the first directory (page) counts: it is the picture that opens. Every strip or tile
// it lists must lie inside the file, and together they must be enough for the declared size.
int ReadTiff(const FileBytes& file, IntSize* size) {
    const TiffReader tiff = {file, file.data[0] == 'M'};
    if (!file.Has(0, 8))
        return 0;
    const size_t directory = tiff.U32(4);
    if (directory < 8 || !file.Has(directory, 2))
        return 0;
    const unsigned entries = tiff.U16(directory);
    if (!file.Has(directory + 2, uint64_t(entries) * 12))
        return 0;
    TiffValues values[TiffFieldCount] = {};
    bool tiled = false;
    for (unsigned i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + 12 * size_t(i);
        const unsigned tag = tiff.U16(entry);
        int field = -1;
        for (const TiffTag& known : TiffTags)
            field = known.tag == tag ? known.field : field;
        tiled = tiled || tag == 324 || tag == 325;
        if (field >= 0 && !TiffValuesInFile(tiff, entry, &values[field]))
            return 0;
    }
    if (!values[Width].present || !values[Length].present)
        return 0;
    const int64_t width = TiffValue(tiff, values[Width], 0);
    const int64_t height = TiffValue(tiff, values[Length], 0);
    if (!SidesAddressable(width, height))
        return 0;
    *size = IntSize{int(width), int(height)};

    const uint64_t bits = TiffFirstOr(tiff, values[Bits], 1);
    const uint64_t samples = TiffFirstOr(tiff, values[Samples], 1);
    // Samples stored plane by plane are refused on every system: GDI+ under Wine cannot read them.
    const unsigned planar = TiffFirstOr(tiff, values[Planar], 1);
    if ((bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16) || samples < 1 ||
        samples > 5 || planar != 1)
        return 0;
    uint64_t pieces;
    if (tiled) {
        const uint64_t tileWidth = TiffFirstOr(tiff, values[TileWidth], 0);
        const uint64_t tileLength = TiffFirstOr(tiff, values[TileLength], 0);
        if (tileWidth == 0 || tileLength == 0)
            return 0;
        pieces = CeilDiv(uint64_t(width), tileWidth) * CeilDiv(uint64_t(height), tileLength);
    } else {
        uint64_t rowsPerStrip = TiffFirstOr(tiff, values[RowsPerStrip], uint32_t(height));
        pieces = CeilDiv(uint64_t(height), rowsPerStrip ? rowsPerStrip : 1);
    }
    const TiffValues& offsets = values[Offsets];
    const TiffValues& counts = values[Counts];
    if (!offsets.present || !counts.present || offsets.count < pieces || counts.count < pieces)
        return 0;
    uint64_t dataBytes = 0;
    for (uint32_t i = 0; i < pieces; ++i) {
        uint64_t count = TiffValue(tiff, counts, i);
        if (count == 0 || !file.Has(TiffValue(tiff, offsets, i), count))
            return 0;
        dataBytes += count;
    }
    const uint64_t rawBytes = uint64_t(height) * CeilDiv(uint64_t(width) * bits * samples, 8);
    return TiffDataCanHold(TiffFirstOr(tiff, values[Compression], 1), dataBytes, rawBytes,
                           uint64_t(height));
}

} // namespace

uint32_t Crc32(uint32_t crc, const uint8_t* bytes, size_t count) {
    static uint32_t table[256];
    static bool tableMade = false;
    if (!tableMade) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        tableMade = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < count; ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

int ReadPictureHeader(const uint8_t* bytes, size_t count, PictureHeader* header) {
    if (!header)
        return 0;
    *header = PictureHeader{PictureKind::Unknown, IntSize{0, 0}};
    if (!bytes)
        return 0;
    const FileBytes file = {bytes, count};
    header->kind = SignatureKind(file);
    switch (header->kind) {
    case PictureKind::Bmp:
        return ReadBmp(file, &header->size);
    case PictureKind::Jpeg:
        return ReadJpeg(file, &header->size);
    case PictureKind::Gif:
        return ReadGif(file, &header->size);
    case PictureKind::Png:
        return ReadPng(file, &header->size);
    case PictureKind::Tiff:
        return ReadTiff(file, &header->size);
    default:
        return 0;
    }
}

int DecodedThroughGdiplus(PictureKind kind) {
    return kind == PictureKind::Png || kind == PictureKind::Tiff;
}
