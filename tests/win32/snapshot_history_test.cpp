// The undo history on a real canvas: the snapshots around every stroke, 戻す, 進む and 初期化,
// the history at its limit, snapshots that GDI cannot make, snapshots of another document's
// size, and the GDI objects that thousands of strokes leave behind.
#include <cstdio>

#include "drawing_fixture.h"

namespace {

class SnapshotHistoryTest : public DrawingTest {
  protected:
    // A slot's snapshot as 0xRRGGBB, row by row from the top, at the canvas's size.
    static std::vector<uint32_t> SlotPicture(int slot) {
        std::vector<uint32_t> picture;
        IntSize size;
        if (!SnapshotSize(appState.history, slot, &size))
            return picture;
        for (int y = 0; y < size.h; ++y)
            for (int x = 0; x < size.w; ++x)
                picture.push_back(SnapshotPixel(appState.history, slot, x, y) & 0xFFFFFF);
        return picture;
    }

    static int CanvasNeedsRepaint() {
        RECT update;
        return GetUpdateRect(appState.canvasWindow, &update, FALSE) ? 1 : 0;
    }

    void ExpectHistory(int pos, int count, const std::vector<uint32_t>& canvasPicture) {
        EXPECT_EQ(appState.historyPos, pos);
        EXPECT_EQ(appState.historyCount, count);
        EXPECT_EQ(DifferingPixels(Picture(), canvasPicture), 0);
    }

