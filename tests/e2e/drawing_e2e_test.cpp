// Drawing in the real program: every tool chosen with the palette's buttons and colours, strokes
// made with mouse messages and with the real mouse, 戻す, 進む and 初期化, and the picture saved
// through File > 保存 and the save dialog, then decoded by ImageMagick.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "program_driver.h"
#include "test_files.h"
#include "x_input.h"

namespace {

const int FileNew = 40003;
const int FileExit = 40004;
const int SavePng = 40030;
const int PaperWidth = 1015, PaperHeight = 1016, PaperOk = 1018;
const int FileNameBox = 0x47C;

const int ToolRectangle = 40016, ToolEllipse = 1002, ToolLine = 1003, ToolPen = 40014;
const int ToolFill = 1008, ToolEyedropper = 1011, ToolSpray = 1016;
const int Undo = 1009, Redo = 1019, Reset = 1012;

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

class DrawingProgramTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartProgram(program));
        frame = WaitForFrame(program);
        ASSERT_NE(frame, nullptr);
        palette = WaitForPalette(program);
        ASSERT_NE(palette, nullptr);
        client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
        ASSERT_NE(client, nullptr);
        // The frame on the left of the screen, the palette below it: the right of the screen
        // stays empty desktop for the mouse to be released over.
        SetWindowPos(frame, nullptr, 0, 0, 900, 600, SWP_NOZORDER);
        RECT shown = ScreenRectOf(palette);
        SetWindowPos(palette, nullptr, 10, 1020 - (shown.bottom - shown.top), 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE);
        Settle(200);
    }
    void TearDown() override {
        if (IsRunning(program)) {
            PostMessageW(frame, WM_COMMAND, FileExit, 0);
            EXPECT_EQ(WaitForExit(program), 0);
        }
        CloseHandle(program.process.hProcess);
        CloseHandle(program.process.hThread);
    }

    bool OpenSheet(int width, int height) {
        PostMessageW(frame, WM_COMMAND, FileNew, 0);
        HWND paper = WaitForTopWindow(program, L"#32770", L"新規作成");
        if (!paper)
            return false;
        SetControlText(paper, PaperWidth, std::to_wstring(width));
        SetControlText(paper, PaperHeight, std::to_wstring(height));
        PostClick(paper, PaperOk);
        if (!WaitUntilGone(paper))
            return false;
        HWND document = WaitForChild(client, L"DocumentClassName", L"イラスト用紙");
        canvas = document ? WaitForChild(document, L"IllustClassName", L"用紙") : nullptr;
        Settle(300);
        return canvas != nullptr;
    }

    void Button(int id) { PostClick(palette, id); }

    // A press on the swatch with the pointer already there, so that the palette's drag by its
    // surface, which ends at the button-up, moves nothing.
    void PickSwatch(const Swatch& swatch) {
        int x = 145 + 15 * swatch.column + 7;
        int y = 115 + 15 * swatch.row + 7;
        POINT at = ScreenPointOf(palette, x, y);
        SetCursorPos(at.x, at.y);
        Settle(50);
        PostMessageW(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        Settle(150);
        PostMessageW(palette, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Settle(150);
    }

    // A stroke of posted mouse messages: press at the first point, a move to each of the
    // others, release at the last.
    void Stroke(const std::vector<POINT>& points) {
        PostMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(points[0].x, points[0].y));
        for (size_t i = 1; i < points.size(); ++i)
            PostMessageW(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(points[i].x, points[i].y));
        const POINT last = points.back();
        PostMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(last.x, last.y));
        Settle(100);
    }

    // File > 保存 > PNG, the name typed into the save dialog; then ImageMagick reads the file.
    bool SaveAndDecode(const std::wstring& name, DecodedImage* image) {
        const std::wstring path = folder.File(name);
        PostMessageW(frame, WM_COMMAND, SavePng, 0);
        HWND dialog = WaitForTopWindow(program, L"#32770", L"名前を付けてファイルを保存する");
        if (!dialog)
            return false;
        SetControlText(dialog, FileNameBox, path);
        PostClick(dialog, IDOK);
        if (!WaitUntilGone(dialog))
            return false;
        for (DWORD start = GetTickCount(); !FileExists(path) && GetTickCount() - start < 5000;)
            Sleep(50);
        Settle(300);
        return DecodeIndependently(path, image) == 1;
    }

    static int CountOf(const DecodedImage& image, uint32_t rgb, RECT area) {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += image.Rgb(x, y) == rgb ? 1 : 0;
        return count;
    }

    RunningProgram program;
    ScratchFolder folder;
    HWND frame = nullptr, palette = nullptr, client = nullptr, canvas = nullptr;
};

