#include "flood_fill_reference.h"

#include <cstdlib>

namespace {

int PixelIndex(int width, int height, int x, int y) {
    return (height - 1 - y) * width + x;
}

bool ReferenceQualifies(uint32_t pixel, int r0, int g0, int b0, int tolerance) {
    const int r = int((pixel >> 16) & 0xFF);
    const int g = int((pixel >> 8) & 0xFF);
    const int b = int(pixel & 0xFF);
    return std::abs(r - r0) + std::abs(g - g0) + std::abs(b - b0) < tolerance;
}

int ReferenceFillFromSeed(uint32_t* pixels, int width, int height, int* visited, int x, int y,
                          int r0, int g0, int b0, int tolerance, uint32_t fillValue) {
    int* stack = static_cast<int*>(std::malloc(size_t(width) * size_t(height) * 2 * sizeof(int)));
    if (!stack)
        return 0;
    int top = 0;
    stack[top * 2] = x;
    stack[top * 2 + 1] = y;
    ++top;
    visited[PixelIndex(width, height, x, y)] = 1;
    pixels[PixelIndex(width, height, x, y)] = fillValue;

    while (top > 0) {
        --top;
        const int px = stack[top * 2];
        const int py = stack[top * 2 + 1];
        const int neighbours[4][2] = {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}};
        for (const auto& n : neighbours) {
            const int nx = n[0];
            const int ny = n[1];
            if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                continue;
            const int index = PixelIndex(width, height, nx, ny);
            if (visited[index] || !ReferenceQualifies(pixels[index], r0, g0, b0, tolerance))
                continue;
            visited[index] = 1;
            pixels[index] = fillValue;
            stack[top * 2] = nx;
            stack[top * 2 + 1] = ny;
            ++top;
        }
    }
    std::free(stack);
    return 1;
}

} // namespace

int ReferenceFloodFill(uint32_t* pixels, int width, int height, int x, int y, int tolerance,
                       uint32_t fillValue) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    int* visited = static_cast<int*>(std::calloc(size_t(width) * size_t(height), sizeof(int)));
    if (!visited)
        return 0;
    const uint32_t seed = pixels[PixelIndex(width, height, x, y)];
    ReferenceFillFromSeed(pixels, width, height, visited, x, y, int((seed >> 16) & 0xFF),
                          int((seed >> 8) & 0xFF), int(seed & 0xFF), tolerance, fillValue);
    std::free(visited);
    return 1;
}
