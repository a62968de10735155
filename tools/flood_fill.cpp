#include "tools/flood_fill.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// SSE2 wherever the target has it; FUDEMARU_FILL_PLAIN builds the plain path anyway (the
// tests build it so, since 32-bit x86 builds without SSE2 ship it).
#if !defined(FUDEMARU_FILL_PLAIN) && (defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64) || \
                                      (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#include <emmintrin.h>
#define FUDEMARU_FILL_SSE2 1
#endif
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif

// The fill works a run at a time. A run is a stretch of one row that joins the set whole: it
// is painted as soon as it is found and pushed, and when it is popped the row onwards (away
// from the run it was found from) is searched for open pixels, and the row behind only where
// the run reaches past that parent; each open pixel found grows into a new run. A pixel is
// only ever tested before it is painted, so the test always sees colours from before the fill.
// When the fill value itself would pass the test, one bit per pixel marks the set so that a
// painted pixel is not taken again; when it would not, painting is mark enough.
//
// The test runs on stretches at once: SSE2 turns up to 64 pixels into a bit mask, four pixels
// to an instruction, and runs are read off the bits. A single pixel, most often the next step
// along a thin line, is tested alone, and a line one pixel wide is followed without pushing.
// The rows a pushed run will search are prefetched: on a photo-sized picture each row is far
// from the last in memory.
//
// All or nothing: the visited map and the first stack block are allocated before any pixel
// changes, and the only later allocation, growing the stack, cannot fail the fill. A run that
// finds no room on the stack is already painted; it is marked and its row noted, and once the
// stack is empty the noted rows are swept for marked runs whose neighbours are searched again.
// The fill then completes with the memory it has, only slower.

namespace {

// Forced inlining multiplies the fill's code many times over; instrumented by the address
// sanitizer that takes the compiler minutes and gigabytes, so sanitizer builds leave the
// inlining to the compiler.
#if defined(__SANITIZE_ADDRESS__)
#define FILL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FILL_SANITIZED 1
#endif
#endif

#if defined(FILL_SANITIZED)
#define FILL_INLINE inline
#elif defined(__GNUC__) || defined(__clang__)
#define FILL_INLINE inline __attribute__((always_inline))
#elif defined(_MSC_VER)
#define FILL_INLINE __forceinline
#else
#define FILL_INLINE inline
#endif

FILL_INLINE int LowestBit(uint64_t bits) {
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_ctzll(bits);
#elif defined(_MSC_VER) && defined(_M_X64)
    unsigned long index;
    _BitScanForward64(&index, bits);
    return int(index);
#else
    int index = 0;
    while (!(bits & 1u)) {
        bits >>= 1;
        ++index;
    }
    return index;
#endif
}

FILL_INLINE int HighestBit(uint64_t bits) {
#if defined(__GNUC__) || defined(__clang__)
    return 63 - __builtin_clzll(bits);
#elif defined(_MSC_VER) && defined(_M_X64)
    unsigned long index;
    _BitScanReverse64(&index, bits);
    return int(index);
#else
    int index = 63;
    while (!(bits >> 63)) {
        bits <<= 1;
        --index;
    }
    return index;
#endif
}

// The lowest n bits set: BitsBelow for n 0 to 63, FirstBits for n 1 to 64.
FILL_INLINE uint64_t BitsBelow(int n) {
    return (uint64_t(1) << n) - 1;
}
FILL_INLINE uint64_t FirstBits(int n) {
    return ~uint64_t(0) >> (64 - n);
}

// The colour tests. One(pixel) tests one pixel; Four(p) gives the lanes of p[0] to p[3] all
// ones where they qualify.

struct ExactColour {
    uint32_t seed; // red, green and blue of the seed colour; alpha 0
#if FUDEMARU_FILL_SSE2
    __m128i seeds;
    __m128i colourMask;
    explicit ExactColour(uint32_t colour)
        : seed(colour), seeds(_mm_set1_epi32(int(colour))), colourMask(_mm_set1_epi32(0x00FFFFFF)) {
    }
    FILL_INLINE __m128i Four(const uint32_t* p) const {
        const __m128i pixels = _mm_and_si128(_mm_loadu_si128((const __m128i*)p), colourMask);
        return _mm_cmpeq_epi32(pixels, seeds);
    }
#else
    explicit ExactColour(uint32_t colour) : seed(colour) {}
#endif
    FILL_INLINE bool One(uint32_t pixel) const {
        return (pixel & 0x00FFFFFFu) == seed;
    }
};

struct NearColour {
    int r0;
    int g0;
    int b0;
    int tolerance;
#if FUDEMARU_FILL_SSE2
    __m128i seeds;
    __m128i tolerances;
    __m128i green;
    __m128i blueAndRed;
    __m128i lowHalf;
    NearColour(uint32_t colour, int tolerance)
        : r0(int(colour >> 16) & 0xFF), g0(int(colour >> 8) & 0xFF), b0(int(colour) & 0xFF),
          tolerance(tolerance), seeds(_mm_set1_epi32(int(colour))),
          tolerances(_mm_set1_epi32(tolerance)), green(_mm_set1_epi32(0xFF)),
          blueAndRed(_mm_set1_epi32(0x00FF00FF)), lowHalf(_mm_set1_epi32(0xFFFF)) {}
    FILL_INLINE __m128i Four(const uint32_t* p) const {
        const __m128i pixels = _mm_loadu_si128((const __m128i*)p);
        // |pixel - seed| byte by byte (alpha's byte is dropped below).
        const __m128i apart =
            _mm_or_si128(_mm_subs_epu8(pixels, seeds), _mm_subs_epu8(seeds, pixels));
        // Blue + green in the low half of each word, red in the high half; then their sum.
        const __m128i halves = _mm_add_epi32(_mm_and_si128(apart, blueAndRed),
                                             _mm_and_si128(_mm_srli_epi32(apart, 8), green));
        const __m128i distance =
            _mm_add_epi32(_mm_and_si128(halves, lowHalf), _mm_srli_epi32(halves, 16));
        return _mm_cmpgt_epi32(tolerances, distance);
    }
#else
    NearColour(uint32_t colour, int tolerance)
        : r0(int(colour >> 16) & 0xFF), g0(int(colour >> 8) & 0xFF), b0(int(colour) & 0xFF),
          tolerance(tolerance) {}
#endif
    FILL_INLINE bool One(uint32_t pixel) const {
        const int r = int((pixel >> 16) & 0xFFu);
        const int g = int((pixel >> 8) & 0xFFu);
        const int b = int(pixel & 0xFFu);
        return std::abs(r - r0) + std::abs(g - g0) + std::abs(b - b0) < tolerance;
    }
};

// Bit i set when p[i] qualifies, for count pixels (1 to 64). Groups of four may read up to
// readable pixels, which may lie beyond count but never beyond the picture.
template <typename Test>
FILL_INLINE uint64_t QualifyingBits(const Test& test, const uint32_t* p, int count, int readable) {
    uint64_t bits = 0;
    int i = 0;
#if FUDEMARU_FILL_SSE2
    for (; i + 16 <= readable; i += 16)
        bits |= uint64_t(SixteenBits(test, p + i)) << i;
    for (; i + 4 <= readable && i < count; i += 4)
        bits |= uint64_t(uint32_t(_mm_movemask_ps(_mm_castsi128_ps(test.Four(p + i))))) << i;
#else
    (void)readable;
#endif
    for (; i < count; ++i)
        bits |= uint64_t(test.One(p[i])) << i;
    return bits & FirstBits(count);
}

#if FUDEMARU_FILL_SSE2
// Bit i set when p[i] qualifies, for 16 pixels.
template <typename Test> FILL_INLINE uint32_t SixteenBits(const Test& test, const uint32_t* p) {
    const __m128i low = _mm_packs_epi32(test.Four(p), test.Four(p + 4));
    const __m128i high = _mm_packs_epi32(test.Four(p + 8), test.Four(p + 12));
    return uint32_t(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
}
#endif

// Asks for the cache line of p ahead of its use.
FILL_INLINE void Prefetch(const uint32_t* p) {
#if FUDEMARU_FILL_SSE2
    _mm_prefetch(reinterpret_cast<const char*>(p), _MM_HINT_T0);
#elif defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// Writes count pixels of one value.
FILL_INLINE void Paint(uint32_t* p, int count, uint32_t value) {
#if FUDEMARU_FILL_SSE2
    if (count >= 4) {
        const __m128i values = _mm_set1_epi32(int(value));
        int i = 0;
        for (; i + 4 <= count; i += 4)
            _mm_storeu_si128((__m128i*)(p + i), values);
        if (i < count)
            _mm_storeu_si128((__m128i*)(p + count - 4), values);
        return;
    }
#endif
    p[0] = value;
    if (count > 1)
        p[1] = value;
    if (count > 2)
        p[2] = value;
    for (int i = 3; i < count; ++i)
        p[i] = value;
}

// A run waiting for its neighbours to be searched: the row away from the one it was found
// from, y + toAway (toAway +1 or -1), and the row it was found from, y - toAway, only when
// the run reaches past its parent's columns (toAway then +2 or -2): the parent's own pixels
// are in the set already.
struct Run {
    int y;
    int left;
    int right;
    int toAway;
};

struct RunBlock {
    Run* runs;
    size_t capacity;
};

const size_t FirstStackRuns = 1024;

// Stretches shorter than this are searched a pixel at a time; longer ones are tested in
// windows with this margin on each side.
#if FUDEMARU_FILL_SSE2
const int ShortStretch = 8;
#endif
const int Margin = 8;

// Rows fetched ahead of the search, in the direction a run was found.
const int PrefetchRows = 3;

// The stack grown to twice its size, within limit (0: none); runs 0 when it cannot grow, and
// then the old block stays as it was.
RunBlock GrowRuns(RunBlock block, size_t limit) {
    size_t capacity = block.capacity * 2;
    if (limit != 0 && capacity > limit)
        capacity = limit;
    if (capacity <= block.capacity || capacity > SIZE_MAX / sizeof(Run))
        return RunBlock{nullptr, 0};
    void* grown = std::realloc(block.runs, capacity * sizeof(Run));
    return RunBlock{static_cast<Run*>(grown), grown ? capacity : 0};
}

// One fill in progress, a local object of FillWith whose member functions are all inlined
// there: its address never escapes, so the compiler need not reload its fields after every
// pixel store, as it must for a struct it cannot see whole (an int or size_t field may alias
// the pixels or the visited map as far as it knows).
//
// When the fill value itself qualifies, the visited map holds every pixel of the set and the
// search skips what it marks. When it does not, a painted pixel can never pass the test
// again, so the map is not needed to tell the set apart; it then holds only the runs that
// found no room on the stack, until the sweep has searched around them.
template <typename Test, bool FillValueQualifies> struct Fill {
    uint32_t* pixels;
    uint64_t* visited;
    int width;
    int height;
    size_t pixelCount;
    uint32_t fillValue;
    Test test;
    size_t stackLimit;
    // The runs still to be searched around.
    Run* runs;
    size_t count;
    size_t capacity;
    // Bounds of everything painted, in picture coordinates, inclusive.
    int top;
    int bottom;
    int left;
    int right;
    // Rows of runs that found no room on the stack; none while sweepTop > sweepBottom.
    int sweepTop;
    int sweepBottom;

    FILL_INLINE size_t RowStart(int y) const { return size_t(height - 1 - y) * size_t(width); }

    // Bits 0 .. count-1 (count 1 to 64) of the visited map from pixel index `index` on.
    FILL_INLINE uint64_t Marks(size_t index, int count) const {
        const size_t word = index >> 6;
        const int shift = int(index & 63);
        uint64_t bits = visited[word] >> shift;
        if (shift + count > 64)
            bits |= visited[word + 1] << (64 - shift);
        return bits & FirstBits(count);
    }

    // Sets (or clears) the bits of pixel indexes first .. last.
    FILL_INLINE void Mark(size_t first, size_t last, bool set = true) {
        const size_t firstWord = first >> 6;
        const size_t lastWord = last >> 6;
        const uint64_t head = ~uint64_t(0) << (first & 63);
        const uint64_t tail = FirstBits(int(last & 63) + 1);
        if (firstWord == lastWord) {
            visited[firstWord] =
                set ? visited[firstWord] | (head & tail) : visited[firstWord] & ~(head & tail);
            return;
        }
        visited[firstWord] = set ? visited[firstWord] | head : visited[firstWord] & ~head;
        for (size_t word = firstWord + 1; word < lastWord; ++word)
            visited[word] = set ? ~uint64_t(0) : 0;
        visited[lastWord] = set ? visited[lastWord] | tail : visited[lastWord] & ~tail;
    }

    // Whether pixel index is open: not in the set yet and within the tolerance.
    FILL_INLINE bool OpenAt(size_t index) const {
        return test.One(pixels[index]) &&
               (!FillValueQualifies || !((visited[index >> 6] >> (index & 63)) & 1));
    }

    // Bit i set when pixel index + i (count 1 to 64, all in one row) is open.
    FILL_INLINE uint64_t OpenBits(size_t index, int count) const {
        const int readable = pixelCount - index >= size_t(count + 3) ? count + 3 : count;
        const uint64_t bits = QualifyingBits(test, pixels + index, count, readable);
        return FillValueQualifies ? bits & ~Marks(index, count) : bits;
    }

    // The last x of the open stretch that begins at open pixel x of the row at rowStart: a
    // few steps one pixel at a time, then whole stretches.
    FILL_INLINE int OpenUntil(size_t rowStart, int x) const {
        for (int step = 0; step < 4; ++step, ++x)
            if (x + 1 >= width || !OpenAt(rowStart + size_t(x) + 1))
                return x;
        int chunk = 8;
        for (int from = x + 1; from < width; from += chunk, chunk = chunk < 64 ? chunk * 2 : 64) {
            const int count = width - from < chunk ? width - from : chunk;
            const uint64_t closed = ~OpenBits(rowStart + size_t(from), count) & FirstBits(count);
            if (closed)
                return from + LowestBit(closed) - 1;
        }
        return width - 1;
    }

    // The first x of the open stretch that ends at open pixel x.
    FILL_INLINE int OpenFrom(size_t rowStart, int x) const {
        for (int step = 0; step < 4; ++step, --x)
            if (x == 0 || !OpenAt(rowStart + size_t(x) - 1))
                return x;
        int chunk = 8;
        for (int to = x; to > 0; to -= chunk, chunk = chunk < 64 ? chunk * 2 : 64) {
            const int count = to < chunk ? to : chunk;
            const int from = to - count;
            const uint64_t closed = ~OpenBits(rowStart + size_t(from), count) & FirstBits(count);
            if (closed)
                return from + HighestBit(closed) + 1;
        }
        return 0;
    }

    // Paints a run and adds it to the set and the bounds.
    FILL_INLINE void Join(int y, size_t rowStart, int first, int last) {
        Paint(pixels + rowStart + first, last - first + 1, fillValue);
        if (FillValueQualifies)
            Mark(rowStart + size_t(first), rowStart + size_t(last));
        top = y < top ? y : top;
        bottom = y > bottom ? y : bottom;
        left = first < left ? first : left;
        right = last > right ? last : right;
    }

    // Pushes a joined run. A run that finds no room on the stack is marked and its row noted
    // for the sweep.
    FILL_INLINE void Push(int y, size_t rowStart, int first, int last, int toAway) {
        if (count == capacity) {
            const RunBlock grown = GrowRuns(RunBlock{runs, capacity}, stackLimit);
            if (!grown.runs) {
                if (!FillValueQualifies)
                    Mark(rowStart + size_t(first), rowStart + size_t(last));
                sweepTop = y < sweepTop ? y : sweepTop;
                sweepBottom = y > sweepBottom ? y : sweepBottom;
                return;
            }
            runs = grown.runs;
            capacity = grown.capacity;
        }
        // Searching onwards from here will read the next rows in this direction soon; on a
        // photo-sized picture each is far away in memory, so ask for them now.
        const int step = toAway > 0 ? 1 : -1;
        const ptrdiff_t onwards = -ptrdiff_t(step) * ptrdiff_t(width); // bottom-up rows
        const uint32_t* here = pixels + rowStart + first;
        for (int rows = 1; rows <= PrefetchRows; ++rows)
            if (unsigned(y + rows * step) < unsigned(height))
                Prefetch(here + rows * onwards);
        runs[count++] = Run{y, first, last, toAway};
    }

    // Joins a run found from parent. A run of one pixel under its parent has but one row to
    // search, onwards: that is done at once, and so on along a line one pixel wide, rather
    // than pushing each pixel of it as a run.
    FILL_INLINE void Take(int y, size_t rowStart, int first, int last, const Run& parent) {
        const int step = y - parent.y;
        Join(y, rowStart, first, last);
        if (first < parent.left || last > parent.right) {
            Push(y, rowStart, first, last, 2 * step);
            return;
        }
        while (first == last) {
            y += step;
            if (unsigned(y) >= unsigned(height))
                return;
            rowStart = RowStart(y);
            const int x = first;
            if (!OpenAt(rowStart + size_t(x)))
                return;
            first = OpenFrom(rowStart, x);
            last = OpenUntil(rowStart, x);
            Join(y, rowStart, first, last);
            if (first != last) {
                Push(y, rowStart, first, last, 2 * step);
                return;
            }
        }
        Push(y, rowStart, first, last, step);
    }

    // Takes every open stretch of row y that touches columns from..to, whole. A short
    // stretch is tested a pixel at a time. A long one is tested in windows of up to 64 pixels
    // at once, with a margin on each side so that most runs' ends are found in the same bits;
    // only a run that reaches a window's edge is followed further.
    FILL_INLINE void SearchRow(int y, int from, int to, const Run& parent) {
        const size_t rowStart = RowStart(y);
        if (from == to) {
            // One pixel: most often the next step along a thin line.
            if (OpenAt(rowStart + size_t(from)))
                Take(y, rowStart, OpenFrom(rowStart, from), OpenUntil(rowStart, from), parent);
            return;
        }
#if FUDEMARU_FILL_SSE2
        if (to - from < ShortStretch && width >= 16) {
            // A few pixels: one window of sixteen around them decides nearly every run.
            int start = from - (16 - ShortStretch) / 2;
            start = start < 0 ? 0 : (start > width - 16 ? width - 16 : start);
            uint64_t open = SixteenBits(test, pixels + rowStart + size_t(start));
            if (FillValueQualifies)
                open &= ~Marks(rowStart + size_t(start), 16);
            const uint64_t closed = ~open & 0xFFFFu;
            uint64_t candidates = open & FirstBits(to - start + 1) & ~BitsBelow(from - start);
            while (candidates) {
                const int bit = LowestBit(candidates);
                const uint64_t before = closed & BitsBelow(bit);
                const uint64_t after = closed >> bit;
                const int first =
                    before ? start + HighestBit(before) + 1 : OpenFrom(rowStart, start);
                const int last =
                    after ? start + bit + LowestBit(after) - 1 : OpenUntil(rowStart, start + 15);
                Take(y, rowStart, first, last, parent);
                if (last >= to)
                    return;
                candidates &= ~FirstBits(last - start + 1);
            }
            return;
        }
#endif
        int x = from;
        int start = from < Margin ? 0 : from - Margin;
        const int end = to + Margin < width - 1 ? to + Margin : width - 1;
        while (x <= to) {
            const int count = end - start + 1 < 64 ? end - start + 1 : 64;
            const uint64_t open = OpenBits(rowStart + size_t(start), count);
            const uint64_t closed = ~open & FirstBits(count);
            const int searchEnd = to - start < count - 1 ? to - start : count - 1;
            uint64_t candidates = open & FirstBits(searchEnd + 1) & ~BitsBelow(x - start);
            x = start + count;
            while (candidates) {
                const int bit = LowestBit(candidates);
                const uint64_t before = closed & BitsBelow(bit);
                const uint64_t after = closed >> bit;
                const int first =
                    before ? start + HighestBit(before) + 1 : OpenFrom(rowStart, start);
                const int last = after ? start + bit + LowestBit(after) - 1
                                       : OpenUntil(rowStart, start + count - 1);
                Take(y, rowStart, first, last, parent);
                if (last >= start + count - 1) {
                    x = last + 2;
                    break;
                }
                candidates &= ~FirstBits(last - start + 1);
            }
            start = x;
        }
    }

    // Searches around runs until none is left. The row a run was found from needs searching
    // only where the run reaches past its parent: the parent's own pixels are in the set.
    FILL_INLINE void Drain() {
        while (count > 0) {
            const Run run = runs[--count];
            const int step = run.toAway > 0 ? 1 : -1;
            if (unsigned(run.y + step) < unsigned(height))
                SearchRow(run.y + step, run.left, run.right, run);
            if (run.toAway != step && unsigned(run.y - step) < unsigned(height))
                SearchRow(run.y - step, run.left, run.right, run);
        }
    }

    // The last x of the marked stretch that begins at marked pixel x.
    FILL_INLINE int MarkedUntil(size_t rowStart, int x) const {
        for (int from = x + 1; from < width; from += 64) {
            const int count = width - from < 64 ? width - from : 64;
            const uint64_t gaps = ~Marks(rowStart + size_t(from), count) & FirstBits(count);
            if (gaps)
                return from + LowestBit(gaps) - 1;
        }
        return width - 1;
    }

    // Searches both neighbouring rows of every marked stretch of the noted rows, until no run
    // is left without room.
    FILL_INLINE void Sweep() {
        while (sweepTop <= sweepBottom) {
            const int from = sweepTop;
            const int to = sweepBottom;
            sweepTop = height;
            sweepBottom = -1;
            for (int y = from; y <= to; ++y) {
                const size_t rowStart = RowStart(y);
                for (int x = 0; x < width;) {
                    const int stretch = width - x < 64 ? width - x : 64;
                    const uint64_t marks = Marks(rowStart + size_t(x), stretch);
                    if (!marks) {
                        x += stretch;
                        continue;
                    }
                    const int first = x + LowestBit(marks);
                    const int last = MarkedUntil(rowStart, first);
                    if (!FillValueQualifies)
                        Mark(rowStart + size_t(first), rowStart + size_t(last), false);
                    const Run marked = {y, first, last, 0};
                    if (y > 0)
                        SearchRow(y - 1, first, last, marked);
                    if (y < height - 1)
                        SearchRow(y + 1, first, last, marked);
                    Drain();
                    x = last + 1;
                }
            }
        }
    }

    FILL_INLINE void FillFrom(int x, int y) {
        const size_t rowStart = RowStart(y);
        // The seed joins without a colour test; its run is searched on both sides in full.
        const int first = OpenFrom(rowStart, x);
        const int last = OpenUntil(rowStart, x);
        const Run none = {y + 1, last + 1, last, 0};
        Take(y, rowStart, first, last, none);
        Drain();
        Sweep();
    }
};

template <typename Test, bool FillValueQualifies>
void FillWith(const Test& test, uint32_t* pixels, int width, int height, uint64_t* visited, int x,
              int y, uint32_t fillValue, RunBlock stack, size_t stackLimit,
              IntRect* paintedBounds) {
    Fill<Test, FillValueQualifies> fill = {
        pixels,         visited, width,      height,     size_t(width) * size_t(height),
        fillValue,      test,    stackLimit, stack.runs, 0,
        stack.capacity, y,       y,          x,          x,
        height,         -1};
    fill.FillFrom(x, y);
    std::free(fill.runs);
    if (paintedBounds)
        *paintedBounds = IntRect{fill.left, fill.top, fill.right + 1, fill.bottom + 1};
}

template <typename Test>
void FillWith(const Test& test, uint32_t* pixels, int width, int height, uint64_t* visited, int x,
              int y, uint32_t fillValue, RunBlock stack, size_t stackLimit,
              IntRect* paintedBounds) {
    if (test.One(fillValue))
        FillWith<Test, true>(test, pixels, width, height, visited, x, y, fillValue, stack,
                             stackLimit, paintedBounds);
    else
        FillWith<Test, false>(test, pixels, width, height, visited, x, y, fillValue, stack,
                              stackLimit, paintedBounds);
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

int FillVisitedWords(int width, int height, size_t* words) {
    size_t pixelCount = 0;
    if (!FillWorkAreaBytes(width, height, 1, &pixelCount))
        return 0;
    *words = pixelCount / 64 + (pixelCount % 64 != 0);
    return 1;
}

int FillFromSeed(uint32_t* pixels, int width, int height, uint64_t* visited, int x, int y,
                 RgbTriple seedColour, int tolerance, uint32_t fillValue, IntRect* paintedBounds,
                 size_t stackLimit) {
    if (paintedBounds)
        *paintedBounds = IntRect{0, 0, 0, 0};
    size_t words = 0;
    if (!pixels || !visited || x < 0 || y < 0 || x >= width || y >= height ||
        !FillVisitedWords(width, height, &words))
        return 0;

    RunBlock stack = {nullptr, FirstStackRuns};
    if (stackLimit != 0 && stackLimit < stack.capacity)
        stack.capacity = stackLimit;
    stack.runs = static_cast<Run*>(std::malloc(stack.capacity * sizeof(Run)));
    if (!stack.runs)
        return 0;

    const uint32_t seed = ToCanvasPixel(seedColour) & 0x00FFFFFFu;
    if (tolerance == 1)
        FillWith(ExactColour(seed), pixels, width, height, visited, x, y, fillValue, stack,
                 stackLimit, paintedBounds);
    else
        FillWith(NearColour(seed, tolerance < 0 ? 0 : (tolerance > 766 ? 766 : tolerance)), pixels,
                 width, height, visited, x, y, fillValue, stack, stackLimit, paintedBounds);
    return 1;
}

int FloodFill(uint32_t* pixels, IntSize surfaceSize, int x, int y, int tolerance,
              uint32_t fillValue, IntRect* paintedBounds) {
    if (paintedBounds)
        *paintedBounds = IntRect{0, 0, 0, 0};
    const int width = surfaceSize.w;
    const int height = surfaceSize.h;
    size_t words = 0;
    if (!pixels || x < 0 || y < 0 || x >= width || y >= height ||
        !FillVisitedWords(width, height, &words) || words > SIZE_MAX / sizeof(uint64_t))
        return 0;
    uint64_t* visited = static_cast<uint64_t*>(std::calloc(words, sizeof(uint64_t)));
    if (!visited)
        return 0;

    const uint32_t seedPixel = pixels[size_t(height - 1 - y) * size_t(width) + size_t(x)];
    const int filled =
        FillFromSeed(pixels, width, height, visited, x, y, FromCanvasPixel(seedPixel), tolerance,
                     fillValue, paintedBounds);
    std::free(visited);
    return filled;
}
