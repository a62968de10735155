// The tile history against a plain one that keeps whole pictures: thousands of random strokes,
// undos, redos, 初期化 and new documents of random sizes, the same history rules driving both,
// and the same picture on both canvases after every step. Then the budget.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "history/history_rules.h"
#include "history/tile_store.h"

namespace {

// A canvas as the surface holds it: rows bottom-up.
struct Picture {
    IntSize size = {0, 0};
    std::vector<uint32_t> pixels;
    uint32_t& At(int x, int y) { return pixels[size_t(size.h - 1 - y) * size.w + x]; }
};

// Both histories, side by side. The plain one records whenever the tile one could, so that
// a tight budget gives up the same steps on both sides.
struct Histories {
    TileStore tiles;
    Picture canvas;
    Picture plainCanvas;
    Picture plainSlots[HistorySlotCount];
    bool plainHeld[HistorySlotCount] = {};
    Picture plainReset;
    int pos = 0;
    int count = 0;
};

Histories* both = nullptr;

CanvasPixels Canvas() {
    return CanvasPixels{both->canvas.pixels.data(), both->canvas.size};
}

int BothTake(int slot) {
    const int recorded = RecordSnapshot(&both->tiles, slot, Canvas());
    both->plainHeld[slot] = recorded != 0;
    both->plainSlots[slot] = recorded ? both->plainCanvas : Picture{};
    return recorded;
}

void PlainDropOldest() {
    for (int slot = 0; slot + 1 < HistorySlotCount; ++slot) {
        both->plainSlots[slot] = std::move(both->plainSlots[slot + 1]);
        both->plainHeld[slot] = both->plainHeld[slot + 1];
    }
    both->plainSlots[HistorySlotCount - 1] = Picture{};
    both->plainHeld[HistorySlotCount - 1] = false;
}

void BothDropOldest() {
    DropOldestSnapshot(&both->tiles);
    PlainDropOldest();
}

void BothDiscard(int slot) {
    DiscardSnapshot(&both->tiles, slot);
    both->plainSlots[slot] = Picture{};
    both->plainHeld[slot] = false;
}

int BothHold(int slot) {
    EXPECT_EQ(HoldsSnapshot(both->tiles, slot), both->plainHeld[slot] ? 1 : 0) << slot;
    return both->plainHeld[slot] ? 1 : 0;
}

const SnapshotStore bothStores = {BothTake, BothDropOldest, BothDiscard, BothHold};

// The plain way of bringing a picture back: the area both share, pixel by pixel.
void CopyShared(const Picture& from, Picture* to) {
    for (int y = 0; y < from.size.h && y < to->size.h; ++y)
        for (int x = 0; x < from.size.w && x < to->size.w; ++x)
            to->At(x, y) = const_cast<Picture&>(from).At(x, y);
}

class TileStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        both = new Histories;
        both->tiles.budget = size_t(1) << 30;
    }
    void TearDown() override {
        ClearTileStore(&both->tiles);
        EXPECT_EQ(both->tiles.bytes, 0u) << "every tile and table given back, no more";
        delete both;
    }

    void NewDocument(IntSize size) {
        Picture picture;
        picture.size = size;
        picture.pixels.resize(size_t(size.w) * size.h);
        for (uint32_t& p : picture.pixels)
            p = 0xFF000000u | (random() & 0xFFFFFFu);
        ASSERT_TRUE(KeepResetCopy(&both->tiles, CanvasPixels{picture.pixels.data(), size}));
        both->canvas = picture;
        both->plainCanvas = picture;
        both->plainReset = picture;
        for (int steps = TrimToBudget(&both->tiles, &both->pos, &both->count); steps > 0; --steps)
            PlainDropOldest();
    }

    // A stroke paints a rectangle (or nothing, as the eyedropper) and says where it drew;
    // the area it names may be wider than what it changed. Now and then the drawing comes
    // without a stroke, so that nothing records it.
    void Stroke() {
        const bool recorded = random() % 20 != 0;
        if (recorded)
            RecordPressSnapshot(&both->pos, &both->count, bothStores);
        const IntSize size = both->canvas.size;
        const int x = int(random() % (size.w + 20)) - 10, y = int(random() % (size.h + 20)) - 10;
        const IntRect drawn = RectClipped(
            IntRect{x, y, x + 1 + int(random() % 90), y + 1 + int(random() % 70)}, size);
        const uint32_t colour = random() % 4 == 0 ? 0xFF000000u : 0xFF000000u | (random() & 0xFF);
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

    // 戻す or 進む (a slot), or 初期化 (-1), on both sides; what changed must lie in the area
    // reported.
    void Show(int slot) {
        const Picture before = both->canvas;
        IntRect changed;
        if (slot == -1) {
            ShowResetCopy(&both->tiles, Canvas(), &changed);
            CopyShared(both->plainReset, &both->plainCanvas);
        } else {
            both->pos = slot;
            ShowSnapshot(&both->tiles, slot, Canvas(), &changed);
            CopyShared(both->plainSlots[slot], &both->plainCanvas);
        }
        ExpectChangesWithin(before, changed);
    }
    void Step(int slot) {
        if (slot >= 0)
            Show(slot);
    }

    static void ExpectChangesWithin(const Picture& before, IntRect changed) {
        for (size_t i = 0; i < before.pixels.size(); ++i) {
            if (before.pixels[i] == both->canvas.pixels[i])
                continue;
            const int x = int(i % before.size.w), y = before.size.h - 1 - int(i / before.size.w);
            ASSERT_TRUE(x >= changed.left && x < changed.right && y >= changed.top &&
                        y < changed.bottom)
                << x << "," << y << " changed outside the area reported";
        }
    }

    void RunSteps(int steps) {
        NewDocument(IntSize{130, 100});
        for (int step = 0; step < steps; ++step) {
            const int choice = int(random() % 100);
            if (choice < 70) {
                Stroke();
            } else if (choice < 82) {
                Step(UndoTarget(both->pos, bothStores));
            } else if (choice < 94) {
                Step(RedoTarget(both->pos, both->count, bothStores));
            } else if (choice < 98) {
                Show(-1);
            } else {
                const bool sameSize = random() % 2 == 0;
                NewDocument(sameSize ? both->canvas.size
                                     : IntSize{1 + int(random() % 200), 1 + int(random() % 150)});
            }
            ASSERT_EQ(both->canvas.pixels, both->plainCanvas.pixels) << "step " << step;
            ASSERT_LE(HistoryBytes(both->tiles), both->tiles.budget);
        }
    }

    uint32_t random() { return uint32_t(generator()); }
    std::mt19937 generator{20240607};
};

