// Every kind of file a person may hand to 画像ロード, made at run time and opened through the
// real loader: it opens at its true size with its own pixels, or it takes the load-failure path
// at once and leaves no document behind.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "document/picture_header.h"
#include "document_fixture.h"
#include "export/gdiplus_encoders.h"
#include "picture_files.h"
#include "test_files.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// Flat 16-pixel squares of six colours: exact in GIF, and nearly so in JPEG, whose blocks they
// align with.
uint32_t Squares(int x, int y) {
    static const uint32_t colours[] = {0xE03020, 0x20A040, 0x2040C0, 0xF0E060, 0x101010, 0xFFFFFF};
    return colours[(x / 16 + 2 * (y / 16)) % 6];
}

// The squares as the program itself saves them: 1 BMP, 2 JPEG, 3 PNG, 4 GIF, 5 TIFF.
Bytes SavedByTheProgram(int format, int width, int height) {
    HBITMAP dib = nullptr;
    uint32_t* pixels = nullptr;
    if (!CreateCanvasDib(&dib, &pixels, width, height))
        return {};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[CanvasPixelIndex(x, y, {width, height})] = Squares(x, y);
    ScratchFolder folder;
    SaveCanvasAs(folder.File(L"saved").c_str(), dib, format);
    DeleteObject(dib);
    return ReadWholeFile(folder.File(L"saved"));
}

uint32_t GreySquares(int x, int y) {
    return (Squares(x, y) & 0xFF) * 0x010101u;
}

// The squares converted by ImageMagick with the options into the format ("JPEG", "PNG8", ...).
Bytes MadeByImageMagick(const PixelPattern& pattern, const std::wstring& options,
                        const std::wstring& format) {
    ScratchFolder folder;
    WriteBmp(folder.File(L"source.bmp"), 96, 64, pattern);
    RunUnixProgram(L"/usr/bin/convert", L"'" + UnixPathOf(folder.File(L"source.bmp")) + L"' " +
                                            options + L" " + format + L":'" +
                                            UnixPathOf(folder.File(L"made")) + L"'");
    return ReadWholeFile(folder.File(L"made"));
}

Bytes FileMadeBy(bool (*write)(const std::wstring&)) {
    ScratchFolder folder;
    write(folder.File(L"made"));
    return ReadWholeFile(folder.File(L"made"));
}

Bytes Cut(Bytes bytes, size_t count) {
    bytes.resize(count);
    return bytes;
}

Bytes With(Bytes bytes, size_t at, std::initializer_list<uint8_t> values) {
    std::copy(values.begin(), values.end(), bytes.begin() + at);
    return bytes;
}

Bytes WithLe32(Bytes bytes, size_t at, uint32_t value) {
    return With(bytes, at,
                {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)});
}

Bytes WithBe32(Bytes bytes, size_t at, uint32_t value) {
    return With(bytes, at,
                {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)});
}

size_t JpegFrameAt(const Bytes& jpeg) {
    for (size_t at = 2; at + 1 < jpeg.size(); ++at)
        if (jpeg[at] == 0xFF && jpeg[at + 1] == 0xC0)
            return at;
    return 0;
}

Bytes JpegDeclaring(Bytes jpeg, int width, int height) {
    size_t frame = JpegFrameAt(jpeg);
    return With(jpeg, frame + 5,
                {uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width)});
}

// A JPEG thumbnail of another size inside an APP0 extension segment, as cameras write them.
Bytes WithThumbnail(const Bytes& jpeg, const Bytes& thumbnail) {
    Bytes segment = {0xFF, 0xE0, 0, 0, 'J', 'F', 'X', 'X', 0, 0x10};
    segment.insert(segment.end(), thumbnail.begin(), thumbnail.end());
    segment[2] = uint8_t((segment.size() - 2) >> 8);
    segment[3] = uint8_t(segment.size() - 2);
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), segment.begin(), segment.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

// A new IHDR size with its CRC made right, so the size alone is what is judged.
Bytes PngDeclaring(Bytes png, uint32_t width, uint32_t height) {
    png = WithBe32(WithBe32(png, 16, width), 20, height);
    return WithBe32(png, 29, Crc32(0, &png[12], 17));
}

