#pragma once
// Colour reduction for formats that hold at most 256 colours (GIF). A picture painted with
// few colours, as most drawings are, keeps every colour exactly; a picture with more (a loaded
// photograph, a soft spray) is mapped to the 216 web-safe colours, each channel to the nearest
// multiple of 0x33.

#include <cstdint>
#include <vector>

constexpr int MaxPaletteSize = 256;

struct IndexedPicture {
    std::vector<uint32_t> palette; // 0xRRGGBB, at most MaxPaletteSize entries
    std::vector<uint8_t> indices;  // width x height, rows in the order of the source
    int exact = 0;                 // 1 when every pixel kept its colour
};

// Reduces 32-bit pixels (blue in the low byte, the top byte ignored) to palette indices.
// `rowStride` is the distance between rows in pixels, negative for rows stored bottom-up.
// Returns 0 for an empty picture.
int ReduceToPalette(const uint32_t* pixels, int width, int height, int rowStride,
                    IndexedPicture* picture);

// The web-safe colour nearest to a colour, and its index among the 216.
uint32_t NearestWebSafeColour(uint32_t rgb);
int WebSafeIndexOf(uint32_t rgb);
