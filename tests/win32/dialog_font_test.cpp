// The two dialogs as drawn in the Wine prefix that the scripts make, whose dialog font is
// mapped so they read as designed: every label fits its control whole, and the palette's lower
// group box frames the painted swatches and discs without its lines touching them. On Windows
// the dialog font is the system's own and these checks do not apply.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/app_state.h"
#include "palette/palette_layout.h"
#include "palette/palette_paint.h"
#include "palette/swatches.h"
#include "palette_test_support.h"
#include "win32_test_support.h"

namespace {

// Each label's extent in its control's font against the room the control gives it: beside a
// check box's square (13 pixels and a gap), inside a group box's corners or a button's edges.
void ExpectEveryLabelWhole(HWND dialog) {
    int labels = 0;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const std::wstring text = WindowText(control);
        const LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
        const bool isStatic = _wcsicmp(ClassNameOf(control).c_str(), L"Static") == 0;
        if (text.empty() || _wcsicmp(ClassNameOf(control).c_str(), L"Edit") == 0)
            continue;
        ++labels;
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE extent = {};
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        RECT client;
        GetClientRect(control, &client);
        const int margin = isStatic                  ? 0
                           : kind == BS_AUTOCHECKBOX ? 13 + 3
                           : kind == BS_GROUPBOX     ? 2 * 8
                                                     : 2 * 2;
        EXPECT_LE(extent.cx + margin, client.right)
            << testing::PrintToString(text) << " is cut at the right";
    }
    EXPECT_GT(labels, 0);
}

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class DialogFontTest : public PaletteTest {
  protected:
    void SetUp() override {
        if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
            GTEST_SKIP() << "the dialog font is the system's own";
        PaletteTest::SetUp();
    }
};

TEST_F(DialogFontTest, EveryLabelOfBothDialogsIsWhole) {
    ExpectEveryLabelWhole(palette);
    HWND paper = CreateDialogParamW(appState.instance, L"YOUSIDLG", nullptr, NoHandling, 0);
    ASSERT_NE(paper, nullptr);
    ExpectEveryLabelWhole(paper);
    DestroyWindow(paper);
}

// A group box line across the grid or the discs shows as pixels the palette's paint did not draw.
TEST_F(DialogFontTest, TheLowerGroupBoxFramesTheSwatchesAndDiscsClearOfItsLines) {
    RepaintNow();
    RECT client;
    GetClientRect(palette, &client);
    const int width = client.right, height = client.bottom;
    HDC window = GetDC(palette);
    const std::vector<uint32_t> shown = CopyPixels(window, width, height);
    HDC dc = CreateCompatibleDC(window);
    HBITMAP bitmap = CreateCompatibleBitmap(window, width, height);
    ReleaseDC(palette, window);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PaintPaletteSurface(dc, width, height);
    const std::vector<uint32_t> painted = CopyPixels(dc, width, height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);

    const IntRect first = SwatchCellRect(0, 0);
    const IntRect last = SwatchCellRect(SwatchRows - 1, SwatchColumns - 1);
    const IntRect items[] = {{first.left, first.top, last.right, last.bottom},
                             {PrimaryDiscRect.left - 2, PrimaryDiscRect.top - 2,
                              SecondaryDiscRect.right + 2, PrimaryDiscRect.bottom + 2}};
    HWND box = GetWindow(palette, GW_CHILD); // the lower group box: the second in the template
    for (int boxes = 0; box; box = GetWindow(box, GW_HWNDNEXT))
        if ((GetWindowLongW(box, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && ++boxes == 2)
            break;
    ASSERT_NE(box, nullptr);
    RECT frame;
    GetWindowRect(box, &frame);
    MapWindowPoints(nullptr, palette, reinterpret_cast<POINT*>(&frame), 2);
    for (const IntRect& r : items) {
        EXPECT_TRUE(r.left > frame.left && r.top > frame.top && r.right < frame.right &&
                    r.bottom < frame.bottom);
        int differing = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                differing += shown[size_t(y) * width + x] != painted[size_t(y) * width + x];
        EXPECT_EQ(differing, 0) << "pixels drawn over the painted swatches or discs";
    }
}

} // namespace