    // A stroke whose picture tells its number: a rectangle in a colour made of it.
    static RgbTriple NumberedColour(int stroke) {
        return RgbTriple{stroke & 0xFF, (stroke >> 8) & 0xFF, 77};
    }
    void NumberedStroke(int stroke) { RectangleStroke(5, 5, 15, 15, NumberedColour(stroke)); }
    static uint32_t ShownNumber() { return Rgb(10, 10); }
};

// Blank paper P and strokes A, B, C and D, step by step.
TEST_F(SnapshotHistoryTest, TheWorkedSequenceHoldsStepByStep) {
    OpenSheet(120, 90);
    const std::vector<uint32_t> P = Picture();
    ExpectHistory(0, 0, P);

    appState.activeTool = ToolCode::Rectangle;
    appState.primaryColour = Red;
    Press(10, 10);
    EXPECT_EQ(appState.historyPos, 1);
    EXPECT_EQ(appState.historyCount, 1);
    EXPECT_EQ(DifferingPixels(SlotPicture(0), P), 0);
    Move(40, 40);
    Release(40, 40);
    const std::vector<uint32_t> A = Picture();
    ExpectHistory(1, 1, A);
    EXPECT_EQ(DifferingPixels(SlotPicture(1), A), 0);

    RectangleStroke(50, 10, 80, 40, Green);
    const std::vector<uint32_t> AB = Picture();
    ExpectHistory(2, 2, AB);
    EXPECT_EQ(DifferingPixels(SlotPicture(2), AB), 0);

    UndoStep();
    ExpectHistory(1, 2, A);
    UndoStep();
    ExpectHistory(0, 2, P);
    ValidateRect(canvas, nullptr);
    UndoStep();
    ExpectHistory(0, 2, P);
    EXPECT_FALSE(CanvasNeedsRepaint()) << "nothing to undo: no repaint";
    RedoStep();
    ExpectHistory(1, 2, A);
    EXPECT_TRUE(CanvasNeedsRepaint());

    RectangleStroke(10, 50, 40, 80, Blue);
    const std::vector<uint32_t> AC = Picture();
    ExpectHistory(2, 2, AC);
    ValidateRect(canvas, nullptr);
    RedoStep();
    ExpectHistory(2, 2, AC);
    EXPECT_FALSE(CanvasNeedsRepaint()) << "nothing to redo: no repaint";

    ResetCanvas();
    ExpectHistory(2, 2, P);
    EXPECT_TRUE(CanvasNeedsRepaint());
    RectangleStroke(60, 60, 100, 85, Black);
    const std::vector<uint32_t> PD = Picture();
    ExpectHistory(3, 3, PD);
    EXPECT_EQ(DifferingPixels(SlotPicture(2), P), 0);
    UndoStep();
    ExpectHistory(2, 3, P);
}

// An eyedropper click and a fill that changes nothing are steps like any other; so are both
// presses of a double click, which arrive as two ordinary presses.
TEST_F(SnapshotHistoryTest, EveryStrokeIsOneStepEvenWhenNothingChanges) {
    OpenSheet(100, 80);
    const std::vector<uint32_t> P = Picture();
    Click(ToolCode::Eyedropper, 50, 40);
    ExpectHistory(1, 1, P);
    appState.primaryColour = White;
    Click(ToolCode::Fill, 50, 40);
    ExpectHistory(2, 2, P);
    appState.primaryColour = Red;
    appState.penWidth = 4;
    Drag(ToolCode::Pen, POINT{20, 20}, {POINT{60, 20}});
    const std::vector<uint32_t> line = Picture();
    Click(ToolCode::Pen, 70, 60);
    Click(ToolCode::Pen, 70, 60);
    EXPECT_EQ(appState.historyPos, 5);
    UndoStep();
    UndoStep();
    ExpectHistory(3, 5, line);
    UndoStep();
    ExpectHistory(2, 5, P);
    UndoStep();
    ExpectHistory(1, 5, P);
}

// A release whose press the canvas never saw draws nothing, so it repaints nothing, but it
// records the picture as it is.
TEST_F(SnapshotHistoryTest, AReleaseWithoutAPressRecordsThePresentPicture) {
    OpenSheet(100, 80);
    const std::vector<uint32_t> P = Picture();
    RectangleStroke(10, 10, 30, 30, Red);
    PaintPattern(); // drawn without a stroke
    const std::vector<uint32_t> changed = Picture();
    ValidateRect(canvas, nullptr);
    Release(50, 50);
    EXPECT_FALSE(CanvasNeedsRepaint());
    ExpectHistory(1, 1, changed);
    UndoStep();
    ExpectHistory(0, 1, P);
    RedoStep();
    ExpectHistory(1, 1, changed);
}

// The history belongs to the run: after a new document of the same size, 戻す brings back
// the earlier document's pictures, and the next stroke records in the middle of its history.
TEST_F(SnapshotHistoryTest, TheHistoryOutlivesItsDocument) {
    OpenSheet(100, 80);
    const std::vector<uint32_t> P = Picture();
    RectangleStroke(10, 10, 30, 30, Red);
    RectangleStroke(40, 10, 60, 30, Blue);
    const std::vector<uint32_t> AB = Picture();
    CloseDocument();
    OpenSheet(100, 80);
    EXPECT_EQ(DifferingPixels(Picture(), P), 0);
    UndoStep();
    UndoStep();
    ExpectHistory(0, 2, P);
    RedoStep();
    RedoStep();
    ExpectHistory(2, 2, AB);
}

// History from an earlier document of another size: only the area both share is copied, and
// the rest of the canvas keeps its pixels.
TEST_F(SnapshotHistoryTest, ASnapshotOfAnotherSizeCoversOnlyTheSharedArea) {
    OpenSheet(60, 40);
    RectangleStroke(0, 0, 60, 40, Red);
    Click(ToolCode::Eyedropper, 5, 5); // a step whose before-picture is the red one
    CloseDocument();
    OpenSheet(120, 80);
    PaintPattern();
    const std::vector<uint32_t> pattern = Picture();
    UndoStep();
    std::vector<uint32_t> expected = pattern;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            expected[size_t(y) * 120 + x] = Hex(Red);
    EXPECT_EQ(DifferingPixels(Picture(), expected), 0);

    // And the other way: a larger snapshot onto a smaller canvas.
    RectangleStroke(0, 0, 120, 80, Blue);
    Click(ToolCode::Eyedropper, 5, 5);
    CloseDocument();
    OpenSheet(30, 20);
    UndoStep();
    std::vector<uint32_t> blue(size_t(30) * 20, Hex(Blue));
    EXPECT_EQ(DifferingPixels(Picture(), blue), 0);
}

// Beyond the slots, the oldest step makes room: every stroke stays undoable one at a time, as
// far back as the history reaches, and no more than 1000 snapshots are ever held.
TEST_F(SnapshotHistoryTest, AtTheLimitEveryStrokeStaysUndoableOneAtATime) {
    OpenSheet(24, 20);
    const uint32_t paper = ShownNumber();
    const int strokes = 1005;
    for (int stroke = 1; stroke <= strokes; ++stroke) {
        NumberedStroke(stroke);
        ASSERT_EQ(ShownNumber(), Hex(NumberedColour(stroke)));
        ASSERT_LE(HeldSnapshots(), HistorySlotCount);
    }
    EXPECT_EQ(HeldSnapshots(), HistorySlotCount);
    EXPECT_EQ(appState.historyPos, HistorySlotCount - 1);

    for (int back = 1; back < HistorySlotCount; ++back) {
        UndoStep();
        ASSERT_EQ(ShownNumber(), Hex(NumberedColour(strokes - back))) << "undo " << back;
    }
    UndoStep(); // the oldest steps are gone
    EXPECT_EQ(ShownNumber(), Hex(NumberedColour(strokes - (HistorySlotCount - 1))));
    EXPECT_NE(ShownNumber(), paper);
    for (int forward = HistorySlotCount - 2; forward >= 0; --forward) {
        RedoStep();
        ASSERT_EQ(ShownNumber(), Hex(NumberedColour(strokes - forward)));
    }

    // After going back, recording resumes with the next stroke.
    UndoStep();
    UndoStep();
    NumberedStroke(5000);
    UndoStep();
    EXPECT_EQ(ShownNumber(), Hex(NumberedColour(strokes - 2)));
    RedoStep();
    EXPECT_EQ(ShownNumber(), Hex(NumberedColour(5000)));
}

// Every pen and brush of a stroke is deleted once another takes its place, and the history
// holds its pictures in plain memory: over 2000 strokes with every tool the process gains no
// GDI object at all.
TEST_F(SnapshotHistoryTest, ThousandsOfStrokesLeaveNoGdiObjectsBehind) {
    OpenSheet(64, 48);
    appState.sprayStrength = 3;
    appState.penWidth = 3;
    // Warm-up: the first window device contexts and a stroke of each tool.
    const ToolCode tools[] = {ToolCode::Pen,  ToolCode::Ellipse, ToolCode::Rectangle,
                              ToolCode::Line, ToolCode::Fill,    ToolCode::Eyedropper,
                              ToolCode::Spray};
    for (ToolCode tool : tools)
        Drag(tool, POINT{10, 10}, {POINT{30, 20}});
    PumpMessages(20);
    const int heldBefore = HeldSnapshots();
    const int before = CountGdiObjects();
    const int strokes = 2000;
    for (int stroke = 0; stroke < strokes; ++stroke) {
        appState.primaryColour = NumberedColour(stroke);
        Drag(tools[stroke % 7], POINT{5 + stroke % 40, 5 + stroke % 30},
             {POINT{20 + stroke % 30, 8 + stroke % 25}, POINT{40, 40}});
    }
    PumpMessages(20);
    const int after = CountGdiObjects();
    const int heldAfter = HeldSnapshots();
    std::printf("GDI objects: %d before, %d after %d strokes; snapshots held %d -> %d\n", before,
                after, strokes, heldBefore, heldAfter);
    RecordProperty("GdiObjectsBefore", before);
    RecordProperty("GdiObjectsAfter", after);
    EXPECT_EQ(heldAfter, HistorySlotCount);
    EXPECT_EQ(after, before);

    // Undoing everything and drawing on releases the replaced snapshots too.
    for (int i = 0; i < HistorySlotCount; ++i)
        UndoStep();
    for (int stroke = 0; stroke < 50; ++stroke)
        Drag(tools[stroke % 7], POINT{10, 10}, {POINT{30, 30}});
    PumpMessages(20);
    EXPECT_EQ(CountGdiObjects(), before);
}

// When the budget cannot hold a snapshot, the oldest steps give way to it, and 戻す shows
// exactly the picture before the stroke, never one of a slot without a complete snapshot.
TEST_F(SnapshotHistoryTest, ASnapshotTheBudgetCannotHoldGivesUpTheOldestSteps) {
    OpenSheet(100, 80);
    PaintPattern(); // P: every tile its own, none shared with the reset copy
    RectangleStroke(10, 10, 40, 40, Red);
    const std::vector<uint32_t> A = Picture();
    RectangleStroke(50, 10, 80, 40, Green);
    const std::vector<uint32_t> AB = Picture();

    // Room for less than the whole picture that C changes, but enough once P's own tile goes.
    appState.history.budget = HistoryBytes(appState.history) + 20000;
    RectangleStroke(0, 0, 100, 80, Blue);
    const std::vector<uint32_t> ABC = Picture();
    EXPECT_LE(HistoryBytes(appState.history), appState.history.budget);
    UndoStep();
    EXPECT_EQ(DifferingPixels(Picture(), AB), 0) << "the picture before the stroke";
    RedoStep();
    EXPECT_EQ(DifferingPixels(Picture(), ABC), 0);
    UndoStep();
    UndoStep();
    EXPECT_EQ(DifferingPixels(Picture(), A), 0);
    UndoStep(); // P gave way
    EXPECT_EQ(DifferingPixels(Picture(), A), 0);
}

// With nothing to give up, the step is not recorded: 戻す and 進む then copy nothing, and the
// stroke stays on the canvas.
TEST_F(SnapshotHistoryTest, AStrokeNoSnapshotCanBeMadeOfIsNotRecorded) {
    OpenSheet(100, 80);
    const std::vector<uint32_t> P = Picture();
    const size_t budget = appState.history.budget;
    appState.history.budget = 1;
    appState.primaryColour = Blue;
    Click(ToolCode::Fill, 50, 40);
    const std::vector<uint32_t> filled = Picture();
    EXPECT_NE(DifferingPixels(filled, P), 0);
    EXPECT_EQ(HeldSnapshots(), 0);
    ValidateRect(canvas, nullptr);
    UndoStep();
    RedoStep();
    EXPECT_EQ(DifferingPixels(Picture(), filled), 0);
    EXPECT_FALSE(CanvasNeedsRepaint());

    // With room again, recording starts afresh.
    appState.history.budget = budget;
    RectangleStroke(10, 10, 30, 30, Red);
    UndoStep();
    EXPECT_EQ(DifferingPixels(Picture(), filled), 0);
    UndoStep();
    EXPECT_EQ(DifferingPixels(Picture(), filled), 0);
}

TEST_F(SnapshotHistoryTest, TheHistoryButtonsDoNothingBeforeAnyDocument) {
    UndoStep();
    RedoStep();
    ResetCanvas();
    EXPECT_EQ(appState.historyPos, 0);
    EXPECT_EQ(appState.historyCount, 0);
}

} // namespace
