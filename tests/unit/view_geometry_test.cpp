// Zoomed view sizes, the fit of a new document window, the wheel's zoom bounds, the mapping
// of mouse positions to canvas pixels, the scroll steps and the zoom toward the pointer.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "view/view_geometry.h"

namespace {

void ExpectSize(IntSize actual, int w, int h) {
    EXPECT_EQ(actual.w, w);
    EXPECT_EQ(actual.h, h);
}

TEST(ViewSizeTest, FollowsTheZoomTableOfA680By480Canvas) {
    const IntSize canvas = {680, 480};
    const struct {
        int zoom, w, h;
    } table[] = {{-3, 495, 349}, {-2, 550, 388}, {-1, 612, 432}, {0, 680, 480},
                 {1, 748, 528},  {2, 822, 580},  {3, 904, 638}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.zoom);
        ExpectSize(ViewSizeAtZoom(canvas, row.zoom), row.w, row.h);
    }
}

TEST(ViewSizeTest, TruncatesAtEveryStepAndStartsFromTheCanvasEveryTime) {
    const IntSize canvas = {680, 480};
    // One step in and one out is the actual size again, because nothing is scaled from the
    // previous view.
    ExpectSize(ViewSizeAtZoom(canvas, 0), 680, 480);
    // Truncation at every step: the height reaches 0 at -43 while the width is still 3.
    ExpectSize(ViewSizeAtZoom(canvas, -43), 3, 0);
    ExpectSize(ViewSizeAtZoom(canvas, -46), 0, 0);
    ExpectSize(ViewSizeAtZoom(canvas, -1000), 0, 0);
}

TEST(ViewSizeTest, SaturatesInsteadOfOverflowingFarIn) {
    IntSize view = ViewSizeAtZoom({680, 480}, 400);
    EXPECT_EQ(view.w, INT_MAX);
    EXPECT_EQ(view.h, INT_MAX);
}

TEST(FitDocumentTest, ASheetThatFitsTakesNoStep) {
    DocumentFit fit = FitDocument({680, 480}, 100, {780, 580}, 0);
    EXPECT_EQ(fit.zoomLevel, 0);
    ExpectSize(fit.viewSize, 680, 480);
    ExpectSize(fit.documentSize, 780, 580);
}

TEST(FitDocumentTest, A1024By768ImageEndsTallerThanTheLimitItWasFittedAgainst) {
    DocumentFit fit = FitDocument({1024, 768}, 100, {780, 580}, 0);
    EXPECT_EQ(fit.zoomLevel, -4);
    ExpectSize(fit.viewSize, 670, 502);
    ExpectSize(fit.documentSize, 770, 602);
}

TEST(FitDocumentTest, ALargeImageFitsLessTightlyWhenOpenedAgain) {
    DocumentFit first = FitDocument({2000, 1500}, 100, {780, 580}, 0);
    EXPECT_EQ(first.zoomLevel, -10);
    ExpectSize(first.viewSize, 695, 520);
    ExpectSize(first.documentSize, 795, 620);

    // The next document is fitted against the last document size plus the margin.
    IntSize limit = {first.documentSize.w + 100, first.documentSize.h + 100};
    DocumentFit second = FitDocument({2000, 1500}, 100, limit, 0);
    EXPECT_EQ(second.zoomLevel, -9);
    ExpectSize(second.viewSize, 773, 578);
    ExpectSize(second.documentSize, 873, 678);
}

TEST(FitDocumentTest, AThinCanvasIsFittedEvenWhenItsViewCollapses) {
    // The loop fits the canvas plus margin; the view itself may come out 0 pixels high.
    DocumentFit fit = FitDocument({10000, 1}, 100, {780, 580}, 0);
    EXPECT_EQ(fit.zoomLevel, -25);
    ExpectSize(fit.viewSize, 713, 0);
    ExpectSize(fit.documentSize, 813, 100);
}

