#include "picture_files.h"

#include "test_files.h"

#include "document/picture_header.h"

#include <objidl.h>

#include <algorithm>
#include <cmath>
using std::max;
using std::min;
#include <gdiplus.h>

namespace {

void PutWord(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(uint8_t(value & 0xFF));
    out.push_back(uint8_t((value >> 8) & 0xFF));
}

void PutDword(std::vector<uint8_t>& out, uint32_t value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bitCount,
                   uint32_t imageBytes) {
    PutDword(out, 40);
    PutDword(out, uint32_t(width));
    PutDword(out, uint32_t(height));
    PutWord(out, 1);
    PutWord(out, unsigned(bitCount));
    PutDword(out, 0); // BI_RGB
    PutDword(out, imageBytes);
    PutDword(out, 2835);
    PutDword(out, 2835);
    PutDword(out, 0);
    PutDword(out, 0);
}

std::vector<uint8_t> EncodeBmp(int width, int height, int bitCount, const PixelPattern& pattern) {
    const int bytesPerPixel = bitCount / 8;
    const uint32_t rowBytes = (uint32_t(width) * bytesPerPixel + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * uint32_t(height);
    std::vector<uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    PutDword(out, 54 + imageBytes);
    PutDword(out, 0);
    PutDword(out, 54);
    PutInfoHeader(out, width, height, bitCount, imageBytes);
    for (int y = height - 1; y >= 0; --y) {
        size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = pattern(x, y);
            out.push_back(uint8_t(rgb & 0xFF));
            out.push_back(uint8_t((rgb >> 8) & 0xFF));
            out.push_back(uint8_t((rgb >> 16) & 0xFF));
            if (bytesPerPixel == 4)
                out.push_back(0);
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

bool GdiplusEncoderFor(const wchar_t* mimeType, CLSID* clsid) {
    using namespace Gdiplus::DllExports;
    UINT count = 0, bytes = 0;
    if (GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return false;
    std::vector<uint8_t> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, mimeType) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool WriteWithGdiplus(const std::wstring& path, const wchar_t* mimeType, int width, int height,
                      const PixelPattern& pattern) {
    using namespace Gdiplus::DllExports;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    std::vector<uint32_t> pixels(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[size_t(y) * width + x] = 0xFF000000u | pattern(x, y);
    bool ok = false;
    CLSID encoder;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (GdiplusEncoderFor(mimeType, &encoder) &&
        GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB,
                                  reinterpret_cast<BYTE*>(pixels.data()), &bitmap) == Gdiplus::Ok) {
        ok = GdipSaveImageToFile(bitmap, path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
        GdipDisposeImage(bitmap);
    }
    Gdiplus::GdiplusShutdown(token);
    return ok;
}

} // namespace

bool WriteBmp(const std::wstring& path, int width, int height, const PixelPattern& pattern) {
    return WriteWholeFile(path, EncodeBmp(width, height, 24, pattern));
}

std::vector<uint8_t> BmpBytes(int width, int height, const PixelPattern& pattern) {
    return EncodeBmp(width, height, 32, pattern);
}

std::vector<uint8_t> PngBytes(int width, int height, const PixelPattern& argb) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < width; ++x)
            for (int shift : {16, 8, 0, 24})
                raw.push_back(uint8_t(argb(x, y) >> shift));
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    for (size_t at = 0; at < raw.size(); at += 65535) {
        size_t count = std::min<size_t>(65535, raw.size() - at);
        zlib.push_back(at + count == raw.size()); // the final block
        PutWord(zlib, unsigned(count));
        PutWord(zlib, unsigned(~count & 0xFFFF));
        zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + count);
    }
    uint32_t a = 1, b = 0; // Adler-32
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (int shift : {24, 16, 8, 0})
        zlib.push_back(uint8_t(((b << 16) | a) >> shift));

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        for (int shift : {24, 16, 8, 0})
            out.push_back(uint8_t(data.size() >> shift));
        size_t start = out.size();
        out.insert(out.end(), type, type + 4);
        out.insert(out.end(), data.begin(), data.end());
        uint32_t crc = Crc32(0, &out[start], out.size() - start);
        for (int shift : {24, 16, 8, 0})
            out.push_back(uint8_t(crc >> shift));
    };
    std::vector<uint8_t> header;
    for (uint32_t side : {uint32_t(width), uint32_t(height)})
        for (int shift : {24, 16, 8, 0})
            header.push_back(uint8_t(side >> shift));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, not interlaced
    chunk("IHDR", header);
    chunk("IDAT", zlib);
    chunk("IEND", {});
    return out;
}

std::vector<uint8_t> TiffBytes(const std::vector<TiffPage>& pages) {
    std::vector<uint8_t> out = {'I', 'I', 42, 0};
    PutDword(out, 8);
    auto entry = [&](unsigned tag, unsigned type, uint32_t count, uint32_t value) {
        PutWord(out, tag);
        PutWord(out, type);
        PutDword(out, count);
        PutDword(out, value);
    };
    const unsigned entries = 9;
    for (size_t i = 0; i < pages.size(); ++i) {
        const TiffPage& page = pages[i];
        // The directory, then its three bits-per-sample values, then its one strip.
        const uint32_t bitsAt = uint32_t(out.size() + 2 + entries * 12 + 4);
        const uint32_t stripAt = bitsAt + 6, stripBytes = uint32_t(page.width * page.height * 3);
        PutWord(out, entries);
        entry(256, 4, 1, uint32_t(page.width));
        entry(257, 4, 1, uint32_t(page.height));
        entry(258, 3, 3, bitsAt);
        entry(259, 3, 1, 1); // uncompressed
        entry(262, 3, 1, 2); // RGB
        entry(273, 4, 1, stripAt);
        entry(277, 3, 1, 3);
        entry(278, 4, 1, uint32_t(page.height));
        entry(279, 4, 1, stripBytes);
        PutDword(out, i + 1 < pages.size() ? stripAt + stripBytes : 0);
        for (int sample = 0; sample < 3; ++sample)
            PutWord(out, 8);
        for (int y = 0; y < page.height; ++y)
            for (int x = 0; x < page.width; ++x)
                for (int shift : {16, 8, 0})
                    out.push_back(uint8_t(page.pattern(x, y) >> shift));
    }
    return out;
}

bool WritePng(const std::wstring& path, int width, int height, const PixelPattern& pattern) {
    return WriteWholeFile(
        path, PngBytes(width, height, [&](int x, int y) { return 0xFF000000u | pattern(x, y); }));
}

bool WriteTiff(const std::wstring& path, int width, int height, const PixelPattern& pattern) {
    return WriteWholeFile(path, TiffBytes({{width, height, pattern}}));
}

bool WriteJpeg(const std::wstring& path, int width, int height, const PixelPattern& pattern) {
    return WriteWithGdiplus(path, L"image/jpeg", width, height, pattern);
}

// Written here rather than with GDI+: Wine's GDI+ writes a GIF without image data from a
// 32-bit bitmap. With at most 128 colours and a clear code every 100 pixels, every LZW code
// is 8 bits wide, so the compressed stream is one byte per code.
bool WriteGif(const std::wstring& path, int width, int height, const PixelPattern& pattern) {
    std::vector<uint32_t> palette;
    std::vector<uint8_t> indices;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = pattern(x, y);
            auto found = std::find(palette.begin(), palette.end(), rgb);
            if (found == palette.end()) {
                if (palette.size() == 128)
                    return false;
                found = palette.insert(palette.end(), rgb);
            }
            indices.push_back(uint8_t(found - palette.begin()));
        }
    palette.resize(128, 0);

    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    PutWord(out, unsigned(width));
    PutWord(out, unsigned(height));
    out.push_back(0xF6); // global colour table of 128 entries
    out.push_back(0);
    out.push_back(0);
    for (uint32_t rgb : palette) {
        out.push_back(uint8_t(rgb >> 16));
        out.push_back(uint8_t(rgb >> 8));
        out.push_back(uint8_t(rgb));
    }
    out.push_back(0x2C);
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, unsigned(width));
    PutWord(out, unsigned(height));
    out.push_back(0);
    out.push_back(7); // minimum code size: clear is 128, end is 129

    const uint8_t clear = 128, end = 129;
    std::vector<uint8_t> codes = {clear};
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i > 0 && i % 100 == 0)
            codes.push_back(clear);
        codes.push_back(indices[i]);
    }
    codes.push_back(end);
    for (size_t at = 0; at < codes.size(); at += 255) {
        size_t count = std::min<size_t>(255, codes.size() - at);
        out.push_back(uint8_t(count));
        out.insert(out.end(), codes.begin() + at, codes.begin() + at + count);
    }
    out.push_back(0);
    out.push_back(0x3B);
    return WriteWholeFile(path, out);
}

