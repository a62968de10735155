#include "view/view_geometry.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// Conversion toward zero that saturates instead of overflowing, for sizes and positions that
// a long run of steps could carry past the int range.
int TruncateToInt(double value) {
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return int(value);
}

int ScaleSide(int side, double factor) {
    return TruncateToInt(side * factor);
}

int Smaller(int a, int b) {
    return a < b ? a : b;
}

int ZoomInStepAllowed(IntSize next) {
    return next.w <= MaxViewSide && next.h <= MaxViewSide;
}

int ZoomOutStepAllowed(IntSize canvas, IntSize next) {
    return next.w >= Smaller(MinViewSide, canvas.w) && next.h >= Smaller(MinViewSide, canvas.h);
}

} // namespace

IntSize ViewSizeAtZoom(IntSize canvas, int zoom) {
    IntSize view = canvas;
    if (zoom > 0) {
        for (int step = 0; step < zoom; ++step) {
            view.w = ScaleSide(view.w, ZoomInFactor);
            view.h = ScaleSide(view.h, ZoomInFactor);
            if ((view.w == 0 || view.w == INT_MAX) && (view.h == 0 || view.h == INT_MAX))
                break; // nothing changes any more
        }
    } else if (zoom < 0) {
        for (int step = 0; step < -int64_t(zoom); ++step) {
            view.w = ScaleSide(view.w, ZoomOutFactor);
            view.h = ScaleSide(view.h, ZoomOutFactor);
            if (view.w == 0 && view.h == 0)
                break;
        }
    }
    return view;
}

namespace {

int64_t FloorDivide(int64_t numerator, int64_t denominator) {
    const int64_t quotient = numerator / denominator;
    return quotient * denominator > numerator ? quotient - 1 : quotient;
}

// Widened by two pixels each way, which covers the rounding of both directions of stretch.
void ViewSpanOf(int from, int to, int source, int view, int* viewFrom, int* viewTo) {
    const int64_t low = FloorDivide(int64_t(from) * view, source) - 2;
    const int64_t high = FloorDivide(int64_t(to) * view + source - 1, source) + 2;
    *viewFrom = int(low < 0 ? 0 : low);
    *viewTo = int(high > view ? view : high);
}

} // namespace

int StretchSourceColumn(int sourceWidth, int viewWidth, int x) {
    const int64_t s = sourceWidth, d = viewWidth, i = x;
    if (d >= s)
        return int(((2 * i + 1) * s - 1) / (2 * d)); // centre of the view pixel, ties to the left
    if (d == 1)
        return sourceWidth > 1 ? sourceWidth - 2 : 0;
    return int((2 * (i + 1) * s - d) / (2 * d)); // counted from the right edge
}

int StretchSourceRow(int sourceHeight, int viewHeight, int y) {
    const int64_t s = sourceHeight, d = viewHeight, i = y;
    if (d >= s)
        return int(((2 * i + 1) * s - 1) / (2 * d));
    return int((2 * i * s + d) / (2 * d)); // counted from the top edge
}

IntRect ViewRectOfCanvasRect(IntRect area, IntSize canvas, IntSize view) {
    const IntRect inside = RectClipped(area, canvas);
    if (RectIsEmpty(inside) || view.w < 1 || view.h < 1)
        return IntRect{0, 0, 0, 0};
    IntRect shown;
    ViewSpanOf(inside.left, inside.right, canvas.w, view.w, &shown.left, &shown.right);
    ViewSpanOf(inside.top, inside.bottom, canvas.h, view.h, &shown.top, &shown.bottom);
    return RectClipped(shown, view);
}

DocumentFit FitDocument(IntSize canvas, int margin, IntSize limit, int startZoom) {
    int w = canvas.w + margin;
    int h = canvas.h + margin;
    int zoom = startZoom;
    while (w > limit.w || h > limit.h) {
        w = ScaleSide(w, ZoomOutFactor);
        h = ScaleSide(h, ZoomOutFactor);
        zoom = zoom - 1;
    }
    DocumentFit fit;
    fit.zoomLevel = zoom;
    // Only the shrinking steps apply here, as the fit never enlarges.
    fit.viewSize = ViewSizeAtZoom(canvas, zoom < 0 ? zoom : 0);
    fit.documentSize = IntSize{fit.viewSize.w + margin, fit.viewSize.h + margin};
    return fit;
}

