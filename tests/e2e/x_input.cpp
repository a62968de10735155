#include "x_input.h"

#include <cstdio>
#include <string>

#include "program_driver.h"
#include "test_files.h"

namespace {

bool Xdotool(const std::wstring& arguments) {
    return RunUnixProgram(L"/usr/bin/xdotool", arguments, 10000) == 0;
}

std::wstring Number(long value) {
    return std::to_wstring(value);
}

bool InMoveLoop(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE) != 0;
}

} // namespace

bool XMoveTo(int x, int y) {
    return Xdotool(L"mousemove " + Number(x) + L" " + Number(y));
}

bool XClickAt(int x, int y) {
    bool ok = Xdotool(L"mousemove " + Number(x) + L" " + Number(y) + L" click 1");
    Sleep(50);
    return ok;
}

bool XDrag(POINT from, POINT to, int steps) {
    bool ok = Xdotool(L"mousemove " + Number(from.x) + L" " + Number(from.y) + L" mousedown 1");
    Sleep(30);
    for (int i = 1; i <= steps && ok; ++i) {
        long x = from.x + (to.x - from.x) * i / steps;
        long y = from.y + (to.y - from.y) * i / steps;
        ok = Xdotool(L"mousemove " + Number(x) + L" " + Number(y));
        Sleep(15);
    }
    ok = Xdotool(L"mouseup 1") && ok;
    Sleep(50);
    return ok;
}

bool XDragWindow(HWND window, POINT from, POINT to, int steps) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    RECT start;
    GetWindowRect(window, &start);
    bool ok = Xdotool(L"mousemove " + Number(from.x) + L" " + Number(from.y) + L" mousedown 1");
    ok = ok && Eventually([&] { return InMoveLoop(thread); }, true, 5000);
    if (!ok)
        fprintf(stderr, "XDragWindow: the press did not start the move loop\n");
    for (int i = 1; i <= steps && ok; ++i) {
        long x = from.x + (to.x - from.x) * i / steps;
        long y = from.y + (to.y - from.y) * i / steps;
        ok = Xdotool(L"mousemove " + Number(x) + L" " + Number(y));
    }
    auto followed = [&] {
        RECT now;
        GetWindowRect(window, &now);
        return now.left - start.left == to.x - from.x && now.top - start.top == to.y - from.y;
    };
    ok = ok && Eventually(followed, true, 5000);
    if (!ok)
        fprintf(stderr, "XDragWindow: the window did not follow the pointer\n");
    // Released whatever happened, so that no button stays down for the next scenario.
    ok = Xdotool(L"mouseup 1") && ok;
    return Eventually([&] { return !InMoveLoop(thread); }, true, 5000) && ok;
}

bool XWheelAt(int x, int y, int notches) {
    int button = notches > 0 ? 4 : 5;
    int count = notches > 0 ? notches : -notches;
    bool ok = XMoveTo(x, y);
    for (int i = 0; i < count && ok; ++i) {
        ok = Xdotool(L"click " + Number(button));
        Sleep(30);
    }
    return ok;
}

bool XKey(const char* keys) {
    std::wstring wide(keys, keys + strlen(keys));
    bool ok = Xdotool(L"key " + wide);
    Sleep(50);
    return ok;
}

bool XType(const std::wstring& text) {
    // Single quotes keep the shell from reading backslashes and spaces.
    bool ok = Xdotool(L"type --delay 20 '" + text + L"'");
    Sleep(50);
    return ok;
}

POINT CentreOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT ScreenPointOf(HWND window, int clientX, int clientY) {
    POINT p{clientX, clientY};
    ClientToScreen(window, &p);
    return p;
}
