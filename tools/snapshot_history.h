#pragma once
// The undo history: whole-canvas snapshots in appState.historySlots, each a memory device
// context compatible with the canvas window with its own bitmap selected for its whole life.
// Where the snapshots go and how historyPos and historyCount move is history_rules.h.

#include <windows.h>

// Copies the canvas into the slot (0 to HistorySlotCount - 1). The new device context and
// bitmap are made and filled completely before the slot's old ones are released. Returns 1
// when the slot holds a complete snapshot; 0 when one cannot be made, and the slot then holds
// none at all (its old snapshot is released too, so that its memory may serve the next try).
int TakeSnapshot(int slot);

// The snapshots around a stroke: the press records the picture before it and moves one step
// on, the release records the picture after it. Both make room by giving up the oldest steps
// when the history is full or a snapshot cannot be made. 1 when the snapshot was recorded.
int SnapshotBeforeStroke();
int SnapshotAfterStroke();

// 1 when the slot holds a complete snapshot; its bitmap's size in *width and *height.
int SnapshotSize(int slot, int* width, int* height);

// The palette's 戻す, 進む and 初期化. Each copies a picture onto the canvas and repaints the
// canvas window; 戻す and 進む do nothing, and repaint nothing, when there is no step to go to.
void UndoStep();
void RedoStep();
void ResetCanvas();
