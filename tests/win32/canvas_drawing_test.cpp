// The canvas window's tools on a real sheet: the pen, the three shapes with their rubber band,
// the fill, the spray and the eyedropper, driven by the mouse messages a hand makes, and the
// mouse capture that makes every stroke end when the button comes up.
#include <set>
#include <utility>

#include "drawing_fixture.h"
#include "tools/canvas_window.h"
#include "tools/spray_pattern.h"
#include "view/view_geometry.h"

namespace {

// What a finished shape must leave: the picture as it was with the figure drawn over it once,
// solid in the colour, by GDI itself on a copy of the same kind of surface.
std::vector<uint32_t> ExpectedWithFigure(const std::vector<uint32_t>& before, ToolCode tool,
                                         POINT a, POINT d, RgbTriple colour, int lineWidth) {
    const int w = appState.surfaceSize.w;
    const int h = appState.surfaceSize.h;
    HBITMAP bitmap = nullptr;
    uint32_t* bits = nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; // top-down: row 0 first, like the pictures
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    bitmap =
        CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    for (size_t i = 0; i < before.size(); ++i)
        bits[i] = before[i];
    const COLORREF ref = ToColorRef(colour);
    HPEN pen = CreatePen(PS_SOLID, tool == ToolCode::Line ? lineWidth : 1, ref);
    HBRUSH brush = CreateSolidBrush(ref);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    if (tool == ToolCode::Ellipse)
        Ellipse(dc, a.x, a.y, d.x, d.y);
    else if (tool == ToolCode::Rectangle)
        Rectangle(dc, a.x, a.y, d.x, d.y);
    else {
        MoveToEx(dc, a.x, a.y, nullptr);
        LineTo(dc, d.x, d.y);
    }
    GdiFlush();
    std::vector<uint32_t> expected(bits, bits + size_t(w) * size_t(h));
    for (uint32_t& p : expected)
        p &= 0xFFFFFF;
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBitmap);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return expected;
}

class CanvasDrawingTest : public DrawingTest {};

TEST_F(CanvasDrawingTest, PenFollowsThePointerWithThePenWidth) {
    OpenSheet(200, 150);
    appState.primaryColour = Red;
    appState.penWidth = 1;
    Drag(ToolCode::Pen, POINT{20, 20}, {POINT{60, 20}, POINT{60, 40}});
    for (int x = 20; x < 60; ++x)
        ASSERT_EQ(Rgb(x, 20), Hex(Red)) << x;
    for (int y = 20; y < 40; ++y)
        ASSERT_EQ(Rgb(60, y), Hex(Red)) << y;
    EXPECT_EQ(Rgb(19, 20), 0xFFFFFFu);
    EXPECT_EQ(Rgb(61, 30), 0xFFFFFFu);

    // A wide pen paints a band as wide as the pen around the pointer's path.
    appState.penWidth = 9;
    appState.primaryColour = Blue;
    Drag(ToolCode::Pen, POINT{30, 100}, {POINT{90, 100}});
    EXPECT_EQ(Rgb(60, 96), Hex(Blue));
    EXPECT_EQ(Rgb(60, 104), Hex(Blue));
    EXPECT_EQ(Rgb(60, 94), 0xFFFFFFu);
    EXPECT_EQ(Rgb(60, 106), 0xFFFFFFu);
    EXPECT_EQ(appState.strokeActive, 0);
}

// The band is inverted into the surface while dragging and erased exactly: the finished
// ellipse, rectangle or line lies over the picture as it was, which is untouched elsewhere.
TEST_F(CanvasDrawingTest, FinishedShapesLieOverTheUnchangedPictureWithNoTraceOfTheBand) {
    OpenSheet(200, 150);
    appState.penWidth = 7;
    const ToolCode shapes[] = {ToolCode::Ellipse, ToolCode::Rectangle, ToolCode::Line};
    for (ToolCode tool : shapes) {
        PaintPattern();
        const std::vector<uint32_t> before = Picture();
        appState.primaryColour = Green;
        appState.activeTool = tool;
        Press(30, 40);
        Move(150, 60);
        if (tool == ToolCode::Rectangle) {
            // While dragging the band shows, inverted.
            EXPECT_EQ(Rgb(149, 50), ~before[size_t(50) * 200 + 149] & 0xFFFFFF);
        }
        Move(60, 130);
        Move(170, 110);
        Move(120, 100);
        // Released somewhere else: the shape ends at the last move.
        Release(10, 10);
        const std::vector<uint32_t> expected =
            ExpectedWithFigure(before, tool, POINT{30, 40}, POINT{120, 100}, Green, 7);
        EXPECT_EQ(DifferingPixels(Picture(), expected), 0) << "tool " << int(tool);
        EXPECT_EQ(GetROP2(appState.canvasDc), R2_COPYPEN);
    }
}

