#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/history_rules.h"

namespace {

// A model of the canvas and its snapshot slots: pictures are strings, a stroke appends to the
// canvas's string. It can be told to run out of room for snapshots.
struct HistoryModel {
    std::string slots[HistorySlotCount];
    bool held[HistorySlotCount];
    std::string canvas;
    std::string resetCopy;
    int pos;
    int count;
    int lastWritten;    // slot of the latest successful snapshot, -1 for none
    int room;           // snapshots that fit at once; -1 for no limit
    int failuresToCome; // the next so many snapshots fail
    int repaints;
};

HistoryModel model;

int HeldSnapshots() {
    int held = 0;
    for (bool h : model.held)
        held += h ? 1 : 0;
    return held;
}

int ModelTakeSnapshot(int slot) {
    EXPECT_GE(slot, 0);
    EXPECT_LT(slot, HistorySlotCount);
    // The old snapshot goes first, as its memory is what a new one may need.
    model.held[slot] = false;
    model.slots[slot].clear();
    if (model.failuresToCome > 0) {
        --model.failuresToCome;
        return 0;
    }
    if (model.room >= 0 && HeldSnapshots() >= model.room)
        return 0;
    model.slots[slot] = model.canvas;
    model.held[slot] = true;
    model.lastWritten = slot;
    return 1;
}

void ModelDropOldest() {
    for (int slot = 0; slot + 1 < HistorySlotCount; ++slot) {
        model.slots[slot] = model.slots[slot + 1];
        model.held[slot] = model.held[slot + 1];
    }
    model.slots[HistorySlotCount - 1].clear();
    model.held[HistorySlotCount - 1] = false;
}

void ModelDiscard(int slot) {
    EXPECT_GE(slot, 0);
    EXPECT_LT(slot, HistorySlotCount);
    model.slots[slot].clear();
    model.held[slot] = false;
}

int ModelHolds(int slot) {
    EXPECT_GE(slot, 0);
    EXPECT_LT(slot, HistorySlotCount);
    return model.held[slot] ? 1 : 0;
}

const SnapshotStore modelStore = {ModelTakeSnapshot, ModelDropOldest, ModelDiscard, ModelHolds};

class HistoryRulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int slot = 0; slot < HistorySlotCount; ++slot) {
            model.slots[slot].clear();
            model.held[slot] = false;
        }
        model.canvas = "P";
        model.resetCopy = "P";
        model.pos = 0;
        model.count = 0;
        model.lastWritten = -1;
        model.room = -1;
        model.failuresToCome = 0;
        model.repaints = 0;
    }

    // The canvas window's part, as it uses the rules.
    static int Press() {
        model.lastWritten = -1;
        return RecordPressSnapshot(&model.pos, &model.count, modelStore);
    }
    static void Draw(const std::string& mark) { model.canvas += mark; }
    static int Release() {
        model.lastWritten = -1;
        return RecordReleaseSnapshot(&model.pos, &model.count, modelStore);
    }
    static void Stroke(const std::string& mark) {
        Press();
        Draw(mark);
        Release();
    }

    // The palette's 戻す, 進む and 初期化.
    static void Undo() { CopyOntoCanvas(UndoTarget(model.pos, modelStore)); }
    static void Redo() { CopyOntoCanvas(RedoTarget(model.pos, model.count, modelStore)); }
    static void Reset() {
        model.canvas = model.resetCopy;
        ++model.repaints;
    }
    static void CopyOntoCanvas(int slot) {
        if (slot < 0)
            return;
        ASSERT_TRUE(model.held[slot]) << "copied from empty slot " << slot;
        model.pos = slot;
        model.canvas = model.slots[slot];
        ++model.repaints;
    }

    static void ExpectState(int written, int pos, int count, const std::string& canvas) {
        EXPECT_EQ(model.lastWritten, written);
        EXPECT_EQ(model.pos, pos);
        EXPECT_EQ(model.count, count);
        EXPECT_EQ(model.canvas, canvas);
        EXPECT_LE(0, model.pos);
        EXPECT_LE(model.pos, model.count);
        EXPECT_LT(model.count, HistorySlotCount);
        EXPECT_LE(HeldSnapshots(), HistorySlotCount);
    }
};

