// The tile history against a plain one that keeps whole pictures: thousands of random strokes,
// undos, redos, 初期化 and new documents of random sizes, the same history rules driving both,
// and the same picture on both canvases after every step. Then the budget.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "base/tile_store.h"
#include "history_pair.h"

namespace {

class TileStoreTest : public ::testing::Test {
  protected:
    // Runs the steps; `deepest` tells how far the history went.
    void RunSteps(size_t budget, int steps) {
        deepest = 0;
        HistoryPair pair;
        pair.random = [this] { return uint32_t(generator()); };
        ASSERT_TRUE(StartHistoryPair(&pair, budget, IntSize{130, 100}));
        for (int step = 0; step < steps; ++step) {
            PairStep();
            ASSERT_TRUE(PairAgrees()) << "step " << step;
            deepest = pair.count > deepest ? pair.count : deepest;
        }
        EXPECT_TRUE(EndHistoryPair()) << "every tile and table given back, and no more";
    }

    int deepest = 0;
    std::mt19937 generator{20240607};
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