TEST_F(CanvasDrawingTest, WithPreviewsOffNothingIsDrawnUntilTheRelease) {
    OpenSheet(200, 150);
    PaintPattern();
    const std::vector<uint32_t> before = Picture();
    appState.previewOutlines = 0;
    appState.primaryColour = Red;
    appState.activeTool = ToolCode::Rectangle;
    Press(20, 20);
    Move(80, 90);
    Move(60, 70);
    EXPECT_EQ(DifferingPixels(Picture(), before), 0);
    Release(60, 70);
    for (int y = 20; y < 70; ++y)
        for (int x = 20; x < 60; ++x)
            ASSERT_EQ(Rgb(x, y), Hex(Red)) << x << "," << y;
    EXPECT_EQ(DifferingPixels(Picture(), before), 40 * 50);
}

TEST_F(CanvasDrawingTest, AClickWithAShapeDrawsItWithBothCornersAtThePressPoint) {
    OpenSheet(100, 80);
    const std::vector<uint32_t> before = Picture();
    appState.primaryColour = Red;
    Click(ToolCode::Rectangle, 40, 40);
    Click(ToolCode::Ellipse, 40, 40);
    // A figure of no size covers no pixel, and the band drawn and erased left none inverted.
    EXPECT_EQ(DifferingPixels(Picture(), before), 0);
    EXPECT_EQ(PackedX(appState.dragPoint), 40);
    EXPECT_EQ(PackedY(appState.anchorPoint), 40);
}

// At zoom 2 the pen and a shape's corner take the same pixel: the one the paint shows under the
// pointer. View (100, 50) shows canvas (83, 41), view (40, 112) canvas (33, 93).
TEST_F(CanvasDrawingTest, ZoomedPenAndShapeCornerTakeThePixelUnderThePointer) {
    OpenSheet(200, 150);
    SendMessageW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    ASSERT_EQ(appState.zoomLevel, 2);
    ASSERT_EQ(StretchSourceColumn(200, appState.viewSize.w, 100), 83);
    ASSERT_EQ(StretchSourceRow(150, appState.viewSize.h, 112), 93);
    appState.primaryColour = Red;
    appState.penWidth = 1;
    Drag(ToolCode::Pen, POINT{100, 50}, {POINT{140, 50}});
    EXPECT_EQ(Rgb(83, 41), Hex(Red));
    EXPECT_EQ(Rgb(82, 41), 0xFFFFFFu);
    EXPECT_EQ(Rgb(83, 40), 0xFFFFFFu);

    appState.primaryColour = Blue;
    Drag(ToolCode::Rectangle, POINT{100, 50}, {POINT{100, 112}, POINT{40, 112}});
    // Corners (83, 41) and (33, 93): the rectangle covers 33..82 and 41..92.
    EXPECT_EQ(Rgb(82, 41), Hex(Blue));
    EXPECT_EQ(Rgb(83, 45), 0xFFFFFFu);
    EXPECT_EQ(Rgb(60, 40), 0xFFFFFFu);
    EXPECT_EQ(Rgb(33, 92), Hex(Blue));
    EXPECT_EQ(Rgb(32, 92), 0xFFFFFFu);
    EXPECT_EQ(Rgb(40, 93), 0xFFFFFFu);
}

