#include "view/canvas_view.h"

#include <cstdlib>
#include <cstring>

#include "base/app_state.h"
#include "base/canvas_layout.h"
#include "view/scrolling.h"
#include "view/view_geometry.h"

namespace {

// View rows drawn per call: the buffer of one paint stays small at any view size.
const int BandRows = 64;

IntRect IntRectOf(const RECT& r) {
    return IntRect{r.left, r.top, r.right, r.bottom};
}

const uint32_t* SurfaceRow(int y) {
    return appState.canvasPixels + CanvasPixelIndex(0, y, appState.surfaceSize);
}

// Fills the view's area band by band from the surface and hands each band to GDI unstretched.
void DrawBands(HDC dc, IntRect area, int* columns, uint32_t* band) {
    const IntSize surface = appState.surfaceSize;
    const IntSize view = appState.viewSize;
    const int width = area.right - area.left;
    for (int i = 0; i < width; ++i)
        columns[i] = StretchSourceColumn(surface.w, view.w, area.left + i);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    for (int top = area.top; top < area.bottom; top += BandRows) {
        const int rows = area.bottom - top < BandRows ? area.bottom - top : BandRows;
        int previousSource = -1;
        for (int r = 0; r < rows; ++r) {
            uint32_t* out = band + size_t(r) * width;
            const int source = StretchSourceRow(surface.h, view.h, top + r);
            if (source == previousSource) {
                std::memcpy(out, out - width, size_t(width) * sizeof(uint32_t));
                continue;
            }
            const uint32_t* in = SurfaceRow(source);
            for (int i = 0; i < width; ++i)
                out[i] = in[columns[i]];
            previousSource = source;
        }
        info.bmiHeader.biHeight = -rows; // rows from the top
        StretchDIBits(dc, area.left, top, width, rows, 0, 0, width, rows, band, &info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
}

} // namespace

void DrawCanvasView(HDC dc, IntRect viewArea) {
    const IntSize surface = appState.surfaceSize;
    const IntSize view = appState.viewSize;
    const IntRect area = RectClipped(viewArea, view);
    if (!appState.canvasPixels || surface.w < 1 || surface.h < 1 || RectIsEmpty(area))
        return;
    // What GDI drew into the surface must be there before it is read.
    GdiFlush();
    const int width = area.right - area.left;
    // Plain allocations: a paint that cannot have its buffers draws nothing, and throws nothing.
    int* columns = static_cast<int*>(std::malloc(sizeof(int) * size_t(width)));
    uint32_t* band =
        static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * size_t(width) * BandRows));
    if (columns && band)
        DrawBands(dc, area, columns, band);
    std::free(columns);
    std::free(band);
}

void PaintCanvasView(HWND canvas) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(canvas, &paint);
    IntRect area = IntRectOf(paint.rcPaint);
    // Only what can be seen: a zoomed-in canvas window reaches far beyond its document window.
    RECT visible;
    const int clip = GetClipBox(dc, &visible);
    if (clip == NULLREGION)
        area = IntRect{0, 0, 0, 0};
    else if (clip != ERROR)
        area = RectIntersection(area, IntRectOf(visible));
    DrawCanvasView(dc, area);
    EndPaint(canvas, &paint);
}

void InvalidateCanvasArea(IntRect canvasArea) {
    const HWND canvas = appState.canvasWindow;
    if (!canvas || !IsWindow(canvas))
        return;
    const IntRect shown = ViewRectOfCanvasRect(canvasArea, appState.surfaceSize, appState.viewSize);
    if (RectIsEmpty(shown))
        return;
    const RECT r = {shown.left, shown.top, shown.right, shown.bottom};
    InvalidateRect(canvas, &r, FALSE);
}

void ZoomCanvasByWheel(HWND canvas, WPARAM wParam, LPARAM lParam) {
    const HWND document = GetParent(canvas);
    const IntSize oldView = appState.viewSize;
    const int steps = WheelZoomSteps(HIWORD(wParam));
    appState.zoomLevel = BoundedZoomLevel(appState.canvasSize, appState.zoomLevel, steps);
    appState.viewSize = ViewSizeAtZoom(appState.canvasSize, appState.zoomLevel);

    RECT client;
    GetClientRect(document, &client);
    POINT pointer = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    ScreenToClient(document, &pointer);
    if (!PtInRect(&client, pointer))
        pointer = POINT{client.right / 2, client.bottom / 2};
    OffsetsAfterZoom(IntSize{client.right, client.bottom}, oldView, appState.viewSize,
                     appState.hScrollInfo.nPos, appState.vScrollInfo.nPos, pointer.x, pointer.y,
                     &appState.hScrollInfo.nPos, &appState.vScrollInfo.nPos);
    UpdateScrollRanges(document);
    PlaceCanvasWindow(document);
    InvalidateRect(canvas, nullptr, FALSE);
    // The surround changes with the view's size.
    InvalidateRect(document, nullptr, TRUE);
}
