#include "tools/canvas_window.h"

#include <cstdint>

#include "base/wait_cursor.h"
#include "history/snapshot_history.h"
#include "tools/eyedropper.h"
#include "tools/flood_fill.h"
#include "tools/spray.h"
#include "view/canvas_view.h"
#include "view/scrolling.h"
#include "view/view_geometry.h"

namespace {

// x and y as signed 16-bit values: with the mouse captured, a position left of or above the
// window is negative.
PackedPoint PositionOf(LPARAM lParam) {
    return PackedPoint(uint32_t(uintptr_t(lParam)));
}

COLORREF PrimaryColourRef() {
    return ToColorRef(appState.primaryColour);
}

// Selects a stroke's pen or brush into the canvas and deletes the one whose place it takes,
// which belongs to this or an earlier stroke and is never used again (DeleteObject leaves
// stock objects alone). One that could not be made or selected leaves the old one selected.
void SelectInPlace(HGDIOBJ replacement) {
    if (!replacement)
        return;
    HGDIOBJ replaced = SelectObject(appState.canvasDc, replacement);
    if (!replaced)
        DeleteObject(replacement);
    else if (replaced != replacement)
        DeleteObject(replaced);
}

void SelectStrokePen(int width) {
    SelectInPlace(CreatePen(PS_SOLID, width, PrimaryColourRef()));
}

// What a line or figure between two points, drawn with the pen selected in the canvas, can
// have changed. The stock pen of a new canvas reads as width 0: one pixel.
IntRect ReachBetween(int x0, int y0, int x1, int y1) {
    LOGPEN pen = {};
    int width = 1;
    if (GetObjectW(GetCurrentObject(appState.canvasDc, OBJ_PEN), sizeof(pen), &pen) &&
        pen.lopnWidth.x > width)
        width = pen.lopnWidth.x;
    return RectAroundCorners(x0, y0, x1, y1, width / 2 + 2);
}

IntRect ReachBetween(PackedPoint a, PackedPoint b) {
    return ReachBetween(PackedX(a), PackedY(a), PackedX(b), PackedY(b));
}

void SelectStrokeBrush() {
    SelectInPlace(CreateSolidBrush(PrimaryColourRef()));
}

// Every tool takes the pixel the view shows under the pointer.
void MapCursor(LPARAM lParam) {
    MapCursorToCanvas(appState.surfaceSize, appState.viewSize, PositionOf(lParam),
                      &appState.cursorX, &appState.cursorY);
}

int CursorX() {
    return int(appState.cursorX);
}
int CursorY() {
    return int(appState.cursorY);
}

// The pen's line from where it stands to the cursor point.
void PenLineToCursor() {
    POINT from = {CursorX(), CursorY()};
    GetCurrentPositionEx(appState.canvasDc, &from);
    LineTo(appState.canvasDc, CursorX(), CursorY());
    CanvasChanged(ReachBetween(from.x, from.y, CursorX(), CursorY()));
}

void PressPen(LPARAM lParam) {
    SelectStrokePen(appState.penWidth);
    SelectStrokeBrush();
    MapCursor(lParam);
    MoveToEx(appState.canvasDc, CursorX(), CursorY(), nullptr);
}

// The band starts as a figure of no size at the anchor.
void StartShape(LPARAM lParam) {
    MapToCanvas(MapAnchor, appState.surfaceSize, appState.viewSize, PositionOf(lParam),
                &appState.cursorX, &appState.cursorY, &appState.anchorPoint, &appState.dragPoint,
                &appState.previewPoint);
    DrawPreview(appState.canvasDc, appState.anchorPoint, appState.previewPoint, appState.activeTool,
                appState.previewOutlines);
    CanvasChanged(ReachBetween(appState.anchorPoint, appState.anchorPoint));
}

void DragShape(LPARAM lParam) {
    MapToCanvas(MapDrag, appState.surfaceSize, appState.viewSize, PositionOf(lParam),
                &appState.cursorX, &appState.cursorY, &appState.anchorPoint, &appState.dragPoint,
                &appState.previewPoint);
    DrawPreview(appState.canvasDc, appState.anchorPoint, appState.previewPoint, appState.activeTool,
                appState.previewOutlines);
    DrawPreview(appState.canvasDc, appState.anchorPoint, appState.dragPoint, appState.activeTool,
                appState.previewOutlines);
    // The band's old place and its new one.
    CanvasChanged(RectUnion(ReachBetween(appState.anchorPoint, appState.previewPoint),
                            ReachBetween(appState.anchorPoint, appState.dragPoint)));
    appState.previewPoint = appState.dragPoint;
}

// The release erases the band with the solid brush already selected, which inverts a
// figure's inside too; the finished figure covers exactly those pixels.
void FinishShape() {
    const HDC dc = appState.canvasDc;
    const PackedPoint a = appState.anchorPoint;
    const PackedPoint d = appState.dragPoint;
    DrawPreview(dc, a, d, appState.activeTool, appState.previewOutlines);
    SetROP2(dc, R2_COPYPEN);
    switch (appState.activeTool) {
    case ToolCode::Ellipse:
        Ellipse(dc, PackedX(a), PackedY(a), PackedX(d), PackedY(d));
        break;
    case ToolCode::Rectangle:
        Rectangle(dc, PackedX(a), PackedY(a), PackedX(d), PackedY(d));
        break;
    default:
        MoveToEx(dc, PackedX(a), PackedY(a), nullptr);
        LineTo(dc, PackedX(d), PackedY(d));
        break;
    }
    CanvasChanged(ReachBetween(a, d));
}

void FillAtCursor() {
    // GDI's drawing must have reached the pixels before the fill reads them.
    GdiFlush();
    IntRect painted = {0, 0, 0, 0};
    // A fill of a whole photo takes a moment.
    const WaitCursor waiting = ShowWaitCursor();
    FloodFill(appState.canvasPixels, appState.surfaceSize, CursorX(), CursorY(),
              appState.fillTolerance, ToCanvasPixel(appState.primaryColour), &painted);
    EndWaitCursor(waiting);
    CanvasChanged(painted);
}

// Ends the active stroke, at the release position when there is one; without one (the
// capture was taken away) the pen ends at its last point and a shape at the last drag point.
void FinishStroke(HWND canvas, const LPARAM* releasePosition) {
    appState.strokeActive = 0;
    SelectStrokeBrush();
    switch (appState.activeTool) {
    case ToolCode::Pen:
        if (releasePosition)
            MapCursor(*releasePosition);
        PenLineToCursor();
        break;
    case ToolCode::Ellipse:
    case ToolCode::Rectangle:
    case ToolCode::Line:
        FinishShape();
        break;
    default:
        break;
    }
    // Whatever tool the stroke ends with, no spray may outlive it and no later stroke may
    // inherit the band's inverting mix mode.
    StopSpray(canvas);
    SetROP2(appState.canvasDc, R2_COPYPEN);
}

void OnCanvasPress(HWND canvas, LPARAM lParam) {
    SnapshotBeforeStroke();
    // The release comes back here wherever the button goes up.
    if (GetCapture() != canvas)
        SetCapture(canvas);
    SelectStrokePen(appState.outlineWidth);
    appState.strokeActive = 1;
    SelectInPlace(GetStockObject(NULL_BRUSH));
    switch (appState.activeTool) {
    case ToolCode::Pen:
        PressPen(lParam);
        break;
    case ToolCode::Ellipse:
    case ToolCode::Rectangle:
        StartShape(lParam);
        break;
    case ToolCode::Line:
        SelectStrokePen(appState.penWidth);
        StartShape(lParam);
        break;
    case ToolCode::Fill:
        MapCursor(lParam);
        FillAtCursor();
        break;
    case ToolCode::Eyedropper:
        MapCursor(lParam);
        PickColour();
        break;
    case ToolCode::Spray:
        MapCursor(lParam);
        StartSpray(canvas);
        break;
    }
}

// 0 when no stroke is active: the move then belongs to the default handling.
int OnCanvasMove(HWND canvas, LPARAM lParam) {
    // The wheel zoom reaches the canvas window through this focus. Without a stroke nothing
    // changes, so nothing is repainted; with one, each tool repaints what it drew.
    SetFocus(canvas);
    if (ContinuePan(canvas, lParam))
        return 1;
    if (appState.strokeActive == 0)
        return 0;
    switch (appState.activeTool) {
    case ToolCode::Pen:
        MapCursor(lParam);
        PenLineToCursor();
        break;
    case ToolCode::Ellipse:
    case ToolCode::Rectangle:
    case ToolCode::Line:
        DragShape(lParam);
        break;
    case ToolCode::Spray:
        MapCursor(lParam);
        MoveSprayRect();
        SprayBurst();
        break;
    default:
        break;
    }
    return 1;
}

// A release without a press on the canvas still records the picture.
void OnCanvasRelease(HWND canvas, LPARAM lParam) {
    if (appState.strokeActive == 1)
        FinishStroke(canvas, &lParam);
    SnapshotAfterStroke();
    // Last, so that the capture change it causes finds no stroke to end.
    if (GetCapture() == canvas)
        ReleaseCapture();
}

// Another window took the mouse (or a message box, or the window is going): the button's
// release will not come here, so the stroke ends as that release would, at its last point.
void OnCanvasCaptureChanged(HWND canvas, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) == canvas)
        return;
    appState.panActive = 0;
    if (appState.strokeActive != 1)
        return;
    FinishStroke(canvas, nullptr);
    SnapshotAfterStroke();
}

