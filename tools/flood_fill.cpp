#include "tools/flood_fill.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

// The fill works a row at a time: a popped seed grows into the whole run of qualifying
// pixels around it in its row, and the rows above and below are scanned over that run for
// new seeds. A pixel is marked when it joins the set or is pushed, and a marked pixel is
// never pushed again, so the stack never holds more entries than there are pixels. The
// colour test only ever sees colours from before the fill, because nothing is painted until
// the set is complete; a stack that cannot grow therefore leaves the picture untouched.

namespace {

struct SeedPoint {
    int x;
    int y;
};

struct WorkStack {
    SeedPoint* entries;
    size_t count;
    size_t capacity;
    size_t limit; // one entry per pixel, and room for the candidates of one row
};

const size_t InitialStackEntries = 4096;

struct SeedColourTest {
    int r0;
    int g0;
    int b0;
    int tolerance;
};

inline int Distance(int a, int b) {
    return std::abs(a - b);
}

inline bool Qualifies(uint32_t pixel, const SeedColourTest& test) {
    const int r = int((pixel >> 16) & 0xFFu);
    const int g = int((pixel >> 8) & 0xFFu);
    const int b = int(pixel & 0xFFu);
    return Distance(r, test.r0) + Distance(g, test.g0) + Distance(b, test.b0) < test.tolerance;
}

int GrowStack(WorkStack* stack) {
    size_t capacity = stack->capacity * 2;
    if (capacity > stack->limit)
        capacity = stack->limit;
    if (capacity <= stack->capacity || capacity > SIZE_MAX / sizeof(SeedPoint))
        return 0;
    void* grown = std::realloc(stack->entries, capacity * sizeof(SeedPoint));
    if (!grown)
        return 0;
    stack->entries = static_cast<SeedPoint*>(grown);
    stack->capacity = capacity;
    return 1;
}

inline int PushSeed(WorkStack* stack, int x, int y) {
    if (stack->count == stack->capacity && !GrowStack(stack))
        return 0;
    stack->entries[stack->count].x = x;
    stack->entries[stack->count].y = y;
    ++stack->count;
    return 1;
}

// Makes room for entries more seeds.
int ReserveStack(WorkStack* stack, size_t entries) {
    while (stack->capacity - stack->count < entries) {
        if (!GrowStack(stack))
            return 0;
    }
    return 1;
}

// Pushes one seed for each run of unmarked qualifying pixels between left and right of a row
// next to a filled run. Only the run's first pixel is marked: its seed grows over the rest.
// Noisy pictures make the outcome of each test unpredictable, so the scan has no branches:
// every pixel writes a candidate seed and only a run's first pixel keeps it.
int SeedNeighbourRow(const uint32_t* line, uint8_t* marks, int y, int left, int right,
                     const SeedColourTest& test, WorkStack* stack) {
    if (!ReserveStack(stack, size_t(right - left) + 1))
        return 0;
    SeedPoint* top = stack->entries + stack->count;
    int wasOpen = 0;
    const uint64_t allMarked = 0x0101010101010101ull;
    for (int x = left; x <= right; ++x) {
        // The row a run was seeded from is marked all along it: pass it eight at a time.
        uint64_t eight = 0;
        if (right - x >= 7 && (std::memcpy(&eight, marks + x, 8), eight == allMarked)) {
            x += 7;
            wasOpen = 0;
            continue;
        }
        const int open = int(marks[x] == 0) & int(Qualifies(line[x], test));
        const int runStart = open & (wasOpen ^ 1);
        top->x = x;
        top->y = y;
        top += runStart;
        marks[x] = uint8_t(marks[x] | runStart);
        wasOpen = open;
    }
    stack->count = size_t(top - stack->entries);
    return 1;
}

struct RowRange {
    int top;
    int bottom;
    int left;
    int right;
};

void PaintMarked(uint32_t* pixels, const uint8_t* visited, int width, int height, RowRange area,
                 uint32_t fillValue) {
    for (int y = area.top; y <= area.bottom; ++y) {
        const size_t row = size_t(height - 1 - y) * size_t(width);
        uint32_t* line = pixels + row;
        const uint8_t* marks = visited + row;
        // A select by mask, not a branch: on noisy pictures the marks follow no pattern.
        for (int x = area.left; x <= area.right; ++x) {
            const uint32_t painted = 0u - uint32_t(marks[x]);
            line[x] = (line[x] & ~painted) | (fillValue & painted);
        }
    }
}

} // namespace