DocumentFit FitDocumentInArea(IntSize canvas, int margin, IntSize limit, IntSize area,
                              int startZoom) {
    if (area.w < margin + MinViewSide || area.h < margin + MinViewSide)
        return FitDocument(canvas, margin, limit, startZoom);
    DocumentFit fit = FitDocument(
        canvas, margin, IntSize{Smaller(limit.w, area.w), Smaller(limit.h, area.h)}, startZoom);
    // Ends at the latest with a view of nothing, whose window is the margin alone.
    while (fit.documentSize.w > area.w || fit.documentSize.h > area.h) {
        fit.zoomLevel -= 1;
        fit.viewSize = ViewSizeAtZoom(canvas, Smaller(fit.zoomLevel, 0));
        fit.documentSize = IntSize{fit.viewSize.w + margin, fit.viewSize.h + margin};
    }
    return fit;
}

int BoundedZoomLevel(IntSize canvas, int zoom, int steps) {
    int direction = steps > 0 ? 1 : -1;
    int remaining = steps > 0 ? steps : -steps;
    int level = zoom;
    for (; remaining > 0; --remaining) {
        IntSize next = ViewSizeAtZoom(canvas, level + direction);
        if (direction > 0 && !ZoomInStepAllowed(next))
            break;
        if (direction < 0 && !ZoomOutStepAllowed(canvas, next))
            break;
        level += direction;
    }
    return level;
}

int WheelZoomSteps(unsigned wheelDeltaWord) {
    int delta = int16_t(uint16_t(wheelDeltaWord & 0xFFFFu));
    return delta / 120;
}

namespace {

// Carries the paint's scale past the view's edges: the view pixel's centre times the picture's
// pixels per view pixel, rounded down.
int CanvasSideAt(int canvasSide, int viewSide, int position) {
    const int64_t view = viewSide < 1 ? 1 : viewSide;
    return int(FloorDivide((2 * int64_t(position) + 1) * canvasSide, 2 * view));
}

int InsideView(int viewSide, int position) {
    return position >= 0 && position < viewSide;
}

// Packed points hold 16 signed bits a coordinate; beyond them GDI clips anyway.
int ToPackedRange(int value) {
    return value < -32768 ? -32768 : value > 32767 ? 32767 : value;
}

} // namespace

int CanvasColumnAt(int canvasWidth, int viewWidth, int x) {
    if (InsideView(viewWidth, x))
        return StretchSourceColumn(canvasWidth, viewWidth, x);
    return CanvasSideAt(canvasWidth, viewWidth, x);
}

int CanvasRowAt(int canvasHeight, int viewHeight, int y) {
    if (InsideView(viewHeight, y))
        return StretchSourceRow(canvasHeight, viewHeight, y);
    return CanvasSideAt(canvasHeight, viewHeight, y);
}

void MapToCanvas(int mode, IntSize canvas, IntSize view, PackedPoint position, double* x, double* y,
                 PackedPoint* anchor, PackedPoint* drag, PackedPoint* preview) {
    const int column = CanvasColumnAt(canvas.w, view.w, PackedX(position));
    const int row = CanvasRowAt(canvas.h, view.h, PackedY(position));
    const PackedPoint mapped = PackPoint(ToPackedRange(column), ToPackedRange(row));
    if (mode == MapAnchor) {
        if (anchor)
            *anchor = mapped;
        if (preview)
            *preview = mapped;
    }
    if ((mode == MapAnchor || mode == MapDrag) && drag)
        *drag = mapped;
    if (x)
        *x = column;
    if (y)
        *y = row;
}

void MapCursorToCanvas(IntSize canvas, IntSize view, PackedPoint position, double* x, double* y) {
    MapToCanvas(MapCursor, canvas, view, position, x, y, nullptr, nullptr, nullptr);
}

