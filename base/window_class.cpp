#include "base/window_class.h"

#include "base/centring.h"

void RegisterWindowClass(WNDPROC procedure, HINSTANCE instance, const wchar_t* className,
                         UINT classStyle, HBRUSH background, const wchar_t* menuName, HICON icon) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszMenuName = menuName;
    windowClass.lpszClassName = className;
    windowClass.hIconSm = icon;
    RegisterClassExW(&windowClass);
}

static IntRect ToIntRect(const RECT& r) {
    return IntRect{r.left, r.top, r.right, r.bottom};
}

int CenterWindow(HWND window) {
    RECT desktop = {};
    RECT own = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    IntRect placed = CentredWindowRect(ToIntRect(desktop), ToIntRect(own));
    SetWindowPos(window, HWND_TOP, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_SHOWWINDOW);
    return 0;
}
