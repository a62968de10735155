#pragma once
// Linux programs run from the Windows side. Under Wine a Windows process can start a Linux
// program with CreateProcessW; its arguments are then Unix paths. The end-to-end tests use
// this for what must not depend on the program under test: ImageMagick to decode saved
// pictures, xdotool for real X input.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Runs a Linux program (given by its full Unix path) with arguments written as a shell
// would read them (quote paths with single quotes), waits at most timeoutMs and returns its
// exit code; -1 when it could not start or did not end in time (it is then stopped).
int RunUnixProgram(const std::wstring& program, const std::wstring& arguments,
                   DWORD timeoutMs = 10000);

// The Windows path under which Wine shows a Unix path (/tmp/a.png -> Z:\tmp\a.png).
std::wstring WindowsPathOf(const std::wstring& unixPath);

// The Unix path of a Windows path that Wine maps (Z:\tmp\a.png -> /tmp/a.png).
std::wstring UnixPathOf(const std::wstring& windowsPath);

// A folder for the test's files, empty and unique to this test run (Windows path, ending in
// a backslash).
std::wstring FreshTestFolder();

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // width * height * 3 bytes, top row first
    bool ok = false;

    uint32_t At(int x, int y) const; // 0xRRGGBB
};

// Decodes a picture file with ImageMagick, independently of the program and of Windows.
DecodedImage DecodeWithImageMagick(const std::wstring& windowsPath);

// The first bytes of a file (its signature), or fewer if the file is shorter.
std::vector<uint8_t> FileHead(const std::wstring& windowsPath, size_t count);
bool FileExists(const std::wstring& windowsPath);
