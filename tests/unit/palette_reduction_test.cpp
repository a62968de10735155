#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "export/palette_reduction.h"

namespace {

uint32_t ColourAt(const IndexedPicture& picture, size_t i) {
    return picture.palette[picture.indices[i]];
}

TEST(PaletteReductionTest, FewColoursAreKeptExactlyWhateverTheTopByte) {
    // A drawing: white sheet, black frame, a red stroke; the top byte as GDI and the tools
    // leave it (0 or 0xFF) does not make two colours of one.
    const int w = 5, h = 3;
    std::vector<uint32_t> pixels = {
        0x000000, 0x000000, 0xFF000000, 0x000000,   0x000000,   //
        0x000000, 0xFFFFFF, 0xFF0000,   0xFFFF0000, 0xFF000000, //
        0x000000, 0x000000, 0x000000,   0x000000,   0x000000,
    };
    IndexedPicture picture;
    ASSERT_TRUE(ReduceToPalette(pixels.data(), w, h, w, &picture));
    EXPECT_TRUE(picture.exact);
    EXPECT_EQ(picture.palette.size(), 3u);
    ASSERT_EQ(picture.indices.size(), size_t(w * h));
    for (size_t i = 0; i < pixels.size(); ++i)
        EXPECT_EQ(ColourAt(picture, i), pixels[i] & 0xFFFFFF) << i;
}

TEST(PaletteReductionTest, ExactlyTwoHundredFiftySixColoursStillFit) {
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 256; ++i)
        pixels.push_back(i * 0x010203u);
    IndexedPicture picture;
    ASSERT_TRUE(ReduceToPalette(pixels.data(), 16, 16, 16, &picture));
    EXPECT_TRUE(picture.exact);
    EXPECT_EQ(picture.palette.size(), 256u);
    for (size_t i = 0; i < pixels.size(); ++i)
        EXPECT_EQ(ColourAt(picture, i), pixels[i] & 0xFFFFFF);
}

TEST(PaletteReductionTest, MoreColoursGoToTheNearestWebSafeColour) {
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 257; ++i)
        pixels.push_back(i * 0x010101u + 0x100000u * (i % 3));
    IndexedPicture picture;
    ASSERT_TRUE(ReduceToPalette(pixels.data(), 257, 1, 257, &picture));
    EXPECT_FALSE(picture.exact);
    EXPECT_EQ(picture.palette.size(), 216u);
    std::set<uint32_t> distinct(picture.palette.begin(), picture.palette.end());
    EXPECT_EQ(distinct.size(), 216u);
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint32_t got = ColourAt(picture, i);
        for (int shift = 0; shift < 24; shift += 8) {
            int want = int((pixels[i] >> shift) & 0xFF);
            int have = int((got >> shift) & 0xFF);
            EXPECT_EQ(have % 0x33, 0);
            EXPECT_LE(std::abs(want - have), 0x33 / 2) << "pixel " << i << " shift " << shift;
        }
    }
}

TEST(PaletteReductionTest, WebSafeRoundingAtTheMidpoints) {
    EXPECT_EQ(NearestWebSafeColour(0x000000), 0x000000u);
    EXPECT_EQ(NearestWebSafeColour(0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(NearestWebSafeColour(0x191919), 0x000000u); // 25 is nearer 0 than 51
    EXPECT_EQ(NearestWebSafeColour(0x1A1A1A), 0x333333u); // 26 is nearer 51
    EXPECT_EQ(NearestWebSafeColour(0x80FF01), 0x99FF00u);
    EXPECT_EQ(NearestWebSafeColour(0xFF808080), 0x999999u) << "top byte ignored";
    EXPECT_EQ(WebSafeIndexOf(0x000000), 0);
    EXPECT_EQ(WebSafeIndexOf(0xFFFFFF), 215);
    EXPECT_EQ(WebSafeIndexOf(0xFF0000), 180);
    EXPECT_EQ(WebSafeIndexOf(0x0000FF), 5);
}

TEST(PaletteReductionTest, RowStrideSkipsPaddingAndMayRunBottomUp) {
    // Two rows of two pixels with one padding pixel each; the padding holds a colour that
    // must not reach the palette.
    std::vector<uint32_t> pixels = {0x111111, 0x222222, 0xABCDEF, 0x333333, 0x444444, 0xABCDEF};
    IndexedPicture down;
    ASSERT_TRUE(ReduceToPalette(pixels.data(), 2, 2, 3, &down));
    EXPECT_EQ(down.palette.size(), 4u);
    EXPECT_EQ(ColourAt(down, 0), 0x111111u);
    EXPECT_EQ(ColourAt(down, 3), 0x444444u);

    IndexedPicture up;
    ASSERT_TRUE(ReduceToPalette(pixels.data() + 3, 2, 2, -3, &up));
    EXPECT_EQ(ColourAt(up, 0), 0x333333u);
    EXPECT_EQ(ColourAt(up, 2), 0x111111u);
}

TEST(PaletteReductionTest, EmptyOrInconsistentPicturesAreRefused) {
    uint32_t pixel = 0;
    IndexedPicture picture;
    EXPECT_FALSE(ReduceToPalette(nullptr, 1, 1, 1, &picture));
    EXPECT_FALSE(ReduceToPalette(&pixel, 0, 1, 1, &picture));
    EXPECT_FALSE(ReduceToPalette(&pixel, 1, 0, 1, &picture));
    EXPECT_FALSE(ReduceToPalette(&pixel, 2, 1, 1, &picture)) << "rows overlap";
    EXPECT_TRUE(picture.indices.empty());
}

} // namespace
