#include "program_driver.h"

std::wstring ProgramPath() {
    wchar_t value[MAX_PATH * 2] = {};
    GetEnvironmentVariableW(L"FUDEMARU_EXE", value, MAX_PATH * 2);
    std::wstring path = value;
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& c : path)
            if (c == L'/')
                c = L'\\';
        path = L"Z:" + path;
    }
    return path;
}

bool StartProgram(RunningProgram& program, const std::wstring& arguments) {
    std::wstring path = ProgramPath();
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    program.started = CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &program.process) != 0;
    if (program.started)
        WaitForInputIdle(program.process.hProcess, 5000);
    return program.started;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    if (ClassOf(window) != search->className)
        return TRUE;
    if (search->title && TextOf(window) != search->title)
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> TopWindowsOf(const RunningProgram& program, const wchar_t* className,
                               const wchar_t* title) {
    WindowSearch search{program.process.dwProcessId, className, title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(const RunningProgram& program, const wchar_t* className, const wchar_t* title,
                      DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        std::vector<HWND> windows = TopWindowsOf(program, className, title);
        if (!windows.empty())
            return windows.front();
        if (!IsRunning(program))
            return nullptr;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

HWND WaitForFrame(const RunningProgram& program) {
    return WaitForTopWindow(program, L"FrameClassName", L"フデマル");
}

HWND WaitForPalette(const RunningProgram& program) {
    return WaitForTopWindow(program, L"#32770", L"パレット");
}

bool IsRunning(const RunningProgram& program) {
    return program.started && WaitForSingleObject(program.process.hProcess, 0) == WAIT_TIMEOUT;
}

long WaitForExit(RunningProgram& program, DWORD timeoutMs) {
    if (!program.started)
        return -1;
    if (WaitForSingleObject(program.process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        KillIfRunning(program);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(program.process.hProcess, &code);
    return static_cast<long>(code);
}

bool KillIfRunning(RunningProgram& program) {
    if (!IsRunning(program))
        return false;
    TerminateProcess(program.process.hProcess, 99);
    WaitForSingleObject(program.process.hProcess, 5000);
    return true;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &ignored);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

void Settle(DWORD milliseconds) {
    Sleep(milliseconds);
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

HWND WaitForChild(HWND parent, const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        for (HWND child = FindWindowExW(parent, nullptr, className, nullptr); child;
             child = FindWindowExW(parent, child, className, nullptr))
            if (!title || TextOf(child) == title)
                return child;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

void SetControlText(HWND dialog, int id, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000, &ignored);
}

std::wstring ControlText(HWND dialog, int id) {
    return TextOf(GetDlgItem(dialog, id));
}

void PostClick(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

RECT ScreenRectOf(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientScreenRectOf(HWND window) {
    RECT r = {};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<uint32_t> CaptureScreen(const RECT& area) {
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return {};
    HDC screen = GetDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC copyDc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(copyDc, copy);
    BitBlt(copyDc, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits),
                                 static_cast<uint32_t*>(bits) + size_t(width) * height);
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
    SelectObject(copyDc, old);
    DeleteDC(copyDc);
    DeleteObject(copy);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool SaveScreenshot(const std::wstring& windowsPath) {
    // import is a Linux program: it takes a Unix path, and under Wine its process handle does
    // not wait for it, so the file is looked for instead.
    std::string unixPath;
    for (size_t i = 2; i < windowsPath.size(); ++i)
        unixPath += windowsPath[i] == L'\\' ? '/' : char(windowsPath[i]);
    std::string command = "/bin/sh -c \"/usr/bin/import -window root '" + unixPath +
                          ".part.png' && mv '" + unixPath + ".part.png' '" + unixPath + "'\"";
    std::wstring commandLine(command.begin(), command.end());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    DeleteFileW(windowsPath.c_str());
    if (!CreateProcessW(L"Z:\\bin\\sh", &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50))
        if (GetFileAttributesW(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
    return false;
}
