#include "base/tile_store.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "base/canvas_layout.h"

// A tile of width x height pixels, rows from the top, stored right after its header.
struct Tile {
    int refs;
    int width;
    int height;
};

struct TileSnapshot {
    int refs;
    IntSize size;
    int columns;
    int rows;
    size_t bytes; // the table itself
    Tile** tiles; // columns x rows, row by row from the top
};

namespace {

uint32_t* TilePixels(Tile* tile) {
    return reinterpret_cast<uint32_t*>(tile + 1);
}
const uint32_t* TilePixels(const Tile* tile) {
    return reinterpret_cast<const uint32_t*>(tile + 1);
}

int TilesAcross(int side) {
    return side > 0 ? (side + TileSide - 1) / TileSide : 0;
}

size_t TileBytes(int width, int height) {
    return sizeof(Tile) + size_t(width) * size_t(height) * sizeof(uint32_t);
}

// The area of tile (column, row) in a picture of the size.
IntRect TileArea(IntSize size, int column, int row) {
    return RectClipped(
        IntRect{column * TileSide, row * TileSide, (column + 1) * TileSide, (row + 1) * TileSide},
        size);
}

uint32_t* CanvasRow(CanvasPixels canvas, int y) {
    return canvas.pixels + CanvasPixelIndex(0, y, canvas.size);
}

int WithinBudget(const TileStore& store, size_t more) {
    return HistoryBytes(store) + more <= store.budget;
}

void ReleaseTile(TileStore* store, Tile* tile) {
    if (!tile || --tile->refs > 0)
        return;
    store->bytes -= TileBytes(tile->width, tile->height);
    std::free(tile);
}

void ReleaseSnapshot(TileStore* store, TileSnapshot* snapshot) {
    if (!snapshot || --snapshot->refs > 0)
        return;
    for (int i = 0; i < snapshot->columns * snapshot->rows; ++i)
        ReleaseTile(store, snapshot->tiles[i]);
    store->bytes -= snapshot->bytes;
    std::free(snapshot);
}

TileSnapshot* Retain(TileSnapshot* snapshot) {
    ++snapshot->refs;
    return snapshot;
}

// An empty table of tiles for a picture of the size, or null when it may not or cannot be made.
TileSnapshot* NewSnapshot(TileStore* store, IntSize size, int budgeted) {
    const int columns = TilesAcross(size.w);
    const int rows = TilesAcross(size.h);
    const size_t bytes = sizeof(TileSnapshot) + size_t(columns) * size_t(rows) * sizeof(Tile*);
    if (budgeted && !WithinBudget(*store, bytes))
        return nullptr;
    TileSnapshot* snapshot = static_cast<TileSnapshot*>(std::calloc(1, bytes));
    if (!snapshot)
        return nullptr;
    snapshot->refs = 1;
    snapshot->size = size;
    snapshot->columns = columns;
    snapshot->rows = rows;
    snapshot->bytes = bytes;
    snapshot->tiles = reinterpret_cast<Tile**>(snapshot + 1);
    store->bytes += bytes;
    return snapshot;
}

// A new tile holding the canvas's pixels in the area.
Tile* CopyCanvasTile(TileStore* store, CanvasPixels canvas, IntRect area, int budgeted) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const size_t bytes = TileBytes(width, height);
    if (budgeted && !WithinBudget(*store, bytes))
        return nullptr;
    Tile* tile = static_cast<Tile*>(std::malloc(bytes));
    if (!tile)
        return nullptr;
    tile->refs = 1;
    tile->width = width;
    tile->height = height;
    for (int y = 0; y < height; ++y)
        std::memcpy(TilePixels(tile) + size_t(y) * width,
                    CanvasRow(canvas, area.top + y) + area.left, size_t(width) * sizeof(uint32_t));
    store->bytes += bytes;
    return tile;
}

