#pragma once
// Files and Linux programs for the tests that run under Wine: scratch folders that Linux
// programs can reach too, whole-file reads and writes, and Linux programs started from the
// Windows side (under Wine CreateProcessW starts them; their arguments are Unix paths).
// ImageMagick, run this way, decodes pictures independently of the program and of Windows.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder on the Z: drive, so its files have a Unix path as well: in the Wine session's
// own directory (removed when the session ends), else under Z:\tmp. Removed with its files
// when the object goes.
struct ScratchFolder {
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring path; // Z:\..., ending in a backslash
    std::wstring File(const std::wstring& name) const;
    std::vector<std::wstring> FileNames() const;
};

// Z:\tmp\a.png <-> /tmp/a.png
std::wstring UnixPathOf(const std::wstring& windowsPath);
std::wstring WindowsPathOf(const std::wstring& unixPath);

std::vector<uint8_t> ReadWholeFile(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes);
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

// Runs a Linux program (its full Unix path) with arguments written as a shell would read them
// (quote paths with single quotes), waits at most timeoutMs and returns its exit code; -1 when
// it could not start or did not end in time (it is then stopped).
int RunUnixProgram(const std::wstring& program, const std::wstring& arguments,
                   DWORD timeoutMs = 30000);

// A picture as ImageMagick reads it: its format name ("BMP3", "JPEG", "PNG", "GIF", "TIFF"),
// its size, and its first frame as RGBA, top row first.
struct DecodedImage {
    std::string format;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    uint32_t Rgb(int x, int y) const; // 0xRRGGBB
    int Alpha(int x, int y) const;
};

// Decodes the file with /usr/bin/convert; 1 on success.
int DecodeIndependently(const std::wstring& path, DecodedImage* image);

// The number of GDI objects this process holds: the handle values 1..0xFFFF that name an
// object (GetGuiResources is not implemented under Wine). Warm up first: the first GetDC
// caches objects of its own.
int CountGdiObjects();
