#include "export/palette_reduction.h"

#include <cstddef>
#include <unordered_map>

namespace {

constexpr int WebSafeLevels = 6;
constexpr int WebSafeStep = 0x33;

int WebSafeLevelOf(uint32_t channel) {
    return int((channel + WebSafeStep / 2) / WebSafeStep);
}

// Tries to keep every colour: 1 when the picture has no more than MaxPaletteSize of them.
int ReduceExactly(const uint32_t* pixels, int width, int height, int rowStride,
                  IndexedPicture* picture) {
    std::unordered_map<uint32_t, uint8_t> indexOf;
    indexOf.reserve(MaxPaletteSize * 2);
    size_t out = 0;
    // Drawings run in long stretches of one colour; those skip the lookup.
    uint32_t lastRgb = 0xFFFFFFFFu; // above every colour, so the first pixel is looked up
    uint8_t lastIndex = 0;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + std::ptrdiff_t(y) * rowStride;
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = row[x] & 0xFFFFFF;
            if (rgb != lastRgb) {
                auto found = indexOf.find(rgb);
                if (found == indexOf.end()) {
                    if (picture->palette.size() == MaxPaletteSize)
                        return 0;
                    found = indexOf.emplace(rgb, uint8_t(picture->palette.size())).first;
                    picture->palette.push_back(rgb);
                }
                lastRgb = rgb;
                lastIndex = found->second;
            }
            picture->indices[out++] = lastIndex;
        }
    }
    return 1;
}

void ReduceToWebSafe(const uint32_t* pixels, int width, int height, int rowStride,
                     IndexedPicture* picture) {
    picture->palette.clear();
    for (int index = 0; index < WebSafeLevels * WebSafeLevels * WebSafeLevels; ++index) {
        uint32_t r = uint32_t(index / 36) * WebSafeStep;
        uint32_t g = uint32_t(index / 6 % 6) * WebSafeStep;
        uint32_t b = uint32_t(index % 6) * WebSafeStep;
        picture->palette.push_back((r << 16) | (g << 8) | b);
    }
    size_t out = 0;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + std::ptrdiff_t(y) * rowStride;
        for (int x = 0; x < width; ++x)
            picture->indices[out++] = uint8_t(WebSafeIndexOf(row[x]));
    }
}

} // namespace

uint32_t NearestWebSafeColour(uint32_t rgb) {
    uint32_t r = uint32_t(WebSafeLevelOf((rgb >> 16) & 0xFF)) * WebSafeStep;
    uint32_t g = uint32_t(WebSafeLevelOf((rgb >> 8) & 0xFF)) * WebSafeStep;
    uint32_t b = uint32_t(WebSafeLevelOf(rgb & 0xFF)) * WebSafeStep;
    return (r << 16) | (g << 8) | b;
}

int WebSafeIndexOf(uint32_t rgb) {
    return WebSafeLevelOf((rgb >> 16) & 0xFF) * 36 + WebSafeLevelOf((rgb >> 8) & 0xFF) * 6 +
           WebSafeLevelOf(rgb & 0xFF);
}

int ReduceToPalette(const uint32_t* pixels, int width, int height, int rowStride,
                    IndexedPicture* picture) {
    picture->palette.clear();
    picture->indices.clear();
    picture->exact = 0;
    if (!pixels || width <= 0 || height <= 0 || (rowStride < width && rowStride > -width))
        return 0;
    picture->indices.resize(size_t(width) * height);
    picture->exact = ReduceExactly(pixels, width, height, rowStride, picture);
    if (!picture->exact)
        ReduceToWebSafe(pixels, width, height, rowStride, picture);
    return 1;
}