// Zooming with the wheel during a drag: the anchor stays where it is on the canvas and the
// following moves are converted at the new zoom.
TEST_F(CanvasDrawingTest, ZoomingDuringADragKeepsTheAnchor) {
    OpenSheet(200, 150);
    appState.primaryColour = Red;
    appState.previewOutlines = 0;
    appState.activeTool = ToolCode::Rectangle;
    Press(20, 20);
    SendMessageW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    ASSERT_EQ(appState.zoomLevel, 1);
    Move(110, 55); // shows canvas (100, 50) at zoom 1
    Release(110, 55);
    EXPECT_EQ(Rgb(20, 20), Hex(Red));
    EXPECT_EQ(Rgb(99, 49), Hex(Red));
    EXPECT_EQ(Rgb(100, 49), 0xFFFFFFu);
    EXPECT_EQ(Rgb(19, 20), 0xFFFFFFu);
}

TEST_F(CanvasDrawingTest, FillPaintsTheRegionUnderThePointerWithFullAlpha) {
    OpenSheet(120, 90);
    appState.primaryColour = Green;
    appState.penWidth = 1;
    // A wall across the sheet: the fill stays on its side.
    Drag(ToolCode::Pen, POINT{60, 0}, {POINT{60, 89}});
    appState.primaryColour = Blue;
    Click(ToolCode::Fill, 30, 45);
    EXPECT_EQ(Rgb(1, 1), Hex(Blue));
    EXPECT_EQ(Rgb(59, 88), Hex(Blue));
    EXPECT_EQ(RawPixel(30, 45) >> 24, 0xFFu);
    EXPECT_EQ(Rgb(0, 45), 0u) << "the black frame is far from white";
    EXPECT_EQ(Rgb(60, 45), Hex(Green));
    EXPECT_EQ(Rgb(61, 45), 0xFFFFFFu);
    EXPECT_EQ(Rgb(118, 88), 0xFFFFFFu);
}

TEST_F(CanvasDrawingTest, EyedropperTakesTheZoomedPixelAndRepaintsTheColourDiscs) {
    OpenSheet(200, 150);
    // A stand-in for the palette, to see what is invalidated.
    HWND palette = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(palette, nullptr);
    appState.paletteWindow = palette;
    PumpMessages();
    ValidateRect(palette, nullptr);
    SendMessageW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    GdiFlush();
    RawPixel(83, 41) = 0x00123456; // shown at (100, 50); alpha 0 plays no part
    RawPixel(82, 41) = 0xFF654321;
    Click(ToolCode::Eyedropper, 100, 50);
    EXPECT_EQ(appState.primaryColour, (RgbTriple{0x12, 0x34, 0x56}));
    RECT update = {};
    ASSERT_TRUE(GetUpdateRect(palette, &update, FALSE));
    EXPECT_EQ(update.left, 20);
    EXPECT_EQ(update.top, 120);
    EXPECT_EQ(update.right, 135);
    EXPECT_EQ(update.bottom, 180);

    // Moving with the button held and the release pick nothing more.
    appState.activeTool = ToolCode::Eyedropper;
    Press(100, 50);
    Move(99, 49);
    Release(99, 49);
    EXPECT_EQ(appState.primaryColour, (RgbTriple{0x12, 0x34, 0x56}));

    // A press that maps to no pixel of the surface (posted from outside the view) has no
    // colour to take; read as one, CLR_INVALID would turn the colour white.
    Click(ToolCode::Eyedropper, -30, -30);
    EXPECT_EQ(appState.primaryColour, (RgbTriple{0x12, 0x34, 0x56}));
    DestroyWindow(palette);
}

