#pragma once
// The tile history beside a plain one that keeps whole pictures, the same history rules
// driving both. The plain one records whenever the tile one could, so that a tight budget
// gives up the same steps on both sides, and after every step both canvases must show the
// same picture. The unit tests make their choices with a seeded generator, the fuzz target
// with the bytes of its input.

#include <cstdint>
#include <functional>
#include <vector>

#include "base/tile_store.h"

// A canvas as the surface holds it, rows bottom-up; an empty one stands for an empty slot.
struct Picture {
    IntSize size = {0, 0};
    std::vector<uint32_t> pixels;
    uint32_t& At(int x, int y) { return pixels[size_t(size.h - 1 - y) * size.w + x]; }
};

struct HistoryPair {
    TileStore tiles;
    Picture canvas, plainCanvas, plainReset;
    Picture plainSaved; // the picture as last opened or saved
    int steps = 0;
    std::vector<Picture> plainSlots = std::vector<Picture>(HistorySlotCount);
    int pos = 0, count = 0;
    std::function<uint32_t()> random; // every choice the steps make
    // 0 once the two disagreed on which slots hold a snapshot, or a restore changed pixels
    // outside the area it reported.
    int agreed = 1;
};

// The pair the steps work on, with a budget and a first document of the size; 0 when the
// document cannot be kept.
int StartHistoryPair(HistoryPair* pair, size_t budget, IntSize size);

// A new document of random pixels, of the size.
int PairNewDocument(IntSize size);
// A stroke: a press and a release around a rectangle painted on both canvases (or nothing, as
// the eyedropper), now and then drawn without a stroke, so that nothing records it.
void PairStroke();
// 戻す or 進む to a slot, or 初期化 (-1).
void PairShow(int slot);
// One step of random choice: mostly strokes, then undos, redos, 初期化 and new documents;
// every 25th step also saves the picture.
void PairStep();

// 1 while both canvases show the same picture, the history keeps within its budget, it knows
// whether the picture differs from the one last opened or saved, and nothing else went amiss.
int PairAgrees();

// Releases the tile side; 1 when it gave back every byte it counted, and no more.
int EndHistoryPair();
