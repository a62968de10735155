#include <gtest/gtest.h>

#include "base/app_state.h"

namespace {

// A fresh record, as every run of the program starts with it.
TEST(AppStateTest, StartsWithTheProgramsInitialValues) {
    AppState s;

    // Windows and handles: none exist before start-up.
    EXPECT_EQ(s.instance, nullptr);
    EXPECT_EQ(s.frameWindow, nullptr);
    EXPECT_EQ(s.mdiClient, nullptr);
    EXPECT_EQ(s.documentWindow, nullptr);
    EXPECT_EQ(s.canvasWindow, nullptr);
    EXPECT_EQ(s.paletteWindow, nullptr);
    for (HWND control : s.paletteControls)
        EXPECT_EQ(control, nullptr);
    EXPECT_EQ(s.canvasDc, nullptr);
    EXPECT_EQ(s.canvasDib, nullptr);
    EXPECT_EQ(s.canvasPixels, nullptr);
    EXPECT_EQ(s.history.resetCopy, nullptr);
    for (TileSnapshot* slot : s.history.slots)
        EXPECT_EQ(slot, nullptr);

    // Tool, colours, settings.
    EXPECT_EQ(s.activeTool, ToolCode::Spray);
    EXPECT_EQ(static_cast<int>(s.activeTool), 6);
    EXPECT_EQ(s.primaryColour, (RgbTriple{0, 0, 0}));
    EXPECT_EQ(s.secondaryColour, (RgbTriple{255, 255, 255}));
    EXPECT_EQ(s.penWidth, 10);
    EXPECT_EQ(s.outlineWidth, 1);
    EXPECT_EQ(s.previewOutlines, 1);
    EXPECT_EQ(s.fillTolerance, 20);
    EXPECT_EQ(s.sprayStrength, 50);

    // Palette geometry.
    const IntRect indicator = AppState::colourIndicatorRect;
    EXPECT_EQ(indicator.left, 20);
    EXPECT_EQ(indicator.top, 120);
    EXPECT_EQ(indicator.right, 135);
    EXPECT_EQ(indicator.bottom, 180);
    const IntRect cell = AppState::swatchCellRect;
    EXPECT_EQ(cell.left, 145);
    EXPECT_EQ(cell.top, 115);
    EXPECT_EQ(cell.right, 160);
    EXPECT_EQ(cell.bottom, 130);

    // Document geometry, zoom, scrolling.
    EXPECT_EQ(s.canvasSize.w, 680);
    EXPECT_EQ(s.canvasSize.h, 480);
    EXPECT_EQ(s.documentMargin, 100);
    EXPECT_EQ(s.documentSize.w, 680);
    EXPECT_EQ(s.documentSize.h, 480);
    EXPECT_EQ(s.zoomLevel, 0);
    EXPECT_EQ(s.viewSize.w, 0);
    EXPECT_EQ(s.viewSize.h, 0);
    for (const ScrollRecord& r : {s.hScrollInfo, s.vScrollInfo}) {
        EXPECT_EQ(r.cbSize, 0u);
        EXPECT_EQ(r.fMask, 0u);
        EXPECT_EQ(r.nMin, 0);
        EXPECT_EQ(r.nMax, 0);
        EXPECT_EQ(r.nPage, 0u);
        EXPECT_EQ(r.nPos, 0);
        EXPECT_EQ(r.nTrackPos, 0);
    }

    // Document state, history, stroke.
    EXPECT_EQ(s.blankDocumentOpen, 0);
    EXPECT_EQ(s.imageDocumentOpen, 0);
    EXPECT_EQ(s.surfaceSize.w, 0);
    EXPECT_EQ(s.surfaceSize.h, 0);
    EXPECT_EQ(s.historyPos, 0);
    EXPECT_EQ(s.historyCount, 0);
    EXPECT_EQ(s.strokeActive, 0);
    EXPECT_EQ(s.anchorPoint, 0);
    EXPECT_EQ(s.dragPoint, 0);
    EXPECT_EQ(s.previewPoint, 0);
    EXPECT_EQ(s.cursorX, 0.0);
    EXPECT_EQ(s.cursorY, 0.0);
    EXPECT_EQ(s.sprayRect.left, 0);
    EXPECT_EQ(s.sprayRect.top, 0);
    EXPECT_EQ(s.sprayRect.right, 0);
    EXPECT_EQ(s.sprayRect.bottom, 0);
    EXPECT_EQ(s.sprayCount, 0);
}

TEST(AppStateTest, TheProgramsRecordHoldsTheInitialValuesBeforeAnyCodeRuns) {
    // The global record is statically initialised; spot-check that it is not merely zeroed.
    EXPECT_EQ(appState.activeTool, ToolCode::Spray);
    EXPECT_EQ(appState.secondaryColour, (RgbTriple{255, 255, 255}));
    EXPECT_EQ(appState.canvasSize.w, 680);
    EXPECT_EQ(appState.documentMargin, 100);
    EXPECT_EQ(HistorySlotCount, 1000);
}

TEST(AppStateTest, DocumentCountsAsOpenWhenEitherFlagIsOne) {
    AppState saved = appState;
    const int cases[][3] = {{0, 0, 0}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}, {2, 0, 0}};
    for (const auto& c : cases) {
        appState.blankDocumentOpen = c[0];
        appState.imageDocumentOpen = c[1];
        EXPECT_EQ(DocumentIsOpen(), c[2] == 1) << c[0] << "," << c[1];
    }
    appState = saved;
}

} // namespace
