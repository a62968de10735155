// Zoomed view sizes, the fit of a new document window, the wheel's zoom bounds and the mapping
// of mouse positions to canvas pixels.
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

// MapToCanvas in its three modes.
struct Mapped {
    double x = -1, y = -1;
    PackedPoint anchor = PackPoint(7, 7), drag = PackPoint(8, 8), preview = PackPoint(9, 9);
};

Mapped Map(int mode, int zoom, int x, int y) {
    Mapped m;
    MapToCanvas(mode, zoom, PackPoint(x, y), &m.x, &m.y, &m.anchor, &m.drag, &m.preview);
    return m;
}

void ExpectPoint(PackedPoint p, int x, int y) {
    EXPECT_EQ(PackedX(p), x);
    EXPECT_EQ(PackedY(p), y);
}

TEST(MapToCanvasTest, AtZoomZeroEveryModeKeepsThePosition) {
    for (int mode = 0; mode <= 2; ++mode) {
        SCOPED_TRACE(mode);
        Mapped m = Map(mode, 0, 100, 50);
        EXPECT_EQ(m.x, 100.0);
        EXPECT_EQ(m.y, 50.0);
    }
    ExpectPoint(Map(MapAnchor, 0, 100, 50).anchor, 100, 50);
    ExpectPoint(Map(MapDrag, 0, 100, 50).drag, 100, 50);
}

TEST(MapToCanvasTest, CursorModeDividesInDoublesAndTouchesNoPoint) {
    Mapped in = Map(MapCursor, 2, 100, 50);
    EXPECT_NEAR(in.x, 82.644628, 1e-6);
    EXPECT_NEAR(in.y, 41.322314, 1e-6);
    EXPECT_EQ(int(in.x), 82) << "the pen draws here";
    EXPECT_EQ(int(in.y), 41);
    ExpectPoint(in.anchor, 7, 7);
    ExpectPoint(in.drag, 8, 8);
    ExpectPoint(in.preview, 9, 9);

    Mapped out = Map(MapCursor, -2, 100, 50);
    EXPECT_NEAR(out.x, 123.456790, 1e-6);
    EXPECT_NEAR(out.y, 61.728395, 1e-6);

    double x = 0, y = 0;
    MapCursorToCanvas(-2, PackPoint(100, 50), &x, &y);
    EXPECT_EQ(x, out.x);
    EXPECT_EQ(y, out.y);
}

TEST(MapToCanvasTest, AnchorModeSetsAllThreePointsWithTruncationAtEveryStep) {
    Mapped in = Map(MapAnchor, 2, 100, 50);
    ExpectPoint(in.anchor, 81, 40); // a shape corner lands one pixel off the pen
    ExpectPoint(in.drag, 81, 40);
    ExpectPoint(in.preview, 81, 40);
    EXPECT_EQ(in.x, 100.0) << "the cursor keeps the unscaled position";
    EXPECT_EQ(in.y, 50.0);

    Mapped out = Map(MapAnchor, -2, 100, 50);
    ExpectPoint(out.anchor, 123, 61);
    ExpectPoint(out.drag, 123, 61);
    ExpectPoint(out.preview, 123, 61);
}

TEST(MapToCanvasTest, DragModeSetsOnlyTheDragPoint) {
    Mapped in = Map(MapDrag, 2, 100, 50);
    ExpectPoint(in.drag, 81, 40);
    ExpectPoint(in.anchor, 7, 7);
    ExpectPoint(in.preview, 9, 9);
    EXPECT_EQ(in.x, 100.0);

    Mapped out = Map(MapDrag, -2, 100, 50);
    ExpectPoint(out.drag, 123, 61);
}

TEST(MapToCanvasTest, OtherModesOnlyReadThePosition) {
    Mapped m = Map(5, 2, 100, 50);
    EXPECT_EQ(m.x, 100.0);
    EXPECT_EQ(m.y, 50.0);
    ExpectPoint(m.anchor, 7, 7);
    ExpectPoint(m.drag, 8, 8);
    ExpectPoint(m.preview, 9, 9);
}