// The dots of a burst: sprayStrength + 1 of them, each at the next two numbers of the run's
// sequence (y first, then x), within the square around the pointer.
TEST_F(CanvasDrawingTest, SprayBurstsFollowTheSequenceAndStopAtTheRelease) {
    OpenSheet(200, 150);
    appState.primaryColour = Red;
    appState.penWidth = 20;
    appState.sprayStrength = 5;
    appState.activeTool = ToolCode::Spray;
    const std::vector<uint32_t> before = Picture();
    Press(100, 75);
    EXPECT_EQ(DifferingPixels(Picture(), before), 0) << "the press sprays nothing";
    EXPECT_EQ(appState.sprayRect.left, 80);
    EXPECT_EQ(appState.sprayRect.bottom, 94);

    Move(60, 50);
    RandomSequence expected;
    std::set<std::pair<int, int>> dots;
    const IntRect square = SprayRectAround(60, 50, 20);
    for (int i = 0; i < 6; ++i) {
        SprayDot dot = PlaceSprayDot(square, &expected);
        dots.insert({dot.x, dot.y});
    }
    std::vector<uint32_t> after = Picture();
    std::set<std::pair<int, int>> painted;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            if (after[size_t(y) * 200 + x] != before[size_t(y) * 200 + x])
                painted.insert({x, y});
    EXPECT_EQ(painted, dots);
    EXPECT_EQ(appState.sprayCount, 0);

    // Held still, the timer keeps spraying around the last place.
    PumpMessages(150);
    const int afterTicks = DifferingPixels(Picture(), before);
    EXPECT_GT(afterTicks, int(dots.size()));
    Release(60, 50);
    const std::vector<uint32_t> released = Picture();
    PumpMessages(150);
    EXPECT_EQ(DifferingPixels(Picture(), released), 0) << "the spray stopped at the release";
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            if (released[size_t(y) * 200 + x] != before[size_t(y) * 200 + x]) {
                ASSERT_GE(x, 40);
                ASSERT_LE(x, 79);
                ASSERT_GE(y, 30);
                ASSERT_LE(y, 69);
            }
}

TEST_F(CanvasDrawingTest, APressAndReleaseBeforeTheFirstTickLeavesNoDots) {
    OpenSheet(100, 80);
    const std::vector<uint32_t> before = Picture();
    Click(ToolCode::Spray, 50, 40);
    PumpMessages(100);
    EXPECT_EQ(DifferingPixels(Picture(), before), 0);
}

// Without a stroke nothing changes, so nothing is repainted either.
TEST_F(CanvasDrawingTest, MovingOverTheCanvasTakesTheFocusAndNeitherDrawsNorRepaints) {
    OpenSheet(100, 80);
    HWND other = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr,
                                 nullptr, nullptr, nullptr);
    SetFocus(other);
    PumpMessages();
    ValidateRect(canvas, nullptr);
    const std::vector<uint32_t> before = Picture();
    appState.activeTool = ToolCode::Pen;
    Move(30, 30, 0);
    EXPECT_EQ(GetFocus(), canvas);
    RECT update = {};
    EXPECT_FALSE(GetUpdateRect(canvas, &update, FALSE));
    Move(60, 60, 0);
    EXPECT_EQ(DifferingPixels(Picture(), before), 0);
    DestroyWindow(other);
}

// The mouse is captured from the press to the release, so the release is seen wherever the
// button comes up, and positions left of or above the window arrive as negative numbers.
TEST_F(CanvasDrawingTest, TheStrokeHoldsTheMouseAndReadsPositionsOutsideAsSigned) {
    OpenSheet(200, 150);
    appState.primaryColour = Red;
    appState.penWidth = 1;
    appState.activeTool = ToolCode::Pen;
    Press(50, 60);
    EXPECT_EQ(GetCapture(), canvas);
    Move(-30, 60);
    Release(-40, 60);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(appState.strokeActive, 0);
    for (int x = 0; x <= 50; ++x)
        ASSERT_EQ(Rgb(x, 60), Hex(Red)) << x;
    EXPECT_EQ(Rgb(120, 60), 0xFFFFFFu) << "not wrapped round to the far side";
    EXPECT_EQ(Rgb(199, 60), 0u);

    // A shape dragged past the top-left corner is clipped by the surface.
    appState.primaryColour = Blue;
    Drag(ToolCode::Rectangle, POINT{30, 30}, {POINT{-10, -10}});
    EXPECT_EQ(Rgb(0, 0), Hex(Blue));
    EXPECT_EQ(Rgb(29, 29), Hex(Blue));
    EXPECT_EQ(Rgb(30, 30), 0xFFFFFFu);
}