// The window of a new document stays inside the frame's MDI client area; with room enough the
// fit is the plain one.
TEST(FitDocumentTest, TheWindowStaysInsideTheFramesArea) {
    const struct {
        IntSize canvas, limit, area;
        int zoom, w, h;
    } table[] = {
        {{680, 480}, {780, 580}, {952, 690}, 0, 780, 580},
        {{1024, 768}, {780, 580}, {952, 690}, -4, 770, 602},
        {{1024, 768}, {780, 580}, {1270, 590}, -5, 703, 551},  // 602 would be too tall
        {{2000, 1500}, {1195, 950}, {952, 690}, -9, 873, 678}, // the limit grew, the area not
        {{4000, 3000}, {780, 580}, {300, 120}, -46, 127, 119},
        {{1024, 768}, {780, 580}, {90, 2000}, -4, 770, 602}, // no room: the area is left out
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.area.w << "x" << row.area.h);
        DocumentFit fit = FitDocumentInArea(row.canvas, 100, row.limit, row.area, 0);
        EXPECT_EQ(fit.zoomLevel, row.zoom);
        ExpectSize(fit.documentSize, row.w, row.h);
        ExpectSize(fit.viewSize, row.w - 100, row.h - 100);
    }
}

// The wheel's bounds: never below 16 pixels a side (or the canvas's own side when smaller),
// never above 32767.
TEST(ZoomBoundsTest, ZoomingOutStopsBeforeASideFallsBelowSixteen) {
    const IntSize canvas = {680, 480};
    int level = BoundedZoomLevel(canvas, 0, -100);
    EXPECT_EQ(level, -30);
    ExpectSize(ViewSizeAtZoom(canvas, level), 25, 16);
    ExpectSize(ViewSizeAtZoom(canvas, level - 1), 22, 14); // one more step would cross

    // At the bound, further turns change nothing.
    EXPECT_EQ(BoundedZoomLevel(canvas, -30, -1), -30);
    EXPECT_EQ(BoundedZoomLevel(canvas, -30, -3), -30);
    // Turns that stay inside go the whole way.
    EXPECT_EQ(BoundedZoomLevel(canvas, 0, -3), -3);
    EXPECT_EQ(BoundedZoomLevel(canvas, -28, -5), -30);
}

TEST(ZoomBoundsTest, ZoomingInStopsBeforeASidePasses32767) {
    const IntSize canvas = {680, 480};
    int level = BoundedZoomLevel(canvas, 0, 273); // the largest turn one wheel message carries
    EXPECT_EQ(level, 40);
    ExpectSize(ViewSizeAtZoom(canvas, 40), 30594, 21542);
    EXPECT_GT(ViewSizeAtZoom(canvas, 41).w, MaxViewSide);
    EXPECT_EQ(BoundedZoomLevel(canvas, 40, 1), 40);
    EXPECT_EQ(BoundedZoomLevel(canvas, 0, 2), 2);
    EXPECT_EQ(BoundedZoomLevel(canvas, 40, -2), 38) << "zooming back out from the bound";
}

TEST(ZoomBoundsTest, ACanvasSmallerThanSixteenMayNotShrinkBelowItsOwnSide) {
    EXPECT_EQ(BoundedZoomLevel({10, 10}, 0, -1), 0);
    EXPECT_EQ(BoundedZoomLevel({10, 10}, 0, 3), 3);
    EXPECT_EQ(BoundedZoomLevel({10, 10}, 3, -5), 0);
    // Each side has its own floor: 16 for the width, 5 for the height.
    EXPECT_EQ(BoundedZoomLevel({20, 5}, 0, -1), 0);
    EXPECT_EQ(BoundedZoomLevel({32767, 1}, 0, 1), 0) << "already as wide as a view may be";
}

TEST(ZoomBoundsTest, AViewAlreadyBelowTheFloorCanStillBeZoomedBackIn) {
    // A thin canvas that the fit loop shrank to a 0-pixel-high view.
    const IntSize canvas = {10000, 1};
    int fitted = FitDocument(canvas, 100, {780, 580}, 0).zoomLevel;
    EXPECT_EQ(BoundedZoomLevel(canvas, fitted, -1), fitted);
    EXPECT_EQ(BoundedZoomLevel(canvas, fitted, 2), fitted + 2);
}

TEST(WheelZoomStepsTest, TruncatesTheSignedDeltaTowardZero) {
    EXPECT_EQ(WheelZoomSteps(0), 0);
    EXPECT_EQ(WheelZoomSteps(119), 0);
    EXPECT_EQ(WheelZoomSteps(uint16_t(-119)), 0);
    EXPECT_EQ(WheelZoomSteps(120), 1);
    EXPECT_EQ(WheelZoomSteps(uint16_t(-120)), -1);
    EXPECT_EQ(WheelZoomSteps(240), 2);
    EXPECT_EQ(WheelZoomSteps(uint16_t(-360)), -3);
    EXPECT_EQ(WheelZoomSteps(0x7FFF), 273);
}

