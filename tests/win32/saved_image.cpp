#include "saved_image.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "app/app_state.h"

int MakeTestCanvas(int width, int height) {
    HDC windowDc = GetDC(appState.frameWindow);
    appState.canvasDc = CreateCompatibleDC(windowDc);
    ReleaseDC(appState.frameWindow, windowDc);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    appState.canvasDib =
        CreateDIBSection(appState.canvasDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!appState.canvasDc || !appState.canvasDib || !bits)
        return 0;
    appState.canvasPixels = static_cast<uint32_t*>(bits);
    SelectObject(appState.canvasDc, appState.canvasDib);
    appState.canvasSize = {width, height};
    appState.surfaceSize = {width, height};
    return 1;
}

namespace {

uint32_t& CanvasPixel(int x, int y) {
    int w = appState.surfaceSize.w;
    int h = appState.surfaceSize.h;
    return appState.canvasPixels[x + (h - 1 - y) * w];
}

uint32_t PatternRgb(int x, int y) {
    int w = appState.surfaceSize.w;
    int h = appState.surfaceSize.h;
    if (x < w / 2) {
        // Red grows to the right, green downwards: a flip or shift changes every pixel.
        uint32_t r = uint32_t(x * 255 / (w / 2 - 1));
        uint32_t g = uint32_t(y * 255 / (h - 1));
        return (r << 16) | (g << 8) | 0x80;
    }
    // Blocks of web-safe colours, which every palette holds exactly.
    int column = (x - w / 2) * 6 / (w - w / 2);
    int row = y * 6 / h;
    uint32_t r = uint32_t(column) * 0x33;
    uint32_t g = uint32_t(row) * 0x33;
    uint32_t b = uint32_t((column + row) % 6) * 0x33;
    return (r << 16) | (g << 8) | b;
}

} // namespace

void PaintTestPattern() {
    for (int y = 0; y < appState.surfaceSize.h; ++y)
        for (int x = 0; x < appState.surfaceSize.w; ++x) {
            uint32_t top = ((x / 16 + y / 16) % 2) ? 0xFF000000u : 0;
            CanvasPixel(x, y) = top | PatternRgb(x, y);
        }
}

uint32_t CanvasRgb(int x, int y) {
    return CanvasPixel(x, y) & 0xFFFFFF;
}

ScratchFolder MakeScratchFolder() {
    wchar_t name[MAX_PATH];
    static int made = 0;
    swprintf(name, MAX_PATH, L"Z:\\tmp\\fudemaru-save-%lu-%lu-%d", GetCurrentProcessId(),
             GetTickCount(), made++);
    CreateDirectoryW(name, nullptr);
    return ScratchFolder{name};
}

std::wstring PathIn(const ScratchFolder& folder, const std::wstring& name) {
    return folder.path + L"\\" + name;
}

std::vector<std::wstring> FilesIn(const ScratchFolder& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(PathIn(folder, L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void RemoveScratchFolder(const ScratchFolder& folder) {
    // A folder cannot be removed while it is the current directory, which a file dialog may
    // have made it.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    if (_wcsnicmp(current, folder.path.c_str(), folder.path.size()) == 0)
        SetCurrentDirectoryW(L"Z:\\tmp");
    for (const std::wstring& name : FilesIn(folder))
        DeleteFileW(PathIn(folder, name).c_str());
    RemoveDirectoryW(folder.path.c_str());
}

std::string UnixPathOf(const std::wstring& zPath) {
    std::string unix;
    for (size_t i = 2; i < zPath.size(); ++i)
        unix += zPath[i] == L'\\' ? '/' : char(zPath[i]);
    return unix;
}

std::vector<unsigned char> ReadWholeFile(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    if (size > 0 && (!ReadFile(file, bytes.data(), size, &read, nullptr) || read != size))
        bytes.clear();
    CloseHandle(file);
    return bytes;
}

int WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

uint32_t DecodedImage::Rgb(int x, int y) const {
    const unsigned char* p = &rgba[(size_t(y) * width + x) * 4];
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

int DecodedImage::Alpha(int x, int y) const {
    return rgba[(size_t(y) * width + x) * 4 + 3];
}

namespace {

// Runs a shell command line in Linux from this Wine process and waits for it to finish. Wine
// gives no handle that waits for a Linux program, so the script leaves a file with its exit
// status as its last act. Returns that status, or -1 when it did not finish in time.
int RunLinuxShell(const std::string& script, const std::wstring& doneZPath) {
    std::string done = UnixPathOf(doneZPath);
    std::string full = script + "; echo $? >" + done + ".part; mv " + done + ".part " + done;
    std::wstring commandLine =
        L"Z:\\bin\\sh -c \"" + std::wstring(full.begin(), full.end()) + L"\"";
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int waited = 0; waited < 30000; waited += 10) {
        std::vector<unsigned char> status = ReadWholeFile(doneZPath);
        if (!status.empty()) {
            DeleteFileW(doneZPath.c_str());
            return std::atoi(std::string(status.begin(), status.end()).c_str());
        }
        Sleep(10);
    }
    return -1;
}

// Reads a PAM file of RGB_ALPHA tuples at 8 bits.
int ReadPam(const std::vector<unsigned char>& bytes, DecodedImage* image) {
    static const char endOfHeader[] = "ENDHDR\n";
    std::string text(bytes.begin(), bytes.end());
    size_t end = text.find(endOfHeader);
    if (text.compare(0, 3, "P7\n") != 0 || end == std::string::npos)
        return 0;
    std::istringstream header(text.substr(3, end - 3));
    std::string key, tupleType;
    int depth = 0, maxValue = 0;
    while (header >> key) {
        if (key == "WIDTH")
            header >> image->width;
        else if (key == "HEIGHT")
            header >> image->height;
        else if (key == "DEPTH")
            header >> depth;
        else if (key == "MAXVAL")
            header >> maxValue;
        else if (key == "TUPLTYPE")
            header >> tupleType;
    }
    size_t start = end + sizeof(endOfHeader) - 1;
    size_t size = size_t(image->width) * image->height * 4;
    if (depth != 4 || maxValue != 255 || bytes.size() - start != size)
        return 0;
    image->rgba.assign(bytes.begin() + start, bytes.end());
    return 1;
}

} // namespace

int DecodeIndependently(const std::wstring& zPath, DecodedImage* image) {
    std::string source = UnixPathOf(zPath);
    std::string pam = source + ".decoded.pam";
    std::string info = source + ".decoded.txt";
    std::string script = "/usr/bin/convert " + source + " -format %m -write info:" + info +
                         " -alpha on -depth 8 -type TrueColorAlpha PAM:" + pam;
    int code = RunLinuxShell(script, zPath + L".decoded.done");
    std::wstring pamPath = zPath + L".decoded.pam";
    std::wstring infoPath = zPath + L".decoded.txt";
    std::vector<unsigned char> pamBytes = ReadWholeFile(pamPath);
    std::vector<unsigned char> infoBytes = ReadWholeFile(infoPath);
    DeleteFileW(pamPath.c_str());
    DeleteFileW(infoPath.c_str());
    image->format.assign(infoBytes.begin(), infoBytes.end());
    return code == 0 && ReadPam(pamBytes, image);
}
