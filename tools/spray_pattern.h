#pragma once
// Where the spray's dots land. The program keeps its own random sequence instead of the C
// runtime's rand, so the dots are the same on every run and with every runtime.

#include <cstdint>

#include "base/app_state.h"

// The spray's random sequence: linear congruential, state * 214013 + 2531011 modulo 2^32.
// A default-made sequence starts at state 1, as every run of the program does; the program
// keeps one for the whole run and never seeds it again.
struct RandomSequence {
    uint32_t state = 1;
};

// Advances the sequence and returns bits 16 to 30 of the new state: 0 to 32767.
int NextRandom(RandomSequence* sequence);

// The square a burst sprays into, for the cursor point (cx, cy) and the pen width w, all four
// sides inclusive: left cx - w, top cy - w, right cx + w - 1, bottom cy + w - 1. It is 2w
// pixels on each side, reaching w pixels left of and above the cursor point and w - 1 right
// of and below it.
IntRect SprayRectAround(int cx, int cy, int penWidth);

// Number of dots one burst sets: sprayStrength + 1 (a strength below 0 sets none).
int SprayBurstDotCount(int sprayStrength);

struct SprayDot {
    int x;
    int y;
};

// Draws the next two numbers of the sequence, the first for y and the second for x, and
// places the dot at top + first mod height, left + second mod width of the inclusive square.
// A square with a side of less than one pixel puts the dot on its left or top edge (both
// numbers are still drawn), so no division by zero can happen.
SprayDot PlaceSprayDot(IntRect square, RandomSequence* sequence);