TEST_F(HistoryRulesTest, WorkedSequenceStepByStep) {
    ExpectState(-1, 0, 0, "P");

    Press();
    Draw("A");
    ExpectState(0, 1, 1, "PA");
    EXPECT_EQ(model.slots[0], "P");
    Release();
    ExpectState(1, 1, 1, "PA");
    EXPECT_EQ(model.slots[1], "PA");

    Press();
    Draw("B");
    ExpectState(1, 2, 2, "PAB");
    EXPECT_EQ(model.slots[1], "PA");
    Release();
    ExpectState(2, 2, 2, "PAB");

    model.lastWritten = -1;
    Undo();
    ExpectState(-1, 1, 2, "PA");
    Undo();
    ExpectState(-1, 0, 2, "P");
    const int repaints = model.repaints;
    Undo(); // nothing to undo: no change and no repaint
    ExpectState(-1, 0, 2, "P");
    EXPECT_EQ(model.repaints, repaints);
    Redo();
    ExpectState(-1, 1, 2, "PA");

    Press();
    Draw("C");
    ExpectState(1, 2, 2, "PAC");
    Release();
    ExpectState(2, 2, 2, "PAC"); // PAB can no longer be reached

    model.lastWritten = -1;
    Redo(); // nothing to redo
    ExpectState(-1, 2, 2, "PAC");

    Reset();
    ExpectState(-1, 2, 2, "P");

    Press();
    Draw("D");
    ExpectState(2, 3, 3, "PD");
    EXPECT_EQ(model.slots[2], "P"); // PAC can no longer be reached
    Release();
    ExpectState(3, 3, 3, "PD");

    model.lastWritten = -1;
    Undo();
    ExpectState(-1, 2, 3, "P");
}

TEST_F(HistoryRulesTest, RedoWithNothingUndoneAndUndoAtTheStartDoNothing) {
    Undo();
    Redo();
    EXPECT_EQ(model.canvas, "P");
    EXPECT_EQ(model.repaints, 0);
    Stroke("A");
    Redo();
    EXPECT_EQ(model.canvas, "PA");
    EXPECT_EQ(model.repaints, 0);
}

TEST_F(HistoryRulesTest, AStrokeThatChangesNothingIsStillAStep) {
    Stroke("A");
    Stroke(""); // an eyedropper click
    ExpectState(2, 2, 2, "PA");
    Undo();
    ExpectState(2, 1, 2, "PA");
    Undo();
    EXPECT_EQ(model.canvas, "P");
}

TEST_F(HistoryRulesTest, ADoubleClickMakesTwoSteps) {
    Press();
    Release();
    Press();
    Release();
    EXPECT_EQ(model.pos, 2);
    EXPECT_EQ(model.count, 2);
}

TEST_F(HistoryRulesTest, ResetIsNotAStep) {
    Stroke("A");
    Stroke("B");
    Reset();
    EXPECT_EQ(model.canvas, "P");
    Undo();
    EXPECT_EQ(model.canvas, "PA"); // the picture before the last stroke
    Redo();
    EXPECT_EQ(model.canvas, "PAB"); // and after it
}

TEST_F(HistoryRulesTest, AReleaseWithoutAPressRecordsThePresentPicture) {
    Stroke("A");
    Stroke("B");
    Undo();
    Draw("x"); // drawn by a press the canvas never saw
    Release();
    ExpectState(1, 1, 2, "PAx");
    EXPECT_EQ(model.slots[1], "PAx");
    Redo();
    EXPECT_EQ(model.canvas, "PAB");
    Undo();
    EXPECT_EQ(model.canvas, "PAx");
}

TEST_F(HistoryRulesTest, PlansForPressesAndReleases) {
    auto expectPlan = [](SnapshotPlan plan, int drop, int slot, int pos, int count) {
        EXPECT_EQ(plan.dropOldest, drop);
        EXPECT_EQ(plan.slot, slot);
        EXPECT_EQ(plan.posAfter, pos);
        EXPECT_EQ(plan.countAfter, count);
    };
    expectPlan(PlanPressSnapshot(0, 0), 0, 0, 1, 1);
    expectPlan(PlanPressSnapshot(3, 7), 0, 3, 4, 4);
    expectPlan(PlanPressSnapshot(997, 997), 0, 997, 998, 998);
    expectPlan(PlanPressSnapshot(998, 998), 0, 998, 999, 999);
    // Full: the oldest step makes room, so the release still has a slot.
    expectPlan(PlanPressSnapshot(999, 999), 1, 998, 999, 999);
    // A history filled up the old way, with the position past the last slot.
    expectPlan(PlanPressSnapshot(1000, 1000), 2, 998, 999, 999);

    expectPlan(PlanReleaseSnapshot(0, 0), 0, 0, 0, 0);
    expectPlan(PlanReleaseSnapshot(1, 2), 0, 1, 1, 2);
    expectPlan(PlanReleaseSnapshot(999, 999), 0, 999, 999, 999);
    expectPlan(PlanReleaseSnapshot(1000, 1000), 1, 999, 999, 999);
}