// When another window takes the mouse in the middle of a stroke, the stroke ends as a release
// at its last point would: the shape is finished, the spray stops, the mix mode is back to
// copying and the picture after the stroke is recorded.
TEST_F(CanvasDrawingTest, LosingTheMouseEndsTheStrokeAtItsLastPoint) {
    OpenSheet(200, 150);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 300, 300, 50, 20,
                                 nullptr, nullptr, nullptr, nullptr);
    PaintPattern();
    const std::vector<uint32_t> before = Picture();
    appState.primaryColour = Red;
    appState.activeTool = ToolCode::Ellipse;
    Press(20, 30);
    Move(100, 90);
    SetCapture(other);
    EXPECT_EQ(appState.strokeActive, 0);
    EXPECT_EQ(GetROP2(appState.canvasDc), R2_COPYPEN);
    const std::vector<uint32_t> expected =
        ExpectedWithFigure(before, ToolCode::Ellipse, POINT{20, 30}, POINT{100, 90}, Red, 1);
    EXPECT_EQ(DifferingPixels(Picture(), expected), 0);
    EXPECT_EQ(appState.historyPos, 1);
    ReleaseCapture();

    // The next pen stroke paints, it does not invert.
    appState.activeTool = ToolCode::Pen;
    appState.penWidth = 3;
    appState.primaryColour = Blue;
    Drag(ToolCode::Pen, POINT{150, 20}, {POINT{190, 20}});
    EXPECT_EQ(Rgb(170, 20), Hex(Blue));
    const std::vector<uint32_t> afterPen = Picture();

    // A spray loses the mouse: no dot lands after that.
    appState.sprayStrength = 20;
    appState.activeTool = ToolCode::Spray;
    Press(150, 100);
    Move(150, 100);
    SetCapture(other);
    EXPECT_EQ(appState.strokeActive, 0);
    const std::vector<uint32_t> stopped = Picture();
    PumpMessages(150);
    EXPECT_EQ(DifferingPixels(Picture(), stopped), 0);

    // Moves with the button up draw nothing.
    ReleaseCapture();
    appState.activeTool = ToolCode::Pen;
    const std::vector<uint32_t> still = Picture();
    Move(20, 140, 0);
    Move(180, 140, 0);
    EXPECT_EQ(DifferingPixels(Picture(), still), 0);

    // Each ended stroke is one step: back over the spray, then over the pen.
    EXPECT_NE(DifferingPixels(stopped, afterPen), 0);
    UndoStep();
    EXPECT_EQ(DifferingPixels(Picture(), afterPen), 0);
    UndoStep();
    EXPECT_EQ(DifferingPixels(Picture(), expected), 0);
    DestroyWindow(other);
}

// A real press inside the canvas window, a move out of the frame and a release there, as the
// system delivers them: the release still reaches the canvas and the stroke ends.
TEST_F(CanvasDrawingTest, AReleaseOutsideTheWindowsEndsTheStroke) {
    OpenSheet(200, 150);
    SetForegroundWindow(frame);
    PumpMessages(50);
    appState.primaryColour = Red;
    appState.penWidth = 1;
    appState.sprayStrength = 10;
    appState.activeTool = ToolCode::Spray;
    POINT inside = {100, 75};
    ClientToScreen(canvas, &inside);
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    const POINT outside = {frameRect.right + 20, frameRect.bottom + 20};
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_LT(outside.x, screenW);
    ASSERT_LT(outside.y, screenH);
    auto input = [&](POINT at, DWORD flags) {
        INPUT event = {};
        event.type = INPUT_MOUSE;
        event.mi.dx = LONG((at.x * 65535 + screenW / 2) / (screenW - 1));
        event.mi.dy = LONG((at.y * 65535 + screenH / 2) / (screenH - 1));
        event.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
        SendInput(1, &event, sizeof(event));
        PumpMessages(40);
    };
    input(inside, 0);
    input(inside, MOUSEEVENTF_LEFTDOWN);
    ASSERT_EQ(appState.strokeActive, 1) << "the press reached the canvas";
    input(outside, 0);
    input(outside, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(appState.strokeActive, 0);
    const std::vector<uint32_t> released = Picture();
    PumpMessages(150);
    EXPECT_EQ(DifferingPixels(Picture(), released), 0) << "the spray stopped";
}

} // namespace
