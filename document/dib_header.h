#pragma once
// The info header of a device-independent bitmap, as a BMP file carries it after its file
// header and the clipboard at the start of its block. Platform-free: the constants are the
// bitmap format's own numbers, not the SDK's names.

#include <cstddef>
#include <cstdint>

// Compressions a header may name.
const uint32_t DibRgb = 0;
const uint32_t DibRle8 = 1;
const uint32_t DibRle4 = 2;
const uint32_t DibBitFields = 3;
const uint32_t DibAlphaBitFields = 6;

struct DibHeader {
    uint32_t headerBytes; // 12 (OS/2 core header), 40, 52, 56, 108 or 124
    int width;
    int height; // made positive; topDown tells the order of the rows
    int topDown;
    unsigned planes;
    unsigned bitCount;
    uint32_t compression;
    uint32_t coloursUsed;
    // Red, green, blue and alpha, where the header holds them or a 40-byte one is followed by
    // them (bit fields); 0 where it has none.
    uint32_t masks[4];
    uint64_t maskBytes;         // masks stored after the header
    uint64_t paletteEntries;    // colour table entries of 1 to 8 bits per pixel, else 0
    uint64_t paletteEntryBytes; // 3 in an OS/2 core header, else 4
};

// Reads the info header at `at`. 1 when it has a known size, lies within `count` with the
// masks that follow it, declares sides from 1 to MaxCanvasSide and no more colours than its
// bit count can index; 0 otherwise.
int ReadDibHeader(const uint8_t* bytes, size_t count, size_t at, DibHeader* header);

// 1 when the pixels are stored whole, one value per pixel, in a way the program reads:
// 1, 4, 8, 16, 24 or 32 bits without compression, or 16 or 32 bits in bit fields (with an
// alpha mask only when alphaBitFields is 1).
int DibPixelsUncompressed(const DibHeader& header, int alphaBitFields);

// Bytes of one row of pixels, padded to four bytes.
uint64_t DibRowBytes(const DibHeader& header);