// Strokes beyond the number of slots: every one of them stays undoable, one at a time.
TEST_F(HistoryRulesTest, AtTheLimitTheOldestStepMakesRoom) {
    const int strokes = 1005;
    std::vector<std::string> after(size_t(strokes) + 1);
    after[0] = model.canvas;
    for (int stroke = 1; stroke <= strokes; ++stroke) {
        Stroke("," + std::to_string(stroke));
        after[size_t(stroke)] = model.canvas;
        ASSERT_EQ(model.pos, stroke < HistorySlotCount ? stroke : HistorySlotCount - 1);
        ASSERT_EQ(model.count, model.pos);
        ASSERT_EQ(model.slots[model.pos], model.canvas); // the newest picture is recorded
        ASSERT_LE(HeldSnapshots(), HistorySlotCount);
    }
    EXPECT_EQ(HeldSnapshots(), HistorySlotCount);

    // 999 steps back, each one stroke.
    for (int back = 1; back < HistorySlotCount; ++back) {
        Undo();
        ASSERT_EQ(model.canvas, after[size_t(strokes - back)]) << "undo " << back;
    }
    EXPECT_EQ(model.pos, 0);
    EXPECT_EQ(model.canvas, after[size_t(strokes - (HistorySlotCount - 1))]);
    Undo(); // the history reaches no further
    EXPECT_EQ(model.canvas, after[size_t(strokes - (HistorySlotCount - 1))]);

    // And all the way forward again.
    for (int forward = HistorySlotCount - 2; forward >= 0; --forward) {
        Redo();
        ASSERT_EQ(model.canvas, after[size_t(strokes - forward)]);
    }
    Redo();
    EXPECT_EQ(model.canvas, after[size_t(strokes)]);
    EXPECT_EQ(model.pos, HistorySlotCount - 1);
}

TEST_F(HistoryRulesTest, RecordingResumesAfterUndoingAtTheLimit) {
    for (int stroke = 1; stroke <= 1002; ++stroke)
        Stroke("," + std::to_string(stroke));
    Undo();
    Undo();
    EXPECT_EQ(model.pos, HistorySlotCount - 3);
    Stroke("+");
    EXPECT_EQ(model.pos, HistorySlotCount - 2);
    EXPECT_EQ(model.count, HistorySlotCount - 2);
    const std::string withPlus = model.canvas;
    Stroke("#");
    Stroke("!"); // takes the history to the last slot, then past it
    Undo();
    Undo();
    EXPECT_EQ(model.canvas, withPlus);
}

// When the slots cannot all be held, the oldest steps give way and every undo still shows
// the picture of its own position.
TEST_F(HistoryRulesTest, RunningOutOfRoomGivesUpTheOldestSteps) {
    model.room = 5;
    std::vector<std::string> after = {model.canvas};
    for (int stroke = 1; stroke <= 12; ++stroke) {
        Stroke("," + std::to_string(stroke));
        after.push_back(model.canvas);
        ASSERT_EQ(model.slots[model.pos], model.canvas);
        ASSERT_LE(HeldSnapshots(), 5);
    }
    for (int back = 1; back <= 4; ++back) {
        Undo();
        ASSERT_EQ(model.canvas, after[size_t(12 - back)]);
    }
    Undo(); // the oldest steps are gone
    EXPECT_EQ(model.canvas, after[8]);
    for (int forward = 3; forward >= 0; --forward) {
        Redo();
        ASSERT_EQ(model.canvas, after[size_t(12 - forward)]);
    }
}

