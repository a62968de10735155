// The two dialogs as drawn in the Wine prefix that the scripts make, whose dialog font is
// mapped so they read as designed: every label fits its control whole, and the palette's lower
// group box frames the painted swatches and discs without its lines touching them. On Windows
// the dialog font is the system's own and these checks do not apply.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "palette/palette_layout.h"
#include "palette/palette_paint.h"
#include "palette/swatches.h"
#include "palette_test_support.h"
#include "win32_test_support.h"

namespace {

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// What `draw` paints on a fresh bitmap of the screen's format, as 0xRRGGBB rows from the top.
template <typename Draw> std::vector<uint32_t> Drawn(int width, int height, Draw draw) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    std::vector<uint32_t> pixels = CopyPixels(dc, width, height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// How far below the top of its line a text's lowest inked row lies, drawn in the font.
int InkBottom(HFONT font, const std::wstring& text) {
    const int width = 400, height = 100;
    std::vector<uint32_t> pixels = Drawn(width, height, [&](HDC dc) {
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        HGDIOBJ old = SelectObject(dc, font);
        TextOutW(dc, 0, 0, text.c_str(), int(text.size()));
        SelectObject(dc, old);
    });
    int bottom = 0;
    for (int i = 0; i < width * height; ++i)
        if (pixels[i] != 0xFFFFFF)
            bottom = i / width + 1;
    return bottom;
}

// Each control with a label, and whether the label fits: the text's extent in the control's
// font against the room the control gives it, beside a check box's square (13 pixels and a
// gap) or a group box's corner, inside a push button's edges; a label's ink against its height.
void ExpectEveryLabelWhole(HWND dialog) {
    int labels = 0;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        std::wstring text = WindowText(control);
        std::wstring kind = ClassNameOf(control);
        LONG style = GetWindowLongW(control, GWL_STYLE);
        if (text.empty() || _wcsicmp(kind.c_str(), L"Edit") == 0)
            continue;
        ++labels;
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent = {};
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        RECT client;
        GetClientRect(control, &client);

        int room = client.right, needed = extent.cx, height = metrics.tmHeight;
        if (_wcsicmp(kind.c_str(), L"Static") == 0) {
            height = InkBottom(font, text);
        } else if ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
            needed += 13 + 3;
        } else if ((style & BS_TYPEMASK) == BS_GROUPBOX) {
            needed += 2 * 8;
            height = 0;
        } else {
            needed += 2 * 2;
            height += 2 * 2;
        }
        char label[256] = {};
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, label, sizeof(label), nullptr, nullptr);
        EXPECT_LE(needed, room) << label << " is cut at the right";
        EXPECT_LE(height, client.bottom) << label << " is cut at the bottom";
    }
    EXPECT_GT(labels, 0);
}

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class DialogFontTest : public PaletteTest {
  protected:
    void SetUp() override {
        if (!RunningUnderWine())
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

TEST_F(DialogFontTest, TheLowerGroupBoxFramesTheSwatchesAndDiscsClearOfItsLines) {
    RepaintNow();
    RECT client;
    GetClientRect(palette, &client);
    // What the palette shows, and what its paint alone draws.
    const int width = client.right, height = client.bottom;
    HDC window = GetDC(palette);
    std::vector<uint32_t> shown = CopyPixels(window, width, height);
    ReleaseDC(palette, window);
    std::vector<uint32_t> painted =
        Drawn(width, height, [&](HDC dc) { PaintPaletteSurface(dc, width, height); });
    ASSERT_EQ(shown.size(), size_t(width) * height);
    ASSERT_EQ(painted.size(), shown.size());
    auto at = [&](const std::vector<uint32_t>& pixels, int x, int y) {
        return pixels[size_t(y) * width + x];
    };

    // The swatch grid, and the discs with their 3-pixel outline.
    IntRect first = SwatchCellRect(0, 0), last = SwatchCellRect(SwatchRows - 1, SwatchColumns - 1);
    const IntRect grid = {first.left, first.top, last.right, last.bottom};
    const IntRect discs = {PrimaryDiscRect.left - 2, PrimaryDiscRect.top - 2,
                           SecondaryDiscRect.right + 2, PrimaryDiscRect.bottom + 2};
    const struct {
        const char* name;
        IntRect area;
    } paintedItems[] = {{"swatch grid", grid}, {"discs", discs}};
    for (const auto& item : paintedItems) {
        const IntRect& r = item.area;
        int differing = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                differing += at(shown, x, y) != at(painted, x, y);
        EXPECT_EQ(differing, 0) << "pixels drawn over the painted " << item.name;
    }

    // The lower group box, the second in the template, and its lines on each side: the first
    // pixel that is not the background, going outwards from the painted items.
    HWND box = nullptr;
    int boxes = 0;
    for (HWND c = GetWindow(palette, GW_CHILD); c && !box; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && ++boxes == 2)
            box = c;
    ASSERT_NE(box, nullptr);
    RECT frame;
    GetWindowRect(box, &frame);
    MapWindowPoints(nullptr, palette, reinterpret_cast<POINT*>(&frame), 2);
    const uint32_t background = 0x330000; // as the bitmap holds it: 0xRRGGBB
    auto lineFrom = [&](int x, int y, int dx, int dy) {
        for (; x >= 0 && y >= 0 && x < width && y < height; x += dx, y += dy)
            if (at(shown, x, y) != background)
                return dx ? x : y;
        return -1;
    };
    const int middleX = (grid.left + grid.right) / 2, middleY = (grid.top + grid.bottom) / 2;
    int top = lineFrom(middleX, grid.top - 1, 0, -1);
    int bottom = lineFrom(middleX, grid.bottom, 0, 1);
    int left = lineFrom(discs.left - 1, middleY, -1, 0);
    int right = lineFrom(grid.right, middleY, 1, 0);
    EXPECT_GE(top, int(frame.top)) << "the box's top line above the grid";
    EXPECT_LT(top, std::min(grid.top, discs.top));
    EXPECT_GE(bottom, std::max(grid.bottom, discs.bottom));
    EXPECT_LT(bottom, int(frame.bottom)) << "the box's bottom line below the grid";
    EXPECT_GE(left, int(frame.left)) << "the box's left line left of the discs";
    EXPECT_LT(left, discs.left);
    EXPECT_GE(right, grid.right);
    EXPECT_LT(right, int(frame.right)) << "the box's right line right of the grid";
}

} // namespace
