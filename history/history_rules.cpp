#include "history/history_rules.h"

namespace {

const int LastSlot = HistorySlotCount - 1;

int AtLeast(int value, int low) {
    return value < low ? low : value;
}

void DropOldestSteps(int steps, const SnapshotStore& store) {
    for (int i = 0; i < steps; ++i)
        store.dropOldest();
}

} // namespace

SnapshotPlan PlanPressSnapshot(int historyPos, int historyCount) {
    (void)historyCount; // a press always cuts the history off at its new position
    const int pos = AtLeast(historyPos, 0);
    // The release writes the slot after the press's, so the press may use the last slot but
    // one; beyond it, the oldest steps make room.
    const int lastPressSlot = LastSlot - 1;
    SnapshotPlan plan;
    plan.dropOldest = pos > lastPressSlot ? pos - lastPressSlot : 0;
    plan.slot = pos - plan.dropOldest;
    plan.posAfter = plan.slot + 1;
    plan.countAfter = plan.posAfter;
    return plan;
}

SnapshotPlan PlanReleaseSnapshot(int historyPos, int historyCount) {
    const int pos = AtLeast(historyPos, 0);
    SnapshotPlan plan;
    plan.dropOldest = pos > LastSlot ? pos - LastSlot : 0;
    plan.slot = pos - plan.dropOldest;
    plan.posAfter = plan.slot;
    plan.countAfter = AtLeast(historyCount - plan.dropOldest, plan.posAfter);
    return plan;
}

int RecordPressSnapshot(int* historyPos, int* historyCount, const SnapshotStore& store) {
    const SnapshotPlan plan = PlanPressSnapshot(*historyPos, *historyCount);
    DropOldestSteps(plan.dropOldest, store);
    int slot = plan.slot;
    while (!store.takeSnapshot(slot)) {
        if (slot == 0) {
            // Not recorded. The steps that 進む could reach still go: the canvas is about
            // to change.
            *historyPos = 0;
            *historyCount = 0;
            return 0;
        }
        store.dropOldest();
        --slot;
    }
    *historyPos = slot + 1;
    *historyCount = slot + 1;
    // The release writes here; until it does, whatever picture the slot held belongs to a
    // discarded branch or an earlier document and must not be reachable.
    store.discardSnapshot(slot + 1);
    return 1;
}

int RecordReleaseSnapshot(int* historyPos, int* historyCount, const SnapshotStore& store) {
    const SnapshotPlan plan = PlanReleaseSnapshot(*historyPos, *historyCount);
    DropOldestSteps(plan.dropOldest, store);
    int slot = plan.slot;
    int count = plan.countAfter;
    int recorded = 1;
    while (!store.takeSnapshot(slot)) {
        if (slot == 0) {
            recorded = 0;
            break;
        }
        store.dropOldest();
        --slot;
        --count;
    }
    *historyPos = slot;
    *historyCount = AtLeast(count, slot);
    return recorded;
}

int UndoTarget(int historyPos, const SnapshotStore& store) {
    const int below = historyPos > HistorySlotCount ? HistorySlotCount : historyPos;
    for (int slot = below - 1; slot >= 0; --slot) {
        if (store.holdsSnapshot(slot))
            return slot;
    }
    return -1;
}

int RedoTarget(int historyPos, int historyCount, const SnapshotStore& store) {
    const int highest = historyCount > LastSlot ? LastSlot : historyCount;
    for (int slot = AtLeast(historyPos + 1, 0); slot <= highest; ++slot) {
        if (store.holdsSnapshot(slot))
            return slot;
    }
    return -1;
}
