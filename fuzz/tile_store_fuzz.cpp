// Strokes, records, undos, redos, 初期化 and new documents of new sizes chosen by the input's
// bytes, on the tile history beside the plain whole-picture one: after every step both
// canvases must show the same picture, within the budget, and at the end every byte the tile
// side counted must be given back.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "history_pair.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 600) // about 40 steps; longer runs are slow and repeat what shorter ones do
        return 0;
    size_t at = 0;
    // Two bytes a choice: every choice the steps make is below 65536.
    auto next = [&] {
        uint32_t value = 0;
        for (int i = 0; i < 2; ++i)
            value = value << 8 | (at < size ? data[at++] : 0);
        return value;
    };
    // A budget of a few tiles to a generous one, and a first document of up to 200 x 150.
    const size_t budgets[] = {20000, 60000, 150000, size_t(1) << 30};
    const size_t budget = budgets[next() % 4];
    const IntSize first = {1 + int(next() % 200), 1 + int(next() % 150)};
    HistoryPair pair;
    pair.random = next;
    if (!StartHistoryPair(&pair, budget, first)) {
        FUZZ_CHECK(EndHistoryPair());
        return 0;
    }
    while (at < size) {
        PairStep();
        FUZZ_CHECK(PairAgrees());
    }
    FUZZ_CHECK(EndHistoryPair());
    return 0;
}
