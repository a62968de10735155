#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "fill_test_images.h"
#include "flood_fill_reference.h"
#include "tools/flood_fill.h"

namespace {

const uint32_t White = 0xFFFFFFFFu;
const uint32_t Black = 0xFF000000u;
const uint32_t Red = 0xFFFF0000u;

uint32_t Rgb(int r, int g, int b) {
    return ToCanvasPixel(RgbTriple{r, g, b});
}

int Fill(TestImage& image, int x, int y, int tolerance, uint32_t fillValue) {
    return FloodFill(image.pixels.data(), IntSize{image.width, image.height}, x, y, tolerance,
                     fillValue);
}

// A picture drawn as text, top row first: each letter is one pixel of the colour given for it.
TestImage Drawn(const std::vector<std::string>& rows, uint32_t forDot, uint32_t forHash) {
    TestImage image = UniformImage(int(rows[0].size()), int(rows.size()), 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            PixelAt(image, x, y) = rows[size_t(y)][size_t(x)] == '#' ? forHash : forDot;
    return image;
}

// The picture as text again: '*' where the pixel has the given value.
std::vector<std::string> Where(const TestImage& image, uint32_t value) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height; ++y) {
        std::string row;
        for (int x = 0; x < image.width; ++x)
            row += PixelAt(image, x, y) == value ? '*' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST(FloodFillTest, RefusesPointsOutsideTheSurfaceAndChangesNothing) {
    TestImage image = UniformImage(5, 4, White);
    const std::vector<uint32_t> before = image.pixels;
    const int outside[][2] = {{-1, 0}, {0, -1},  {5, 0},       {0, 4},
                              {5, 4},  {-1, -1}, {INT_MIN, 2}, {2, INT_MAX}};
    for (const auto& point : outside) {
        EXPECT_EQ(Fill(image, point[0], point[1], 20, Black), 0) << point[0] << ", " << point[1];
        EXPECT_EQ(image.pixels, before);
    }
}

TEST(FloodFillTest, RefusesASurfaceWithoutPixels) {
    uint32_t pixel = White;
    EXPECT_EQ(FloodFill(nullptr, IntSize{680, 480}, 1, 1, 20, Black), 0);
    EXPECT_EQ(FloodFill(&pixel, IntSize{0, 0}, 0, 0, 20, Black), 0);
    EXPECT_EQ(FloodFill(&pixel, IntSize{-3, 1}, 0, 0, 20, Black), 0);
    EXPECT_EQ(pixel, White);
}

TEST(FloodFillTest, WorkAreaSizesNeverWrap) {
    size_t bytes = 0;
    ASSERT_EQ(FillWorkAreaBytes(680, 480, 4 + 8, &bytes), 1);
    EXPECT_EQ(bytes, 3916800u);
    // Beyond 32 bits: it fits a 64-bit size_t and is refused where size_t has 32 bits.
    const bool wideSizes = sizeof(size_t) > 4;
    ASSERT_EQ(FillWorkAreaBytes(65535, 65535, 8, &bytes), wideSizes ? 1 : 0);
    if (wideSizes) {
        EXPECT_EQ(bytes, size_t(65535) * 65535 * 8);
    }
    EXPECT_EQ(FillWorkAreaBytes(INT_MAX, INT_MAX, 8, &bytes), 0);
    EXPECT_EQ(FillWorkAreaBytes(-1, 10, 1, &bytes), 0);
    ASSERT_EQ(FillWorkAreaBytes(0, INT_MAX, 8, &bytes), 1);
    EXPECT_EQ(bytes, 0u);
}

TEST(FloodFillTest, ASurfaceTooLargeForItsWorkAreasIsRefusedUntouched) {
    // The visited map for this size cannot be had; the fill must give up before it reads
    // or writes a single pixel.
    uint32_t pixel = White;
    EXPECT_EQ(FloodFill(&pixel, IntSize{INT_MAX, INT_MAX}, 0, 0, 20, Black), 0);
    EXPECT_EQ(pixel, White);
}

TEST(FloodFillTest, RowsAreStoredBottomUp) {
    // Picture row 0 is the last memory row.
    TestImage image = Drawn({"....", "####"}, White, Red);
    ASSERT_EQ(Fill(image, 0, 0, 1, Black), 1);
    EXPECT_EQ(image.pixels[4], Black);
    EXPECT_EQ(image.pixels[0], Red);
    EXPECT_EQ(Where(image, Black), (std::vector<std::string>{"****", "...."}));
}

TEST(FloodFillTest, ToleranceOneFillsOnlyTheSeedsExactColour) {
    TestImage image = UniformImage(3, 1, White);
    PixelAt(image, 1, 0) = Rgb(255, 255, 254); // distance 1
    ASSERT_EQ(Fill(image, 0, 0, 1, Black), 1);
    EXPECT_EQ(Where(image, Black), (std::vector<std::string>{"*.."}));
}

TEST(FloodFillTest, DistanceMustBeStrictlyBelowTheTolerance) {
    // Seed colour (100, 100, 100).
    TestImage image = UniformImage(5, 1, Rgb(100, 100, 100));
    PixelAt(image, 1, 0) = Rgb(255, 255, 1);   // 155 + 155 + 99 = 409
    PixelAt(image, 2, 0) = Rgb(255, 255, 11);  // 155 + 155 + 89 = 399
    PixelAt(image, 3, 0) = Rgb(255, 255, 255); // 155 * 3 = 465
    PixelAt(image, 4, 0) = Rgb(0, 0, 0);       // 300
    TestImage copy = image;
    ASSERT_EQ(Fill(copy, 0, 0, 465, Red), 1);
    EXPECT_EQ(Where(copy, Red), (std::vector<std::string>{"***.."}));
    copy = image;
    ASSERT_EQ(Fill(copy, 0, 0, 466, Red), 1);
    EXPECT_EQ(Where(copy, Red), (std::vector<std::string>{"*****"}));

    // The largest setting, 500: a distance of exactly 500 still stops the fill.
    TestImage far = UniformImage(3, 1, Rgb(0, 0, 0));
    PixelAt(far, 1, 0) = Rgb(255, 245, 0); // 500
    ASSERT_EQ(Fill(far, 0, 0, 500, White), 1);
    EXPECT_EQ(Where(far, White), (std::vector<std::string>{"*.."}));
    TestImage near = UniformImage(3, 1, Rgb(0, 0, 0));
    PixelAt(near, 1, 0) = Rgb(255, 244, 0); // 499
    ASSERT_EQ(Fill(near, 0, 0, 500, White), 1);
    EXPECT_EQ(Where(near, White), (std::vector<std::string>{"***"}));
}

TEST(FloodFillTest, ToleranceAboveTheLargestDistanceFillsTheWholeSurface) {
    std::mt19937 random(7);
    TestImage image = NoiseImage(9, 7, 20, 0, random);
    PixelAt(image, 0, 0) = Rgb(0, 0, 0);
    PixelAt(image, 1, 0) = Rgb(255, 255, 255); // distance 765
    ASSERT_EQ(Fill(image, 0, 0, 766, Red), 1);
    for (uint32_t pixel : image.pixels)
        EXPECT_EQ(pixel, Red);
}

TEST(FloodFillTest, ToleranceBelowOnePaintsOnlyTheSeed) {
    for (int tolerance : {0, -1, INT_MIN}) {
        TestImage image = UniformImage(3, 3, White);
        ASSERT_EQ(Fill(image, 1, 1, tolerance, Black), 1);
        EXPECT_EQ(Where(image, Black), (std::vector<std::string>{"...", ".*.", "..."}));
    }
}

TEST(FloodFillTest, RegionsTouchingOnlyAtCornersStaySeparate) {
    TestImage image = Drawn({"#..#.", ".#..#", "..#..", "#..#.", ".#..#"}, White, Black);
    ASSERT_EQ(Fill(image, 0, 0, 20, Red), 1);
    EXPECT_EQ(Where(image, Red),
              (std::vector<std::string>{"*....", ".....", ".....", ".....", "....."}));
    ASSERT_EQ(Fill(image, 2, 2, 20, Red), 1);
    EXPECT_EQ(Where(image, Red)[2], "..*..");
}

TEST(FloodFillTest, FollowsWindingCorridorsInEveryDirection) {
    TestImage image =
        Drawn({"......#", ".####.#", ".#..#.#", ".#.##.#", ".#....#", ".######", "......."}, White,
              Black);
    ASSERT_EQ(Fill(image, 3, 2, 1, Red), 1); // the inner end of the spiral
    EXPECT_EQ(Where(image, Red),
              (std::vector<std::string>{"******.", "*....*.", "*.**.*.", "*.*..*.", "*.****.",
                                        "*......", "*******"}));
}

TEST(FloodFillTest, AlphaIsIgnoredByTheTestAndSetInPaintedPixels) {
    TestImage image = UniformImage(4, 1, 0x00808080u);
    PixelAt(image, 1, 0) = 0x7F808080u; // same colour, other alpha
    PixelAt(image, 2, 0) = 0x12000000u; // another colour
    PixelAt(image, 3, 0) = 0xFE808080u;
    ASSERT_EQ(Fill(image, 0, 0, 1, Rgb(1, 2, 3)), 1);
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF010203u);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFF010203u);
    EXPECT_EQ(PixelAt(image, 2, 0), 0x12000000u); // unpainted keeps its alpha
    EXPECT_EQ(PixelAt(image, 3, 0), 0xFE808080u);
}

