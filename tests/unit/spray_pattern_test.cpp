#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tools/spray_pattern.h"

namespace {

TEST(SprayPatternTest, SequenceStartsFromStateOne) {
    RandomSequence sequence;
    EXPECT_EQ(sequence.state, 1u);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected)
        EXPECT_EQ(NextRandom(&sequence), value);
    // 1 * 214013 + 2531011, then on from there.
    RandomSequence first;
    NextRandom(&first);
    EXPECT_EQ(first.state, 2745024u);
}

TEST(SprayPatternTest, SequenceWrapsModulo2To32AndStaysIn15Bits) {
    RandomSequence sequence;
    sequence.state = 0xFFFFFFFFu;
    EXPECT_EQ(NextRandom(&sequence), int(((0xFFFFFFFFull * 214013u + 2531011u) >> 16) & 0x7FFF));
    EXPECT_EQ(sequence.state, uint32_t(0xFFFFFFFFull * 214013u + 2531011u));
    int highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int value = NextRandom(&sequence);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
        highest = value > highest ? value : highest;
    }
    EXPECT_EQ(highest, 32767);
}

TEST(SprayPatternTest, EveryRunSpraysTheSameDots) {
    RandomSequence one;
    RandomSequence two;
    const IntRect square = SprayRectAround(300, 200, 10);
    for (int i = 0; i < 1000; ++i) {
        const SprayDot a = PlaceSprayDot(square, &one);
        const SprayDot b = PlaceSprayDot(square, &two);
        ASSERT_EQ(a.x, b.x);
        ASSERT_EQ(a.y, b.y);
    }
}

TEST(SprayPatternTest, SquareReachesWidthLeftAndAboveAndOneLessRightAndBelow) {
    const IntRect one = SprayRectAround(10, 20, 1);
    EXPECT_EQ(one.left, 9);
    EXPECT_EQ(one.top, 19);
    EXPECT_EQ(one.right, 10);
    EXPECT_EQ(one.bottom, 20);

    const IntRect ten = SprayRectAround(100, 50, 10);
    EXPECT_EQ(ten.left, 90);
    EXPECT_EQ(ten.top, 40);
    EXPECT_EQ(ten.right, 109);
    EXPECT_EQ(ten.bottom, 59);

    const IntRect atOrigin = SprayRectAround(0, 0, 500);
    EXPECT_EQ(atOrigin.left, -500);
    EXPECT_EQ(atOrigin.right, 499);
}

TEST(SprayPatternTest, PenWidthOneSpraysTheFourPixelsOfATwoByTwoSquare) {
    const IntRect square = SprayRectAround(10, 20, 1);
    RandomSequence sequence;
    std::set<std::pair<int, int>> hit;
    for (int i = 0; i < 200; ++i) {
        const SprayDot dot = PlaceSprayDot(square, &sequence);
        ASSERT_TRUE(dot.x == 9 || dot.x == 10) << dot.x;
        ASSERT_TRUE(dot.y == 19 || dot.y == 20) << dot.y;
        hit.insert({dot.x, dot.y});
    }
    EXPECT_EQ(hit.size(), 4u);
}

TEST(SprayPatternTest, FirstNumberPlacesYAndSecondPlacesX) {
    // 100 wide and 10 high, so the two moduli tell the numbers apart: 41 and 18467 first.
    const IntRect square = {1000, 2000, 1099, 2009};
    RandomSequence sequence;
    const SprayDot dot = PlaceSprayDot(square, &sequence);
    EXPECT_EQ(dot.y, 2000 + 41 % 10);
    EXPECT_EQ(dot.x, 1000 + 18467 % 100);
    const SprayDot next = PlaceSprayDot(square, &sequence);
    EXPECT_EQ(next.y, 2000 + 6334 % 10);
    EXPECT_EQ(next.x, 1000 + 26500 % 100);
}

TEST(SprayPatternTest, EveryPlaceInTheSquareCanBeHitAndNoneOutside) {
    const IntRect square = SprayRectAround(-3, 7, 3);
    RandomSequence sequence;
    std::set<std::pair<int, int>> hit;
    for (int i = 0; i < 5000; ++i) {
        const SprayDot dot = PlaceSprayDot(square, &sequence);
        ASSERT_GE(dot.x, square.left);
        ASSERT_LE(dot.x, square.right);
        ASSERT_GE(dot.y, square.top);
        ASSERT_LE(dot.y, square.bottom);
        hit.insert({dot.x, dot.y});
    }
    EXPECT_EQ(hit.size(), 36u);
}

TEST(SprayPatternTest, ABurstSetsOneDotMoreThanTheStrength) {
    EXPECT_EQ(SprayBurstDotCount(50), 51);
    EXPECT_EQ(SprayBurstDotCount(1), 2);
    EXPECT_EQ(SprayBurstDotCount(1000), 1001);
    EXPECT_EQ(SprayBurstDotCount(0), 1);
    EXPECT_EQ(SprayBurstDotCount(-5), 0);
}

TEST(SprayPatternTest, ASquareWithoutAreaStillDrawsTwoNumbers) {
    const IntRect empty = SprayRectAround(5, 6, 0); // left 5, right 4
    RandomSequence sequence;
    const SprayDot dot = PlaceSprayDot(empty, &sequence);
    EXPECT_EQ(dot.x, 5);
    EXPECT_EQ(dot.y, 6);
    EXPECT_EQ(NextRandom(&sequence), 6334);
}

} // namespace