// The positions of one side of the view, and beyond it, that map wrongly: inside the view to
// any but the pixel the paint shows, outside it to any short of the picture's edge on that side
// (a drag past the window reaches past the picture), or out of order; at zoom 0, to any other.
int WronglyMapped(int (*mapped)(int, int, int), int (*shown)(int, int, int), int canvas, int view,
                  int zoom) {
    int wrong = 0, previous = INT_MIN;
    for (int at = -view; at < 2 * view; previous = mapped(canvas, view, at), ++at) {
        const int m = mapped(canvas, view, at);
        wrong += at < 0 ? m > -1 : at >= view ? m < canvas : m != shown(canvas, view, at);
        wrong += m < previous || (zoom == 0 && m != at);
    }
    return wrong;
}

// Every view pixel maps to the picture pixel the paint shows there, at every zoom from -23 to
// +10, for odd and even sizes, and every mode and tool gets the same pixel.
TEST(MapToCanvasTest, TheMouseTakesThePixelThePaintShowsUnderIt) {
    int views = 0;
    for (IntSize canvas : {IntSize{333, 211}, IntSize{680, 480}, IntSize{4000, 3000}}) {
        for (int zoom = -23; zoom <= 10; ++zoom) {
            const IntSize view = ViewSizeAtZoom(canvas, zoom);
            if (view.w < 2 || view.h < 2)
                continue;
            SCOPED_TRACE(testing::Message() << canvas.w << "x" << canvas.h << " zoom " << zoom);
            ++views;
            EXPECT_EQ(WronglyMapped(CanvasColumnAt, StretchSourceColumn, canvas.w, view.w, zoom) +
                          WronglyMapped(CanvasRowAt, StretchSourceRow, canvas.h, view.h, zoom),
                      0);
            const PackedPoint at = PackPoint(view.w - 1, view.h / 2);
            double x = 0, y = 0;
            PackedPoint anchor = 0, drag = 0, preview = 0, later = 0;
            MapToCanvas(MapAnchor, canvas, view, at, &x, &y, &anchor, &drag, &preview);
            MapToCanvas(MapDrag, canvas, view, at, nullptr, nullptr, nullptr, &later, nullptr);
            MapCursorToCanvas(canvas, view, at, &x, &y);
            EXPECT_EQ(x, StretchSourceColumn(canvas.w, view.w, view.w - 1));
            EXPECT_EQ(y, StretchSourceRow(canvas.h, view.h, view.h / 2));
            for (PackedPoint p : {anchor, drag, preview, later})
                EXPECT_EQ(p, PackPoint(int(x), int(y))) << "the pen and the shapes";
        }
    }
    EXPECT_GT(views, 90);
    // Far outside a small view the picture positions leave 16 bits, which the points keep.
    PackedPoint far = 0;
    MapToCanvas(MapDrag, {32767, 30000}, {16, 14}, PackPoint(-32768, 32767), nullptr, nullptr,
                nullptr, &far, nullptr);
    EXPECT_EQ(far, PackPoint(-32768, 32767));
}