TEST(FloodFillTest, RefillingWithTheSameColourRewritesTheRegionUnchanged) {
    TestImage image = Drawn({"..#", "..#", "###"}, Red, White);
    const std::vector<uint32_t> before = image.pixels;
    ASSERT_EQ(Fill(image, 1, 1, 20, Red), 1);
    EXPECT_EQ(image.pixels, before);
    // A fill colour close to the seed's also qualifies, and still paints exactly the region.
    ASSERT_EQ(Fill(image, 0, 0, 20, Rgb(250, 0, 0)), 1);
    EXPECT_EQ(Where(image, Rgb(250, 0, 0)), (std::vector<std::string>{"**.", "**.", "..."}));
}

TEST(FloodFillTest, FillsFromEveryEdgeAndCorner) {
    const int points[][2] = {{0, 0}, {5, 0}, {0, 4}, {5, 4}, {2, 0}, {0, 2}, {5, 1}, {3, 4}};
    for (const auto& point : points) {
        TestImage image = Drawn({"......", ".####.", ".#..#.", ".####.", "......"}, White, Black);
        ASSERT_EQ(Fill(image, point[0], point[1], 20, Red), 1);
        EXPECT_EQ(Where(image, Red),
                  (std::vector<std::string>{"******", "*....*", "*....*", "*....*", "******"}));
    }
}

