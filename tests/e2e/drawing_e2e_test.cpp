// Drawing in the real program: every tool chosen with the palette's buttons and colours, strokes
// made with mouse messages and with the real mouse, 戻す, 進む and 初期化, and the picture saved
// through File > 保存 and the save dialog, then decoded by ImageMagick.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "program_test.h"
#include "test_files.h"
#include "x_input.h"

namespace {

const uint32_t White = 0xFFFFFF, Black = 0x000000;

// Swatches of the palette: row, column and colour.
struct Swatch {
    int row;
    int column;
    uint32_t rgb;
};
const Swatch RedSwatch = {0, 8, 0xFF0000};
const Swatch GreenSwatch = {0, 16, 0x00FF00};
const Swatch MagentaSwatch = {0, 24, 0xFF00FF};
const Swatch BlueSwatch = {1, 0, 0x0000FF};
const Swatch YellowSwatch = {1, 8, 0xFFFF00};
const Swatch CyanSwatch = {1, 16, 0x00FFFF};

// The spray's dots as the program must place them: its own sequence from state 1, the first
// number for y and the second for x, in the square around the pointer.
std::set<std::pair<int, int>> SprayDotsOfFirstBursts(int cx, int cy, int penWidth, int dots) {
    uint32_t state = 1;
    auto next = [&state] {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    };
    std::set<std::pair<int, int>> placed;
    for (int i = 0; i < dots; ++i) {
        int y = cy - penWidth + next() % (2 * penWidth);
        int x = cx - penWidth + next() % (2 * penWidth);
        placed.insert({x, y});
    }
    return placed;
}

class DrawingProgramTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // The frame on the left of the screen, the palette below it: the right of the screen
        // stays empty desktop for the mouse to be released over.
        SetWindowPos(frame, nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        SIZE shown = SizeOf(palette);
        SetWindowPos(palette, nullptr, 10, GetSystemMetrics(SM_CYSCREEN) - shown.cy, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        Settle(200);
    }

    void Button(int id) { PostClick(palette, id); }
    void PickSwatch(const Swatch& swatch) { ProgramTest::PickSwatch(swatch.row, swatch.column); }

    // File > 保存 > pngで保存 and the save dialog; then ImageMagick reads the file.
    bool SaveAndDecode(const std::wstring& name, DecodedImage* image) {
        const std::wstring path = folder.File(name);
        SaveOutcome saved = SaveThroughMenu(FileMenuItem::SavePng, path);
        if (!saved.dialogClosed || !WaitForFile(path))
            return false;
        return DecodeIndependently(path, image) == 1;
    }

    static int CountOf(const DecodedImage& image, uint32_t rgb, RECT area) {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += image.Rgb(x, y) == rgb ? 1 : 0;
        return count;
    }

    ScratchFolder folder;
};

TEST_F(DrawingProgramTest, EveryToolDrawsAndTheHistoryStepsBackAndForth) {
    ASSERT_TRUE(OpenSheet(300, 200));
    // Out of the way of every stroke, in case the system reports where the pointer is.
    SetCursorPos(1200, 900);

    Button(ids::ToolRectangle);
    PickSwatch(RedSwatch);
    Stroke({{20, 20}, {50, 40}, {90, 80}, {80, 70}});
    Button(ids::ToolEllipse);
    PickSwatch(GreenSwatch);
    Stroke({{100, 20}, {130, 50}, {160, 70}});
    Button(ids::ToolLine);
    PickSwatch(BlueSwatch);
    Stroke({{20, 100}, {90, 130}, {160, 100}});
    Button(ids::ToolPen);
    PickSwatch(YellowSwatch);
    Stroke({{20, 150}, {100, 150}, {100, 180}});
    Button(ids::ToolFill);
    PickSwatch(CyanSwatch);
    Stroke({{50, 45}});
    // The eyedropper takes the ellipse's green, and the pen draws with it.
    Button(ids::ToolEyedropper);
    PickSwatch(MagentaSwatch);
    Stroke({{130, 45}});
    Button(ids::ToolPen);
    Stroke({{200, 20}, {280, 20}});
    DecodedImage drawn;
    ASSERT_TRUE(SaveAndDecode(L"drawn.png", &drawn));
    ASSERT_EQ(drawn.width, 300);
    ASSERT_EQ(drawn.height, 200);
    EXPECT_EQ(drawn.Rgb(50, 45), CyanSwatch.rgb) << "the red rectangle, filled";
    EXPECT_EQ(drawn.Rgb(79, 69), CyanSwatch.rgb) << "ends at the last move, not the release";
    EXPECT_EQ(drawn.Rgb(85, 75), White);
    EXPECT_EQ(drawn.Rgb(19, 45), White);
    EXPECT_EQ(CountOf(drawn, RedSwatch.rgb, RECT{0, 0, 300, 200}), 0);
    EXPECT_EQ(drawn.Rgb(130, 45), GreenSwatch.rgb);
    EXPECT_EQ(drawn.Rgb(102, 22), White) << "outside the ellipse, inside its corners";
    EXPECT_EQ(drawn.Rgb(90, 100), BlueSwatch.rgb);
    EXPECT_EQ(drawn.Rgb(90, 104), BlueSwatch.rgb) << "as wide as the pen";
    EXPECT_EQ(drawn.Rgb(90, 110), White) << "the band erased at the release";
    EXPECT_EQ(drawn.Rgb(60, 150), YellowSwatch.rgb);
    EXPECT_EQ(drawn.Rgb(100, 170), YellowSwatch.rgb);
    EXPECT_EQ(drawn.Rgb(240, 20), GreenSwatch.rgb) << "drawn in the colour picked up";
    EXPECT_EQ(drawn.Rgb(0, 0), Black);

    // The spray, held still: bursts at the timer's pace, all within the square around the
    // pointer, each dot where the program's own sequence puts it.
    Button(ids::ToolSpray);
    PickSwatch(MagentaSwatch);
    PostMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(240, 150));
    PostMessageW(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(240, 150));
    Settle(300);
    PostMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(240, 150));
    Settle(100);
    DecodedImage sprayed;
    ASSERT_TRUE(SaveAndDecode(L"sprayed.png", &sprayed));
    const RECT square = {230, 140, 250, 160};
    const int dots = CountOf(sprayed, MagentaSwatch.rgb, square);
    EXPECT_GT(dots, 51) << "more than the move's one burst";
    EXPECT_EQ(CountOf(sprayed, MagentaSwatch.rgb, RECT{0, 0, 300, 200}), dots);
    const std::set<std::pair<int, int>> expected = SprayDotsOfFirstBursts(240, 150, 10, 51 * 200);
    for (int y = square.top; y < square.bottom; ++y)
        for (int x = square.left; x < square.right; ++x)
            if (sprayed.Rgb(x, y) == MagentaSwatch.rgb) {
                EXPECT_TRUE(expected.count({x, y})) << x << "," << y;
            }

    // One 戻す per stroke: the spray, then the green pen line.
    Button(ids::Undo);
    Button(ids::Undo);
    DecodedImage undone;
    ASSERT_TRUE(SaveAndDecode(L"undone.png", &undone));
    EXPECT_EQ(CountOf(undone, MagentaSwatch.rgb, RECT{0, 0, 300, 200}), 0);
    EXPECT_EQ(undone.Rgb(240, 20), White);
    EXPECT_EQ(undone.Rgb(50, 45), CyanSwatch.rgb);

    // 初期化 brings back the blank sheet and is no step: 進む goes on from where 戻す left.
    Button(ids::Reset);
    DecodedImage reset;
    ASSERT_TRUE(SaveAndDecode(L"reset.png", &reset));
    EXPECT_EQ(reset.Rgb(50, 45), White);
    EXPECT_EQ(reset.Rgb(130, 45), White);
    EXPECT_EQ(reset.Rgb(299, 199), Black);
    Button(ids::Redo);
    Button(ids::Redo);
    DecodedImage redone;
    ASSERT_TRUE(SaveAndDecode(L"redone.png", &redone));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            ASSERT_EQ(redone.Rgb(x, y), sprayed.Rgb(x, y)) << x << "," << y;

    ScreenshotIfAsked(L"drawing.png");
}