// Layout of the canvas window in the document window's client area.
void ExpectRect(IntRect r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(LayOutDocumentTest, AFittingViewIsCentredInsideFourBands) {
    DocumentLayout even = LayOutDocument(700, 500, {680, 480}, 0, 0);
    EXPECT_EQ(even.viewFits, 1);
    ASSERT_EQ(even.bandCount, 4);
    ExpectRect(even.bands[0], 0, 0, 700, 12);    // top: 2 pixels under the canvas
    ExpectRect(even.bands[1], 0, 0, 12, 500);    // left
    ExpectRect(even.bands[2], 688, 0, 700, 500); // right: 2 pixels under (even difference)
    ExpectRect(even.bands[3], 0, 488, 700, 500); // bottom
    EXPECT_EQ(even.keepCanvasSize, 0);
    EXPECT_EQ(even.canvasX, 10);
    EXPECT_EQ(even.canvasY, 10);
    EXPECT_EQ(even.canvasW, 680);
    EXPECT_EQ(even.canvasH, 480);

    // Odd differences: the canvas ends at 690 and 490, and the right and bottom bands reach
    // only 1 pixel under it.
    DocumentLayout odd = LayOutDocument(701, 501, {680, 480}, 0, 0);
    EXPECT_EQ(odd.canvasX, 10);
    ExpectRect(odd.bands[2], 689, 0, 701, 501);
    ExpectRect(odd.bands[3], 0, 489, 701, 501);
}

TEST(LayOutDocumentTest, ScrollOffsetsMoveAndGrowAFittingCanvas) {
    DocumentLayout layout = LayOutDocument(700, 500, {680, 480}, 2, -2);
    EXPECT_EQ(layout.canvasX, 12);
    EXPECT_EQ(layout.canvasY, 8);
    EXPECT_EQ(layout.canvasW, 682);
    EXPECT_EQ(layout.canvasH, 478);
    ExpectRect(layout.bands[0], 0, 0, 700, 10);
    ExpectRect(layout.bands[3], 0, 486, 700, 500);
}

TEST(LayOutDocumentTest, AViewAsWideAsTheClientAreaIsPinnedToTheCorner) {
    DocumentLayout narrower = LayOutDocument(681, 500, {680, 480}, 0, 0);
    EXPECT_EQ(narrower.viewFits, 1) << "one pixel narrower is centred";

    DocumentLayout same = LayOutDocument(680, 500, {680, 480}, 0, 0);
    EXPECT_EQ(same.viewFits, 0);
    ASSERT_EQ(same.bandCount, 2);
    ExpectRect(same.bands[0], 678, 0, 680, 500);
    ExpectRect(same.bands[1], 0, 478, 680, 500); // the yellow band below the canvas
    EXPECT_EQ(same.keepCanvasSize, 1);
    EXPECT_EQ(same.canvasX, 0);
    EXPECT_EQ(same.canvasY, 0);
}

TEST(LayOutDocumentTest, ALargerViewIsMovedByTheScrollOffsets) {
    DocumentLayout even = LayOutDocument(600, 400, {680, 480}, 30, 5);
    EXPECT_EQ(even.viewFits, 0);
    ExpectRect(even.bands[0], 678, 0, 600, 400);
    ExpectRect(even.bands[1], 0, 483, 600, 400);
    EXPECT_EQ(even.canvasX, -30);
    EXPECT_EQ(even.canvasY, -5);

    // Odd differences: (-81) / 2 is -40, truncated toward zero.
    DocumentLayout odd = LayOutDocument(599, 399, {680, 480}, 0, 0);
    ExpectRect(odd.bands[0], 677, 0, 599, 399);
    ExpectRect(odd.bands[1], 0, 477, 599, 399);
}

// The scroll bars, the keys and the pan: the page is the client area's side, an arrow a tenth
// of it, a trough press a page less a tenth; no step leaves 0 to view - client.
TEST(ScrolledPositionTest, StepsStayBetweenZeroAndWhereTheFarEdgeMeetsTheWindow) {
    const struct {
        int view, client, position, request;
        unsigned thumb;
        int expected;
    } table[] = {
        {1000, 300, 10, ScrollLineUp, 0, 0},
        {1000, 300, 0, ScrollLineDown, 0, 30},
        {1000, 300, 690, ScrollLineDown, 0, 700},
        {1000, 300, 100, ScrollPageUp, 0, 0},
        {1000, 300, 0, ScrollPageDown, 0, 270},
        {1000, 300, 600, ScrollPageDown, 0, 700},
        {1000, 300, 700, ScrollPageUp, 0, 430},
        {1000, 300, 5, ScrollThumbTrack, 123, 123},
        {1000, 300, 5, ScrollThumbPosition, 0xFFFF, 700},
        {1000, 300, 500, ScrollTop, 0, 0},
        {1000, 300, 5, ScrollBottom, 0, 700},
        {1000, 300, 5, ScrollEnd, 9, 5},
        {1000, 300, 5, 42, 9, 5},
        // A view smaller than the window does not scroll.
        {200, 300, 0, ScrollPageDown, 0, 0},
        {200, 300, 0, ScrollBottom, 0, 0},
        {200, 300, 0, ScrollThumbTrack, 50, 0},
        {0, 300, 0, ScrollLineDown, 0, 0},
        // Odd sizes and a page of a few pixels: steps of at least one pixel.
        {1001, 7, 990, ScrollPageDown, 0, 994},
        {1001, 7, 994, ScrollLineDown, 0, 994},
        {1001, 7, 3, ScrollPageUp, 0, 0},
        {1001, 7, 3, ScrollLineUp, 0, 2},
        {1001, 0, 999, ScrollPageDown, 0, 1000},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.view << " in " << row.client << " at "
                                        << row.position << ", request " << row.request);
        ScrollRecord record = {};
        record.nPos = 99999;
        SetScrollRangeRecord(&record, row.view, row.client);
        EXPECT_EQ(record.nPos, row.view > row.client ? row.view - row.client : 0);
        EXPECT_EQ(record.fMask, 7u);
        EXPECT_EQ(record.nMax, row.view - 1);
        EXPECT_EQ(record.nPage, unsigned(row.client));
        record.nPos = row.position;
        EXPECT_EQ(ScrolledPosition(row.request, row.thumb, record), row.expected);
    }
}

