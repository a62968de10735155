#include <gtest/gtest.h>

#include <vector>

#include "base/colour.h"
#include "palette/swatches.h"

namespace {

RgbTriple Entry(int row, int column) {
    return FromColorRef(SwatchTable[row][column]);
}

// The table rebuilt from its level rules: the levels L and the falling series.
const int Levels[] = {30, 60, 90, 120, 150, 180};
const int Falling[] = {255, 210, 180, 150, 120, 90, 60, 30};

std::vector<RgbTriple> RowFromRules(int row) {
    std::vector<RgbTriple> colours;
    auto each_level = [&](auto make) {
        for (int l : Levels)
            colours.push_back(make(l));
    };
    auto each_falling = [&](auto make) {
        for (int f : Falling)
            colours.push_back(make(f));
    };
    switch (row) {
    case 0:
        colours.push_back({0, 0, 0});
        colours.push_back({255, 255, 255});
        each_level([](int l) { return RgbTriple{l, l, l}; });
        each_falling([](int f) { return RgbTriple{f, 0, 0}; });
        each_falling([](int f) { return RgbTriple{0, f, 0}; });
        each_falling([](int f) { return RgbTriple{f, 0, f}; });
        break;
    case 1:
        each_falling([](int f) { return RgbTriple{0, 0, f}; });
        each_falling([](int f) { return RgbTriple{f, f, 0}; });
        each_falling([](int f) { return RgbTriple{0, f, f}; });
        for (int g : {30, 60, 90, 120, 150, 180, 210, 230})
            colours.push_back({255, g, 0});
        break;
    case 2:
        each_level([](int l) { return RgbTriple{255, l, l}; });
        each_level([](int l) { return RgbTriple{l, 255, l}; });
        each_level([](int l) { return RgbTriple{255, l, 255}; });
        each_level([](int l) { return RgbTriple{l, l, 255}; });
        each_level([](int l) { return RgbTriple{255, 255, l}; });
        colours.push_back({30, 0, 255});
        colours.push_back({60, 0, 255});
        break;
    case 3:
        each_level([](int l) { return RgbTriple{l, 255, 255}; });
        each_level([](int l) { return RgbTriple{255, 0, l}; });
        each_level([](int l) { return RgbTriple{l, 255, 0}; });
        each_level([](int l) { return RgbTriple{0, 255, l}; });
        each_level([](int l) { return RgbTriple{0, l, 255}; });
        colours.push_back({90, 0, 255});
        colours.push_back({120, 0, 255});
        break;
    default:
        colours.assign(32, RgbTriple{255, 255, 255});
        break;
    }
    return colours;
}

TEST(SwatchTableTest, EveryEntryFollowsTheLevelRulesOfItsRow) {
    for (int row = 0; row < SwatchRows; ++row) {
        std::vector<RgbTriple> expected = RowFromRules(row);
        ASSERT_EQ(expected.size(), size_t(SwatchColumns)) << "row " << row;
        for (int column = 0; column < SwatchColumns; ++column) {
            RgbTriple got = Entry(row, column);
            RgbTriple want = expected[column];
            EXPECT_TRUE(got == want) << "row " << row << " column " << column << ": " << got.r
                                     << "," << got.g << "," << got.b;
        }
    }
}

TEST(SwatchTableTest, EntriesAreColorRefsWithRedInTheLowestByte) {
    EXPECT_EQ(SwatchTable[0][8], 0x0000FFu) << "pure red";
    EXPECT_EQ(SwatchTable[1][0], 0xFF0000u) << "pure blue";
    EXPECT_EQ(SwatchTable[1][31], 0x00E6FFu) << "orange 255, 230, 0";
    EXPECT_EQ(SwatchTable[3][31], 0xFF0078u) << "120, 0, 255";
    for (int row = 0; row < SwatchRows; ++row)
        for (int column = 0; column < SwatchColumns; ++column)
            EXPECT_EQ(SwatchTable[row][column] >> 24, 0u);
}

TEST(SwatchCellTest, CellsStepFifteenPixelsFromTheFirstCell) {
    IntRect first = SwatchCellRect(0, 0);
    EXPECT_EQ(first.left, 145);
    EXPECT_EQ(first.top, 115);
    EXPECT_EQ(first.right, 160);
    EXPECT_EQ(first.bottom, 130);
    IntRect last = SwatchCellRect(4, 31);
    EXPECT_EQ(last.left, 145 + 15 * 31);
    EXPECT_EQ(last.top, 115 + 15 * 4);
    // The painted grid covers x 145 to 624 and y 115 to 189 (right and bottom exclusive).
    EXPECT_EQ(last.right - 1, 624);
    EXPECT_EQ(last.bottom - 1, 189);
}

struct HitCase {
    int x, y;
    int found, row, column;
};

TEST(SwatchHitTest, SharedBoundsGoToTheRightAndLowerCell) {
    const HitCase cases[] = {
        {145, 115, 1, 0, 0},  // first cell's top-left corner
        {152, 122, 1, 0, 0},  // inside the first cell
        {159, 129, 1, 0, 0},  // last pixel painted in the first cell
        {160, 122, 1, 0, 1},  // shared column: the right-hand cell (white) wins
        {160, 130, 1, 1, 1},  // shared corner: the lower right cell (0, 0, 210) wins
        {152, 130, 1, 1, 0},  // shared row: the lower cell wins
        {625, 190, 1, 4, 31}, // the last cell's inclusive bottom-right corner
        {624, 189, 1, 4, 31}, {300, 150, 1, 2, 10}, // x 295..310 is column 10, y 145..160 is row 2
    };
    for (const HitCase& c : cases) {
        SwatchHit hit = FindSwatchAt(c.x, c.y);
        EXPECT_EQ(hit.found, c.found) << c.x << "," << c.y;
        EXPECT_EQ(hit.row, c.row) << c.x << "," << c.y;
        EXPECT_EQ(hit.column, c.column) << c.x << "," << c.y;
    }
    EXPECT_TRUE(Entry(0, 1) == (RgbTriple{255, 255, 255}));
    EXPECT_TRUE(Entry(1, 1) == (RgbTriple{0, 0, 210}));
}

TEST(SwatchHitTest, PressesOutsideTheGridPickNothing) {
    const int misses[][2] = {{626, 150}, {300, 191}, {144, 120},    {300, 114},
                             {0, 0},     {135, 175}, {65535, 65535}};
    for (const auto& m : misses)
        EXPECT_EQ(FindSwatchAt(m[0], m[1]).found, 0) << m[0] << "," << m[1];
}

TEST(ColourExchangeTest, TheSecondaryDiscsBoundingSquareExchangesBoundsIncluded) {
    EXPECT_TRUE(HitsColourExchange(135, 175));
    EXPECT_TRUE(HitsColourExchange(85, 125));
    EXPECT_TRUE(HitsColourExchange(110, 150));
    EXPECT_FALSE(HitsColourExchange(136, 150));
    EXPECT_FALSE(HitsColourExchange(84, 150));
    EXPECT_FALSE(HitsColourExchange(110, 176));
    EXPECT_FALSE(HitsColourExchange(50, 150)) << "the primary disc has no action";
}

TEST(ColourExchangeTest, NoPressBothPicksAndExchanges) {
    for (int x = 0; x < 700; ++x)
        for (int y = 0; y < 250; ++y)
            ASSERT_FALSE(HitsColourExchange(x, y) && FindSwatchAt(x, y).found) << x << "," << y;
}

} // namespace