TEST_F(DrawingProgramTest, EveryToolDrawsAndTheHistoryStepsBackAndForth) {
    ASSERT_TRUE(OpenSheet(300, 200));
    // Out of the way of every stroke, in case the system reports where the pointer is.
    SetCursorPos(1200, 900);

    Button(ToolRectangle);
    PickSwatch(RedSwatch);
    Stroke({{20, 20}, {50, 40}, {90, 80}, {80, 70}});
    Button(ToolEllipse);
    PickSwatch(GreenSwatch);
    Stroke({{100, 20}, {130, 50}, {160, 70}});
    Button(ToolLine);
    PickSwatch(BlueSwatch);
    Stroke({{20, 100}, {90, 130}, {160, 100}});
    Button(ToolPen);
    PickSwatch(YellowSwatch);
    Stroke({{20, 150}, {100, 150}, {100, 180}});
    Button(ToolFill);
    PickSwatch(CyanSwatch);
    Stroke({{50, 45}});
    // The eyedropper takes the ellipse's green, and the pen draws with it.
    Button(ToolEyedropper);
    PickSwatch(MagentaSwatch);
    Stroke({{130, 45}});
    Button(ToolPen);
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
    Button(ToolSpray);
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
    Button(Undo);
    Button(Undo);
    DecodedImage undone;
    ASSERT_TRUE(SaveAndDecode(L"undone.png", &undone));
    EXPECT_EQ(CountOf(undone, MagentaSwatch.rgb, RECT{0, 0, 300, 200}), 0);
    EXPECT_EQ(undone.Rgb(240, 20), White);
    EXPECT_EQ(undone.Rgb(50, 45), CyanSwatch.rgb);

    // 初期化 brings back the blank sheet and is no step: 進む goes on from where 戻す left.
    Button(Reset);
    DecodedImage reset;
    ASSERT_TRUE(SaveAndDecode(L"reset.png", &reset));
    EXPECT_EQ(reset.Rgb(50, 45), White);
    EXPECT_EQ(reset.Rgb(130, 45), White);
    EXPECT_EQ(reset.Rgb(299, 199), Black);
    Button(Redo);
    Button(Redo);
    DecodedImage redone;
    ASSERT_TRUE(SaveAndDecode(L"redone.png", &redone));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            ASSERT_EQ(redone.Rgb(x, y), sprayed.Rgb(x, y)) << x << "," << y;

    // With FUDEMARU_SCREENSHOT_DIR set to a Unix folder, a PNG of the screen is written there.
    wchar_t folderForShot[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"FUDEMARU_SCREENSHOT_DIR", folderForShot, MAX_PATH)) {
        EXPECT_TRUE(SaveScreenshot(WindowsPathOf(std::wstring(folderForShot) + L"/drawing.png")));
    }
}

// With the real mouse: a stroke dragged out of the program's windows ends where the button
// comes up, and the pointer moving back over the canvas afterwards draws nothing.
TEST_F(DrawingProgramTest, ARealDragReleasedOutsideTheProgramEndsTheStroke) {
    ASSERT_TRUE(OpenSheet(300, 200));
    Button(ToolPen);
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
    Button(ToolSpray);
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