// Ticks of the spray timer, which runs only during a Spray stroke; the burst repaints its
// square.
void OnCanvasTimer() {
    SprayBurst();
}

} // namespace

void DrawPreview(HDC dc, PackedPoint start, PackedPoint end, ToolCode tool, int previewOutlines) {
    if (previewOutlines != 1)
        return;
    SetROP2(dc, R2_NOT);
    MoveToEx(dc, PackedX(start), PackedY(start), nullptr);
    switch (tool) {
    case ToolCode::Ellipse:
        Ellipse(dc, PackedX(start), PackedY(start), PackedX(end), PackedY(end));
        break;
    case ToolCode::Rectangle:
        Rectangle(dc, PackedX(start), PackedY(start), PackedX(end), PackedY(end));
        break;
    case ToolCode::Line:
        LineTo(dc, PackedX(end), PackedY(end));
        break;
    default:
        break;
    }
}

LRESULT CALLBACK IllustWndProc(HWND canvas, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintCanvasView(canvas);
        break;
    case WM_MOUSEWHEEL:
        ZoomCanvasByWheel(canvas, wParam, lParam);
        break;
    case WM_KEYDOWN:
        // The document window's keys, whichever of the two has the focus.
        if (ScrollByKey(GetParent(canvas), wParam))
            return 0;
        break;
    case WM_MBUTTONDOWN:
        // A stroke holds the mouse until its release; the picture moves between strokes.
        if (appState.strokeActive == 0)
            StartPan(canvas, lParam);
        break;
    case WM_MBUTTONUP:
        EndPan(canvas);
        break;
    case WM_LBUTTONDOWN:
        OnCanvasPress(canvas, lParam);
        break;
    case WM_MOUSEMOVE:
        if (!OnCanvasMove(canvas, lParam))
            return DefMDIChildProcW(canvas, message, wParam, lParam);
        break;
    case WM_LBUTTONUP:
        OnCanvasRelease(canvas, lParam);
        break;
    case WM_CAPTURECHANGED:
        OnCanvasCaptureChanged(canvas, lParam);
        break;
    case WM_TIMER:
        OnCanvasTimer();
        break;
    default:
        // WM_SIZE and WM_SIZING need nothing here: the document window does the layout.
        break;
    }
    return DefWindowProcW(canvas, message, wParam, lParam);
}
