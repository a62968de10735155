#include <gtest/gtest.h>

#include "base/centring.h"

namespace {

TEST(CentringTest, CentresOnTheDesktopAndKeepsTheSize) {
    IntRect r = CentredWindowRect({0, 0, 1280, 1024}, {10, 20, 410, 320});
    EXPECT_EQ(r.left, 440);
    EXPECT_EQ(r.top, 362);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
}

TEST(CentringTest, TruncatesOddDifferencesTowardZero) {
    IntRect r = CentredWindowRect({0, 0, 1280, 1024}, {0, 0, 401, 301});
    EXPECT_EQ(r.left, 439); // 879 / 2
    EXPECT_EQ(r.top, 361);  // 723 / 2
}

TEST(CentringTest, WindowWiderThanTheDesktopGetsANegativeX) {
    IntRect r = CentredWindowRect({0, 0, 1920, 1080}, {0, 0, 1923, 100});
    EXPECT_EQ(r.left, -1); // -3 / 2 truncates toward zero
    EXPECT_EQ(r.right - r.left, 1923);
    IntRect taller = CentredWindowRect({0, 0, 1920, 1080}, {0, 0, 100, 1085});
    EXPECT_EQ(taller.top, -2); // -5 / 2
}

TEST(CentringTest, IgnoresTheDesktopsLeftAndTop) {
    // The desktop origin is not subtracted: only its right and bottom edges count.
    IntRect r = CentredWindowRect({100, 50, 1280, 1024}, {0, 0, 280, 24});
    EXPECT_EQ(r.left, 500);
    EXPECT_EQ(r.top, 500);
}

} // namespace