int FillWorkAreaBytes(int width, int height, size_t bytesPerPixel, size_t* bytes) {
    if (width < 0 || height < 0)
        return 0;
    const size_t w = size_t(width);
    const size_t h = size_t(height);
    if (h != 0 && w > SIZE_MAX / h)
        return 0;
    const size_t pixelCount = w * h;
    if (bytesPerPixel != 0 && pixelCount > SIZE_MAX / bytesPerPixel)
        return 0;
    *bytes = pixelCount * bytesPerPixel;
    return 1;
}

int FillFromSeed(uint32_t* pixels, int width, int height, uint8_t* visited, int x, int y,
                 RgbTriple seedColour, int tolerance, uint32_t fillValue, IntRect* paintedBounds) {
    if (paintedBounds)
        *paintedBounds = IntRect{0, 0, 0, 0};
    if (!pixels || !visited || x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    size_t pixelCount = 0;
    if (!FillWorkAreaBytes(width, height, 1, &pixelCount))
        return 0;

    // Every pixel is pushed once at most; a row scan also needs room for its candidates.
    if (pixelCount > SIZE_MAX - size_t(width))
        return 0;
    WorkStack stack = {nullptr, 0, 0, pixelCount + size_t(width)};
    stack.capacity = pixelCount < InitialStackEntries ? pixelCount : InitialStackEntries;
    stack.entries = static_cast<SeedPoint*>(std::malloc(stack.capacity * sizeof(SeedPoint)));
    if (!stack.entries)
        return 0;

    const SeedColourTest test = {seedColour.r & 0xFF, seedColour.g & 0xFF, seedColour.b & 0xFF,
                                 tolerance};
    RowRange area = {y, y, x, x};
    visited[size_t(height - 1 - y) * size_t(width) + size_t(x)] = 1;
    PushSeed(&stack, x, y);

    int complete = 1;
    while (stack.count > 0) {
        const SeedPoint seed = stack.entries[--stack.count];
        const size_t row = size_t(height - 1 - seed.y) * size_t(width);
        const uint32_t* line = pixels + row;
        uint8_t* marks = visited + row;

        // The seed's pixel is already in the set; grow it over its run. A tolerance of 0
        // or less lets no pixel qualify, so only the seed is painted.
        int left = seed.x;
        while (left > 0 && !marks[left - 1] && Qualifies(line[left - 1], test))
            marks[--left] = 1;
        int right = seed.x;
        while (right < width - 1 && !marks[right + 1] && Qualifies(line[right + 1], test))
            marks[++right] = 1;

        if (seed.y < area.top)
            area.top = seed.y;
        if (seed.y > area.bottom)
            area.bottom = seed.y;
        if (left < area.left)
            area.left = left;
        if (right > area.right)
            area.right = right;

        // Picture row y - 1 is one memory row higher, y + 1 one lower.
        if (seed.y > 0 &&
            !SeedNeighbourRow(line + width, marks + width, seed.y - 1, left, right, test, &stack)) {
            complete = 0;
            break;
        }
        if (seed.y < height - 1 &&
            !SeedNeighbourRow(line - width, marks - width, seed.y + 1, left, right, test, &stack)) {
            complete = 0;
            break;
        }
    }
    std::free(stack.entries);
    if (!complete)
        return 0;

    PaintMarked(pixels, visited, width, height, area, fillValue);
    if (paintedBounds)
        *paintedBounds = IntRect{area.left, area.top, area.right + 1, area.bottom + 1};
    return 1;
}

int FloodFill(uint32_t* pixels, IntSize surfaceSize, int x, int y, int tolerance,
              uint32_t fillValue, IntRect* paintedBounds) {
    if (paintedBounds)
        *paintedBounds = IntRect{0, 0, 0, 0};
    const int width = surfaceSize.w;
    const int height = surfaceSize.h;
    if (!pixels || x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    size_t visitedBytes = 0;
    if (!FillWorkAreaBytes(width, height, 1, &visitedBytes))
        return 0;
    uint8_t* visited = static_cast<uint8_t*>(std::calloc(visitedBytes, 1));
    if (!visited)
        return 0;

    const uint32_t seedPixel = pixels[size_t(height - 1 - y) * size_t(width) + size_t(x)];
    const int filled =
        FillFromSeed(pixels, width, height, visited, x, y, FromCanvasPixel(seedPixel), tolerance,
                     fillValue, paintedBounds);
    std::free(visited);
    return filled;
}