// A 1-bit grey PNG of 32767 x 32767 whose image data is as large as deflate needs for it: only
// the canvas, which cannot be made, stops it.
Bytes HugeGreyPng() {
    Bytes png = PngBytes(1, 1, [](int, int) { return 0u; });
    png[24] = 1; // depth
    png[25] = 0; // grey
    png = PngDeclaring(png, 32767, 32767);
    Bytes idat = With(WithBe32(Bytes(12 + 0x20000), 0, 0x20000), 4, {'I', 'D', 'A', 'T'});
    idat = WithBe32(idat, 8 + 0x20000, Crc32(0, &idat[4], 4 + 0x20000)); // 128 KiB of zeros
    png.insert(png.begin() + 33, idat.begin(), idat.end());
    return png;
}

// The little-endian TIFF with one directory entry's value replaced.
Bytes TiffWith(Bytes tiff, unsigned tag, uint32_t value) {
    unsigned entries = tiff[8] | tiff[9] << 8;
    for (size_t at = 10; at < 10 + 12 * size_t(entries); at += 12)
        if (unsigned(tiff[at] | tiff[at + 1] << 8) == tag)
            return WithLe32(tiff, at + 8, value);
    return tiff;
}

// A run-length coded 8-bit BMP of the squares' six colours whose first `rowsCoded` rows (from
// the bottom) are given before its end-of-bitmap code.
Bytes RunLengthBmp(int width, int height, int rowsCoded) {
    Bytes pixels;
    for (int y = height - 1; y >= height - rowsCoded; --y) {
        for (int x = 0; x < width; x += 16)
            pixels.insert(pixels.end(),
                          {uint8_t(std::min(16, width - x)), uint8_t((x / 16 + 2 * (y / 16)) % 6)});
        pixels.insert(pixels.end(), {0, 0}); // end of line
    }
    pixels.insert(pixels.end(), {0, 1}); // end of bitmap
    Bytes out = BmpBytes(width, height, Squares);
    out.resize(54);
    for (int i = 0; i < 256; ++i) { // palette entries as blue, green, red, 0
        uint32_t rgb = i < 6 ? Squares(16 * i, 0) : 0;
        out.insert(out.end(), {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 0});
    }
    out = WithLe32(WithLe32(out, 10, 54 + 1024), 34, uint32_t(pixels.size()));
    out = With(WithLe32(out, 30, 1), 28, {8, 0});
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

struct Row {
    const char* name;
    Bytes bytes;
    IntSize opens; // 0 x 0: takes the load-failure path
    PixelPattern pixels = {};
    int tolerance = 0;
};

TEST_F(DocumentTest, EveryFileOpensAsItsTrueBitmapOrIsRefusedAtOnce) {
    const IntSize refused = {0, 0};
    const PixelPattern photo = Squares;
    auto alpha = [](int x) { return x < 20 ? 255u : 255u - 6 * unsigned(x - 20); };
    auto seeThrough = [alpha](int x, int y) { // opaque, then fading out towards the right
        return alpha(x) << 24 | (x < 20 ? Squares(x, y) : 0x204080u);
    };
    auto onPaper = [alpha, seeThrough](int x, int y) {
        uint32_t value = 0;
        for (int shift = 0; shift <= 16; shift += 8) // paper shows through what is missing
            value |= (255 - (255 - ((seeThrough(x, y) >> shift) & 0xFF)) * alpha(x) / 255) << shift;
        return value;
    };
    const Bytes bmp = BmpBytes(100, 100, Squares);
    const Bytes jpeg = SavedByTheProgram(2, 96, 64);
    const Bytes png = SavedByTheProgram(3, 96, 64);
    const Bytes gif = SavedByTheProgram(4, 96, 64);
    const Bytes tiff = TiffBytes({{48, 32, Squares}, {20, 10, [](int, int) { return 0x00FF00u; }}});
    const Bytes tinyJpeg = SavedByTheProgram(2, 8, 8); // a few hundred bytes
    const Bytes icon = FileMadeBy(WriteIcon);
    auto converted = [](const char* name, PixelPattern pattern, const wchar_t* options,
                        const wchar_t* format, int tolerance = 0) {
        return Row{name, MadeByImageMagick(pattern, options, format), {96, 64}, pattern, tolerance};
    };
    const std::vector<Row> rows = {
        // Every format the program saves opens again with its pixels, JPEG within its loss.
        {"saved BMP", SavedByTheProgram(1, 96, 64), {96, 64}, photo, 0},
        {"saved JPEG", jpeg, {96, 64}, photo, 12},
        {"saved PNG", png, {96, 64}, photo, 0},
        {"saved GIF", gif, {96, 64}, photo, 0},
        {"saved TIFF", SavedByTheProgram(5, 96, 64), {96, 64}, photo, 0},
        {"32-bit BMP", bmp, {100, 100}, photo, 0},
        {"run-length BMP", RunLengthBmp(40, 20, 20), {40, 20}, photo, 0},
        {"JPEG with a larger thumbnail",
         WithThumbnail(jpeg, JpegDeclaring(tinyJpeg, 500, 400)),
         {96, 64},
         photo,
         12},
        {"PNG with transparency", PngBytes(60, 30, seeThrough), {60, 30}, onPaper, 1},
        {"TIFF of two pages", tiff, {48, 32}, photo, 0},
        // Variants that other programs write.
        converted("progressive JPEG", Squares, L"-interlace JPEG", L"JPEG", 12),
        converted("JPEG of full colour resolution", Squares, L"-sampling-factor 1x1", L"JPEG", 12),
        converted("grey JPEG", GreySquares, L"-colorspace Gray", L"JPEG", 12),
        converted("interlaced PNG", Squares, L"-interlace PNG", L"PNG"),
        converted("palette PNG", Squares, L"", L"PNG8"),
        converted("16-bit PNG", Squares, L"", L"PNG48"),
        converted("grey PNG", GreySquares, L"-colorspace Gray", L"PNG"),
        converted("LZW TIFF", Squares, L"-compress LZW", L"TIFF"),
        converted("deflate TIFF", Squares, L"-compress Zip", L"TIFF"),
        converted("PackBits TIFF", Squares, L"-compress RLE", L"TIFF"),
        converted("tiled TIFF", Squares, L"-define tiff:tile-geometry=32x32", L"TIFF"),
        converted("big-endian TIFF", Squares, L"-endian MSB", L"TIFF"),
        converted("interlaced GIF", Squares, L"-interlace GIF", L"GIF"),
        converted("OS/2 BMP", Squares, L"", L"BMP2"),
        converted("palette BMP", Squares, L"-type Palette", L"BMP3"),
        converted("BMP of the newest header", Squares, L"", L"BMP"),
        converted("run-length BMP by another program", Squares, L"-type Palette -compress RLE",
                  L"BMP3"),
        {"fax TIFF",
         MadeByImageMagick(GreySquares, L"-threshold 50% -compress Group4", L"TIFF"),
         {96, 64},
         [](int x, int y) { return GreySquares(x, y) > 0x808080 ? 0xFFFFFFu : 0u; }},
        // Sizes beyond what a canvas can be, or no size at all.
        {"JPEG of 65500 x 65500", JpegDeclaring(tinyJpeg, 65500, 65500), refused},
        {"JPEG of 40000 x 40000", JpegDeclaring(tinyJpeg, 40000, 40000), refused},
        {"JPEG of 30000 x 30000", JpegDeclaring(tinyJpeg, 30000, 30000), refused},
        {"JPEG of 0 x 10", JpegDeclaring(tinyJpeg, 0, 10), refused},
        {"BMP of 0 x 10", WithLe32(bmp, 18, 0), refused},
        {"BMP of 10 x 0", WithLe32(bmp, 22, 0), refused},
        {"BMP of 32768 wide", WithLe32(bmp, 18, 32768), refused},
        {"GIF of 0 x 0", With(gif, 6, {0, 0, 0, 0}), refused},
        {"PNG of 30000 x 30000", PngDeclaring(png, 30000, 30000), refused},
        {"PNG of 0 x 64", PngDeclaring(png, 0, 64), refused},
        {"PNG whose canvas cannot be made", HugeGreyPng(), refused},
        {"TIFF of 30000 x 30000", TiffWith(TiffWith(tiff, 256, 30000), 257, 30000), refused},
        // Data cut short, or missing.
        {"BMP of 14 bytes", Cut(bmp, 14), refused},
        {"BMP cut at 53", Cut(bmp, 53), refused},
        {"BMP header alone", Cut(bmp, 54), refused},
        {"BMP cut at 1054", Cut(bmp, 1054), refused},
        {"BMP cut at 5054", Cut(bmp, 5054), refused},
        {"BMP one byte short", Cut(bmp, bmp.size() - 1), refused},
        {"run-length BMP ending early", RunLengthBmp(40, 20, 12), refused},
        {"JPEG cut in half", Cut(jpeg, jpeg.size() / 2), refused},
        {"JPEG without its end marker", Cut(jpeg, jpeg.size() - 2), refused},
        {"GIF cut short", Cut(gif, gif.size() * 2 / 3), refused},
        {"PNG cut short", Cut(png, png.size() - 20), refused},
        {"PNG with a damaged chunk", With(png, png.size() - 20, {uint8_t(~png[png.size() - 20])}),
         refused},
        {"TIFF cut in its first page", Cut(tiff, 1000), refused},
        {"TIFF strip beyond the end", TiffWith(tiff, 273, 0x7FFFFFF0), refused},
        {"empty file", {}, refused},
        // Absurd depths, offsets and compressions.
        {"BMP of 7 bits per pixel", With(bmp, 28, {7}), refused},
        {"BMP of compression 9", WithLe32(bmp, 30, 9), refused},
        {"BMP pixels beyond the end", WithLe32(bmp, 10, 0x7FFFFFF0), refused},
        {"arithmetic-coded JPEG", With(jpeg, JpegFrameAt(jpeg) + 1, {0xC9}), refused},
        {"TIFF of compression 99", TiffWith(tiff, 259, 99), refused},
        {"JPEG-compressed TIFF", MadeByImageMagick(Squares, L"-compress JPEG", L"TIFF"), refused},
        {"TIFF stored plane by plane", MadeByImageMagick(Squares, L"-interlace Plane", L"TIFF"),
         refused},
        // Not bitmaps, whichever decoder could read them.
        {"icon", icon, refused},
        {"cursor", With(icon, 2, {2}), refused},
        {"placeable metafile", FileMadeBy(WritePlaceableMetafile), refused},
        {"enhanced metafile", FileMadeBy(WriteEnhancedMetafile), refused},
        {"random bytes",
         FileMadeBy([](const std::wstring& p) { return WriteRandomBytes(p, 5000, 7); }), refused},
    };

    ScratchFolder folder;
    int opened = 0, refusals = 0;
    ULONGLONG slowestRefusal = 0; // ms
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Random bytes and cut files may be named anything: only the contents count.
        const std::wstring path = folder.File(L"picture.bmp");
        ASSERT_TRUE(WriteWholeFile(path, row.bytes));
        int result = -1;
        ULONGLONG start = GetTickCount64(), decided = 0;
        std::vector<SeenDialog> seen = RunAnsweringDialogs(
            [&] {
                appState.imageDocumentOpen = 1;
                result = OpenDocument(path.c_str());
                decided = decided ? decided : GetTickCount64();
            },
            [&](HWND dialog) {
                decided = GetTickCount64();
                ClickDialogButton(dialog, IDOK);
            });
        if (row.opens.w == 0) {
            ++refusals;
            slowestRefusal = std::max(slowestRefusal, decided - start);
            EXPECT_EQ(result, 0);
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].caption, LoadFailureCaption);
            EXPECT_EQ(seen[0].text, LoadFailureText);
            EXPECT_EQ(appState.imageDocumentOpen, 0);
            EXPECT_EQ(GetWindow(appState.mdiClient, GW_CHILD), nullptr) << "no half-open document";
            EXPECT_LT(decided - start, 1000u) << "refused at once";
            continue;
        }
        ++opened;
        EXPECT_EQ(result, 1);
        if (result != 1)
            continue;
        EXPECT_TRUE(seen.empty());
        ASSERT_EQ(appState.surfaceSize.w, row.opens.w);
        ASSERT_EQ(appState.surfaceSize.h, row.opens.h);
        int worst = 0;
        for (int y = 0; y < row.opens.h; ++y)
            for (int x = 0; x < row.opens.w; ++x)
                for (int shift = 0; shift <= 16; shift += 8)
                    worst = std::max(worst, std::abs(int((CanvasRgb(x, y) >> shift) & 0xFF) -
                                                     int((row.pixels(x, y) >> shift) & 0xFF)));
        EXPECT_LE(worst, row.tolerance);
        CloseDocument();
    }
    std::printf("%zu files: %d opened, %d refused; slowest refusal %llu ms\n", rows.size(), opened,
                refusals, slowestRefusal);
}

} // namespace
