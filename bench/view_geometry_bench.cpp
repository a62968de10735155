// The arithmetic behind each wheel notch and each mouse event on the canvas: it runs inside
// message handlers, so it must stay far below a frame's time (16 ms) even at its worst.
#include <benchmark/benchmark.h>

#include "view/view_geometry.h"

namespace {

// The largest turn one wheel message carries, from the deepest zoom-out toward the bound.
void BM_BoundedZoomLevelLargestTurn(benchmark::State& state) {
    const IntSize canvas = {32767, 32767};
    for (auto _ : state)
        benchmark::DoNotOptimize(BoundedZoomLevel(canvas, -72, 273));
}
BENCHMARK(BM_BoundedZoomLevelLargestTurn);

void BM_ViewSizeAtDeepZoom(benchmark::State& state) {
    const IntSize canvas = {680, 480};
    for (auto _ : state)
        benchmark::DoNotOptimize(ViewSizeAtZoom(canvas, -30));
}
BENCHMARK(BM_ViewSizeAtDeepZoom);

void BM_MapToCanvasAllModes(benchmark::State& state) {
    double x = 0, y = 0;
    PackedPoint anchor = 0, drag = 0, preview = 0;
    for (auto _ : state) {
        for (int mode = 0; mode <= 2; ++mode)
            MapToCanvas(mode, {680, 480}, {25, 16}, PackPoint(12, 9), &x, &y, &anchor, &drag,
                        &preview);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(drag);
    }
}
BENCHMARK(BM_MapToCanvasAllModes);

} // namespace

BENCHMARK_MAIN();
