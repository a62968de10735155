// The clipboard's bitmap blocks: what is refused before anything is read past the header, and
// how each kind of pixel comes onto the canvas.
#include <gtest/gtest.h>

#include <vector>

#include "base/canvas_layout.h"
#include "document/clipboard_dib.h"
#include "export/packed_dib.h"

namespace {

typedef std::vector<uint8_t> Bytes;

void Put(Bytes& bytes, size_t at, uint32_t value, int size = 4) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

// An info header of headerBytes (40 or 124) with the values and masks (after a 40-byte one,
// inside a larger one), followed by `rest`.
Bytes Dib(uint32_t headerBytes, uint32_t width, uint32_t height, int bits, uint32_t compression,
          Bytes rest, uint32_t coloursUsed = 0, std::vector<uint32_t> masks = {}) {
    Bytes bytes(headerBytes > 40 ? headerBytes : 40 + 4 * masks.size());
    Put(bytes, 0, headerBytes);
    Put(bytes, 4, width);
    Put(bytes, 8, height);
    Put(bytes, 12, 1, 2);
    Put(bytes, 14, bits, 2);
    Put(bytes, 16, compression);
    Put(bytes, 32, coloursUsed);
    for (size_t i = 0; i < masks.size(); ++i)
        Put(bytes, 40 + 4 * i, masks[i]);
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

Bytes Cut(Bytes bytes, size_t count) {
    bytes.resize(count);
    return bytes;
}

const Bytes TwoByTwo24 = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}; // two padded rows

TEST(ClipboardDibTest, RefusesBlocksThatPromiseMoreThanTheyHold) {
    Bytes planes = Dib(40, 2, 2, 24, 0, TwoByTwo24);
    Put(planes, 12, 2, 2);
    const struct {
        const char* name;
        Bytes bytes;
    } rows[] = {
        {"short header", Cut(Dib(40, 2, 2, 24, 0, {}), 39)},
        {"unknown header size", Dib(64, 2, 2, 24, 0, TwoByTwo24)},
        {"rows cut short", Cut(Dib(40, 2, 2, 24, 0, TwoByTwo24), 40 + 15)},
        {"width 0", Dib(40, 0, 2, 24, 0, TwoByTwo24)},
        {"height 32768", Dib(40, 2, 32768, 24, 0, TwoByTwo24)},
        {"top-down height -32768", Dib(40, 2, uint32_t(-32768), 24, 0, TwoByTwo24)},
        {"overflow-sized width", Dib(40, 0x7FFFFFFF, 2, 32, 0, TwoByTwo24)},
        {"height of INT_MIN", Dib(40, 2, 0x80000000u, 24, 0, TwoByTwo24)},
        {"run-length codes", Dib(40, 2, 2, 8, 1, Bytes(1024 + 16))},
        {"PNG inside", Dib(40, 2, 2, 0, 5, Bytes(64))},
        {"7 bits per pixel", Dib(40, 2, 2, 7, 0, Bytes(64))},
        {"two planes", planes},
        {"masks missing", Dib(40, 2, 2, 16, 3, Bytes(8))},
        {"colour table cut short", Dib(40, 2, 2, 8, 0, Bytes(255 * 4 + 8))},
        {"more colours than 8 bits index", Dib(40, 2, 2, 8, 0, Bytes(257 * 4 + 8), 257)},
        {"24-bit colour list past the rows", Dib(40, 2, 2, 24, 0, TwoByTwo24, 1)},
    };
    for (const auto& row : rows) {
        ClipboardDib dib;
        EXPECT_EQ(ReadClipboardDib(row.bytes.data(), row.bytes.size(), &dib), 0) << row.name;
    }
    Put(planes, 12, 1, 2);
    ClipboardDib dib;
    EXPECT_EQ(ReadClipboardDib(planes.data(), planes.size(), &dib), 1) << "one plane: sound";
}

TEST(ClipboardDibTest, DecodesEachKindOfPixelOntoWhitePaper) {
    const uint32_t alphaMask = 0xFF000000u;
    const struct {
        const char* name;
        Bytes bytes;
        IntSize size;
        std::vector<uint32_t> topRowFirst; // canvas values
    } rows[] = {
        {"24-bit bottom-up",
         Dib(40, 2, 2, 24, 0, TwoByTwo24),
         {2, 2},
         {0xFF090807, 0xFF0C0B0A, 0xFF030201, 0xFF060504}},
        {"32-bit top-down with alpha over white",
         Dib(124, 2, uint32_t(-1), 32, 3, {0, 0, 255, 0x80, 10, 20, 30, 0}, 0,
             {0xFF0000, 0xFF00, 0xFF, alphaMask}),
         {2, 1},
         {0xFFFF7F7F, 0xFFFFFFFF}},
        {"32-bit screenshot: fourth bytes all 0 mean opaque",
         Dib(40, 2, 1, 32, 0, {1, 2, 3, 0, 4, 5, 6, 0}),
         {2, 1},
         {0xFF030201, 0xFF060504}},
        {"32-bit with some fourth byte set: it is alpha",
         Dib(40, 2, 1, 32, 0, {1, 2, 3, 255, 4, 5, 6, 0}),
         {2, 1},
         {0xFF030201, 0xFFFFFFFF}},
        {"8-bit with a table of two; index 5 past it is black",
         Dib(40, 3, 1, 8, 0, {10, 20, 30, 0, 40, 50, 60, 99, 1, 0, 5, 0}, 2),
         {3, 1},
         {0xFF3C3228, 0xFF1E140A, 0xFF000000}},
        {"16-bit 5-6-5 bit fields",
         Dib(40, 3, 1, 16, 3, {0x1F, 0, 0, 0xF8, 0, 0x04, 0, 0}, 0, {0xF800, 0x07E0, 0x001F}),
         {3, 1},
         {0xFF0000FF, 0xFFFF0000, 0xFF008200}},
    };
    for (const auto& row : rows) {
        ClipboardDib dib;
        ASSERT_EQ(ReadClipboardDib(row.bytes.data(), row.bytes.size(), &dib), 1) << row.name;
        ASSERT_TRUE(SameSize(dib.size, row.size)) << row.name;
        std::vector<uint32_t> canvas(size_t(row.size.w) * row.size.h);
        DecodeClipboardDib(row.bytes.data(), row.bytes.size(), dib, canvas.data());
        for (int y = 0; y < row.size.h; ++y)
            for (int x = 0; x < row.size.w; ++x)
                EXPECT_EQ(canvas[CanvasPixelIndex(x, y, row.size)],
                          row.topRowFirst[size_t(y) * row.size.w + x])
                    << row.name << " (" << x << ", " << y << ")";
    }
}

// What コピー puts on the clipboard reads back as the same picture, whatever the row padding.
TEST(PackedDibTest, TheProgramsOwnBitmapReadsBackAsTheSamePicture) {
    for (IntSize size : {IntSize{1, 1}, IntSize{3, 2}, IntSize{5, 7}, IntSize{64, 3}}) {
        std::vector<uint32_t> canvas(size_t(size.w) * size.h);
        for (size_t i = 0; i < canvas.size(); ++i)
            canvas[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
        std::vector<uint8_t> block(PackedDibBytes(size));
        PackCanvasAsDib(canvas.data(), size, block.data());
        ClipboardDib dib;
        ASSERT_EQ(ReadClipboardDib(block.data(), block.size(), &dib), 1);
        std::vector<uint32_t> back(canvas.size());
        DecodeClipboardDib(block.data(), block.size(), dib, back.data());
        EXPECT_EQ(back, canvas) << size.w << " x " << size.h;
    }
    EXPECT_EQ(PackedDibBytes(IntSize{0, 5}), 0u);
}

} // namespace
