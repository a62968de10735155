// The tile history against a plain one that keeps whole pictures: thousands of random strokes,
// undos, redos, 初期化 and new documents of random sizes, the same history rules driving both,
// and the same picture on both canvases after every step. Then the budget.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "base/tile_store.h"
#include "history/history_rules.h"

namespace {

// A canvas as the surface holds it, rows bottom-up; an empty one stands for an empty slot.
struct Picture {
    IntSize size = {0, 0};
    std::vector<uint32_t> pixels;
    uint32_t& At(int x, int y) { return pixels[size_t(size.h - 1 - y) * size.w + x]; }
};

// Both histories side by side. The plain one records whenever the tile one could, so that a
// tight budget gives up the same steps on both sides.
struct Histories {
    TileStore tiles;
    Picture canvas, plainCanvas, plainReset, plainSaved;
    std::vector<Picture> plainSlots = std::vector<Picture>(HistorySlotCount);
    int pos = 0, count = 0;
} * both;

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
        EXPECT_EQ(HoldsSnapshot(both->tiles, slot), held) << slot;
        return held;
    }};

class TileStoreTest : public ::testing::Test {
  protected:
    void NewDocument(IntSize size) {
        Picture picture;
        picture.size = size;
        for (int i = 0; i < size.w * size.h; ++i)
            picture.pixels.push_back(0xFF000000u | (random() & 0xFFFFFFu));
        ASSERT_TRUE(KeepResetCopy(&both->tiles, CanvasPixels{picture.pixels.data(), size}));
        both->canvas = both->plainCanvas = both->plainReset = both->plainSaved = picture;
        for (int steps = TrimToBudget(&both->tiles, &both->pos, &both->count); steps > 0; --steps)
            PlainDropOldest();
    }

    // A stroke paints a rectangle (or nothing, as the eyedropper) and names an area that may
    // be wider than what it changed. Now and then the drawing comes without a stroke, so that
    // nothing records it.
    void Stroke() {
        const bool recorded = random() % 20 != 0;
        if (recorded)
            RecordPressSnapshot(&both->pos, &both->count, bothStores);
        const IntSize size = both->canvas.size;
        const int x = int(random() % (size.w + 20)) - 10, y = int(random() % (size.h + 20)) - 10;
        const IntRect drawn = RectClipped(
            IntRect{x, y, x + 1 + int(random() % 90), y + 1 + int(random() % 70)}, size);
        const uint32_t colour = 0xFF000000u | (random() % 4 == 0 ? 0 : random() & 0xFF);
        if (random() % 8 != 0) {
            for (int py = drawn.top; py < drawn.bottom; ++py)
                for (int px = drawn.left; px < drawn.right; ++px)
                    both->canvas.At(px, py) = both->plainCanvas.At(px, py) = colour;
            const int wider = int(random() % 3) * 20;
            MarkCanvasChanged(&both->tiles, IntRect{drawn.left - wider, drawn.top - wider,
                                                    drawn.right + wider, drawn.bottom + wider});
        }
        if (recorded)
            RecordReleaseSnapshot(&both->pos, &both->count, bothStores);
    }

    // 戻す or 進む to a slot, or 初期化 (-1): the plain side copies the area both pictures
    // share; on the tile side every pixel that changed lies in the area it reports.
    void Show(int slot) {
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
        for (int y = 0; y < before.size.h; ++y) {
            for (int x = 0; x < before.size.w; ++x) {
                if (both->canvas.At(x, y) != before.At(x, y)) {
                    ASSERT_FALSE(RectIsEmpty(RectIntersection(changed, {x, y, x + 1, y + 1})));
                }
            }
        }
    }

