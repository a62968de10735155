#pragma once
// The Fill tool over the canvas surface's pixel array.
//
// Pixel layout: 32 bits per pixel, rows bottom-up with no gap between them; picture pixel
// (x, y), y counted from the top, is the word at index (height - 1 - y) * width + x. Blue is
// in bits 0-7, green 8-15, red 16-23 and alpha 24-31. The colour test ignores alpha.

#include <cstddef>
#include <cstdint>

#include "base/app_state.h"
#include "base/colour.h"

// Paints with fillValue the seed (x, y) and every pixel joined to it by up, down, left and
// right steps through pixels whose L1 distance |R - R0| + |G - G0| + |B - B0| from the seed's
// colour is strictly below tolerance. The seed itself is always painted. The test compares
// colours as they were before the fill, so a fill value that itself qualifies changes nothing
// in the set. fillValue is written as it is: the canvas passes ToCanvasPixel(primaryColour),
// which has alpha 255. Pixels outside the set keep every byte, alpha included.
//
// Returns 1 when the fill ran. Returns 0 with nothing painted when the point lies outside
// the surface, the surface is empty or has no pixels, or its work areas cannot be allocated:
// the fill is all or nothing. Its extra memory is one bit per pixel for the visited map and
// a stack of runs that grows as needed; when the stack cannot grow, the fill still completes
// (by searching again around what it painted), only slower.
//
// When paintedBounds is given it receives a rectangle in picture coordinates (right and
// bottom exclusive) that holds every painted pixel, so that the caller repaints and records
// only that part; it is empty (all 0) when nothing was painted.
int FloodFill(uint32_t* pixels, IntSize surfaceSize, int x, int y, int tolerance,
              uint32_t fillValue, IntRect* paintedBounds = nullptr);

// The fill proper, for FloodFill and for callers that own the visited map: one bit per pixel,
// bit (i % 64) of word i / 64 for the pixel at index i of the pixel array, FillVisitedWords
// words all 0 on entry; on return every pixel of the filled set is marked. The point must lie
// inside; seedColour is the seed's colour before the fill. stackLimit caps the run stack at
// that many runs (0: as far as memory allows). Returns 1 when done, 0 with nothing painted
// when the first block of its stack cannot be allocated. paintedBounds as for FloodFill.
int FillFromSeed(uint32_t* pixels, int width, int height, uint64_t* visited, int x, int y,
                 RgbTriple seedColour, int tolerance, uint32_t fillValue,
                 IntRect* paintedBounds = nullptr, size_t stackLimit = 0);

// The 64-bit words of the visited map for width x height pixels. Returns 0 when a size is
// negative or the pixel count does not fit in size_t.
int FillVisitedWords(int width, int height, size_t* words);

// Bytes of a work area of bytesPerPixel bytes for each of width x height pixels, in a type
// that cannot wrap. Returns 0 when a size is negative or the product does not fit in size_t.
int FillWorkAreaBytes(int width, int height, size_t bytesPerPixel, size_t* bytes);
