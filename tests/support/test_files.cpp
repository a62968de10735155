#include "test_files.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

// Inside a Wine session made by scripts/with-wine.sh the folders go into the session's own
// directory, which the session removes at its end: a folder that is still the current
// directory of a program when its test ends cannot be removed by the test itself.
static std::wstring ScratchParent() {
    wchar_t session[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"FUDEMARU_WINE_SESSION", session, MAX_PATH);
    if (length > 0 && length < MAX_PATH && session[0] == L'/')
        return WindowsPathOf(session) + L"\\";
    return L"Z:\\tmp\\";
}

ScratchFolder::ScratchFolder() {
    static int made = 0;
    wchar_t name[64];
    swprintf(name, 64, L"fudemaru-test-%lu-%lu-%d\\", GetCurrentProcessId(), GetTickCount(),
             ++made);
    path = ScratchParent() + name;
    CreateDirectoryW(path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    // A folder cannot be removed while it is the current directory, which a file dialog may
    // have made it.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    if (_wcsnicmp(current, path.c_str(), path.size() - 1) == 0)
        SetCurrentDirectoryW(L"Z:\\tmp");
    for (const std::wstring& name : FileNames())
        DeleteFileW(File(name).c_str());
    RemoveDirectoryW(path.c_str());
}

std::wstring ScratchFolder::File(const std::wstring& name) const {
    return path + name;
}

std::vector<std::wstring> ScratchFolder::FileNames() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
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

std::wstring WindowsPathOf(const std::wstring& unixPath) {
    std::wstring path = L"Z:" + unixPath;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::vector<uint8_t> ReadWholeFile(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
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

bool WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok =
        bytes.empty() || WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    return WriteWholeFile(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int RunUnixProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs) {
    // Wine starts a Linux program without a process handle that waits for it, so a shell runs
    // it and leaves its exit status in a file, renamed into place only once complete.
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
            return std::atoi(reinterpret_cast<const char*>(text.data()));
        }
        Sleep(5);
    }
    return -1;
}

uint32_t DecodedImage::Rgb(int x, int y) const {
    const uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

int DecodedImage::Alpha(int x, int y) const {
    return rgba[(size_t(y) * width + x) * 4 + 3];
}

namespace {

// Reads a PAM file of RGB_ALPHA tuples at 8 bits.
int ReadPam(const std::vector<uint8_t>& bytes, DecodedImage* image) {
    static const char endOfHeader[] = "ENDHDR\n";
    std::string text(bytes.begin(), bytes.end());
    size_t end = text.find(endOfHeader);
    if (text.compare(0, 3, "P7\n") != 0 || end == std::string::npos)
        return 0;
    std::istringstream header(text.substr(3, end - 3));
    std::string key;
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
    }
    size_t start = end + sizeof(endOfHeader) - 1;
    size_t size = size_t(image->width) * image->height * 4;
    if (depth != 4 || maxValue != 255 || bytes.size() - start != size)
        return 0;
    image->rgba.assign(bytes.begin() + start, bytes.end());
    return 1;
}

} // namespace

int DecodeIndependently(const std::wstring& path, DecodedImage* image) {
    std::wstring pamPath = path + L".decoded.pam";
    std::wstring infoPath = path + L".decoded.txt";
    // "[0]": the first frame only (GIF and TIFF may hold several).
    std::wstring arguments =
        L"'" + UnixPathOf(path) + L"[0]' -format %m -write info:'" + UnixPathOf(infoPath) +
        L"' -alpha on -depth 8 -type TrueColorAlpha PAM:'" + UnixPathOf(pamPath) + L"'";
    int code = RunUnixProgram(L"/usr/bin/convert", arguments);
    std::vector<uint8_t> pam = ReadWholeFile(pamPath);
    std::vector<uint8_t> info = ReadWholeFile(infoPath);
    DeleteFileW(pamPath.c_str());
    DeleteFileW(infoPath.c_str());
    image->format.assign(info.begin(), info.end());
    return code == 0 && ReadPam(pam, image);
}

int CountGdiObjects() {
    int count = 0;
    for (uintptr_t value = 1; value <= 0xFFFF; ++value)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0)
            ++count;
    return count;
}
