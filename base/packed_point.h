#pragma once
#include <cstdint>

// A point packed the way Windows packs mouse positions: x in the low 16 bits, y in the high
// 16 bits, both signed.
typedef int32_t PackedPoint;

inline PackedPoint PackPoint(int x, int y) {
    return PackedPoint((uint32_t(x) & 0xFFFFu) | ((uint32_t(y) & 0xFFFFu) << 16));
}

inline int PackedX(PackedPoint p) {
    return int(int16_t(uint16_t(uint32_t(p) & 0xFFFFu)));
}
inline int PackedY(PackedPoint p) {
    return int(int16_t(uint16_t(uint32_t(p) >> 16)));
}