bool WriteIcon(const std::wstring& path) {
    const int side = 16;
    const uint32_t xorBytes = side * side * 4, andBytes = side * 4;
    std::vector<uint8_t> out;
    PutWord(out, 0); // reserved
    PutWord(out, 1); // icon
    PutWord(out, 1); // one image
    out.push_back(side);
    out.push_back(side);
    out.push_back(0);
    out.push_back(0);
    PutWord(out, 1);
    PutWord(out, 32);
    PutDword(out, 40 + xorBytes + andBytes);
    PutDword(out, 22);
    PutInfoHeader(out, side, side * 2, 32, xorBytes + andBytes);
    for (uint32_t i = 0; i < side * side; ++i)
        PutDword(out, 0xFF20A040u);
    out.resize(out.size() + andBytes, 0);
    return WriteWholeFile(path, out);
}

bool WriteEnhancedMetafile(const std::wstring& path) {
    HDC dc = CreateEnhMetaFileW(nullptr, path.c_str(), nullptr, nullptr);
    if (!dc)
        return false;
    Rectangle(dc, 10, 10, 200, 120);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    return metafile && DeleteEnhMetaFile(metafile);
}

bool WritePlaceableMetafile(const std::wstring& path) {
    HDC dc = CreateMetaFileW(nullptr);
    if (!dc)
        return false;
    Rectangle(dc, 10, 10, 200, 120);
    HMETAFILE metafile = CloseMetaFile(dc);
    UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
    std::vector<uint8_t> bits(size);
    GetMetaFileBitsEx(metafile, size, bits.data());
    DeleteMetaFile(metafile);

    // The placeable header that metafile files carry: key, bounds, units per inch, checksum.
    std::vector<uint8_t> out;
    PutDword(out, 0x9AC6CDD7u);
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, 200);
    PutWord(out, 120);
    PutWord(out, 1440);
    PutDword(out, 0);
    unsigned checksum = 0;
    for (size_t i = 0; i < out.size(); i += 2)
        checksum ^= unsigned(out[i]) | (unsigned(out[i + 1]) << 8);
    PutWord(out, checksum);
    out.insert(out.end(), bits.begin(), bits.end());
    return WriteWholeFile(path, out);
}

bool WriteRandomBytes(const std::wstring& path, size_t count, unsigned seed) {
    std::vector<uint8_t> bytes(count);
    uint32_t state = seed * 2654435761u + 1;
    for (uint8_t& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = uint8_t(state >> 24);
    }
    return WriteWholeFile(path, bytes);
}

uint32_t PhotoLikePixel(int x, int y) {
    // A sky-to-ground gradient, a soft sun and a dark hill with a hard edge.
    double fy = y / 500.0, fx = x / 700.0;
    int r = int(90 + 120 * fy), g = int(150 + 60 * fy), b = int(235 - 120 * fy);
    double sun = std::hypot(fx - 0.7, fy - 0.3);
    if (sun < 0.12) {
        int glow = int(255 * (1 - sun / 0.12));
        r = min(255, r + glow);
        g = min(255, g + glow * 3 / 4);
        b = max(0, b - glow / 2);
    }
    double hill = 0.62 + 0.1 * std::sin(fx * 7.0) + 0.03 * std::sin(fx * 31.0);
    if (fy > hill) {
        r = int(40 + 50 * (fy - hill));
        g = int(110 - 40 * (fy - hill)) + ((x * 7 + y * 13) % 11);
        b = 40;
    }
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}