TEST(MapToCanvasTest, PositionsLeftOfOrAboveTheWindowStayNegative) {
    // A captured mouse dragged past the window's top-left corner.
    Mapped cursor = Map(MapCursor, -2, -5, -300);
    EXPECT_NEAR(cursor.x, -5 / 0.81, 1e-9);
    EXPECT_NEAR(cursor.y, -300 / 0.81, 1e-9);

    Mapped shape = Map(MapAnchor, 2, -100, -1);
    ExpectPoint(shape.anchor, -81, 0);
    Mapped drag = Map(MapDrag, 0, -1, -32768);
    ExpectPoint(drag.drag, -1, -32768);
    EXPECT_EQ(drag.y, -32768.0);
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

    // A page step at offset 0 gives -2, which moves the canvas 2 pixels away from the corner.
    DocumentLayout paged = LayOutDocument(600, 400, {680, 480}, -2, -2);
    EXPECT_EQ(paged.canvasX, 2);
    EXPECT_EQ(paged.canvasY, 2);
}

// The scroll request table.
ScrollRecord Record(int pos, int nMin, int nMax, unsigned page = 2) {
    ScrollRecord r = {};
    r.nPos = pos;
    r.nMin = nMin;
    r.nMax = nMax;
    r.nPage = page;
    return r;
}

TEST(ScrolledPositionTest, LineStepsStopAtZeroAndOneBeforeTheMaximum) {
    EXPECT_EQ(ScrolledPosition(ScrollLineUp, 0, Record(5, 0, 10)), 4);
    EXPECT_EQ(ScrolledPosition(ScrollLineUp, 0, Record(0, 0, 10)), 0);
    EXPECT_EQ(ScrolledPosition(ScrollLineUp, 0, Record(-2, 0, 10)), -3) << "only 0 stops it";
    EXPECT_EQ(ScrolledPosition(ScrollLineDown, 0, Record(8, 0, 10)), 9);
    EXPECT_EQ(ScrolledPosition(ScrollLineDown, 0, Record(9, 0, 10)), 9);
    EXPECT_EQ(ScrolledPosition(ScrollLineDown, 0, Record(0, 0, -20)), 0) << "signed compare";
}

TEST(ScrolledPositionTest, PageStepsAndTheBottomAreUnbounded) {
    EXPECT_EQ(ScrolledPosition(ScrollPageUp, 0, Record(0, 0, 10)), -2);
    EXPECT_EQ(ScrolledPosition(ScrollPageDown, 0, Record(10, 0, 10)), 12);
    EXPECT_EQ(ScrolledPosition(ScrollPageDown, 0, Record(1, 0, 10, 7)), 8);
    EXPECT_EQ(ScrolledPosition(ScrollBottom, 0, Record(3, 0, 10)), 10);
    EXPECT_EQ(ScrolledPosition(ScrollTop, 0, Record(3, 0, 10)), 0);
}

TEST(ScrolledPositionTest, OnlyAReleasedThumbMovesThePicture) {
    EXPECT_EQ(ScrolledPosition(ScrollThumbPosition, 7, Record(3, 0, 10)), 7);
    EXPECT_EQ(ScrolledPosition(ScrollThumbPosition, 0xFFFF, Record(3, 0, 10)), 65535);
    EXPECT_EQ(ScrolledPosition(ScrollThumbTrack, 7, Record(3, 0, 10)), 3);
    EXPECT_EQ(ScrolledPosition(ScrollEnd, 7, Record(3, 0, 10)), 3);
    EXPECT_EQ(ScrolledPosition(42, 7, Record(3, 0, 10)), 3);
}

TEST(ScrollRangeTest, ARangeUpdateResetsThePositionAndMayGoNegative) {
    ScrollRecord r = Record(17, 4, 99, 9);
    r.cbSize = 28;
    r.fMask = ScrollMaskPos;
    SetScrollRangeRecord(&r, 680, 700);
    EXPECT_EQ(r.cbSize, 28u);
    EXPECT_EQ(r.fMask, 3u);
    EXPECT_EQ(r.nMin, 0);
    EXPECT_EQ(r.nMax, -20);
    EXPECT_EQ(r.nPage, 2u);
    EXPECT_EQ(r.nPos, 0);
    SetScrollRangeRecord(&r, 904, 600);
    EXPECT_EQ(r.nMax, 304);
}

} // namespace
