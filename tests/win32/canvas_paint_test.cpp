// The canvas window's paint draws only what its update region asks for, with its own
// nearest-pixel mapping. What it shows must be exactly what GDI's stretch of the whole surface
// shows, at every zoom, for odd and even sizes, painted whole or in pieces, scrolled or not.
#include <functional>
#include <random>

#include "drawing_fixture.h"
#include "test_canvas.h"
#include "view/canvas_view.h"
#include "view/view_geometry.h"

namespace {

// The area of the view, as the drawing leaves it in a bitmap of that area.
std::vector<uint32_t> ViewPicture(IntRect area, const std::function<void(HDC)>& draw) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
    draw(dc);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    std::vector<uint32_t> picture = CopyPixels(dc, area.right - area.left, area.bottom - area.top);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return picture;
}

// What the paint used to do, and what the screen must still show: the whole surface stretched.
void StretchWholeSurface(HDC dc) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, appState.viewSize.w, appState.viewSize.h, appState.canvasDc, 0, 0,
               appState.surfaceSize.w, appState.surfaceSize.h, SRCCOPY);
}

class CanvasPaintTest : public DrawingTest {};

// Every zoom from the smallest view to +10, three sizes (odd, even, mixed): the whole view and
// the view in irregular, overlapping pieces both match the whole stretch, and the view rectangle
// of a canvas area covers every view pixel that shows it.
TEST_F(CanvasPaintTest, PiecesOfTheViewMatchTheWholeStretchAtEveryZoom) {
    std::mt19937 random(7);
    int cases = 0;
    for (IntSize size : {IntSize{37, 23}, IntSize{64, 48}, IntSize{101, 77}}) {
        ASSERT_TRUE(MakeTestCanvas(size.w, size.h));
        PaintTestPattern();
        for (int zoom = -60; zoom <= 10; ++zoom) {
            const IntSize view = ViewSizeAtZoom(size, zoom);
            if (view.w < 1 || view.h < 1)
                continue;
            ++cases;
            appState.viewSize = view;
            SCOPED_TRACE(testing::Message() << size.w << "x" << size.h << " zoom " << zoom);
            const IntRect all = {0, 0, view.w, view.h};
            const std::vector<uint32_t> whole = ViewPicture(all, StretchWholeSurface);
            EXPECT_TRUE(ViewPicture(all, [&](HDC dc) { DrawCanvasView(dc, all); }) == whole);
            const int cutX = 1 + int(random() % view.w), cutY = 1 + int(random() % view.h);
            EXPECT_TRUE(ViewPicture(all, [&](HDC dc) {
                            DrawCanvasView(dc, {0, 0, cutX, cutY});
                            DrawCanvasView(dc, {cutX, 0, view.w, cutY + 1});
                            DrawCanvasView(dc, {0, cutY, cutX + 2, view.h});
                            DrawCanvasView(dc, {cutX - 1, cutY, view.w, view.h});
                        }) == whole);

            const int ax = int(random() % size.w), ay = int(random() % size.h);
            const IntRect area = {ax, ay, ax + 1 + int(random() % 5), ay + 1 + int(random() % 5)};
            const IntRect shown = ViewRectOfCanvasRect(area, size, view);
            for (int y = 0; y < view.h; ++y) {
                for (int x = 0; x < view.w; ++x) {
                    const int sx = StretchSourceColumn(size.w, view.w, x);
                    const int sy = StretchSourceRow(size.h, view.h, y);
                    if (sx >= area.left && sx < area.right && sy >= area.top && sy < area.bottom) {
                        ASSERT_FALSE(RectIsEmpty(RectIntersection(shown, {x, y, x + 1, y + 1})))
                            << "view pixel " << x << "," << y << " shows the area";
                    }
                }
            }
        }
        DeleteDC(appState.canvasDc);
        DeleteObject(appState.canvasDib);
    }
    EXPECT_GT(cases, 80);
}

// The real window, zoomed in and scrolled: after a whole repaint, after strokes that repaint
// only what they drew, and after an undo, the visible part of the canvas window shows exactly
// the whole stretch of the surface.
TEST_F(CanvasPaintTest, AScrolledCanvasWindowShowsTheWholeStretchAfterPartialRepaints) {
    OpenSheet(333, 211);
    SendMessageW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, 7 * WHEEL_DELTA), 0);
    SendMessageW(appState.documentWindow, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 151), 0);
    SendMessageW(appState.documentWindow, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 87), 0);
    PumpMessages();
    RECT client;
    GetClientRect(appState.documentWindow, &client);
    MapWindowPoints(appState.documentWindow, canvas, reinterpret_cast<POINT*>(&client), 2);
    const IntRect visible =
        RectIntersection(IntRect{client.left, client.top, client.right, client.bottom},
                         IntRect{0, 0, appState.viewSize.w, appState.viewSize.h});
    ASSERT_GT(visible.left, 0) << "scrolled right";
    ASSERT_GT(visible.top, 0) << "scrolled down";

    const auto expectScreenMatches = [&](const char* after) {
        UpdateWindow(canvas);
        HDC windowDc = GetDC(canvas);
        SetViewportOrgEx(windowDc, visible.left, visible.top, nullptr);
        const std::vector<uint32_t> screen =
            CopyPixels(windowDc, visible.right - visible.left, visible.bottom - visible.top);
        ReleaseDC(canvas, windowDc);
        EXPECT_TRUE(screen == ViewPicture(visible, StretchWholeSurface)) << after;
    };
    PaintPattern();
    expectScreenMatches("the pattern, repainted whole");
    ValidateRect(canvas, nullptr);
    const int cx = (visible.left + visible.right) / 2, cy = (visible.top + visible.bottom) / 2;
    appState.penWidth = 5;
    appState.primaryColour = Red;
    Drag(ToolCode::Pen, POINT{cx - 60, cy - 20}, {POINT{cx - 20, cy}, POINT{cx + 30, cy + 25}});
    expectScreenMatches("a pen stroke");
    appState.primaryColour = Blue;
    Drag(ToolCode::Rectangle, POINT{cx, cy - 40},
         {POINT{cx + 90, cy + 10}, POINT{cx + 40, cy + 30}});
    expectScreenMatches("a rectangle drag");
    UndoStep();
    expectScreenMatches("an undo");
}

} // namespace
