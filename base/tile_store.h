#pragma once
// The pictures of the undo history and the reset copy, kept as tiles of TileSide x TileSide
// pixels in plain memory. A tile never changes once made; snapshots share every tile that a
// stroke left alone, so a step costs about the tiles its stroke touched. The store also knows
// which snapshot the canvas shows and which of its tiles have been drawn on since, so that
// recording compares and copies only those, and 戻す, 進む and 初期化 copy back only the tiles
// that differ. Everything except the reset copy stays within a byte budget.
//
// The canvas is handed in as the surface holds it: 32-bit pixels, rows bottom-up with no gap,
// picture pixel (x, y) at index (height - 1 - y) * width + x. Platform-free.

#include <cstddef>
#include <cstdint>

#include "base/int_rect.h"

constexpr int HistorySlotCount = 1000;
constexpr int TileSide = 64;

// Where the budget of a 32-bit process stops, whatever the memory: the canvas, its reset copy
// and the history all have to fit into its 2 GiB of address space.
constexpr size_t Budget32BitCeiling = size_t(512) << 20;

struct TileSnapshot; // a picture as a grid of shared tiles; reference counted

struct CanvasPixels {
    uint32_t* pixels;
    IntSize size;
};

struct TileStore {
    TileSnapshot* slots[HistorySlotCount] = {};
    TileSnapshot* resetCopy = nullptr;
    // The picture as it was last opened, made or saved: what the canvas is compared with to
    // know whether closing it would lose anything.
    TileSnapshot* saved = nullptr;
    // The snapshot the canvas shows, except for the tiles flagged in `changed` (one flag per
    // tile of canvasSize, row by row from the top).
    TileSnapshot* shown = nullptr;
    uint8_t* changed = nullptr;
    int anyChanged = 0;
    IntSize canvasSize = {0, 0};
    size_t bytes = 0;      // every tile and snapshot table the store holds
    size_t resetBytes = 0; // of those, what the reset copy holds; outside the budget
    size_t budget = 0;     // bytes the history may hold besides the reset copy
};

// The budget: the smaller of 1 GiB and a quarter of the physical memory, but at least 512 MiB
// (room for a stroke that changes a whole 8000 x 6000 picture), and in a 32-bit process at
// most Budget32BitCeiling.
size_t ChooseHistoryBudget(uint64_t physicalBytes, int pointerBits);

// Bytes the history holds besides the reset copy: what the budget bounds.
size_t HistoryBytes(const TileStore& store);

// A new canvas: its picture becomes the reset copy and what the canvas shows. 1 when done;
// 0 when memory runs out, and then nothing has changed. The reset copy is not budgeted.
int KeepResetCopy(TileStore* store, CanvasPixels canvas);

// The canvas as it is now becomes the saved picture (a new canvas's picture is saved at once).
// It shares every tile it can with the snapshot shown, and the tiles of its own count against
// the budget; 0 when the budget or the memory cannot hold them, and then the saved picture is
// the one before (so the picture reads as changed, never the other way round).
int KeepSavedPicture(TileStore* store, CanvasPixels canvas);

// 1 when some pixel of the canvas differs from the saved picture. Only the tiles that are not
// the saved picture's own, or have been drawn on since, are compared, so after a few strokes
// this looks at a few tiles whatever the picture's size. 0 when there is no saved picture.
int PictureDiffersFromSaved(const TileStore& store, CanvasPixels canvas);

// Something drew into the area of the canvas (picture coordinates); clipped to the canvas.
void MarkCanvasChanged(TileStore* store, IntRect area);

// Copies the canvas into the slot, sharing every tile that equals the snapshot shown. 1 when
// the slot holds it; 0 when the budget or the memory cannot hold the tiles it needs, and the
// slot then holds nothing (what it held before is released first).
int RecordSnapshot(TileStore* store, int slot, CanvasPixels canvas);

// Copies a snapshot onto the canvas, only the tiles that differ from what it shows; *changed
// receives the bounds of what was copied (empty when nothing). A snapshot of another size
// covers only the area both share; the rest of the canvas keeps its pixels. 0 when the slot
// is empty (ShowResetCopy: when there is no reset copy).
int ShowSnapshot(TileStore* store, int slot, CanvasPixels canvas, IntRect* changed);
int ShowResetCopy(TileStore* store, CanvasPixels canvas, IntRect* changed);

// Gives up the oldest step outside a press or release: slot 0 goes, the others move down one
// and so do the two positions (never below 0).
void GiveUpOldestStep(TileStore* store, int* historyPos, int* historyCount);

// Gives up the oldest steps while the history holds more than its budget, as it may once a new
// document's reset copy has taken the place of the old one, whose tiles the history still
// shares. Returns the number of steps given up.
int TrimToBudget(TileStore* store, int* historyPos, int* historyCount);

int HoldsSnapshot(const TileStore& store, int slot);
// Releases slot 0, moves the others down one and leaves the last slot empty.
void DropOldestSnapshot(TileStore* store);
void DiscardSnapshot(TileStore* store, int slot);

// The size of a slot's snapshot and one of its pixels (x, y from the top-left), for checks.
int SnapshotSize(const TileStore& store, int slot, IntSize* size);
uint32_t SnapshotPixel(const TileStore& store, int slot, int x, int y);
uint32_t ResetCopyPixel(const TileStore& store, int x, int y);

// Releases everything; the store is empty afterwards (its budget stays).
void ClearTileStore(TileStore* store);