int TileMatchesCanvas(const Tile* tile, CanvasPixels canvas, IntRect area) {
    const int width = area.right - area.left;
    if (tile->width != width || tile->height != area.bottom - area.top)
        return 0;
    for (int y = 0; y < tile->height; ++y) {
        if (std::memcmp(TilePixels(tile) + size_t(y) * width,
                        CanvasRow(canvas, area.top + y) + area.left,
                        size_t(width) * sizeof(uint32_t)) != 0)
            return 0;
    }
    return 1;
}

// Copies the part of the tile that lies inside the canvas; the tile sits at (left, top).
void CopyTileOntoCanvas(const Tile* tile, int left, int top, CanvasPixels canvas) {
    const IntRect area =
        RectClipped(IntRect{left, top, left + tile->width, top + tile->height}, canvas.size);
    const int width = area.right - area.left;
    for (int y = area.top; y < area.bottom; ++y) {
        std::memcpy(CanvasRow(canvas, y) + area.left,
                    TilePixels(tile) + size_t(y - top) * tile->width,
                    size_t(width) * sizeof(uint32_t));
    }
}

void ClearChanged(TileStore* store) {
    if (store->changed)
        std::memset(store->changed, 0,
                    size_t(TilesAcross(store->canvasSize.w)) * TilesAcross(store->canvasSize.h));
    store->anyChanged = 0;
}

// The canvas now equals the snapshot: it becomes the one shown, with nothing changed.
void Show(TileStore* store, TileSnapshot* snapshot) {
    Retain(snapshot);
    ReleaseSnapshot(store, store->shown);
    store->shown = snapshot;
    ClearChanged(store);
}

// The canvas as tiles: those unchanged since the snapshot shown are shared with it, the rest
// copied (or shared, when the drawing left them as they were).
TileSnapshot* SnapshotOfCanvas(TileStore* store, CanvasPixels canvas, int budgeted) {
    TileSnapshot* base = store->shown && SameSize(store->shown->size, canvas.size) &&
                                 SameSize(store->canvasSize, canvas.size)
                             ? store->shown
                             : nullptr;
    TileSnapshot* snapshot = NewSnapshot(store, canvas.size, budgeted);
    if (!snapshot)
        return nullptr;
    for (int row = 0; row < snapshot->rows; ++row) {
        for (int column = 0; column < snapshot->columns; ++column) {
            const int i = row * snapshot->columns + column;
            const IntRect area = TileArea(canvas.size, column, row);
            Tile* shared = base ? base->tiles[i] : nullptr;
            if (shared && (!store->changed[i] || TileMatchesCanvas(shared, canvas, area))) {
                ++shared->refs;
                snapshot->tiles[i] = shared;
                continue;
            }
            snapshot->tiles[i] = CopyCanvasTile(store, canvas, area, budgeted);
            if (!snapshot->tiles[i]) {
                ReleaseSnapshot(store, snapshot);
                return nullptr;
            }
        }
    }
    return snapshot;
}

int IsSlot(int slot) {
    return slot >= 0 && slot < HistorySlotCount;
}

int ShowPicture(TileStore* store, TileSnapshot* target, CanvasPixels canvas, IntRect* changed) {
    *changed = IntRect{0, 0, 0, 0};
    if (!target || !canvas.pixels)
        return 0;
    const int whole =
        SameSize(target->size, canvas.size) && SameSize(store->canvasSize, canvas.size);
    const TileSnapshot* shown =
        whole && store->shown && SameSize(store->shown->size, canvas.size) ? store->shown : nullptr;
    for (int row = 0; row < target->rows; ++row) {
        for (int column = 0; column < target->columns; ++column) {
            const int i = row * target->columns + column;
            if (shown && shown->tiles[i] == target->tiles[i] && !store->changed[i])
                continue;
            CopyTileOntoCanvas(target->tiles[i], column * TileSide, row * TileSide, canvas);
            *changed =
                RectUnion(*changed, RectClipped(TileArea(target->size, column, row), canvas.size));
        }
    }
    if (whole) {
        Show(store, target);
    } else {
        // What the canvas shows is no snapshot's picture any more.
        MarkCanvasChanged(store, IntRect{0, 0, canvas.size.w, canvas.size.h});
    }
    return 1;
}

} // namespace