TEST(FloodFillTest, FillsSurfacesOnePixelWideOrHigh) {
    TestImage single = UniformImage(1, 1, White);
    ASSERT_EQ(Fill(single, 0, 0, 20, Black), 1);
    EXPECT_EQ(single.pixels[0], Black);

    TestImage row = Drawn({"...#.."}, White, Black);
    ASSERT_EQ(Fill(row, 5, 0, 20, Red), 1);
    EXPECT_EQ(Where(row, Red), (std::vector<std::string>{"....**"}));

    TestImage column = Drawn({".", ".", "#", "."}, White, Black);
    ASSERT_EQ(Fill(column, 0, 1, 20, Red), 1);
    EXPECT_EQ(Where(column, Red), (std::vector<std::string>{"*", "*", ".", "."}));
}

// The fill must paint exactly the set the plain algorithm paints, whatever the picture.
class FloodFillAgainstReference : public ::testing::Test {
  protected:
    void ExpectSameFill(const TestImage& image, int x, int y, int tolerance, uint32_t fillValue,
                        const char* kind) {
        TestImage ours = image;
        TestImage reference = image;
        IntRect bounds = {-1, -1, -1, -1};
        const int ourResult = FloodFill(ours.pixels.data(), IntSize{image.width, image.height}, x,
                                        y, tolerance, fillValue, &bounds);
        const int referenceResult = ReferenceFloodFill(reference.pixels.data(), image.width,
                                                       image.height, x, y, tolerance, fillValue);
        ASSERT_EQ(ourResult, referenceResult);
        ASSERT_TRUE(ours.pixels == reference.pixels)
            << kind << " " << image.width << "x" << image.height << " seed (" << x << ", " << y
            << ") tolerance " << tolerance;
        // The repaint and the history look only inside the bounds: every change lies there.
        if (!ourResult) {
            ASSERT_TRUE(bounds.left == 0 && bounds.top == 0 && bounds.right == 0 &&
                        bounds.bottom == 0);
        }
        for (int py = 0; py < image.height; ++py) {
            for (int px = 0; px < image.width; ++px) {
                if (PixelAt(ours, px, py) != PixelAt(image, px, py)) {
                    ASSERT_TRUE(px >= bounds.left && px < bounds.right && py >= bounds.top &&
                                py < bounds.bottom)
                        << kind << " changed (" << px << ", " << py << ") outside the bounds";
                }
            }
        }
        // A run stack of one or two runs overflows at once, and the fill must then complete
        // by searching again around what it painted: the same set, the same bounds.
        if (ourResult) {
            TestImage cramped = image;
            size_t words = 0;
            ASSERT_EQ(FillVisitedWords(image.width, image.height, &words), 1);
            std::vector<uint64_t> visited(words, 0);
            IntRect crampedBounds = {-1, -1, -1, -1};
            ASSERT_EQ(FillFromSeed(cramped.pixels.data(), image.width, image.height, visited.data(),
                                   x, y, FromCanvasPixel(PixelAt(image, x, y)), tolerance,
                                   fillValue, &crampedBounds, 1 + compared % 2),
                      1);
            ASSERT_TRUE(cramped.pixels == reference.pixels)
                << kind << " with a cramped stack, seed (" << x << ", " << y << ")";
            ASSERT_TRUE(crampedBounds.left == bounds.left && crampedBounds.top == bounds.top &&
                        crampedBounds.right == bounds.right &&
                        crampedBounds.bottom == bounds.bottom);
        }
        ++compared;
    }

