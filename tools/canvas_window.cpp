#include "tools/canvas_window.h"

#include "document/canvas_view.h"

LRESULT CALLBACK IllustWndProc(HWND canvas, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintCanvasView(canvas);
        break;
    case WM_MOUSEWHEEL:
        ZoomCanvasByWheel(canvas, wParam);
        break;
    default:
        // WM_SIZE and WM_SIZING need nothing here: the document window does the layout.
        break;
    }
    return DefWindowProcW(canvas, message, wParam, lParam);
}