    // Runs the steps; `deepest` tells how far the history went.
    void RunSteps(size_t budget, int steps) {
        deepest = 0;
        both = new Histories;
        both->tiles.budget = budget;
        NewDocument(IntSize{130, 100});
        for (int step = 0; step < steps && !HasFatalFailure(); ++step) {
            const int choice = int(random() % 100);
            const int undo = UndoTarget(both->pos, bothStores);
            const int redo = RedoTarget(both->pos, both->count, bothStores);
            if (choice < 70)
                Stroke();
            else if (choice < 82 && undo >= 0)
                Show(undo);
            else if (choice < 94 && redo >= 0)
                Show(redo);
            else if (choice < 98)
                Show(-1);
            else if (choice >= 98)
                NewDocument(random() % 2
                                ? both->canvas.size
                                : IntSize{1 + int(random() % 200), 1 + int(random() % 150)});
            ASSERT_EQ(both->canvas.pixels, both->plainCanvas.pixels) << "step " << step;
            // Now and then the picture is saved; whether it differs from what was last opened
            // or saved is always known, whatever happened since.
            if (saves() % 25 == 0 && KeepSavedPicture(&both->tiles, Canvas()))
                both->plainSaved = both->canvas;
            ASSERT_EQ(PictureDiffersFromSaved(both->tiles, Canvas()),
                      both->canvas.pixels != both->plainSaved.pixels ? 1 : 0)
                << "step " << step;
            EXPECT_LE(HistoryBytes(both->tiles), budget);
            deepest = both->count > deepest ? both->count : deepest;
        }
        ClearTileStore(&both->tiles);
        EXPECT_EQ(both->tiles.bytes, 0u) << "every tile and table given back, and no more";
        delete both;
    }

    uint32_t random() { return uint32_t(generator()); }
    int deepest = 0;
    std::mt19937 generator{20240607};
    std::mt19937 saves{7};
};

TEST_F(TileStoreTest, ThousandsOfStepsShowTheSamePicturesAsWholePictureSnapshots) {
    RunSteps(size_t(1) << 30, 6000);
    const int generousDepth = deepest;
    EXPECT_GT(generousDepth, 500);
    generator.seed(20240607);
    RunSteps(150000, 6000); // a few dozen tiles: steps are given up on both sides alike
    EXPECT_LT(deepest, generousDepth / 2);
}

TEST(HistoryBudgetTest, TheSmallerOfOneGibAndAQuarterOfMemoryWithinItsFloorAndCeiling) {
    const uint64_t gib = uint64_t(1) << 30;
    EXPECT_EQ(ChooseHistoryBudget(24 * gib, 64), size_t(gib));
    EXPECT_EQ(ChooseHistoryBudget(3 * gib, 64), size_t(768) << 20);
    EXPECT_EQ(ChooseHistoryBudget(1 * gib, 64), Budget32BitCeiling) << "never below the floor";
    EXPECT_EQ(ChooseHistoryBudget(24 * gib, 32), Budget32BitCeiling);
}

// A stroke that changes a whole 8000 x 6000 picture records within the smallest budget, even
// right after another one did: the history then holds two whole pictures besides the reset copy.
TEST(HistoryBudgetTest, WholePictureChangesOfTheLargestPhotoStillRecord) {
    TileStore store;
    store.budget = ChooseHistoryBudget(0, 32);
    std::vector<uint32_t> pixels(size_t(8000) * 6000, 0xFFFFFFFFu);
    const CanvasPixels canvas = {pixels.data(), IntSize{8000, 6000}};
    ASSERT_TRUE(KeepResetCopy(&store, canvas));
    for (int pos : {0, 1}) {
        ASSERT_TRUE(RecordSnapshot(&store, pos, canvas));
        std::fill(pixels.begin(), pixels.end(), 0xFF102030u + pos);
        MarkCanvasChanged(&store, IntRect{0, 0, 8000, 6000});
        ASSERT_TRUE(RecordSnapshot(&store, pos + 1, canvas)) << pos;
        EXPECT_LE(HistoryBytes(store), store.budget);
    }
    IntRect changed;
    ASSERT_TRUE(ShowSnapshot(&store, 1, canvas, &changed));
    EXPECT_EQ(pixels[12345], 0xFF102030u);
    EXPECT_EQ(changed.right, 8000);
    ClearTileStore(&store);
}

} // namespace
