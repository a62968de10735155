#include "document/canvas_view.h"

#include "app/app_state.h"
#include "document/document_window.h"
#include "document/view_geometry.h"

void PaintCanvasView(HWND canvas) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(canvas, &paint);
    // Zooming never resamples the picture: every paint stretches the whole surface, and
    // COLORONCOLOR keeps hard pixel edges.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, appState.viewSize.w, appState.viewSize.h, appState.canvasDc, 0, 0,
               appState.canvasSize.w, appState.canvasSize.h, SRCCOPY);
    EndPaint(canvas, &paint);
}

void ZoomCanvasByWheel(HWND canvas, WPARAM wParam) {
    int steps = WheelZoomSteps(HIWORD(wParam));
    appState.zoomLevel = BoundedZoomLevel(appState.canvasSize, appState.zoomLevel, steps);
    appState.viewSize = ViewSizeAtZoom(appState.canvasSize, appState.zoomLevel);
    UpdateScrollRanges(appState.documentWindow);
    // The document window lays the canvas out again at its next paint.
    SetWindowPos(canvas, HWND_TOP, 0, 0, appState.viewSize.w, appState.viewSize.h, 0);
    InvalidateRect(canvas, nullptr, TRUE);
}