// With the real mouse: a stroke dragged out of the program's windows ends where the button
// comes up, and the pointer moving back over the canvas afterwards draws nothing.
TEST_F(DrawingProgramTest, ARealDragReleasedOutsideTheProgramEndsTheStroke) {
    ASSERT_TRUE(OpenSheet(300, 200));
    Button(ids::ToolPen);
    Settle(100);
    const POINT start = ScreenPointOf(canvas, 40, 60);
    RECT frameRect = ScreenRectOf(frame);
    const POINT outside = {frameRect.right + 150, start.y};
    ASSERT_TRUE(XDrag(start, outside, 12));
    Settle(200);
    // Back over the canvas with the button up.
    const POINT across[] = {ScreenPointOf(canvas, 280, 150), ScreenPointOf(canvas, 150, 150),
                            ScreenPointOf(canvas, 20, 150), ScreenPointOf(canvas, 20, 100)};
    for (POINT p : across) {
        ASSERT_TRUE(XMoveTo(p.x, p.y));
        Settle(50);
    }

    // The spray, dragged out and released there, stops spraying: a colour picked afterwards
    // never reaches the canvas.
    Button(ids::ToolSpray);
    Settle(100);
    const POINT sprayStart = ScreenPointOf(canvas, 200, 100);
    ASSERT_TRUE(XDrag(sprayStart, POINT{frameRect.right + 150, sprayStart.y + 200}, 8));
    Settle(200);
    PickSwatch(RedSwatch);
    Settle(300);
    DecodedImage picture;
    ASSERT_TRUE(SaveAndDecode(L"after.png", &picture));

    int gaps = 0;
    for (int x = 45; x < 299; ++x)
        gaps += picture.Rgb(x, 60) != Black ? 1 : 0;
    EXPECT_EQ(gaps, 0) << "the line reaches the canvas's edge";
    EXPECT_EQ(picture.Rgb(150, 40), White);
    int drawnWithButtonUp = 0;
    for (int x = 1; x < 299; ++x)
        drawnWithButtonUp += picture.Rgb(x, 150) != White ? 1 : 0;
    EXPECT_EQ(drawnWithButtonUp, 0);
    EXPECT_EQ(CountOf(picture, RedSwatch.rgb, RECT{0, 0, 300, 200}), 0)
        << "the spray went on after the release";
    EXPECT_GT(CountOf(picture, Black, RECT{180, 80, 220, 120}), 0) << "the spray did spray";
}

} // namespace
