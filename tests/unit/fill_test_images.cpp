#include "fill_test_images.h"

#include <utility>

namespace {

int Below(std::mt19937& random, int limit) {
    return int(random() % uint32_t(limit));
}

uint32_t Rgb(int r, int g, int b) {
    return 0xFF000000u | (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) |
           uint32_t(b & 0xFF);
}

int Clamp255(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

} // namespace

uint32_t& PixelAt(TestImage& image, int x, int y) {
    return image.pixels[size_t(image.height - 1 - y) * size_t(image.width) + size_t(x)];
}

uint32_t PixelAt(const TestImage& image, int x, int y) {
    return image.pixels[size_t(image.height - 1 - y) * size_t(image.width) + size_t(x)];
}

uint32_t RandomPixel(std::mt19937& random) {
    return uint32_t(random());
}

TestImage UniformImage(int width, int height, uint32_t pixel) {
    return TestImage{width, height, std::vector<uint32_t>(size_t(width) * size_t(height), pixel)};
}

TestImage NoiseImage(int width, int height, int paletteSize, int jitter, std::mt19937& random) {
    std::vector<uint32_t> palette;
    for (int i = 0; i < paletteSize; ++i)
        palette.push_back(RandomPixel(random));
    TestImage image = UniformImage(width, height, 0);
    for (uint32_t& pixel : image.pixels) {
        const uint32_t base = palette[size_t(Below(random, paletteSize))];
        int channels[3] = {int((base >> 16) & 0xFF), int((base >> 8) & 0xFF), int(base & 0xFF)};
        for (int& c : channels)
            c = Clamp255(c + Below(random, 2 * jitter + 1) - jitter);
        pixel = Rgb(channels[0], channels[1], channels[2]);
    }
    return image;
}

TestImage DappledImage(int width, int height, int lightPercent, std::mt19937& random) {
    TestImage image = UniformImage(width, height, 0);
    for (uint32_t& pixel : image.pixels) {
        const int base = Below(random, 100) < lightPercent ? 200 : 0;
        pixel = Rgb(base + Below(random, 16), base + Below(random, 16), base + Below(random, 16));
    }
    return image;
}

TestImage MazeImage(int width, int height, uint32_t wall, uint32_t path, int openingsPercent,
                    std::mt19937& random) {
    // Corridor cells sit at even coordinates; the pixels between two cells are walls until
    // the walk carves through them.
    TestImage image = UniformImage(width, height, wall);
    const int cellsAcross = (width + 1) / 2;
    const int cellsDown = (height + 1) / 2;
    std::vector<uint8_t> reached(size_t(cellsAcross) * size_t(cellsDown), 0);
    std::vector<std::pair<int, int>> trail;
    trail.push_back({0, 0});
    reached[0] = 1;
    PixelAt(image, 0, 0) = path;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!trail.empty()) {
        const int cx = trail.back().first;
        const int cy = trail.back().second;
        int open[4];
        int openCount = 0;
        for (int d = 0; d < 4; ++d) {
            const int nx = cx + steps[d][0];
            const int ny = cy + steps[d][1];
            if (nx >= 0 && ny >= 0 && nx < cellsAcross && ny < cellsDown &&
                !reached[size_t(ny) * size_t(cellsAcross) + size_t(nx)])
                open[openCount++] = d;
        }
        if (openCount == 0) {
            trail.pop_back();
            continue;
        }
        const int d = open[Below(random, openCount)];
        const int nx = cx + steps[d][0];
        const int ny = cy + steps[d][1];
        reached[size_t(ny) * size_t(cellsAcross) + size_t(nx)] = 1;
        PixelAt(image, cx * 2 + steps[d][0], cy * 2 + steps[d][1]) = path;
        PixelAt(image, nx * 2, ny * 2) = path;
        trail.push_back({nx, ny});
    }
    if (openingsPercent > 0) {
        // Walls between two horizontally or vertically adjacent cells.
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if ((x % 2) == (y % 2))
                    continue;
                if (PixelAt(image, x, y) == wall && Below(random, 100) < openingsPercent)
                    PixelAt(image, x, y) = path;
            }
        }
    }
    return image;
}

TestImage CornerImage(int width, int height, int blockSize, std::mt19937& random) {
    const uint32_t palette[3] = {Rgb(250, 250, 250), Rgb(10, 10, 10), RandomPixel(random)};
    const int colours = 2 + Below(random, 2);
    TestImage image = UniformImage(width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int parity = (x / blockSize + y / blockSize) % 2;
            // Odd blocks take any colour but the one of the even blocks, so equal colours
            // meet only at block corners.
            PixelAt(image, x, y) =
                parity == 0 ? palette[0] : palette[1 + (x / blockSize) % (colours - 1)];
        }
    }
    return image;
}

void ScrambleAlpha(TestImage& image, std::mt19937& random) {
    for (uint32_t& pixel : image.pixels)
        pixel = (pixel & 0x00FFFFFFu) | (uint32_t(random() & 0xFF) << 24);
}
