// Any bytes through the picture-header reader. What it accepts must be a picture a decoder may
// be handed: a kind the program opens, sides from 1 to 32767, and at least as many bytes as
// the most compact coding of that kind needs for so many pixels.
#include <cstddef>
#include <cstdint>

#include "document/picture_header.h"
#include "fuzz_check.h"

namespace {

// 1 when `count` bytes can hold a picture of the size in that kind, in the densest coding the
// kind has: a run-length BMP row of 255 pixels in 2 bytes, a JPEG block of 32 x 32 pixels in
// one bit, a GIF code of 3 bits for 4096 pixels, deflate's 1032 bytes of 1-bit PNG rows from
// one byte; a TIFF row of one byte from an LZW code of 9 bits for 4096 bytes, and a fax-coded
// TIFF row, however wide, in one bit.
int BytesCanHold(PictureKind kind, IntSize size, size_t count) {
    const uint64_t pixels = uint64_t(size.w) * uint64_t(size.h), bytes = count;
    switch (kind) {
    case PictureKind::Bmp:
        return pixels <= bytes * 128;
    case PictureKind::Jpeg:
        return pixels <= bytes * 8 * 32 * 32;
    case PictureKind::Gif:
        return pixels * 3 <= bytes * 8 * 4096;
    case PictureKind::Png:
        return pixels <= bytes * 1032 * 8;
    case PictureKind::Tiff:
        return uint64_t(size.h) * 9 <= bytes * 8 * 4096 && pixels <= bytes * 8 * 32767;
    default:
        return 0;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) // the seeds' size: longer inputs reach nothing new and bloat the corpus
        return 0;
    PictureHeader header;
    if (!ReadPictureHeader(data, size, &header))
        return 0;
    FUZZ_CHECK_SIDES(header.size);
    FUZZ_CHECK(BytesCanHold(header.kind, header.size, size));
    return 0;
}
