#include "unix_tools.h"

#include <cstdio>
#include <cstdlib>

static std::vector<uint8_t> ReadWholeFile(const std::wstring& path);

int RunUnixProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs) {
    // Wine starts a Linux program without a process handle to wait on, so a shell runs it
    // and leaves its exit status in a file, renamed into place only once complete.
    static int counter = 0;
    wchar_t name[64];
    swprintf(name, 64, L"/tmp/fudemaru-unix-%lu-%d", GetCurrentProcessId(), ++counter);
    std::wstring status = name;
    std::wstring seconds = std::to_wstring(timeoutMs / 1000 + 1);
    std::wstring script = L"timeout " + seconds + L" " + program + L" " + arguments +
                          L"; echo $? > " + status + L".part && mv " + status + L".part " + status;
    std::wstring quoted;
    for (wchar_t c : script) {
        if (c == L'"')
            quoted += L'\\';
        quoted += c;
    }
    std::wstring line = WindowsPathOf(L"/bin/sh") + L" -c \"" + quoted + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    if (process.hProcess)
        CloseHandle(process.hProcess);
    if (process.hThread)
        CloseHandle(process.hThread);

    std::wstring statusFile = WindowsPathOf(status);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs + 2000) {
        std::vector<uint8_t> text = ReadWholeFile(statusFile);
        if (!text.empty()) {
            DeleteFileW(statusFile.c_str());
            text.push_back(0);
            return atoi(reinterpret_cast<const char*>(text.data()));
        }
        Sleep(5);
    }
    return -1;
}

std::wstring WindowsPathOf(const std::wstring& unixPath) {
    std::wstring path = L"Z:" + unixPath;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::wstring UnixPathOf(const std::wstring& windowsPath) {
    std::wstring path = windowsPath;
    if (path.size() >= 2 && (path[0] == L'Z' || path[0] == L'z') && path[1] == L':')
        path = path.substr(2);
    for (wchar_t& c : path)
        if (c == L'\\')
            c = L'/';
    return path;
}

std::wstring FreshTestFolder() {
    static int counter = 0;
    wchar_t folder[MAX_PATH];
    swprintf(folder, MAX_PATH, L"Z:\\tmp\\fudemaru-e2e-%lu-%d\\", GetCurrentProcessId(), ++counter);
    CreateDirectoryW(folder, nullptr);
    return folder;
}

uint32_t DecodedImage::At(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return (uint32_t(rgb[i]) << 16) | (uint32_t(rgb[i + 1]) << 8) | rgb[i + 2];
}

static std::vector<uint8_t> ReadWholeFile(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    if (size > 0 && !ReadFile(file, bytes.data(), size, &read, nullptr))
        read = 0;
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

DecodedImage DecodeWithImageMagick(const std::wstring& windowsPath) {
    DecodedImage image;
    std::wstring unixPath = UnixPathOf(windowsPath);
    std::wstring sizeFile = windowsPath + L".size.txt";
    std::wstring rawFile = windowsPath + L".rgb";
    // "[0]": the first frame only (GIF and TIFF may hold several).
    std::wstring arguments = L"'" + unixPath + L"[0]' -format '%w %h' -write info:'" +
                             UnixPathOf(sizeFile) + L"' -depth 8 -alpha off RGB:'" +
                             UnixPathOf(rawFile) + L"'";
    if (RunUnixProgram(L"/usr/bin/convert", arguments, 30000) != 0)
        return image;
    std::vector<uint8_t> sizeText = ReadWholeFile(sizeFile);
    sizeText.push_back(0);
    if (sscanf(reinterpret_cast<const char*>(sizeText.data()), "%d %d", &image.width,
               &image.height) != 2)
        return image;
    image.rgb = ReadWholeFile(rawFile);
    DeleteFileW(sizeFile.c_str());
    DeleteFileW(rawFile.c_str());
    image.ok = image.width > 0 && image.height > 0 &&
               image.rgb.size() == static_cast<size_t>(image.width) * image.height * 3;
    return image;
}

std::vector<uint8_t> FileHead(const std::wstring& windowsPath, size_t count) {
    std::vector<uint8_t> bytes = ReadWholeFile(windowsPath);
    if (bytes.size() > count)
        bytes.resize(count);
    return bytes;
}

bool FileExists(const std::wstring& windowsPath) {
    return GetFileAttributesW(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}