TEST_F(TileStoreTest, ThousandsOfStepsShowTheSamePicturesAsWholePictureSnapshots) {
    RunSteps(6000);
    EXPECT_GT(both->count, 100) << "the run reached deep into the history";
}

TEST_F(TileStoreTest, UnderATightBudgetTheSameStepsAreGivenUpOnBothSides) {
    both->tiles.budget = 150000; // a few dozen tiles
    RunSteps(4000);
}

TEST(HistoryBudgetTest, TheSmallerOfOneGibAndAQuarterOfMemoryWithinItsFloorAndCeiling) {
    const uint64_t gib = uint64_t(1) << 30;
    const struct {
        uint64_t physical;
        int bits;
        size_t budget;
    } cases[] = {
        {24 * gib, 64, size_t(gib)},        // a quarter is more than 1 GiB
        {3 * gib, 64, size_t(768) << 20},   // a quarter
        {1 * gib, 64, Budget32BitCeiling},  // never below the floor
        {0, 64, Budget32BitCeiling},        // memory unknown
        {24 * gib, 32, Budget32BitCeiling}, // a 32-bit process
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseHistoryBudget(c.physical, c.bits), c.budget) << c.physical << " " << c.bits;
}

// A stroke that changes a whole 8000 x 6000 picture records within the smallest budget, even
// right after another one did: the history then holds two whole pictures besides the reset copy.
TEST(HistoryBudgetTest, WholePictureChangesOfTheLargestPhotoStillRecord) {
    TileStore store;
    store.budget = ChooseHistoryBudget(0, 32);
    Picture picture;
    picture.size = IntSize{8000, 6000};
    picture.pixels.assign(size_t(8000) * 6000, 0xFFFFFFFFu);
    const CanvasPixels canvas = {picture.pixels.data(), picture.size};
    ASSERT_TRUE(KeepResetCopy(&store, canvas));
    int pos = 0;
    for (uint32_t colour : {0xFF102030u, 0xFF405060u}) {
        ASSERT_TRUE(RecordSnapshot(&store, pos, canvas));
        ++pos;
        for (uint32_t& p : picture.pixels)
            p = colour;
        MarkCanvasChanged(&store, IntRect{0, 0, 8000, 6000});
        ASSERT_TRUE(RecordSnapshot(&store, pos, canvas)) << std::hex << colour;
        EXPECT_LE(HistoryBytes(store), store.budget);
    }
    IntRect changed;
    ASSERT_TRUE(ShowSnapshot(&store, 1, canvas, &changed));
    EXPECT_EQ(picture.pixels[12345], 0xFF102030u);
    EXPECT_EQ(changed.right, 8000);
    ClearTileStore(&store);
}

} // namespace
