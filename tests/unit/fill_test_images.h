#pragma once
// Pictures for exercising the fill: flat, noisy, mazes and regions that meet only at
// corners. Pixels are laid out like the canvas surface (bottom-up rows). All of them come
// from a seeded std::mt19937 and plain modulo, so every platform makes the same pictures.

#include <cstdint>
#include <random>
#include <vector>

struct TestImage {
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

uint32_t& PixelAt(TestImage& image, int x, int y);
uint32_t PixelAt(const TestImage& image, int x, int y);

uint32_t RandomPixel(std::mt19937& random);

TestImage UniformImage(int width, int height, uint32_t pixel);

// Each pixel one of paletteSize random colours, each channel moved by up to jitter.
TestImage NoiseImage(int width, int height, int paletteSize, int jitter, std::mt19937& random);

// Each pixel light (channels 200 to 215) with probability lightPercent %, else dark (0 to
// 15): a wide tolerance over the light pixels fills a large ragged region full of holes.
TestImage DappledImage(int width, int height, int lightPercent, std::mt19937& random);

// A maze of one-pixel corridors and walls; openingsPercent % of the walls left standing
// between two corridors are knocked through as well, so the maze has loops.
TestImage MazeImage(int width, int height, uint32_t wall, uint32_t path, int openingsPercent,
                    std::mt19937& random);

// Blocks of random colours from a small palette laid out as a checkerboard, so that blocks
// of equal colour touch only at their corners.
TestImage CornerImage(int width, int height, int blockSize, std::mt19937& random);

// Gives every pixel a random alpha byte, keeping its colour.
void ScrambleAlpha(TestImage& image, std::mt19937& random);
