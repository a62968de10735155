// The program's fill side by side with the plain reference the unit tests compare it with and,
// when the build found it, OpenCV's cv::floodFill: the same pictures, the same pixel buffer,
// 4-connectivity. Every case first checks which set each contender paints, then times them in
// interleaved rounds (the order rotates every round, so machine noise hits all alike) and
// prints the medians, pixels filled per second, the ratios and the peak extra heap memory.
//
// Pixel layout for both: the canvas's own buffer of 32-bit BGRA words in bottom-up rows.
// cv::floodFill takes 1- or 3-channel images only, so for the exact-colour cases the same
// buffer is wrapped as a CV_32SC1 Mat (one int per pixel, rows in memory order, the seed at
// memory row height - 1 - y); every picture here has alpha 255, so comparing whole words is
// comparing colours. OpenCV's range fill compares channels, so the gradient case gives it a
// CV_8UC3 copy of the picture (made before the clock starts) with a fixed range of 19 on each
// channel: its set is then a cube around the seed's colour, the program's an L1 ball inside it.
//
// Usage: fudemaru_fill_bench [rounds [case]]: rounds default 15; case, part of a case's name,
// runs only the cases whose names hold it.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "fill_test_images.h"
#include "flood_fill_reference.h"
#include "tools/flood_fill.h"

#if FUDEMARU_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#if defined(__GLIBC__)
#include <malloc.h>
// Every heap block of the process passes through here, OpenCV's included, so the bench can
// report the peak extra heap memory of one call: live bytes are counted with the allocator's
// own block sizes and the high-water mark is reset before the call.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}
namespace {
size_t liveBytes = 0;
size_t peakBytes = 0;
void* Counted(void* block) {
    if (block) {
        liveBytes += malloc_usable_size(block);
        peakBytes = std::max(peakBytes, liveBytes);
    }
    return block;
}
void Uncount(void* block) {
    if (block)
        liveBytes -= malloc_usable_size(block);
}
} // namespace
extern "C" {
void* malloc(size_t size) {
    return Counted(__libc_malloc(size));
}
void* calloc(size_t count, size_t size) {
    return Counted(__libc_calloc(count, size));
}
void* realloc(void* block, size_t size) {
    Uncount(block);
    void* moved = __libc_realloc(block, size);
    if (!moved && size != 0)
        return Counted(block); // the old block stays
    return Counted(moved);
}
void free(void* block) {
    Uncount(block);
    __libc_free(block);
}
void* memalign(size_t alignment, size_t size) {
    return Counted(__libc_memalign(alignment, size));
}
void* aligned_alloc(size_t alignment, size_t size) {
    return Counted(__libc_memalign(alignment, size));
}
int posix_memalign(void** block, size_t alignment, size_t size) {
    *block = Counted(__libc_memalign(alignment, size));
    return *block || size == 0 ? 0 : 12; // ENOMEM
}
}
const bool MemoryCounted = true;
#else
namespace {
size_t liveBytes = 0;
size_t peakBytes = 0;
} // namespace
const bool MemoryCounted = false;
#endif

