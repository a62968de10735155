#pragma once
// What a picture file declares about itself, read from its bytes before any decoder sees it.
// Platform-free.
//
// A file is handed to a decoder only when its header is sound and its data is all there:
// sides from 1 to MaxCanvasSide, a kind the program opens (BMP, JPEG, GIF, PNG, TIFF), and at
// least as many data bytes as a picture of the declared size can possibly need. Everything
// else is refused here, in time proportional to the file's size, so no decoder is ever asked
// to build a picture out of bytes the file does not hold.

#include <cstddef>
#include <cstdint>

#include "base/app_state.h"

enum class PictureKind : int {
    Unknown = 0,
    Bmp,
    Jpeg,
    Gif,
    Png,
    Tiff,
    // Recognised only to be refused: they are not bitmaps.
    Icon,
    Cursor,
    Metafile,
    EnhancedMetafile,
};

struct PictureHeader {
    PictureKind kind;
    IntSize size; // as declared; 0 x 0 when it could not be read
};

// Reads the kind and size the bytes declare. 1 when they may be decoded: a BMP, JPEG, GIF, PNG
// or TIFF with an addressable size whose data is complete. 0 otherwise; `header->kind` still
// names what the signature looked like.
int ReadPictureHeader(const uint8_t* bytes, size_t count, PictureHeader* header);

// PNG and TIFF are decoded through GDI+ on every system; the others by the system's picture
// loader.
int DecodedThroughGdiplus(PictureKind kind);

// The CRC-32 of PNG chunks (and zlib), continuing from `crc` (0 to start).
uint32_t Crc32(uint32_t crc, const uint8_t* bytes, size_t count);
