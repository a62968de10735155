#pragma once
// Where the snapshot history writes and reads its snapshots, and how historyPos and
// historyCount move, apart from the snapshots themselves.
//
// The history holds HistorySlotCount (1000) slots. Slot historyPos holds the present picture
// once the stroke in progress, if any, has been released; historyCount is the highest
// position 進む may reach. A stroke is one step: its press records the picture before it
// and moves one position on, its release records the picture after it in the new position.
//
// When the slots run out, the oldest step is given up (slot 0 is released and the others
// move down one), so the newest picture is always recorded and 戻す goes back one stroke at a
// time as far as the history reaches. Positions therefore stay at most
// HistorySlotCount - 1, and at most HistorySlotCount snapshots are ever held.
//
// The rules work on a snapshot store that the caller supplies: the canvas window keeps the
// snapshots as shared tiles in appState.history (tile_store.h); the tests keep pictures of a
// model.

#include "base/app_state.h"

struct SnapshotStore {
    // Copies the canvas into the slot, replacing what it held. Returns 1 when the slot holds
    // a complete snapshot of the canvas, 0 when one cannot be made; the slot then holds no
    // snapshot at all (whatever it held before is released), never a partial one.
    int (*takeSnapshot)(int slot);
    // Releases the snapshot in slot 0, moves slots 1 to HistorySlotCount - 1 down one and
    // leaves the last slot empty.
    void (*dropOldest)();
    // Releases the snapshot in the slot, if any, and leaves it empty.
    void (*discardSnapshot)(int slot);
    // 1 when the slot holds a complete snapshot.
    int (*holdsSnapshot)(int slot);
};

// What a press or a release asks of the store when all goes well: give up dropOldest oldest
// steps (each one a dropOldest call of the store), then write slot, then set historyPos and
// historyCount to posAfter and countAfter.
struct SnapshotPlan {
    int dropOldest;
    int slot;
    int posAfter;
    int countAfter;
};

// The press of a stroke snapshots the picture before it into slot historyPos and moves one
// position on, discarding every step 進む could have reached. When that position would leave
// no slot for the release, the oldest step is given up first.
SnapshotPlan PlanPressSnapshot(int historyPos, int historyCount);

// The release of a stroke, and a release on the canvas without a press, snapshots the picture
// into slot historyPos and leaves both positions as they are.
SnapshotPlan PlanReleaseSnapshot(int historyPos, int historyCount);

// Carry out a press or a release on the store and update *historyPos and *historyCount;
// the canvas window calls them where it takes its snapshots, and they return 1 when the
// snapshot was recorded. A snapshot that cannot be made gives up the oldest step and is
// tried again, one step at a time. When it cannot be made even into slot 0, with every older
// step given up, the step is not recorded, the slot stays empty and they return 0: after a
// press both positions are then 0; after a release historyPos is 0 and historyCount keeps
// whatever 進む could still reach. A successful press also empties the slot its release will
// write, so that a picture left there by a discarded branch or an earlier document can never
// be brought back.
int RecordPressSnapshot(int* historyPos, int* historyCount, const SnapshotStore& store);
int RecordReleaseSnapshot(int* historyPos, int* historyCount, const SnapshotStore& store);

// The slot that 戻す copies onto the canvas, which becomes the new historyPos: the nearest
// slot below historyPos that holds a complete snapshot (normally historyPos - 1). -1 when
// there is none: 戻す then does nothing and does not repaint.
int UndoTarget(int historyPos, const SnapshotStore& store);

// The slot that 進む copies onto the canvas, which becomes the new historyPos: the nearest
// slot above historyPos, up to historyCount, that holds a complete snapshot (normally
// historyPos + 1). -1 when there is none: 進む then does nothing and does not repaint.
int RedoTarget(int historyPos, int historyCount, const SnapshotStore& store);