// A wheel notch keeps the picture pixel under the pointer within a view pixel of it, or puts
// the view at the end of its range when that is as far as it goes; a view that fits is centred.
TEST(ZoomTowardThePointerTest, ThePicturePointUnderThePointerStaysUnderIt) {
    const struct {
        IntSize canvas;
        int from, to;
        int pointerX, pointerY, startX, startY;
        int clamped; // 0: kept under the pointer; 1: stopped at an end; 2: the view fits
    } table[] = {
        {{4000, 3000}, -16, -15, 400, 300, 0, 0, 0},
        {{4000, 3000}, -15, -14, 600, 420, 31, 12, 0},
        {{4000, 3000}, -14, -4, 700, 500, 60, 40, 0},
        {{4000, 3000}, 0, 1, 17, 501, 3001, 2401, 0},
        {{4000, 3000}, 9, 10, 759, 0, 6000, 0, 0},
        {{4000, 3000}, 10, 9, 381, 277, 6000, 3000, 0},
        {{4000, 3000}, 5, 2, 759, 539, 9999, 9999, 0}, // the far corner stays in the far corner
        {{4000, 3000}, 3, 2, 100, 100, 9999, 9999, 1},
        {{8000, 6000}, -20, -21, 400, 300, 5, 5, 1},
        {{8000, 6000}, -22, -23, 380, 270, 9, 9, 2},
        {{8000, 6000}, -23, -22, 400, 300, 0, 0, 0},
        {{333, 211}, 7, 8, 101, 99, 0, 0, 2},
        {{333, 211}, 8, 11, 600, 300, 0, 0, 0},
    };
    const IntSize client = {760, 540};
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message()
                     << row.canvas.w << " from " << row.from << " to " << row.to);
        const IntSize oldView = ViewSizeAtZoom(row.canvas, row.from);
        const IntSize newView = ViewSizeAtZoom(row.canvas, row.to);
        ScrollRecord h = {}, v = {};
        h.nPos = row.startX;
        v.nPos = row.startY;
        SetScrollRangeRecord(&h, oldView.w, client.w);
        SetScrollRangeRecord(&v, oldView.h, client.h);
        const DocumentLayout before = LayOutDocument(client.w, client.h, oldView, h.nPos, v.nPos);
        OffsetsAfterZoom(client, oldView, newView, h.nPos, v.nPos, row.pointerX, row.pointerY,
                         &h.nPos, &v.nPos);
        const int wantedX = h.nPos, wantedY = v.nPos;
        SetScrollRangeRecord(&h, newView.w, client.w);
        SetScrollRangeRecord(&v, newView.h, client.h);
        const DocumentLayout after = LayOutDocument(client.w, client.h, newView, h.nPos, v.nPos);
        EXPECT_EQ(after.viewFits ? 2 : h.nPos != wantedX || v.nPos != wantedY, row.clamped);
        if (row.clamped)
            continue;
        const int slack = (row.canvas.w + oldView.w - 1) / oldView.w;
        EXPECT_NEAR(CanvasColumnAt(row.canvas.w, newView.w, row.pointerX - after.canvasX),
                    CanvasColumnAt(row.canvas.w, oldView.w, row.pointerX - before.canvasX), slack);
        EXPECT_NEAR(CanvasRowAt(row.canvas.h, newView.h, row.pointerY - after.canvasY),
                    CanvasRowAt(row.canvas.h, oldView.h, row.pointerY - before.canvasY), slack);
    }
}

} // namespace
