// The palette's painted surface: composed off-screen and read back pixel by pixel, and the
// window's own paint read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/app_state.h"
#include "palette/palette_layout.h"
#include "palette/palette_paint.h"
#include "palette/swatches.h"
#include "palette_test_support.h"
#include "win32_test_support.h"

namespace {

const COLORREF Black = RGB(0, 0, 0);
const COLORREF White = RGB(255, 255, 255);
const COLORREF DarkRed = RGB(51, 0, 0);
const COLORREF Blue = RGB(0, 0, 255);

// A 32-bit top-down DIB section in a memory DC, painted by PaintPaletteSurface.
struct PaintedSurface {
    int width = 0;
    int height = 0;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;

    PaintedSurface(int w, int h) : width(w), height(h) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        bits = static_cast<uint32_t*>(pixels);
        previous = SelectObject(dc, bitmap);
        // Something the paint must cover, so an unpainted pixel shows.
        for (int i = 0; i < w * h; ++i)
            bits[i] = 0x00123456;
    }
    ~PaintedSurface() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    int Paint() {
        int painted = PaintPaletteSurface(dc, width, height);
        GdiFlush();
        return painted;
    }
    COLORREF At(int x, int y) const {
        uint32_t p = bits[y * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

std::string Hex(COLORREF c) {
    char text[16];
    snprintf(text, sizeof(text), "%06lX", static_cast<unsigned long>(c));
    return text;
}

#define EXPECT_PIXEL(surface, x, y, colour)                                                        \
    EXPECT_EQ(Hex((surface).At(x, y)), Hex(colour)) << "at " << (x) << "," << (y)

TEST(PaletteSurfaceTest, BackgroundFrameAndTheUnpaintedStrip) {
    PaintedSurface s(640, 400);
    ASSERT_EQ(s.Paint(), 1);
    // The 1-pixel black frame of Rectangle(0, 0, width - 2, height - 2).
    for (int x = 0; x < 638; x += 37) {
        EXPECT_PIXEL(s, x, 0, Black);
        EXPECT_PIXEL(s, x, 397, Black);
    }
    for (int y = 0; y < 398; y += 29) {
        EXPECT_PIXEL(s, 0, y, Black);
        EXPECT_PIXEL(s, 637, y, Black);
    }
    // The dark red inside, away from the label, swatches and discs.
    EXPECT_PIXEL(s, 1, 1, DarkRed);
    EXPECT_PIXEL(s, 636, 396, DarkRed);
    EXPECT_PIXEL(s, 300, 300, DarkRed);
    EXPECT_PIXEL(s, 10, 110, DarkRed);
    EXPECT_PIXEL(s, 630, 150, DarkRed);
    // The two right-most columns and bottom rows: black, never left as they were.
    for (int y = 0; y < 400; y += 13) {
        EXPECT_PIXEL(s, 638, y, Black);
        EXPECT_PIXEL(s, 639, y, Black);
    }
    for (int x = 0; x < 640; x += 13) {
        EXPECT_PIXEL(s, x, 398, Black);
        EXPECT_PIXEL(s, x, 399, Black);
    }
}

// Antialiased white text over the dark red: every pixel of it lies between the two.
bool IsLabelInk(COLORREF c) {
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return c != DarkRed && g == b && r >= g && r >= 51;
}

TEST(PaletteSurfaceTest, LabelIsWhiteTextAtTwentyTwenty) {
    PaintedSurface s(640, 400);
    ASSERT_EQ(s.Paint(), 1);
    int white = 0;
    int ink = 0;
    int left = 640, top = 400;
    for (int y = 1; y < 110; ++y)
        for (int x = 1; x < 140; ++x) {
            COLORREF c = s.At(x, y);
            if (c == DarkRed)
                continue;
            ASSERT_TRUE(IsLabelInk(c)) << Hex(c) << " at " << x << "," << y;
            ++ink;
            white += c == White;
            left = std::min(left, x);
            top = std::min(top, y);
        }
    EXPECT_GT(white, 20) << "the label's strokes";
    EXPECT_GT(ink, 100);
    EXPECT_GE(left, 20);
    EXPECT_LE(left, 24);
    EXPECT_GE(top, 20);
    EXPECT_LE(top, 28);
}

TEST(PaletteSurfaceTest, EverySwatchCellIsItsTableColourInABlackFrame) {
    PaintedSurface s(640, 400);
    ASSERT_EQ(s.Paint(), 1);
    for (int row = 0; row < SwatchRows; ++row) {
        for (int column = 0; column < SwatchColumns; ++column) {
            IntRect cell = SwatchCellRect(row, column);
            COLORREF colour = SwatchTable[row][column];
            SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
            // 13 x 13 inside, a 1-pixel frame around it.
            for (int y = cell.top + 1; y < cell.bottom - 1; y += 3)
                for (int x = cell.left + 1; x < cell.right - 1; x += 3)
                    EXPECT_PIXEL(s, x, y, colour);
            EXPECT_PIXEL(s, cell.right - 2, cell.bottom - 2, colour);
            EXPECT_PIXEL(s, cell.left, cell.top + 7, Black);
            EXPECT_PIXEL(s, cell.right - 1, cell.top + 7, Black);
            EXPECT_PIXEL(s, cell.left + 7, cell.top, Black);
            EXPECT_PIXEL(s, cell.left + 7, cell.bottom - 1, Black);
        }
    }
    // Right of and below the grid: the background again.
    EXPECT_PIXEL(s, 625, 150, DarkRed);
    EXPECT_PIXEL(s, 300, 190, DarkRed);
    EXPECT_PIXEL(s, 144, 150, DarkRed);
}

TEST(PaletteSurfaceTest, DiscsShowBothColoursInsideTheBlueOutline) {
    appState.primaryColour = RgbTriple{10, 200, 30};
    appState.secondaryColour = RgbTriple{250, 5, 128};
    PaintedSurface s(640, 400);
    ASSERT_EQ(s.Paint(), 1);
    EXPECT_PIXEL(s, 50, 150, RGB(10, 200, 30));
    EXPECT_PIXEL(s, 35, 150, RGB(10, 200, 30));
    EXPECT_PIXEL(s, 110, 150, RGB(250, 5, 128));
    EXPECT_PIXEL(s, 110, 135, RGB(250, 5, 128));
    // The 3-pixel outline along the top, bottom, left and right of each disc.
    EXPECT_PIXEL(s, 50, 121, Blue);
    EXPECT_PIXEL(s, 50, 178, Blue);
    EXPECT_PIXEL(s, 21, 150, Blue);
    EXPECT_PIXEL(s, 78, 150, Blue);
    EXPECT_PIXEL(s, 110, 126, Blue);
    EXPECT_PIXEL(s, 110, 173, Blue);
    EXPECT_PIXEL(s, 86, 150, Blue);
    EXPECT_PIXEL(s, 133, 150, Blue);
    // Outside the discs' circles, in their corners: the background.
    EXPECT_PIXEL(s, 23, 123, DarkRed);
    EXPECT_PIXEL(s, 88, 128, DarkRed);
    EXPECT_PIXEL(s, 82, 150, DarkRed);
}

TEST(PaletteSurfaceTest, APaintReleasesEveryObjectItMade) {
    PaintedSurface s(640, 400);
    s.Paint(); // warm-up: fonts and caches made once
    int before = CountGdiObjects();
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(s.Paint(), 1);
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST(PaletteSurfaceTest, ASurfaceThatCannotBeMadeDrawsNothingAndLeaksNothing) {
    PaintedSurface warmUp(64, 64);
    warmUp.Paint();
    PaintedSurface s(64, 64);
    int before = CountGdiObjects();
    EXPECT_EQ(PaintPaletteSurface(nullptr, 640, 400), 0);
    EXPECT_EQ(PaintPaletteSurface(s.dc, -5, -5), 0);
    GdiFlush();
    EXPECT_EQ(s.bits[10 * 64 + 10], 0x00123456u) << "left as it was";
    PaintPaletteSurface(s.dc, 0, 0);
    EXPECT_EQ(CountGdiObjects(), before);
}

// The palette window: its paint read back from the window.
class PaletteWindowPaintTest : public PaletteTest {
  protected:
    // The pixel at a point the controls leave uncovered.
    std::string SurfacePixel(int x, int y) {
        EXPECT_TRUE(SurfaceShowsAt(x, y)) << "a control covers " << x << "," << y;
        return Hex(ClientPixel(x, y));
    }
};

TEST_F(PaletteWindowPaintTest, ShowsTheSurfaceWithBlackAndWhiteDiscsAfterOpening) {
    RepaintNow();
    EXPECT_EQ(SurfacePixel(50, 150), Hex(Black)) << "primary disc";
    EXPECT_EQ(SurfacePixel(110, 150), Hex(White)) << "secondary disc";
    EXPECT_EQ(SurfacePixel(50, 178), Hex(Blue)) << "outline";
    EXPECT_EQ(SurfacePixel(300, 105), Hex(DarkRed)) << "background";
    EXPECT_EQ(SurfacePixel(0, 300), Hex(Black)) << "frame";
    IntRect red = SwatchCellRect(1, 8);
    EXPECT_EQ(SurfacePixel(red.left + 7, red.top + 7), Hex(RGB(255, 255, 0)));
    IntRect blue = SwatchCellRect(1, 1);
    EXPECT_EQ(SurfacePixel(blue.left + 7, blue.top + 7), Hex(RGB(0, 0, 210)));
    IntRect last = SwatchCellRect(3, 31);
    EXPECT_EQ(SurfacePixel(last.left + 7, last.top + 7), Hex(RGB(120, 0, 255)));
}

TEST_F(PaletteWindowPaintTest, APickAndAnExchangeShowInTheDiscs) {
    RepaintNow();
    IntRect cell = SwatchCellRect(2, 20); // (90, 90, 255)
    PressSurface(cell.left + 7, cell.top + 7);
    UpdateWindow(palette);
    PumpMessages();
    EXPECT_EQ(SurfacePixel(50, 150), Hex(RGB(90, 90, 255)));
    EXPECT_EQ(SurfacePixel(110, 150), Hex(White));

    PressSurface(110, 150);
    UpdateWindow(palette);
    PumpMessages();
    EXPECT_EQ(SurfacePixel(50, 150), Hex(White));
    EXPECT_EQ(SurfacePixel(110, 150), Hex(RGB(90, 90, 255)));
}

TEST_F(PaletteWindowPaintTest, AColourSetElsewhereShowsAtTheNextPaintOfTheDiscs) {
    RepaintNow();
    // As the eyedropper does: set the colour, invalidate the discs' area only.
    appState.primaryColour = RgbTriple{200, 100, 0};
    const IntRect r = AppState::colourIndicatorRect;
    RECT indicator = {r.left, r.top, r.right, r.bottom};
    InvalidateRect(appState.paletteWindow, &indicator, FALSE);
    UpdateWindow(palette);
    PumpMessages();
    EXPECT_EQ(SurfacePixel(50, 150), Hex(RGB(200, 100, 0)));
}

TEST_F(PaletteWindowPaintTest, WindowPaintsReleaseEveryObjectTheyMade) {
    RepaintNow();
    RepaintNow();
    int before = CountGdiObjects();
    for (int i = 0; i < 10; ++i) {
        InvalidateRect(palette, nullptr, FALSE);
        UpdateWindow(palette);
    }
    PumpMessages();
    EXPECT_EQ(CountGdiObjects(), before);
}

} // namespace
