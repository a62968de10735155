#include "program_driver.h"

#include <commctrl.h>

#include <algorithm>

// ---- The process ----

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

bool StartProgram(RunningProgram& program, const std::wstring& arguments,
                  const std::wstring& currentFolder) {
    return StartProgramAt(program, ProgramPath(), arguments, currentFolder);
}

bool StartProgramAt(RunningProgram& program, const std::wstring& path,
                    const std::wstring& arguments, const std::wstring& currentFolder) {
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    program.started =
        CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                       currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup,
                       &program.process) != 0;
    if (program.started)
        WaitForInputIdle(program.process.hProcess, 5000);
    return program.started;
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

void CloseProgramHandles(RunningProgram& program) {
    if (!program.started)
        return;
    CloseHandle(program.process.hProcess);
    CloseHandle(program.process.hThread);
    program = RunningProgram{};
}

// ---- Windows ----

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

bool Contains(const std::vector<HWND>& windows, HWND window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
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

std::vector<HWND> DialogsOf(const RunningProgram& program) {
    return TopWindowsOf(program, L"#32770");
}

HWND WaitForNewDialog(const RunningProgram& program, const std::vector<HWND>& known,
                      DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        for (HWND dialog : DialogsOf(program))
            if (!Contains(known, dialog))
                return dialog;
        if (!IsRunning(program))
            return nullptr;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

void Settle(DWORD milliseconds) {
    Sleep(milliseconds);
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* className) {
    std::vector<HWND> children;
    for (HWND child = FindWindowExW(parent, nullptr, className, nullptr); child;
         child = FindWindowExW(parent, child, className, nullptr))
        children.push_back(child);
    return children;
}

HWND WaitForChild(HWND parent, const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        for (HWND child : ChildrenOf(parent, className))
            if (IsWindowVisible(child) && (!title || TextOf(child) == title))
                return child;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
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

SIZE SizeOf(HWND window) {
    RECT r = ScreenRectOf(window);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

POINT PlaceInParent(HWND window) {
    RECT r = ScreenRectOf(window);
    POINT corner = {r.left, r.top};
    ScreenToClient(GetParent(window), &corner);
    return corner;
}

// ---- Controls ----

namespace {

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result))
        return -1;
    return LRESULT(result);
}

} // namespace

void SetControlText(HWND dialog, int id, const std::wstring& text) {
    SendWithTimeout(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring ControlText(HWND dialog, int id) {
    return TextOf(GetDlgItem(dialog, id));
}

void TypeIntoBox(HWND box, const std::wstring& text) {
    PostMessageW(box, EM_SETSEL, 0, -1);
    if (text.empty())
        PostMessageW(box, WM_CHAR, VK_BACK, 1);
    for (wchar_t c : text)
        PostMessageW(box, WM_CHAR, c, 1);
}

void PostClick(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PostKey(HWND window, UINT virtualKey) {
    UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | (scanCode << 16));
    PostMessageW(window, WM_KEYUP, virtualKey, 1 | (scanCode << 16) | (3u << 30));
}

bool IsChecked(HWND dialog, int id) {
    return SendWithTimeout(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int TrackbarPosition(HWND dialog, int id) {
    return int(SendWithTimeout(GetDlgItem(dialog, id), TBM_GETPOS, 0, 0));
}

std::vector<std::wstring> ComboEntries(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    std::vector<std::wstring> entries;
    int count = int(SendWithTimeout(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        SendWithTimeout(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

int ComboSelection(HWND dialog, int id) {
    return int(SendWithTimeout(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

// ---- The File menu ----

namespace {

void PostChar(HWND window, wchar_t c) {
    PostMessageW(window, WM_CHAR, c, 1);
}

} // namespace

std::vector<HWND> OpenMenusOf(HWND frame) {
    RunningProgram owner;
    GetWindowThreadProcessId(frame, &owner.process.dwProcessId);
    return TopWindowsOf(owner, L"#32768");
}

namespace {

bool WaitForOpenMenus(HWND frame, size_t count) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20))
        if (OpenMenusOf(frame).size() >= count)
            return true;
    return false;
}

} // namespace

bool ChooseFromFileMenu(HWND frame, FileMenuItem item) {
    // Alt+F opens File(&F) with its first item selected.
    PostMessageW(frame, WM_SYSCOMMAND, SC_KEYMENU, L'f');
    if (!WaitForOpenMenus(frame, 1))
        return false;
    int saveItemsDown = -1;
    switch (item) {
    case FileMenuItem::New:
        PostChar(frame, L'n');
        return true;
    case FileMenuItem::LoadImage:
        // 画像ロード has no access key: the second item.
        PostKey(frame, VK_DOWN);
        PostKey(frame, VK_RETURN);
        return true;
    case FileMenuItem::Exit:
        PostChar(frame, L'x');
        return true;
    case FileMenuItem::SaveBmp:
        saveItemsDown = 0;
        break;
    case FileMenuItem::SaveJpeg:
        saveItemsDown = 1;
        break;
    case FileMenuItem::SavePng:
        saveItemsDown = 2;
        break;
    case FileMenuItem::SaveGif:
        saveItemsDown = 3;
        break;
    case FileMenuItem::SaveTiff:
        saveItemsDown = 4;
        break;
    }
    // 保存(&H) opens its submenu with the first format selected.
    PostChar(frame, L'h');
    if (!WaitForOpenMenus(frame, 2))
        return false;
    for (int i = 0; i < saveItemsDown; ++i)
        PostKey(frame, VK_DOWN);
    PostKey(frame, VK_RETURN);
    return true;
}

namespace {

void CollectMenu(HMENU menu, int depth, std::vector<MenuEntry>* entries) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = 256;
        if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info))
            continue;
        MenuEntry entry;
        entry.text = text;
        entry.popup = info.hSubMenu != nullptr;
        entry.command = entry.popup ? 0 : info.wID;
        entry.depth = depth;
        entry.state = info.fState | (info.fType & MFT_SEPARATOR);
        entries->push_back(entry);
        if (info.hSubMenu)
            CollectMenu(info.hSubMenu, depth + 1, entries);
    }
}

} // namespace

std::vector<MenuEntry> MenuResourceOfProgram(const wchar_t* menuName) {
    std::vector<MenuEntry> entries;
    HMODULE module = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return entries;
    HMENU menu = LoadMenuW(module, menuName);
    if (menu) {
        CollectMenu(menu, 0, &entries);
        DestroyMenu(menu);
    }
    FreeLibrary(module);
    return entries;
}

// ---- Message boxes ----

SeenMessageBox WaitForMessageBox(const RunningProgram& program, const std::wstring& caption,
                                 DWORD timeoutMs) {
    SeenMessageBox seen;
    seen.window = WaitForTopWindow(program, L"#32770", caption.c_str(), timeoutMs);
    if (!seen.window)
        return seen;
    seen.caption = caption;
    seen.text = ControlText(seen.window, ids::MessageText);
    seen.owner = GetWindow(seen.window, GW_OWNER);
    return seen;
}

bool DismissMessageBox(const SeenMessageBox& box) {
    if (!box.window)
        return false;
    PostClick(box.window, IDOK);
    return WaitUntilGone(box.window);
}

// ---- The screen ----

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

uint32_t ScreenColourAt(POINT screen) {
    std::vector<uint32_t> one = CaptureScreen(RECT{screen.x, screen.y, screen.x + 1, screen.y + 1});
    return one.empty() ? 0xFFFFFFFFu : one[0];
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

void ArrangeFrameAbovePalette(HWND frame, HWND palette) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SIZE paletteSize = SizeOf(palette);
    int paletteTop = screenHeight - paletteSize.cy;
    SetWindowPos(palette, nullptr, (screenWidth - paletteSize.cx) / 2, paletteTop, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(frame, nullptr, 0, 0, screenWidth, paletteTop, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PressPaletteSurfaceAt(HWND palette, int clientX, int clientY) {
    POINT screen = {clientX, clientY};
    ClientToScreen(palette, &screen);
    SetCursorPos(screen.x, screen.y);
    Settle(50);
    PostMessageW(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(clientX, clientY));
    Settle(150);
    PostMessageW(palette, WM_LBUTTONUP, 0, MAKELPARAM(clientX, clientY));
    Settle(200);
}

POINT SwatchCentre(int row, int column) {
    return POINT{145 + 15 * column + 7, 115 + 15 * row + 7};
}
