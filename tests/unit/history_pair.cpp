#include "history_pair.h"

#include <random>

#include "history/history_rules.h"

namespace {

HistoryPair* both = nullptr;

uint32_t Random() {
    return both->random();
}

CanvasPixels Canvas() {
    return CanvasPixels{both->canvas.pixels.data(), both->canvas.size};
}

void PlainDropOldest() {
    both->plainSlots.erase(both->plainSlots.begin());
    both->plainSlots.emplace_back();
}

const SnapshotStore bothStores = {
    [](int slot) {
        const int recorded = RecordSnapshot(&both->tiles, slot, Canvas());
        both->plainSlots[slot] = recorded ? both->plainCanvas : Picture{};
        return recorded;
    },
    [] {
        DropOldestSnapshot(&both->tiles);
        PlainDropOldest();
    },
    [](int slot) {
        DiscardSnapshot(&both->tiles, slot);
        both->plainSlots[slot] = Picture{};
    },
    [](int slot) {
        const int held = both->plainSlots[slot].pixels.empty() ? 0 : 1;
        if (HoldsSnapshot(both->tiles, slot) != held)
            both->agreed = 0;
        return held;
    }};

} // namespace

int StartHistoryPair(HistoryPair* pair, size_t budget, IntSize size) {
    both = pair;
    both->tiles.budget = budget;
    return PairNewDocument(size);
}

int PairNewDocument(IntSize size) {
    Picture picture;
    picture.size = size;
    std::mt19937 pixels(Random());
    for (int i = 0; i < size.w * size.h; ++i)
        picture.pixels.push_back(0xFF000000u | (uint32_t(pixels()) & 0xFFFFFFu));
    if (!KeepResetCopy(&both->tiles, CanvasPixels{picture.pixels.data(), size}))
        return 0;
    both->canvas = both->plainCanvas = both->plainReset = both->plainSaved = picture;
    for (int steps = TrimToBudget(&both->tiles, &both->pos, &both->count); steps > 0; --steps)
        PlainDropOldest();
    return 1;
}

void PairStroke() {
    const bool recorded = Random() % 20 != 0;
    if (recorded)
        RecordPressSnapshot(&both->pos, &both->count, bothStores);
    const IntSize size = both->canvas.size;
    const int x = int(Random() % (size.w + 20)) - 10, y = int(Random() % (size.h + 20)) - 10;
    const IntRect drawn =
        RectClipped(IntRect{x, y, x + 1 + int(Random() % 90), y + 1 + int(Random() % 70)}, size);
    const uint32_t colour = 0xFF000000u | (Random() % 4 == 0 ? 0 : Random() & 0xFF);
    if (Random() % 8 != 0) {
        for (int py = drawn.top; py < drawn.bottom; ++py)
            for (int px = drawn.left; px < drawn.right; ++px)
                both->canvas.At(px, py) = both->plainCanvas.At(px, py) = colour;
        // The area named may be wider than what changed.
        const int wider = int(Random() % 3) * 20;
        MarkCanvasChanged(&both->tiles, IntRect{drawn.left - wider, drawn.top - wider,
                                                drawn.right + wider, drawn.bottom + wider});
    }
    if (recorded)
        RecordReleaseSnapshot(&both->pos, &both->count, bothStores);
}

// The plain side copies the area both pictures share; on the tile side every pixel that
// changed must lie in the area it reports.
void PairShow(int slot) {
    Picture before = both->canvas;
    IntRect changed;
    if (slot >= 0)
        both->pos = slot;
    Picture& from = slot >= 0 ? both->plainSlots[slot] : both->plainReset;
    if (slot >= 0)
        ShowSnapshot(&both->tiles, slot, Canvas(), &changed);
    else
        ShowResetCopy(&both->tiles, Canvas(), &changed);
    for (int y = 0; y < from.size.h && y < before.size.h; ++y)
        for (int x = 0; x < from.size.w && x < before.size.w; ++x)
            both->plainCanvas.At(x, y) = from.At(x, y);
    for (int y = 0; y < before.size.h; ++y)
        for (int x = 0; x < before.size.w; ++x)
            if (both->canvas.At(x, y) != before.At(x, y) &&
                RectIsEmpty(RectIntersection(changed, {x, y, x + 1, y + 1})))
                both->agreed = 0;
}

void PairStep() {
    const int choice = int(Random() % 100);
    const int undo = UndoTarget(both->pos, bothStores);
    const int redo = RedoTarget(both->pos, both->count, bothStores);
    if (choice < 70) {
        PairStroke();
    } else if (choice < 82 && undo >= 0) {
        PairShow(undo);
    } else if (choice < 94 && redo >= 0) {
        PairShow(redo);
    } else if (choice < 98) {
        PairShow(-1);
    } else if (choice >= 98) {
        const bool sameSize = Random() % 2;
        const IntSize size = sameSize ? both->canvas.size
                                      : IntSize{1 + int(Random() % 200), 1 + int(Random() % 150)};
        if (!PairNewDocument(size))
            both->agreed = 0;
    }
    if (++both->steps % 25 == 0 && KeepSavedPicture(&both->tiles, Canvas()))
        both->plainSaved = both->canvas;
}

int PairAgrees() {
    const int changed = both->canvas.pixels != both->plainSaved.pixels ? 1 : 0;
    return both->agreed && both->canvas.pixels == both->plainCanvas.pixels &&
           HistoryBytes(both->tiles) <= both->tiles.budget &&
           PictureDiffersFromSaved(both->tiles, Canvas()) == changed;
}

int EndHistoryPair() {
    ClearTileStore(&both->tiles);
    const int allGivenBack = both->tiles.bytes == 0;
    both = nullptr;
    return allGivenBack;
}
