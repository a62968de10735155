#pragma once
// The Fill tool over the canvas surface's pixel array.
//
// Pixel layout: 32 bits per pixel, rows bottom-up with no gap between them; picture pixel
// (x, y), y counted from the top, is the word at index (height - 1 - y) * width + x. Blue is
// in bits 0-7, green 8-15, red 16-23 and alpha 24-31. The colour test ignores alpha.

#include <cstddef>
#include <cstdint>

#include "app/app_state.h"
#include "app/colour.h"

// Paints with fillValue the seed (x, y) and every pixel joined to it by up, down, left and
// right steps through pixels whose L1 distance |R - R0| + |G - G0| + |B - B0| from the seed's
// colour is strictly below tolerance. The seed itself is always painted. The test compares
// colours as they were before the fill, so a fill value that itself qualifies changes nothing
// in the set. fillValue is written as it is: the canvas passes ToCanvasPixel(primaryColour),
// which has alpha 255. Pixels outside the set keep every byte, alpha included.
//
// Returns 1 when the fill ran. Returns 0 with nothing painted when the point lies outside
// the surface, the surface is empty or has no pixels, or a work area cannot be allocated:
// the fill is all or nothing.
//
// When paintedBounds is given it receives a rectangle in picture coordinates (right and
// bottom exclusive) that holds every painted pixel, so that the caller repaints and records
// only that part; it is empty (all 0) when nothing was painted.
int FloodFill(uint32_t* pixels, IntSize surfaceSize, int x, int y, int tolerance,
              uint32_t fillValue, IntRect* paintedBounds = nullptr);

// The fill proper, for FloodFill and for callers that own the visited map. visited holds one
// byte per pixel, indexed like the pixels and all 0 on entry; on return every pixel of the
// filled set is marked 1. The point must lie inside; seedColour is the seed's colour before
// the fill. Returns 1 when done, 0 with nothing painted when its work stack cannot be
// allocated. paintedBounds as for FloodFill.
int FillFromSeed(uint32_t* pixels, int width, int height, uint8_t* visited, int x, int y,
                 RgbTriple seedColour, int tolerance, uint32_t fillValue,
                 IntRect* paintedBounds = nullptr);

// Bytes of a work area of bytesPerPixel bytes for each of width x height pixels, in a type
// that cannot wrap. Returns 0 when a size is negative or the product does not fit in size_t.
int FillWorkAreaBytes(int width, int height, size_t bytesPerPixel, size_t* bytes);
