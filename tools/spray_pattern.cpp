#include "tools/spray_pattern.h"

int NextRandom(RandomSequence* sequence) {
    // Unsigned arithmetic wraps modulo 2^32 by definition.
    sequence->state = sequence->state * 214013u + 2531011u;
    return int((sequence->state >> 16) & 0x7FFFu);
}

IntRect SprayRectAround(int cx, int cy, int penWidth) {
    return IntRect{cx - penWidth, cy - penWidth, cx + penWidth - 1, cy + penWidth - 1};
}

int SprayBurstDotCount(int sprayStrength) {
    return sprayStrength < 0 ? 0 : sprayStrength + 1;
}

static int OffsetWithin(int randomNumber, int low, int high) {
    // In 64 bits, so that no square can overflow the side's length.
    const int64_t side = int64_t(high) - int64_t(low) + 1;
    if (side < 1)
        return low;
    return int(int64_t(low) + randomNumber % side);
}

SprayDot PlaceSprayDot(IntRect square, RandomSequence* sequence) {
    const int forY = NextRandom(sequence);
    const int forX = NextRandom(sequence);
    SprayDot dot;
    dot.y = OffsetWithin(forY, square.top, square.bottom);
    dot.x = OffsetWithin(forX, square.left, square.right);
    return dot;
}
