#pragma once
// The fill exactly as the program first described it: one int per pixel for the visited map,
// a work stack of (x, y) pairs with room for every pixel, pixels painted as they are pushed,
// neighbours examined right, left, below, above. Slow and plain on purpose: the tests compare
// the real fill against it, and the benchmarks time both.

#include <cstdint>

int ReferenceFloodFill(uint32_t* pixels, int width, int height, int x, int y, int tolerance,
                       uint32_t fillValue);