namespace {

const uint32_t FillValue = 0xFF123456u;
const uint32_t White = 0xFFFFFFFFu;
const uint32_t Black = 0xFF000000u;

struct FillCase {
    std::string name;
    TestImage picture;
    int x;
    int y;
    int tolerance;
};

uint32_t Rgb(int r, int g, int b) {
    return 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

// The new sheet: white with a one-pixel black frame.
TestImage Sheet(int width, int height) {
    TestImage image = UniformImage(width, height, White);
    for (int x = 0; x < width; ++x)
        PixelAt(image, x, 0) = PixelAt(image, x, height - 1) = Black;
    for (int y = 0; y < height; ++y)
        PixelAt(image, 0, y) = PixelAt(image, width - 1, y) = Black;
    return image;
}

// White with probability percent %, else black: above the percolation threshold most white
// pixels form one ragged region full of holes.
TestImage TwoColourNoise(int width, int height, int percent, std::mt19937& random) {
    TestImage image = UniformImage(width, height, Black);
    for (uint32_t& pixel : image.pixels)
        if (int(random() % 100) < percent)
            pixel = White;
    return image;
}

// Red rises one step every 64 pixels to the right, green every 64 pixels down, blue falls
// along the diagonal: at tolerance 20 the fill covers a few million pixels around the seed.
TestImage Gradient(int width, int height) {
    TestImage image = UniformImage(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PixelAt(image, x, y) = Rgb(x / 64, y / 64, 255 - (x + y) / 128);
    return image;
}

// The seed: the middle, or the nearest pixel to its right that is not black.
FillCase Case(const char* name, TestImage picture, int tolerance) {
    int x = picture.width / 2;
    const int y = picture.height / 2;
    while (PixelAt(picture, x, y) == Black)
        ++x;
    return FillCase{name, std::move(picture), x, y, tolerance};
}

std::vector<FillCase> Cases() {
    std::mt19937 random(4096);
    std::vector<FillCase> cases;
    cases.push_back(Case("uniform 4096x4096", UniformImage(4096, 4096, White), 1));
    cases.push_back(Case("maze 4096x4096", MazeImage(4096, 4096, Black, White, 0, random), 1));
    cases.push_back(Case("noise 65% 4096x4096", TwoColourNoise(4096, 4096, 65, random), 1));
    cases.push_back(Case("sheet 680x480", Sheet(680, 480), 1));
    cases.push_back(Case("uniform 4000x3000", UniformImage(4000, 3000, White), 1));
    cases.push_back(Case("gradient 4096x4096 tol 20", Gradient(4096, 4096), 20));
    return cases;
}

// One contender: fills work (a fresh copy of the case's picture) and reports nothing else.
struct Contender {
    const char* name;
    void (*prepare)(const FillCase& fill, TestImage& work);
    int (*run)(const FillCase& fill, TestImage& work);
};

void CopyPicture(const FillCase& fill, TestImage& work) {
    std::memcpy(work.pixels.data(), fill.picture.pixels.data(),
                fill.picture.pixels.size() * sizeof(uint32_t));
}

int RunProgram(const FillCase& fill, TestImage& work) {
    return FloodFill(work.pixels.data(), IntSize{work.width, work.height}, fill.x, fill.y,
                     fill.tolerance, FillValue);
}

int RunReference(const FillCase& fill, TestImage& work) {
    return ReferenceFloodFill(work.pixels.data(), work.width, work.height, fill.x, fill.y,
                              fill.tolerance, FillValue);
}

#if FUDEMARU_BENCH_OPENCV
// The gradient's three-channel copy, made outside the clock; painted pixels become FillValue's
// blue, green and red.
cv::Mat colourCopy;

bool RangeFill(const FillCase& fill) {
    return fill.tolerance > 1;
}

void PrepareOpenCv(const FillCase& fill, TestImage& work) {
    CopyPicture(fill, work);
    if (RangeFill(fill)) {
        cv::Mat bgra(work.height, work.width, CV_8UC4, work.pixels.data());
        cv::cvtColor(bgra, colourCopy, cv::COLOR_BGRA2BGR);
    }
}

int RunOpenCv(const FillCase& fill, TestImage& work) {
    const cv::Point seed(fill.x, work.height - 1 - fill.y);
    if (RangeFill(fill)) {
        const double range = fill.tolerance - 1;
        const cv::Scalar newVal(FillValue & 0xFF, (FillValue >> 8) & 0xFF,
                                (FillValue >> 16) & 0xFF);
        return cv::floodFill(colourCopy, seed, newVal, nullptr, cv::Scalar::all(range),
                             cv::Scalar::all(range), 4 | cv::FLOODFILL_FIXED_RANGE);
    }
    cv::Mat words(work.height, work.width, CV_32SC1, work.pixels.data());
    return cv::floodFill(words, seed, cv::Scalar(double(int32_t(FillValue))), nullptr, cv::Scalar(),
                         cv::Scalar(), 4);
}

// OpenCV's painted set as the program's layout: the three-channel copy turned back to words.
void OpenCvResult(const FillCase& fill, TestImage& work) {
    if (!RangeFill(fill))
        return;
    for (int row = 0; row < work.height; ++row) {
        const uint8_t* bgr = colourCopy.ptr<uint8_t>(row);
        for (int x = 0; x < work.width; ++x, bgr += 3)
            work.pixels[size_t(row) * size_t(work.width) + size_t(x)] = Rgb(bgr[2], bgr[1], bgr[0]);
    }
}
#endif

size_t CountPainted(const TestImage& image) {
    return size_t(std::count(image.pixels.begin(), image.pixels.end(), FillValue));
}

// Whether every pixel that inner painted is painted in outer too.
bool Contains(const TestImage& outer, const TestImage& inner) {
    for (size_t i = 0; i < inner.pixels.size(); ++i)
        if (inner.pixels[i] == FillValue && outer.pixels[i] != FillValue)
            return false;
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Outcome {
    size_t painted = 0;
    size_t peakExtraBytes = 0;
    std::vector<double> milliseconds;
};

// Runs one contender once on a fresh copy, with its heap high-water mark, and leaves its
// result in work for the set check.
void CheckRun(const Contender& contender, const FillCase& fill, TestImage& work, Outcome& outcome) {
    contender.prepare(fill, work);
    const size_t before = liveBytes;
    peakBytes = liveBytes;
    contender.run(fill, work);
    outcome.peakExtraBytes = peakBytes - before;
#if FUDEMARU_BENCH_OPENCV
    if (contender.run == RunOpenCv)
        OpenCvResult(fill, work);
#endif
    outcome.painted = CountPainted(work);
}

std::string Megabytes(size_t bytes) {
    if (!MemoryCounted)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f MB", double(bytes) / 1e6);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string only = argc > 2 ? argv[2] : "";
    std::vector<Contender> contenders = {{"FloodFill", CopyPicture, RunProgram},
                                         {"reference", CopyPicture, RunReference}};
#if FUDEMARU_BENCH_OPENCV
    contenders.push_back({"cv::floodFill", PrepareOpenCv, RunOpenCv});
    std::printf("OpenCV %s: cv::floodFill takes part.\n", CV_VERSION);
#else
    std::printf("OpenCV was not found when this benchmark was built: cv::floodFill does not take\n"
                "part (scripts/bench-fill.sh installs it and rebuilds).\n");
#endif
    std::printf("%d interleaved rounds per case; times are medians, throughput is pixels filled "
                "per second;\nratio > 1 means FloodFill is faster.\n\n",
                rounds);

    const size_t count = contenders.size();
    int failures = 0;
    for (const FillCase& fill : Cases()) {
        if (fill.name.find(only) == std::string::npos)
            continue;
        TestImage work = fill.picture;
        TestImage ours = fill.picture;
        std::vector<Outcome> outcomes(count);
        const int failuresBefore = failures;
        CheckRun(contenders[0], fill, ours, outcomes[0]);
        for (size_t c = 1; c < count; ++c) {
            CheckRun(contenders[c], fill, work, outcomes[c]);
            // The same set, or for OpenCV's range fill a set that holds the program's.
            const bool sameSet = fill.tolerance == 1 || contenders[c].run == RunReference;
            if (sameSet ? work.pixels != ours.pixels : !Contains(work, ours)) {
                std::printf("%s: %s painted %s FloodFill's set.\n", fill.name.c_str(),
                            contenders[c].name, sameSet ? "another set than" : "a set without");
                ++failures;
            }
        }
        if (failures != failuresBefore) {
            std::printf("%s: not timed.\n\n", fill.name.c_str());
            continue;
        }
        for (int round = 0; round < rounds; ++round) {
            for (size_t i = 0; i < count; ++i) {
                const Contender& contender = contenders[(size_t(round) + i) % count];
                contender.prepare(fill, work);
                const auto start = std::chrono::steady_clock::now();
                contender.run(fill, work);
                const auto end = std::chrono::steady_clock::now();
                outcomes[(size_t(round) + i) % count].milliseconds.push_back(
                    std::chrono::duration<double, std::milli>(end - start).count());
            }
        }

        std::printf("%s (seed %d, %d; tolerance %d)\n", fill.name.c_str(), fill.x, fill.y,
                    fill.tolerance);
        std::printf("  %-14s %12s %10s %12s %14s %12s\n", "contender", "filled", "median",
                    "Mpixels/s", "FloodFill is", "peak extra");
        const double ourRate = double(outcomes[0].painted) / Median(outcomes[0].milliseconds);
        for (size_t c = 0; c < count; ++c) {
            const double ms = Median(outcomes[c].milliseconds);
            const double rate = double(outcomes[c].painted) / ms;
            char ratio[32] = "";
            if (c > 0)
                std::snprintf(ratio, sizeof ratio, "%.2fx", ourRate / rate);
            std::printf("  %-14s %12zu %8.2f ms %12.1f %14s %12s\n", contenders[c].name,
                        outcomes[c].painted, ms, rate / 1e3, ratio,
                        Megabytes(outcomes[c].peakExtraBytes).c_str());
        }
        if (fill.tolerance != 1 && count > 2)
            std::printf("  FloodFill: L1 distance below %d from the seed's colour; cv::floodFill: "
                        "each channel within %d of it.\n",
                        fill.tolerance, fill.tolerance - 1);
        std::printf("\n");
    }
    return failures == 0 ? 0 : 1;
}