    static int RandomTolerance(std::mt19937& random) {
        switch (random() % 4) {
        case 0:
            return int(random() % 40); // near the seed colour, 0 included
        case 1:
            return 760 + int(random() % 10); // around the largest distance
        default:
            return int(random() % 800);
        }
    }

    // Corners and edges often, anywhere else too, and now and then outside.
    static void RandomPoint(const TestImage& image, std::mt19937& random, int* x, int* y) {
        const int w = image.width;
        const int h = image.height;
        switch (random() % 6) {
        case 0:
            *x = (random() % 2) ? 0 : w - 1;
            *y = (random() % 2) ? 0 : h - 1;
            break;
        case 1:
            *x = (random() % 2) ? 0 : w - 1;
            *y = int(random() % uint32_t(h));
            break;
        case 2:
            *x = int(random() % uint32_t(w));
            *y = (random() % 2) ? 0 : h - 1;
            break;
        case 3:
            *x = int(random() % uint32_t(w + 2)) - 1;
            *y = int(random() % uint32_t(h + 2)) - 1;
            break;
        default:
            *x = int(random() % uint32_t(w));
            *y = int(random() % uint32_t(h));
            break;
        }
    }

    static int RandomSide(std::mt19937& random) {
        return (random() % 5 == 0) ? 1 + int(random() % 3) : 1 + int(random() % 48);
    }

    // One of five kinds in turn, of random size, half of them with random alpha.
    static TestImage RandomPicture(int picture, std::mt19937& random, const char** kind) {
        const int w = RandomSide(random);
        const int h = RandomSide(random);
        TestImage image;
        switch (picture % 5) {
        case 0:
            image = NoiseImage(w, h, 1 + int(random() % 6), int(random() % 40), random);
            *kind = "noise";
            break;
        case 1:
            image = DappledImage(w, h, 45 + int(random() % 40), random);
            *kind = "dappled";
            break;
        case 2:
            image = MazeImage(w, h, RandomPixel(random), RandomPixel(random),
                              int(random() % 3) * 10, random);
            *kind = "maze";
            break;
        case 3:
            image = CornerImage(w, h, 1 + int(random() % 3), random);
            *kind = "corners";
            break;
        default:
            image = NoiseImage(w, h, 3, 0, random);
            *kind = "flat regions";
            break;
        }
        if (random() % 2)
            ScrambleAlpha(image, random);
        return image;
    }

    int compared = 0;
};

