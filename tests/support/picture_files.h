#pragma once
// Picture files made by the tests themselves at run time.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One pixel as 0xRRGGBB.
typedef std::function<uint32_t(int x, int y)> PixelPattern;

// A bottom-up 24-bit BMP of the pattern.
bool WriteBmp(const std::wstring& path, int width, int height, const PixelPattern& pattern);
// A BMP whose header says the given size and whose pixel data is complete (32-bit rows).
std::vector<uint8_t> BmpBytes(int width, int height, const PixelPattern& pattern);

// An 8-bit RGBA PNG of a pattern of 0xAARRGGBB, its data in stored (uncompressed) deflate
// blocks.
std::vector<uint8_t> PngBytes(int width, int height, const PixelPattern& argb);
// An uncompressed little-endian RGB TIFF with one page (directory) per entry.
struct TiffPage {
    int width, height;
    PixelPattern pattern;
};
std::vector<uint8_t> TiffBytes(const std::vector<TiffPage>& pages);
// Files of the two above, opaque and of one page.
bool WritePng(const std::wstring& path, int width, int height, const PixelPattern& pattern);
bool WriteTiff(const std::wstring& path, int width, int height, const PixelPattern& pattern);

// JPEG and GIF through the GDI+ encoders.
bool WriteJpeg(const std::wstring& path, int width, int height, const PixelPattern& pattern);
bool WriteGif(const std::wstring& path, int width, int height, const PixelPattern& pattern);

// Files that decode to something other than a bitmap picture.
bool WriteIcon(const std::wstring& path);
bool WriteEnhancedMetafile(const std::wstring& path);
bool WritePlaceableMetafile(const std::wstring& path);
bool WriteRandomBytes(const std::wstring& path, size_t count, unsigned seed);

// A photo-like test picture: smooth colour gradients with a few hard edges.
uint32_t PhotoLikePixel(int x, int y);
