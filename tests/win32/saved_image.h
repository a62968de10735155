#pragma once
// Helpers for the saving tests: a canvas made the way the program makes it, a scratch folder
// that Linux programs can reach, and an independent decoder (ImageMagick, started from Wine).

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Makes appState's canvas: a 32-bit bottom-up DIB section selected into a memory DC that is
// compatible with the frame's DC, with canvasSize and surfaceSize set. Returns 1 on success.
int MakeTestCanvas(int width, int height);

// Fills the canvas with gradients (so flips and shifts show) and flat web-safe blocks, with
// the unused top byte set on some pixels and clear on others, as GDI and the tools leave it.
void PaintTestPattern();

// The canvas pixel at column x of row y (row 0 at the top), as 0xRRGGBB.
uint32_t CanvasRgb(int x, int y);

// A fresh folder under Z:\tmp, so its files have a Unix path as well; removed with its files.
struct ScratchFolder {
    std::wstring path; // Z:\tmp\...
};
ScratchFolder MakeScratchFolder();
void RemoveScratchFolder(const ScratchFolder& folder);
std::wstring PathIn(const ScratchFolder& folder, const std::wstring& name);
std::vector<std::wstring> FilesIn(const ScratchFolder& folder);

// The Unix path of a Z: path.
std::string UnixPathOf(const std::wstring& zPath);

std::vector<unsigned char> ReadWholeFile(const std::wstring& path);
int WriteWholeFile(const std::wstring& path, const std::string& bytes);

// A picture as ImageMagick reads it: its format name, size and RGBA pixels (top row first).
struct DecodedImage {
    std::string format; // "BMP", "JPEG", "PNG", "GIF", "TIFF"
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
    uint32_t Rgb(int x, int y) const;
    int Alpha(int x, int y) const;
};

// Decodes the file with /usr/bin/convert; 1 on success.
int DecodeIndependently(const std::wstring& zPath, DecodedImage* image);
