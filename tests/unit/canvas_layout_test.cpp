// The bottom-up pixel layout of the canvas surface and the sizes a surface may have.
#include <gtest/gtest.h>

#include "base/canvas_layout.h"

namespace {

TEST(CanvasLayoutTest, RowZeroIsTheLastRowInMemory) {
    const IntSize size = {3, 2};
    EXPECT_EQ(CanvasPixelIndex(0, 1, size), 0u) << "bottom-left pixel comes first";
    EXPECT_EQ(CanvasPixelIndex(2, 1, size), 2u);
    EXPECT_EQ(CanvasPixelIndex(0, 0, size), 3u) << "the top row follows the bottom row";
    EXPECT_EQ(CanvasPixelIndex(2, 0, size), 5u);
    // A large surface does not wrap in int arithmetic.
    EXPECT_EQ(CanvasPixelIndex(32766, 0, {32767, 32767}), size_t(32766) + size_t(32766) * 32767);
}

TEST(CanvasLayoutTest, SurfacesFromOneTo32767PixelsASideAreAddressable) {
    EXPECT_EQ(CanvasSizeIsAddressable({1, 1}), 1);
    EXPECT_EQ(CanvasSizeIsAddressable({680, 480}), 1);
    EXPECT_EQ(CanvasSizeIsAddressable({32767, 32767}), 1);
    EXPECT_EQ(CanvasSizeIsAddressable({0, 480}), 0);
    EXPECT_EQ(CanvasSizeIsAddressable({680, 0}), 0);
    EXPECT_EQ(CanvasSizeIsAddressable({-5, 480}), 0);
    EXPECT_EQ(CanvasSizeIsAddressable({100000, 480}), 0);
    EXPECT_EQ(CanvasSizeIsAddressable({680, 32768}), 0);
}

} // namespace