DocumentLayout LayOutDocument(int clientW, int clientH, IntSize view, int scrollX, int scrollY) {
    const int W = clientW, H = clientH, w = view.w, h = view.h, sx = scrollX, sy = scrollY;
    const int ox = (W - w) / 2;
    const int oy = (H - h) / 2;
    DocumentLayout layout = {};
    layout.viewFits = h < H && w < W;
    if (layout.viewFits) {
        // The top and left bands reach 2 pixels under the canvas window; the right and bottom
        // ones 1 or 2, as the halved difference is odd or even.
        layout.bandCount = 4;
        layout.bands[0] = IntRect{0, 0, W, oy + sy + 2};
        layout.bands[1] = IntRect{0, 0, ox + 2, H};
        layout.bands[2] = IntRect{W - ox - 2, 0, W, H};
        layout.bands[3] = IntRect{0, H - oy - 2 + sy, W, H};
        layout.canvasX = ox + sx;
        layout.canvasY = oy + sy;
        layout.canvasW = w + sx;
        layout.canvasH = h + sy;
        layout.keepCanvasSize = 0;
    } else {
        layout.bandCount = 2;
        layout.bands[0] = IntRect{W - 2 * ox - 2, 0, W, H};
        layout.bands[1] = IntRect{0, H + sy - 2 * oy - 2, W, H};
        layout.canvasX = -sx;
        layout.canvasY = -sy;
        layout.canvasW = 0;
        layout.canvasH = 0;
        layout.keepCanvasSize = 1;
    }
    return layout;
}

int LastScrollPosition(const ScrollRecord& record) {
    const int64_t last = int64_t(record.nMax) - record.nMin + 1 - int64_t(record.nPage);
    return last > 0 ? int(last) : 0;
}

int ScrollLineStep(const ScrollRecord& record) {
    const int step = int(record.nPage / 10);
    return step > 1 ? step : 1;
}

int ScrollPageStep(const ScrollRecord& record) {
    const int step = int(record.nPage) - ScrollLineStep(record);
    return step > 1 ? step : 1;
}

int ClampedScrollPosition(int position, const ScrollRecord& record) {
    const int last = LastScrollPosition(record);
    return position < 0 ? 0 : position > last ? last : position;
}

int ScrolledPosition(int request, unsigned thumbWord, const ScrollRecord& record) {
    const int p = record.nPos;
    int moved = p;
    switch (request) {
    case ScrollLineUp:
        moved = p - ScrollLineStep(record);
        break;
    case ScrollLineDown:
        moved = p + ScrollLineStep(record);
        break;
    case ScrollPageUp:
        moved = p - ScrollPageStep(record);
        break;
    case ScrollPageDown:
        moved = p + ScrollPageStep(record);
        break;
    case ScrollThumbPosition:
    case ScrollThumbTrack:
        moved = int(thumbWord & 0xFFFFu);
        break;
    case ScrollTop:
        moved = 0;
        break;
    case ScrollBottom:
        moved = LastScrollPosition(record);
        break;
    default: // the end of a scroll and anything else
        break;
    }
    return ClampedScrollPosition(moved, record);
}

void SetScrollRangeRecord(ScrollRecord* record, int viewSide, int clientSide) {
    record->fMask = ScrollMaskRange | ScrollMaskPage | ScrollMaskPos;
    record->nMin = 0;
    record->nMax = viewSide - 1;
    record->nPage = unsigned(clientSide > 0 ? clientSide : 0);
    record->nPos = ClampedScrollPosition(record->nPos, *record);
}

namespace {

// One side of OffsetsAfterZoom: the pointer's place on the old view, as a fraction of it, is
// put at the same place of the new view.
int OffsetAfterZoom(int oldCanvasAt, int oldView, int newView, int pointer) {
    if (oldView < 1)
        return 0;
    const double fraction = (pointer - oldCanvasAt + 0.5) / oldView;
    const double newPlace = fraction * newView - 0.5;
    return int(std::floor(newPlace - pointer + 0.5));
}

} // namespace

void OffsetsAfterZoom(IntSize client, IntSize oldView, IntSize newView, int oldX, int oldY,
                      int pointerX, int pointerY, int* newX, int* newY) {
    const DocumentLayout old = LayOutDocument(client.w, client.h, oldView, oldX, oldY);
    *newX = OffsetAfterZoom(old.canvasX, oldView.w, newView.w, pointerX);
    *newY = OffsetAfterZoom(old.canvasY, oldView.h, newView.h, pointerY);
}
