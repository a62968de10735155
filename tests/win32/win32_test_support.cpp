#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "base/app_state.h"

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Keep the quit request for the test to see.
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (milliseconds > 0)
            Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

namespace {

struct DialogWatch {
    std::function<void(HWND)> respond;
    std::vector<HWND> handled;
    std::vector<SeenDialog> seen;
    bool inCallback = false;
};

DialogWatch* activeWatch = nullptr;

BOOL CALLBACK CollectThreadDialogs(HWND window, LPARAM lParam) {
    auto* found = reinterpret_cast<std::vector<HWND>*>(lParam);
    if (IsWindowVisible(window) && ClassNameOf(window) == L"#32770" &&
        window != appState.paletteWindow)
        found->push_back(window);
    return TRUE;
}

void CloseWithDefaultAnswer(HWND dialog) {
    if (GetDlgItem(dialog, IDCANCEL))
        ClickDialogButton(dialog, IDCANCEL);
    else
        ClickDialogButton(dialog, IDOK);
}

void CALLBACK WatchTimer(HWND, UINT, UINT_PTR, DWORD) {
    DialogWatch* watch = activeWatch;
    if (!watch || watch->inCallback)
        return;
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectThreadDialogs,
                      reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
        if (std::find(watch->handled.begin(), watch->handled.end(), dialog) != watch->handled.end())
            continue;
        watch->handled.push_back(dialog);
        SeenDialog seen;
        seen.caption = WindowText(dialog);
        HWND textControl = GetDlgItem(dialog, 0xFFFF);
        if (textControl)
            seen.text = WindowText(textControl);
        seen.owner = GetWindow(dialog, GW_OWNER);
        watch->seen.push_back(seen);
        watch->inCallback = true;
        if (watch->respond)
            watch->respond(dialog);
        else
            CloseWithDefaultAnswer(dialog);
        watch->inCallback = false;
    }
}

} // namespace

std::vector<SeenDialog> RunAnsweringDialogs(const std::function<void()>& action,
                                            const std::function<void(HWND dialog)>& respond) {
    DialogWatch watch;
    watch.respond = respond;
    DialogWatch* outer = activeWatch;
    activeWatch = &watch;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchTimer);
    action();
    PumpMessages(50);
    KillTimer(nullptr, timer);
    activeWatch = outer;
    std::vector<HWND> stillOpen;
    EnumThreadWindows(GetCurrentThreadId(), CollectThreadDialogs,
                      reinterpret_cast<LPARAM>(&stillOpen));
    for (HWND dialog : stillOpen)
        ADD_FAILURE() << "a dialog stayed open: " << testing::PrintToString(WindowText(dialog));
    return watch.seen;
}

void ClickDialogButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button)
        PostMessageW(button, BM_CLICK, 0, 0);
    else
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void UseTestModuleAsInstance() {
    appState.instance = GetModuleHandleW(nullptr);
}

void TypeIntoBox(HWND box, const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c)
        SendMessageW(box, WM_CHAR, *c, 1);
}

void SelectAllOfBox(HWND box) {
    SendMessageW(box, EM_SETSEL, 0, -1);
}

std::vector<uint32_t> CopyPixels(HDC source, int width, int height) {
    std::vector<uint32_t> pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC copyDc = CreateCompatibleDC(source);
    HBITMAP copy = CreateDIBSection(copyDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (copyDc && copy && bits) {
        HGDIOBJ old = SelectObject(copyDc, copy);
        BitBlt(copyDc, 0, 0, width, height, source, 0, 0, SRCCOPY);
        GdiFlush();
        pixels.assign(static_cast<uint32_t*>(bits),
                      static_cast<uint32_t*>(bits) + size_t(width) * height);
        for (uint32_t& p : pixels)
            p &= 0xFFFFFF;
        SelectObject(copyDc, old);
    }
    if (copy)
        DeleteObject(copy);
    if (copyDc)
        DeleteDC(copyDc);
    return pixels;
}
