#pragma once
// The undo history of the canvas: snapshots kept as shared tiles in appState.history
// (tile_store.h), within a byte budget. Where the snapshots go and how historyPos and
// historyCount move is history_rules.h.

#include <windows.h>

#include <cstdint>

#include "base/int_rect.h"

// Copies the canvas into the slot (0 to HistorySlotCount - 1), sharing the tiles nothing has
// drawn on. Returns 1 when the slot holds a complete snapshot; 0 when the budget or the memory
// cannot hold it, and the slot then holds none at all (its old snapshot is released first, so
// that its memory may serve the next try).
int TakeSnapshot(int slot);

// The snapshots around a stroke: the press records the picture before it and moves one step
// on, the release records the picture after it. Both make room by giving up the oldest steps
// when the history is full or a snapshot cannot be made. 1 when the snapshot was recorded.
int SnapshotBeforeStroke();
int SnapshotAfterStroke();

// Everything that draws on the canvas says where: the history then compares only those tiles
// when it records, and the canvas window repaints only that part of the view.
void CanvasChanged(IntRect canvasArea);

// A new document's surface: its picture becomes the reset copy and the history's starting
// point. Gives up the oldest steps when memory runs short; 0 when it cannot be kept even then.
int KeepNewCanvas(uint32_t* pixels, IntSize size);

// The picture as it is now is the one its file holds (it has just been written).
void MarkPictureSaved();

// 1 when closing the picture now would lose something: its pixels differ from what was last
// opened, made, pasted as a new picture or saved. Compares only the tiles drawn on since.
int PictureIsChanged();

// The palette's 戻す, 進む and 初期化. Each copies back only the tiles that differ and
// repaints only what changed; 戻す and 進む do nothing, and repaint nothing, when there is no
// step to go to.
void UndoStep();
void RedoStep();
void ResetCanvas();
