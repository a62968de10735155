#include <gtest/gtest.h>

#include "base/colour.h"
#include "base/packed_point.h"

namespace {

TEST(ColourTest, GdiValueHasRedInTheLowestByte) {
    EXPECT_EQ(ToColorRef({0, 0, 0}), 0x000000u);
    EXPECT_EQ(ToColorRef({255, 0, 0}), 0x0000FFu);
    EXPECT_EQ(ToColorRef({0, 255, 0}), 0x00FF00u);
    EXPECT_EQ(ToColorRef({0, 0, 255}), 0xFF0000u);
    EXPECT_EQ(ToColorRef({51, 0, 0}), 0x000033u);
    EXPECT_EQ(ToColorRef({12, 34, 56}), 12u + 34u * 256u + 56u * 65536u);
}

TEST(ColourTest, CanvasPixelHasBlueInTheLowestByteAndFullAlpha) {
    EXPECT_EQ(ToCanvasPixel({0, 0, 0}), 0xFF000000u);
    EXPECT_EQ(ToCanvasPixel({255, 255, 255}), 0xFFFFFFFFu);
    EXPECT_EQ(ToCanvasPixel({255, 0, 0}), 0xFFFF0000u);
    EXPECT_EQ(ToCanvasPixel({0, 0, 255}), 0xFF0000FFu);
    EXPECT_EQ(ToCanvasPixel({12, 34, 56}), 0xFF000000u + 12u * 65536u + 34u * 256u + 56u);
}

TEST(ColourTest, OnlyTheLowByteOfEachComponentCounts) {
    EXPECT_EQ(ToColorRef({256 + 1, 512 + 2, -1}), 0xFF0201u);
    EXPECT_EQ(ToCanvasPixel({256 + 1, 512 + 2, -1}), 0xFF0102FFu);
}

TEST(ColourTest, ConversionsRoundTrip) {
    for (RgbTriple c : {RgbTriple{0, 0, 0}, RgbTriple{255, 255, 255}, RgbTriple{1, 2, 3},
                        RgbTriple{210, 0, 210}}) {
        EXPECT_EQ(FromColorRef(ToColorRef(c)), c);
        EXPECT_EQ(FromCanvasPixel(ToCanvasPixel(c)), c);
    }
    // The alpha byte of a pixel carries no colour.
    EXPECT_EQ(FromCanvasPixel(0x00102030u), (RgbTriple{0x10, 0x20, 0x30}));
}

TEST(PackedPointTest, XIsLowYIsHighBothSigned) {
    PackedPoint p = PackPoint(100, 50);
    EXPECT_EQ(uint32_t(p), 0x00320064u);
    EXPECT_EQ(PackedX(p), 100);
    EXPECT_EQ(PackedY(p), 50);

    PackedPoint negative = PackPoint(-3, -32768);
    EXPECT_EQ(PackedX(negative), -3);
    EXPECT_EQ(PackedY(negative), -32768);
    EXPECT_EQ(uint32_t(negative), 0x8000FFFDu);

    // Only 16 bits per coordinate are kept.
    EXPECT_EQ(PackedX(PackPoint(32768, 0)), -32768);
    EXPECT_EQ(PackedX(PackPoint(65536 + 7, 0)), 7);
}

} // namespace
