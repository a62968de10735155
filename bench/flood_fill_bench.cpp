// The fill on a 4096 x 4096 surface: a flat one, dappled noise in which the fill spreads
// through a ragged region full of holes, and a maze of one-pixel corridors. Each picture is
// timed with the program's fill and with the plain reference it must agree with.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "fill_test_images.h"
#include "flood_fill_reference.h"
#include "tools/flood_fill.h"

namespace {

const int Side = 4096;
const uint32_t FillValue = 0xFF123456u;

enum PictureKind { Flat = 0, Dappled = 1, Maze = 2 };

const TestImage& Picture(int kind) {
    static TestImage pictures[3];
    static bool made[3] = {false, false, false};
    if (!made[kind]) {
        std::mt19937 random(4096);
        if (kind == Flat)
            pictures[kind] = UniformImage(Side, Side, 0xFFFFFFFFu);
        else if (kind == Dappled)
            pictures[kind] = DappledImage(Side, Side, 70, random);
        else
            pictures[kind] = MazeImage(Side, Side, 0xFF000000u, 0xFFFFFFFFu, 0, random);
        made[kind] = true;
    }
    return pictures[kind];
}

// Light pixels are within 45 of each other; dark ones are far from them.
int ToleranceFor(int kind) {
    return kind == Dappled ? 50 : 20;
}

template <typename Fill> void TimeFill(benchmark::State& state, Fill fill) {
    const int kind = int(state.range(0));
    const TestImage& picture = Picture(kind);
    TestImage work = picture;
    const size_t bytes = picture.pixels.size() * sizeof(uint32_t);
    // The seed: the middle, or the nearest light pixel to its right.
    int x = Side / 2;
    int y = Side / 2;
    while (kind != Flat && (PixelAt(picture, x, y) & 0xFF) < 128)
        ++x;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.pixels.data(), picture.pixels.data(), bytes);
        state.ResumeTiming();
        benchmark::DoNotOptimize(fill(work, x, y, ToleranceFor(kind)));
        benchmark::ClobberMemory();
    }
    size_t painted = 0;
    for (uint32_t pixel : work.pixels)
        painted += pixel == FillValue ? 1 : 0;
    state.counters["painted"] = double(painted);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(painted));
}

void BM_FloodFill(benchmark::State& state) {
    TimeFill(state, [](TestImage& image, int x, int y, int tolerance) {
        return FloodFill(image.pixels.data(), IntSize{image.width, image.height}, x, y, tolerance,
                         FillValue);
    });
}

void BM_ReferenceFill(benchmark::State& state) {
    TimeFill(state, [](TestImage& image, int x, int y, int tolerance) {
        return ReferenceFloodFill(image.pixels.data(), image.width, image.height, x, y, tolerance,
                                  FillValue);
    });
}

void PictureKinds(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("picture")->Arg(Flat)->Arg(Dappled)->Arg(Maze);
    benchmark->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(BM_FloodFill)->Apply(PictureKinds);
BENCHMARK(BM_ReferenceFill)->Apply(PictureKinds);

BENCHMARK_MAIN();
