#include "palette_test_support.h"

#include <commctrl.h>

#include <string>

#include "base/app_state.h"
#include "palette/palette_dialog.h"
#include "win32_test_support.h"

void PaletteTest::SetUp() {
    UseTestModuleAsInstance();
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    palette = CreateDialogParamW(appState.instance, L"OPTDLG", nullptr, PaletteDlgProc, 0);
    ASSERT_NE(palette, nullptr);
    PumpMessages();
}

void PaletteTest::TearDown() {
    if (IsWindow(palette))
        DestroyWindow(palette);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
}

std::wstring PaletteTest::BoxText(int id) const {
    return WindowText(Control(id));
}

int PaletteTest::TrackbarPos(int id) const {
    return int(SendMessageW(Control(id), TBM_GETPOS, 0, 0));
}

int PaletteTest::PressSurface(int x, int y, UINT message) {
    LPARAM position = MAKELPARAM(x, y);
    WPARAM keys = message == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON;
    SendMessageW(palette, message, keys, position);
    MSG drag;
    int dragged = 0;
    while (PeekMessageW(&drag, palette, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE))
        if (drag.wParam == HTCAPTION && drag.lParam == position)
            dragged = 1;
    return dragged;
}

void PaletteTest::RepaintNow() {
    RedrawWindow(palette, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
}

COLORREF PaletteTest::ClientPixel(int x, int y) const {
    HDC dc = GetDC(palette);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(palette, dc);
    return colour;
}

int PaletteTest::SurfaceShowsAt(int x, int y) const {
    for (HWND child = GetWindow(palette, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, palette, reinterpret_cast<POINT*>(&r), 2);
        bool groupBox = (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX &&
                        ClassNameOf(child) == L"Button";
        if (!PtInRect(&r, POINT{x, y}))
            continue;
        // A group box's frame runs through the middle of its caption's height at the top.
        RECT inside = {r.left + 4, r.top + 16, r.right - 4, r.bottom - 4};
        if (!groupBox || !PtInRect(&inside, POINT{x, y}))
            return 0;
    }
    return 1;
}