TEST_F(HistoryRulesTest, AFailedSnapshotIsRetriedAfterGivingUpTheOldestStep) {
    Stroke("A");
    Stroke("B");
    Stroke("C");
    model.failuresToCome = 1;
    EXPECT_EQ(Press(), 1);
    Draw("D");
    EXPECT_EQ(Release(), 1);
    // P went to make room: slots hold PA, PAB, PABC, PABCD.
    ExpectState(3, 3, 3, "PABCD");
    model.failuresToCome = 1;
    Stroke("E");
    ExpectState(3, 3, 3, "PABCDE");
    Undo();
    EXPECT_EQ(model.canvas, "PABCD");
    Undo();
    EXPECT_EQ(model.canvas, "PABC");
    Undo();
    EXPECT_EQ(model.canvas, "PAB");
    Undo();
    EXPECT_EQ(model.canvas, "PAB");
}

TEST_F(HistoryRulesTest, ASnapshotThatCannotBeMadeIsNotRecordedAndNeverShown) {
    Stroke("A");
    Stroke("B");
    model.room = 0; // no snapshot can be made at all
    EXPECT_EQ(Press(), 0);
    Draw("C");
    EXPECT_EQ(Release(), 0);
    EXPECT_EQ(model.canvas, "PABC");
    EXPECT_EQ(HeldSnapshots(), 0);
    // Nothing can be brought back, so nothing is copied: the canvas keeps the stroke.
    Undo();
    Redo();
    EXPECT_EQ(model.canvas, "PABC");
    EXPECT_EQ(model.repaints, 0);

    // With room again, recording starts afresh.
    model.room = -1;
    Stroke("D");
    Undo();
    EXPECT_EQ(model.canvas, "PABC");
    Undo();
    EXPECT_EQ(model.canvas, "PABC");
}

TEST_F(HistoryRulesTest, AFailedReleaseKeepsTheStepsRedoCanStillReach) {
    Stroke("A");
    Stroke("B");
    Undo();
    model.room = 0;
    Draw("x"); // drawn by a press the canvas never saw
    EXPECT_EQ(Release(), 0);
    EXPECT_EQ(model.pos, 0);
    EXPECT_EQ(model.count, 1);
    Undo(); // P and PA are gone; nothing is copied
    EXPECT_EQ(model.canvas, "PAx");
    Redo();
    EXPECT_EQ(model.canvas, "PAB");
}

TEST_F(HistoryRulesTest, TheNewestPictureOutlastsEveryOlderOne) {
    Stroke("A");
    model.room = 2; // the press snapshot still fits beside P
    EXPECT_EQ(Press(), 1);
    Draw("B");
    model.room = 1; // the release's snapshot fits only once everything older is gone
    EXPECT_EQ(Release(), 1);
    ExpectState(0, 0, 0, "PAB");
    EXPECT_EQ(model.slots[0], "PAB");
    Undo(); // nothing older is left
    EXPECT_EQ(model.canvas, "PAB");
    EXPECT_EQ(model.repaints, 0);
}

TEST_F(HistoryRulesTest, AStalePictureAboveTheStrokeIsNeverShown) {
    Stroke("A");
    Stroke("B"); // slot 2: PAB
    Undo();
    Press(); // a new stroke: PAB belongs to a discarded branch
    Draw("C");
    Undo(); // 戻す while the stroke is still being drawn
    EXPECT_EQ(model.canvas, "PA");
    Draw("c");
    Release();
    EXPECT_EQ(model.canvas, "PAc");
    Redo(); // slot 2 holds no picture of this history
    EXPECT_EQ(model.canvas, "PAc");
    EXPECT_FALSE(model.held[2]);
}

TEST_F(HistoryRulesTest, TargetsSkipSlotsWithoutACompleteSnapshot) {
    model.held[0] = true;
    model.held[2] = true;
    model.held[4] = true;
    EXPECT_EQ(UndoTarget(3, modelStore), 2);
    EXPECT_EQ(UndoTarget(2, modelStore), 0);
    EXPECT_EQ(UndoTarget(0, modelStore), -1);
    EXPECT_EQ(RedoTarget(0, 4, modelStore), 2);
    EXPECT_EQ(RedoTarget(2, 3, modelStore), -1);
    EXPECT_EQ(RedoTarget(2, 4, modelStore), 4);
    EXPECT_EQ(RedoTarget(4, 4, modelStore), -1);
    model.held[HistorySlotCount - 1] = true;
    // A position past the last slot (a history filled up the old way).
    EXPECT_EQ(UndoTarget(HistorySlotCount, modelStore), HistorySlotCount - 1);
    EXPECT_EQ(RedoTarget(HistorySlotCount - 1, HistorySlotCount, modelStore), -1);
}

} // namespace