size_t ChooseHistoryBudget(uint64_t physicalBytes, int pointerBits) {
    const uint64_t gib = uint64_t(1) << 30;
    uint64_t budget = physicalBytes / 4 < gib ? physicalBytes / 4 : gib;
    if (budget < uint64_t(Budget32BitCeiling))
        budget = Budget32BitCeiling;
    if (pointerBits <= 32 && budget > uint64_t(Budget32BitCeiling))
        budget = Budget32BitCeiling;
    return size_t(budget);
}

size_t HistoryBytes(const TileStore& store) {
    return store.bytes > store.resetBytes ? store.bytes - store.resetBytes : 0;
}

int KeepResetCopy(TileStore* store, CanvasPixels canvas) {
    if (!canvas.pixels || canvas.size.w < 1 || canvas.size.h < 1)
        return 0;
    const size_t flagCount = size_t(TilesAcross(canvas.size.w)) * TilesAcross(canvas.size.h);
    uint8_t* flags = static_cast<uint8_t*>(std::calloc(flagCount, 1));
    if (!flags)
        return 0;
    // A whole new picture: nothing of what the canvas showed before is shared.
    const size_t bytesBefore = store->bytes;
    TileSnapshot* previousShown = store->shown;
    store->shown = nullptr;
    TileSnapshot* copy = SnapshotOfCanvas(store, canvas, 0);
    store->shown = previousShown;
    if (!copy) {
        std::free(flags);
        return 0;
    }
    const size_t copyBytes = store->bytes - bytesBefore;
    ReleaseSnapshot(store, store->resetCopy);
    ReleaseSnapshot(store, store->shown);
    ReleaseSnapshot(store, store->saved);
    store->shown = nullptr;
    store->resetCopy = copy;
    store->saved = Retain(copy);
    store->resetBytes = copyBytes;
    std::free(store->changed);
    store->changed = flags;
    store->canvasSize = canvas.size;
    Show(store, copy);
    return 1;
}

int KeepSavedPicture(TileStore* store, CanvasPixels canvas) {
    if (!canvas.pixels || canvas.size.w < 1 || canvas.size.h < 1)
        return 0;
    TileSnapshot* picture = nullptr;
    if (store->shown && !store->anyChanged && SameSize(store->shown->size, canvas.size) &&
        SameSize(store->canvasSize, canvas.size))
        picture = Retain(store->shown);
    else
        picture = SnapshotOfCanvas(store, canvas, 1);
    if (!picture)
        return 0;
    ReleaseSnapshot(store, store->saved);
    store->saved = picture;
    return 1;
}

int PictureDiffersFromSaved(const TileStore& store, CanvasPixels canvas) {
    const TileSnapshot* saved = store.saved;
    if (!saved || !canvas.pixels)
        return 0;
    if (!SameSize(saved->size, canvas.size))
        return 1;
    const TileSnapshot* shown = store.shown && SameSize(store.shown->size, canvas.size) &&
                                        SameSize(store.canvasSize, canvas.size)
                                    ? store.shown
                                    : nullptr;
    for (int row = 0; row < saved->rows; ++row) {
        for (int column = 0; column < saved->columns; ++column) {
            const int i = row * saved->columns + column;
            if (shown && shown->tiles[i] == saved->tiles[i] && !store.changed[i])
                continue;
            if (!TileMatchesCanvas(saved->tiles[i], canvas, TileArea(canvas.size, column, row)))
                return 1;
        }
    }
    return 0;
}

void MarkCanvasChanged(TileStore* store, IntRect area) {
    const IntRect inside = RectClipped(area, store->canvasSize);
    if (RectIsEmpty(inside) || !store->changed)
        return;
    const int columns = TilesAcross(store->canvasSize.w);
    for (int row = inside.top / TileSide; row <= (inside.bottom - 1) / TileSide; ++row)
        for (int column = inside.left / TileSide; column <= (inside.right - 1) / TileSide; ++column)
            store->changed[row * columns + column] = 1;
    store->anyChanged = 1;
}

