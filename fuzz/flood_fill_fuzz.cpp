// A small picture, a seed, a tolerance and a fill value from the input's bytes: the fill must
// paint exactly the reference fill's set, report that set's bounds, and do the same with a
// run stack of one or two runs, which overflows at once.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "flood_fill_reference.h"
#include "fuzz_check.h"
#include "tools/flood_fill.h"

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t at;
    uint32_t Next(int bytes) { // 0 once the input is used up
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | (at < size ? data[at++] : 0);
        return value;
    }
};

// The bounds of the pixels that differ between the two pictures; all 0 when none do.
IntRect BoundsOfChanges(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width,
                        int height) {
    IntRect bounds = {0, 0, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (a[size_t(height - 1 - y) * width + x] != b[size_t(height - 1 - y) * width + x])
                bounds = RectUnion(bounds, IntRect{x, y, x + 1, y + 1});
    return bounds;
}

bool SameRect(IntRect a, IntRect b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1200) // pictures of about 34 x 34 pixels of their own; the rest is flat
        return 0;
    Input input = {data, size, 0};
    const int width = 1 + int(input.Next(1) % 80), height = 1 + int(input.Next(1) % 80);
    // Now and then a point just outside.
    const int x = int(input.Next(1) % uint32_t(width + 2)) - 1;
    const int y = int(input.Next(1) % uint32_t(height + 2)) - 1;
    const int tolerance = int(input.Next(2) % 800) - 10;
    const uint32_t fillValue = input.Next(4);
    const size_t stackLimit = 1 + input.Next(1) % 2;
    // Pixels from a palette of up to eight colours with a little jitter, so that regions form.
    uint32_t palette[8];
    for (uint32_t& colour : palette)
        colour = input.Next(4);
    std::vector<uint32_t> picture(size_t(width) * size_t(height));
    for (uint32_t& pixel : picture) {
        const uint32_t choice = input.Next(1);
        pixel = palette[choice & 7] ^ (choice >> 3 & 3) ^ (choice >> 5) << 24;
    }

    std::vector<uint32_t> ours = picture, reference = picture;
    IntRect bounds = {-1, -1, -1, -1};
    const int filled =
        FloodFill(ours.data(), IntSize{width, height}, x, y, tolerance, fillValue, &bounds);
    FUZZ_CHECK(filled ==
               ReferenceFloodFill(reference.data(), width, height, x, y, tolerance, fillValue));
    FUZZ_CHECK(ours == reference);
    // The set itself, whatever the fill value: the reference over the picture with every
    // alpha byte 0 (which the test ignores), painting alpha 255.
    std::vector<uint32_t> marked = picture;
    for (uint32_t& pixel : marked)
        pixel &= 0x00FFFFFFu;
    std::vector<uint32_t> unmarked = marked;
    ReferenceFloodFill(marked.data(), width, height, x, y, tolerance, 0xFF000000u);
    FUZZ_CHECK(SameRect(bounds, BoundsOfChanges(marked, unmarked, width, height)));
    if (!filled)
        return 0;

    std::vector<uint32_t> cramped = picture;
    size_t words = 0;
    FUZZ_CHECK(FillVisitedWords(width, height, &words));
    std::vector<uint64_t> visited(words, 0);
    IntRect crampedBounds = {-1, -1, -1, -1};
    const uint32_t seed = picture[size_t(height - 1 - y) * width + x];
    FUZZ_CHECK(FillFromSeed(cramped.data(), width, height, visited.data(), x, y,
                            FromCanvasPixel(seed), tolerance, fillValue, &crampedBounds,
                            stackLimit));
    FUZZ_CHECK(cramped == reference);
    FUZZ_CHECK(SameRect(crampedBounds, bounds));
    return 0;
}
