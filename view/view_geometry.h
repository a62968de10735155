#pragma once
// The arithmetic of the document view: the zoomed view size, the fit of a new document window,
// the zoom bounds of the wheel, the mapping of mouse positions to canvas pixels (the inverse of
// the paint's stretch), the layout of the canvas inside the document window, the scroll rules
// and the zoom toward the pointer. Platform-free.

#include "base/app_state.h"

// Each zoom step scales the view by one of these factors, counted from the actual size.
constexpr double ZoomInFactor = 1.1;
constexpr double ZoomOutFactor = 0.9;

// The wheel never shrinks a side of the view below this (or below the canvas's own side,
// when that is smaller), so the canvas window always stays big enough to take the mouse.
constexpr int MinViewSide = 16;
// ...and never grows a side beyond what a mouse position can address.
constexpr int MaxViewSide = 32767;

// The on-screen size of the canvas at a zoom level, always computed afresh from the canvas
// size, truncating toward zero at every step.
IntSize ViewSizeAtZoom(IntSize canvas, int zoom);

struct DocumentFit {
    int zoomLevel;
    IntSize viewSize;
    IntSize documentSize; // the outer size the document window is given
};

// The paint's stretch of the surface to the view, whole pixels only: the surface column shown
// in view column x and the surface row (counted from the top) shown in view row y. These are
// the pixels GDI's COLORONCOLOR stretch of the whole surface picks (measured under Wine, with
// the surface stored bottom-up, which is why columns and rows round differently when the view
// is smaller), so any part of the view can be drawn alone and match the whole.
int StretchSourceColumn(int sourceWidth, int viewWidth, int x);
int StretchSourceRow(int sourceHeight, int viewHeight, int y);

// The part of the view that shows an area of the canvas: every view pixel whose source pixel
// lies in the area, and at most two more on each side; clipped to the view.
IntRect ViewRectOfCanvasRect(IntRect area, IntSize canvas, IntSize view);

// The fit loop of a new document window: shrink the canvas plus margin by 0.9 until it fits
// into the limit, then size the view by that many steps and add the margin back.
DocumentFit FitDocument(IntSize canvas, int margin, IntSize limit, int startZoom);

// The fit of a new document window inside an area (the MDI client's): the fit loop against the
// smaller of the limit and the area, then, as the window is the shrunk view plus the whole
// margin, further steps until the window is inside the area too. An area with no room for a
// view beside the margin (a minimised frame) is left out.
DocumentFit FitDocumentInArea(IntSize canvas, int margin, IntSize limit, IntSize area,
                              int startZoom);

// The zoom level after a wheel turn of `steps` from `zoom`, stopped at the last level whose
// view stays within the bounds above. Levels are walked one at a time, so a turn that would
// cross a bound goes as far as the bound and no further.
int BoundedZoomLevel(IntSize canvas, int zoom, int steps);

// Whole zoom steps of a wheel turn: the wheel delta (high word of wParam, signed) over 120,
// truncated toward zero.
int WheelZoomSteps(unsigned wheelDeltaWord);

// The picture column shown in view column x, and the row shown in view row y: inside the view
// exactly the pixel the paint shows there; outside it (a captured mouse dragged past the
// window's edges) carried on at the same scale, so a shape can reach the picture's edge and
// beyond.
int CanvasColumnAt(int canvasWidth, int viewWidth, int x);
int CanvasRowAt(int canvasHeight, int viewHeight, int y);

enum MapMode : int {
    MapCursor = 0, // freehand pen, fill, eyedropper and spray: the cursor only
    MapAnchor = 1, // a shape drag starts: the anchor, drag and preview points too
    MapDrag = 2,   // a shape drag goes on: the drag point too
};

// Turns a mouse position on the canvas window (x and y as signed 16-bit numbers, so a captured
// mouse left or above the window gives negative values) into the picture pixel the view of
// that size shows there. x and y always receive it, as whole numbers; the anchor mode stores it
// into all three points, the drag mode into the drag point. Every mode and tool maps alike.
void MapToCanvas(int mode, IntSize canvas, IntSize view, PackedPoint position, double* x, double* y,
                 PackedPoint* anchor, PackedPoint* drag, PackedPoint* preview);

// MapToCanvas in MapCursor mode, which touches none of the three points.
void MapCursorToCanvas(IntSize canvas, IntSize view, PackedPoint position, double* x, double* y);

// Where the canvas window goes inside the document window's client area and which parts of the
// light-yellow surround are painted.
struct DocumentLayout {
    int viewFits;         // the view is strictly narrower and lower than the client area
    int bandCount;        // 4 when the view fits (top, left, right, bottom), else 2
    IntRect bands[4];     // in that order; only the right and bottom bands when it does not fit
    int canvasX, canvasY; // top-left corner of the canvas window
    int canvasW, canvasH; // its size; unused when keepCanvasSize is 1
    int keepCanvasSize;   // 1: the canvas window is only moved, not resized
};

DocumentLayout LayOutDocument(int clientW, int clientH, IntSize view, int scrollX, int scrollY);

// Scroll bar request codes, as the scroll bar sends them in the low word of wParam.
enum ScrollRequest : int {
    ScrollLineUp = 0,
    ScrollLineDown = 1,
    ScrollPageUp = 2,
    ScrollPageDown = 3,
    ScrollThumbPosition = 4,
    ScrollThumbTrack = 5,
    ScrollTop = 6,
    ScrollBottom = 7,
    ScrollEnd = 8,
};

// Scroll record flags, the values the scroll bar API gives them.
constexpr unsigned ScrollMaskRange = 0x1;
constexpr unsigned ScrollMaskPage = 0x2;
constexpr unsigned ScrollMaskPos = 0x4;

// A record's range is the view (0 to its side - 1) and its page the client area's side, so the
// thumb shows how much of the picture is seen. The last position is where the view's far edge
// meets the window's; 0 when the view is no larger than the window.
int LastScrollPosition(const ScrollRecord& record);
// An arrow moves a tenth of the page, a press in the trough a page less that, at least 1 pixel.
int ScrollLineStep(const ScrollRecord& record);
int ScrollPageStep(const ScrollRecord& record);
// A position brought within 0 and the last position.
int ClampedScrollPosition(int position, const ScrollRecord& record);

// The scroll offset after a request, never below 0 nor past the last position. thumbWord is
// the high word of wParam, read unsigned: the thumb moves the picture while it is dragged.
int ScrolledPosition(int request, unsigned thumbWord, const ScrollRecord& record);

// Fills a record for a range update, to be sent with range, page and position: the range and
// page for the view and client sides, the position kept but brought within the new range.
void SetScrollRangeRecord(ScrollRecord* record, int viewSide, int clientSide);

// The scroll offsets after a zoom from oldView to newView that keep the picture point under the
// pointer (client coordinates of the document window) under it. Not yet brought within the
// ranges: the range update that follows the zoom does that, for the client area it leaves.
void OffsetsAfterZoom(IntSize client, IntSize oldView, IntSize newView, int oldX, int oldY,
                      int pointerX, int pointerY, int* newX, int* newY);