int RecordSnapshot(TileStore* store, int slot, CanvasPixels canvas) {
    if (!IsSlot(slot))
        return 0;
    DiscardSnapshot(store, slot);
    if (!canvas.pixels || canvas.size.w < 1 || canvas.size.h < 1)
        return 0;
    // Nothing drawn since the last record or restore: the picture is the one shown.
    if (store->shown && !store->anyChanged && SameSize(store->shown->size, canvas.size) &&
        SameSize(store->canvasSize, canvas.size)) {
        store->slots[slot] = Retain(store->shown);
        return 1;
    }
    TileSnapshot* snapshot = SnapshotOfCanvas(store, canvas, 1);
    if (!snapshot)
        return 0;
    store->slots[slot] = snapshot;
    if (SameSize(store->canvasSize, canvas.size))
        Show(store, snapshot);
    return 1;
}

int ShowSnapshot(TileStore* store, int slot, CanvasPixels canvas, IntRect* changed) {
    return ShowPicture(store, IsSlot(slot) ? store->slots[slot] : nullptr, canvas, changed);
}

int ShowResetCopy(TileStore* store, CanvasPixels canvas, IntRect* changed) {
    return ShowPicture(store, store->resetCopy, canvas, changed);
}

void GiveUpOldestStep(TileStore* store, int* historyPos, int* historyCount) {
    DropOldestSnapshot(store);
    *historyPos = *historyPos > 0 ? *historyPos - 1 : 0;
    *historyCount = *historyCount > 0 ? *historyCount - 1 : 0;
}

int TrimToBudget(TileStore* store, int* historyPos, int* historyCount) {
    int steps = 0;
    for (; steps < HistorySlotCount && HistoryBytes(*store) > store->budget; ++steps)
        GiveUpOldestStep(store, historyPos, historyCount);
    return steps;
}

int HoldsSnapshot(const TileStore& store, int slot) {
    return IsSlot(slot) && store.slots[slot] != nullptr;
}

void DropOldestSnapshot(TileStore* store) {
    ReleaseSnapshot(store, store->slots[0]);
    std::memmove(&store->slots[0], &store->slots[1],
                 sizeof(store->slots[0]) * (HistorySlotCount - 1));
    store->slots[HistorySlotCount - 1] = nullptr;
}

void DiscardSnapshot(TileStore* store, int slot) {
    if (!IsSlot(slot))
        return;
    ReleaseSnapshot(store, store->slots[slot]);
    store->slots[slot] = nullptr;
}

namespace {

uint32_t PixelOf(const TileSnapshot* snapshot, int x, int y) {
    if (!snapshot || x < 0 || y < 0 || x >= snapshot->size.w || y >= snapshot->size.h)
        return 0;
    const Tile* tile = snapshot->tiles[(y / TileSide) * snapshot->columns + x / TileSide];
    return TilePixels(tile)[size_t(y % TileSide) * tile->width + x % TileSide];
}

} // namespace

int SnapshotSize(const TileStore& store, int slot, IntSize* size) {
    if (!HoldsSnapshot(store, slot))
        return 0;
    *size = store.slots[slot]->size;
    return 1;
}

uint32_t SnapshotPixel(const TileStore& store, int slot, int x, int y) {
    return PixelOf(HoldsSnapshot(store, slot) ? store.slots[slot] : nullptr, x, y);
}

uint32_t ResetCopyPixel(const TileStore& store, int x, int y) {
    return PixelOf(store.resetCopy, x, y);
}

void ClearTileStore(TileStore* store) {
    for (int slot = 0; slot < HistorySlotCount; ++slot)
        DiscardSnapshot(store, slot);
    ReleaseSnapshot(store, store->resetCopy);
    ReleaseSnapshot(store, store->shown);
    ReleaseSnapshot(store, store->saved);
    std::free(store->changed);
    const size_t budget = store->budget;
    *store = TileStore{};
    store->budget = budget;
}