// The comparison is worth the faults it catches: on the same kinds of pictures it must tell
// the reference from fills with a planted fault (a tolerance test one too wide, a seed one
// pixel off, rows taken top-down).
TEST_F(FloodFillAgainstReference, RandomPicturesCatchPlantedFaults) {
    using FillFunction = int (*)(TestImage&, int, int, int, uint32_t);
    const FillFunction faults[] = {
        [](TestImage& i, int x, int y, int t, uint32_t v) {
            return ReferenceFloodFill(i.pixels.data(), i.width, i.height, x, y, t + 1, v);
        },
        [](TestImage& i, int x, int y, int t, uint32_t v) {
            return ReferenceFloodFill(i.pixels.data(), i.width, i.height, x + 1, y, t, v);
        },
        [](TestImage& i, int x, int y, int t, uint32_t v) {
            return ReferenceFloodFill(i.pixels.data(), i.width, i.height, x, i.height - 1 - y, t,
                                      v);
        }};
    int caught[3] = {0, 0, 0};
    std::mt19937 random(11);
    for (int picture = 0; picture < 200; ++picture) {
        const char* kind = "";
        const TestImage image = RandomPicture(picture, random, &kind);
        int x = 0;
        int y = 0;
        RandomPoint(image, random, &x, &y);
        const int tolerance = RandomTolerance(random);
        const uint32_t fillValue = 0xFF000000u | RandomPixel(random);
        TestImage right = image;
        ReferenceFloodFill(right.pixels.data(), image.width, image.height, x, y, tolerance,
                           fillValue);
        for (int fault = 0; fault < 3; ++fault) {
            TestImage wrong = image;
            faults[fault](wrong, x, y, tolerance, fillValue);
            caught[fault] += wrong.pixels != right.pixels;
        }
    }
    for (int fault = 0; fault < 3; ++fault)
        EXPECT_GT(caught[fault], 0) << "planted fault " << fault;
}

TEST_F(FloodFillAgainstReference, RandomPicturesOfEveryKind) {
    std::mt19937 random(20240501);
    for (int picture = 0; picture < 1500; ++picture) {
        const char* kind = "";
        const TestImage image = RandomPicture(picture, random, &kind);
        const int w = image.width;
        const int h = image.height;
        for (int fill = 0; fill < 4; ++fill) {
            int x = 0;
            int y = 0;
            RandomPoint(image, random, &x, &y);
            // Now and then fill with the seed's own colour, which keeps qualifying.
            uint32_t fillValue = 0xFF000000u | RandomPixel(random);
            if (random() % 4 == 0 && x >= 0 && y >= 0 && x < w && y < h)
                fillValue = 0xFF000000u | PixelAt(image, x, y);
            ExpectSameFill(image, x, y, RandomTolerance(random), fillValue, kind);
            if (HasFatalFailure())
                return;
        }
    }
    EXPECT_EQ(compared, 6000);
}

TEST_F(FloodFillAgainstReference, EveryToleranceOnOnePicture) {
    std::mt19937 random(99);
    TestImage image = NoiseImage(23, 17, 12, 30, random);
    ScrambleAlpha(image, random);
    for (int tolerance = -1; tolerance <= 770; ++tolerance) {
        ExpectSameFill(image, 11, 8, tolerance, Rgb(12, 34, 56), "noise");
        ExpectSameFill(image, 0, 16, tolerance, Rgb(12, 34, 56), "noise");
        if (HasFatalFailure())
            return;
    }
}

TEST_F(FloodFillAgainstReference, LargeMazesAndDappledPictures) {
    std::mt19937 random(5);
    const TestImage maze = MazeImage(301, 203, Black, White, 0, random);
    ExpectSameFill(maze, 0, 0, 20, Red, "maze");
    ExpectSameFill(maze, 300, 202, 20, Red, "maze");
    const TestImage loops = MazeImage(256, 160, Black, White, 15, random);
    ExpectSameFill(loops, 128, 80, 20, Red, "looping maze");
    const TestImage dappled = DappledImage(257, 199, 62, random);
    for (int i = 0; i < 4; ++i) {
        int x = int(random() % 257);
        int y = int(random() % 199);
        ExpectSameFill(dappled, x, y, 60, Red, "dappled");
    }
}

} // namespace
