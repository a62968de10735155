// The palette of the real program, seen and used from outside: where it stands, what it
// shows, its swatches and discs, its buttons, boxes and trackbars.
#include "program_test.h"

#include <cstdio>

#include "scenario_pictures.h"
#include "test_files.h"

namespace {

const uint32_t DarkRed = 0x330000;
const uint32_t Red = 0xFF0000;

std::string Hex(uint32_t c) {
    char text[16];
    snprintf(text, sizeof(text), "%06X", unsigned(c));
    return text;
}

// Client point of the middle of a swatch cell.
POINT SwatchCentre(int row, int column) {
    return POINT{145 + 15 * column + 7, 115 + 15 * row + 7};
}

class PaletteTest : public ProgramTest {
  protected:
    // Restores the palette to where it stood at start, for the scenarios about its place.
    void PutPaletteBackWhereItStarted() {
        SetWindowPos(palette, nullptr, paletteAtStart.left, paletteAtStart.top, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        Settle(200);
    }
    bool ShowsPaletteAt(POINT screen) const {
        HWND found = WindowFromPoint(screen);
        return found == palette || GetParent(found) == palette;
    }
    // Types into one of the setting boxes, as the keyboard would.
    void Type(int box, const std::wstring& text) {
        TypeIntoBox(GetDlgItem(palette, box), text);
        Settle(250);
    }
    void PressKeyOn(int trackbar, UINT key) {
        PostKey(GetDlgItem(palette, trackbar), key);
        Settle(200);
    }
};

TEST_F(PaletteTest, StandsAboveTheFrameWhereTheyOverlap) {
    PutPaletteBackWhereItStarted();
    RECT frameRect = ScreenRectOf(frame), overlap;
    ASSERT_TRUE(IntersectRect(&overlap, &paletteAtStart, &frameRect)) << "they overlap at start";
    POINT inside = {paletteAtStart.left + 3, paletteAtStart.top + 3};
    ASSERT_TRUE(PtInRect(&overlap, inside));
    EXPECT_TRUE(ShowsPaletteAt(inside));
    bool frameBelow = false;
    for (HWND w = GetWindow(palette, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        frameBelow = frameBelow || w == frame;
    EXPECT_TRUE(frameBelow);

    // Bringing the frame forward, or opening a document in it, leaves the palette above.
    SetForegroundWindow(frame);
    ASSERT_TRUE(OpenSheet(680, 480));
    EXPECT_TRUE(ShowsPaletteAt(inside));
}

struct TemplateControl {
    int id;
    const wchar_t* text;
    short x, y, cx, cy;
};

// The controls of "OPTDLG" that the program addresses, with their rectangles in dialog units.
const TemplateControl paletteControls[] = {
    {40016, L"■", 116, 27, 25, 23},     {1002, L"●", 84, 27, 25, 23},
    {1003, L"＼", 48, 27, 25, 23},      {40014, L"ペン", 16, 27, 25, 23},
    {1005, L"終了", 11, 168, 41, 31},   {1008, L"塗り", 180, 27, 25, 23},
    {1009, L"戻す", 15, 133, 28, 23},   {1010, L"", 129, 140, 98, 14},
    {1013, L"10", 230, 140, 19, 14},    {1011, L"吸い", 214, 27, 25, 23},
    {1012, L"初期化", 65, 168, 41, 31}, {1014, L"", 128, 177, 98, 14},
    {1015, L"20", 229, 177, 19, 14},    {1023, L"詳細線", 279, 27, 40, 10},
    {1016, L"吹き", 148, 27, 25, 23},   {1017, L"", 255, 140, 98, 14},
    {1018, L"50", 357, 140, 19, 14},    {1019, L"進む", 53, 133, 28, 23},
};

TEST_F(PaletteTest, ShowsTheDesignedSurfaceAndControls) {
    RECT window = ScreenRectOf(palette);
    std::vector<uint32_t> shot = CaptureScreen(window);
    const int width = window.right - window.left;
    POINT o = PaletteToScreen(0, 0);
    auto at = [&](int clientX, int clientY) {
        return shot[size_t(o.y + clientY - window.top) * width + (o.x + clientX - window.left)];
    };
    RECT client;
    GetClientRect(palette, &client);

    // Surface: background, frame, discs, a few swatches.
    EXPECT_EQ(Hex(at(1, 1)), Hex(DarkRed));
    EXPECT_EQ(Hex(at(300, 105)), Hex(DarkRed));
    EXPECT_EQ(Hex(at(0, 300)), Hex(Black)) << "frame";
    EXPECT_EQ(Hex(at(50, 150)), Hex(Black)) << "primary disc";
    EXPECT_EQ(Hex(at(110, 150)), Hex(White)) << "secondary disc";
    EXPECT_EQ(Hex(at(50, 178)), Hex(0x0000FF)) << "disc outline";
    struct Cell {
        int row, column;
        uint32_t colour;
    } cells[] = {{1, 8, 0xFFFF00}, {1, 24, 0xFF1E00}, {2, 30, 0x1E00FF},
                 {3, 6, 0xFF001E}, {4, 31, 0xFFFFFF}, {3, 22, 0x00FF96}};
    for (const Cell& c : cells) {
        POINT p = SwatchCentre(c.row, c.column);
        EXPECT_EQ(Hex(at(p.x, p.y)), Hex(c.colour)) << c.row << "," << c.column;
    }
    // The label: white strokes right of and below (20, 20).
    int white = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 20; x < 100; ++x)
            white += at(x, y) == White;
    EXPECT_GT(white, 20);

    // Controls where the template puts them: dialog units scaled to the client size.
    for (const TemplateControl& t : paletteControls) {
        HWND control = GetDlgItem(palette, t.id);
        ASSERT_NE(control, nullptr) << t.id;
        EXPECT_TRUE(IsWindowVisible(control)) << t.id;
        EXPECT_EQ(TextOf(control), std::wstring(t.text)) << t.id;
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, palette, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_NEAR(r.left, t.x * client.right / 426.0, 2) << t.id;
        EXPECT_NEAR(r.top, t.y * client.bottom / 230.0, 2) << t.id;
        EXPECT_NEAR(r.right, (t.x + t.cx) * client.right / 426.0, 2) << t.id;
        EXPECT_NEAR(r.bottom, (t.y + t.cy) * client.bottom / 230.0, 2) << t.id;
        if (t.text[0] && t.id != 1013 && t.id != 1015 && t.id != 1018) {
            // Something of the caption is drawn: the face has more than one colour.
            uint32_t face = at(r.right - 5, r.top + 5);
            int drawn = 0;
            for (int y = r.top + 2; y < r.bottom - 2; ++y)
                for (int x = r.left + 6; x < r.right - 6; ++x)
                    drawn += at(x, y) != face;
            EXPECT_GT(drawn, 10) << "caption of " << t.id;
        }
    }
}

TEST_F(PaletteTest, PressingASwatchPicksItAndDraggingMovesThePalette) {
    RECT before = ScreenRectOf(palette);
    POINT swatch = SwatchCentre(2, 20); // (90, 90, 255)
    POINT start = PaletteToScreen(swatch.x, swatch.y);
    SetCursorPos(start.x, start.y);
    Settle(100);
    PostMessageW(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(swatch.x, swatch.y));
    Settle(200);
    for (int i = 1; i <= 6; ++i) {
        SetCursorPos(start.x - 10 * i, start.y - 7 * i);
        PostMessageW(palette, WM_MOUSEMOVE, MK_LBUTTON, 0);
        Settle(50);
    }
    // The system's move loop ends at the button-up.
    PostMessageW(palette, WM_LBUTTONUP, 0, 0);
    Settle(300);
    RECT after = ScreenRectOf(palette);
    EXPECT_EQ(after.left - before.left, -60);
    EXPECT_EQ(after.top - before.top, -42);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(Hex(PrimaryDisc(0x5A5AFF)), Hex(0x5A5AFF)) << "picked at the press";
}

TEST_F(PaletteTest, BoundariesBetweenSwatchesGoToTheRightAndLowerCell) {
    PickSwatch(0, 8);
    ASSERT_EQ(Hex(PrimaryDisc(Red)), Hex(Red));
    PressPaletteSurface(160, 122); // between row 0's black and white: white
    EXPECT_EQ(Hex(PrimaryDisc(White)), Hex(White));
    PressPaletteSurface(160, 130); // the corner of four cells: row 1, column 1
    EXPECT_EQ(Hex(PrimaryDisc(0x0000D2)), Hex(0x0000D2));
    PickSwatch(0, 8);
    PressPaletteSurface(625, 190); // the last cell's outer corner: row 4, column 31
    EXPECT_EQ(Hex(PrimaryDisc(White)), Hex(White));

    // Just outside the grid, and beside the secondary disc, nothing is picked.
    PickSwatch(0, 8);
    for (POINT miss :
         {POINT{626, 150}, POINT{300, 191}, POINT{144, 120}, POINT{136, 150}, POINT{50, 150}}) {
        PressPaletteSurface(miss.x, miss.y);
        EXPECT_EQ(Hex(PrimaryDisc(Red)), Hex(Red)) << miss.x << "," << miss.y;
    }
    EXPECT_EQ(Hex(SecondaryDisc(White)), Hex(White));
}

TEST_F(PaletteTest, TheSecondaryDiscExchangesTheColoursAndTwiceRestoresThem) {
    PickSwatch(1, 16);             // cyan
    PressPaletteSurface(135, 175); // the corner of the disc's square
    EXPECT_EQ(Hex(PrimaryDisc(White)), Hex(White));
    EXPECT_EQ(Hex(SecondaryDisc(0x00FFFF)), Hex(0x00FFFF));
    PressPaletteSurface(110, 150);
    EXPECT_EQ(Hex(PrimaryDisc(0x00FFFF)), Hex(0x00FFFF));
    EXPECT_EQ(Hex(SecondaryDisc(White)), Hex(White));
}

TEST_F(PaletteTest, OnlyALeftPressActsOnTheSurface) {
    POINT red = SwatchCentre(0, 8);
    PostMessageW(palette, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(red.x, red.y));
    PostMessageW(palette, WM_RBUTTONUP, 0, MAKELPARAM(red.x, red.y));
    PostMessageW(palette, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(red.x, red.y));
    PostMessageW(palette, WM_LBUTTONUP, 0, MAKELPARAM(red.x, red.y));
    PostMessageW(palette, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(110, 150));
    PostMessageW(palette, WM_LBUTTONUP, 0, MAKELPARAM(110, 150));
    Settle(400);
    EXPECT_EQ(Hex(PrimaryDisc(Black)), Hex(Black));
    EXPECT_EQ(Hex(SecondaryDisc(White)), Hex(White));
}

TEST_F(PaletteTest, TypedWidthsAndTolerancesAreHeldToTheirLimits) {
    // Typed key by key, each key corrects the box at once; a whole text pasted over the box
    // is read once.
    struct Entry {
        int box, trackbar;
        const wchar_t* text;
        bool pasted;
        const wchar_t* shown;
        int position;
    } entries[] = {
        {ids::PenWidthBox, ids::PenWidthTrackbar, L"600", false, L"500", 500},
        {ids::PenWidthBox, ids::PenWidthTrackbar, L"-5", true, L"1", 1},
        {ids::PenWidthBox, ids::PenWidthTrackbar, L"abc", true, L"1", 1},
        {ids::PenWidthBox, ids::PenWidthTrackbar, L"12abc", false, L"12abc", 12},
        {ids::PenWidthBox, ids::PenWidthTrackbar, L"500", false, L"500", 500},
        // More digits than a number holds is still far too large, not a small number.
        {ids::PenWidthBox, ids::PenWidthTrackbar, L"4294967306", true, L"500", 500},
        {ids::ToleranceBox, ids::ToleranceTrackbar, L"", false, L"1", 1},
        {ids::ToleranceBox, ids::ToleranceTrackbar, L"250", false, L"250", 250},
        {ids::ToleranceBox, ids::ToleranceTrackbar, L"501", true, L"500", 500},
    };
    for (const Entry& e : entries) {
        if (e.pasted)
            SetControlText(palette, e.box, e.text);
        else
            Type(e.box, e.text);
        Settle(200);
        std::string what = testing::PrintToString(std::wstring(e.text));
        EXPECT_EQ(PaletteText(e.box, e.shown), e.shown) << what;
        EXPECT_EQ(PalettePosition(e.trackbar, e.position), e.position) << what;
    }
    EXPECT_EQ(PaletteText(ids::SprayBox, L"50"), L"50") << "the other boxes keep theirs";
}

TEST_F(PaletteTest, TheSprayBoxTakesNoTypingUntilItsTrackbarMoves) {
    Type(ids::SprayBox, L"800");
    EXPECT_EQ(PaletteText(ids::SprayBox, L"800"), L"800") << "left as typed";
    EXPECT_EQ(PalettePosition(ids::SprayTrackbar, 50), 50) << "the strength is unchanged";
    PressKeyOn(ids::SprayTrackbar, VK_RIGHT);
    EXPECT_EQ(PalettePosition(ids::SprayTrackbar, 51), 51);
    EXPECT_EQ(PaletteText(ids::SprayBox, L"51"), L"51") << "the trackbar writes over it";
    PressKeyOn(ids::SprayTrackbar, VK_END);
    EXPECT_EQ(PaletteText(ids::SprayBox, L"1000"), L"1000");
    PressKeyOn(ids::SprayTrackbar, VK_HOME);
    EXPECT_EQ(PaletteText(ids::SprayBox, L"1"), L"1");
}

TEST_F(PaletteTest, TheTrackbarsWriteTheirBoxesAcrossTheirWholeRange) {
    PressKeyOn(ids::PenWidthTrackbar, VK_END);
    EXPECT_EQ(PaletteText(ids::PenWidthBox, L"500"), L"500");
    PressKeyOn(ids::PenWidthTrackbar, VK_HOME);
    EXPECT_EQ(PaletteText(ids::PenWidthBox, L"1"), L"1");
    PressKeyOn(ids::PenWidthTrackbar, VK_RIGHT);
    EXPECT_EQ(PaletteText(ids::PenWidthBox, L"2"), L"2");
    PressKeyOn(ids::ToleranceTrackbar, VK_END);
    EXPECT_EQ(PaletteText(ids::ToleranceBox, L"500"), L"500");
    PressKeyOn(ids::ToleranceTrackbar, VK_LEFT);
    EXPECT_EQ(PaletteText(ids::ToleranceBox, L"499"), L"499");
    EXPECT_EQ(PalettePosition(ids::ToleranceTrackbar, 499), 499);
}

TEST_F(PaletteTest, ThePreviewCheckBoxTogglesWithEachClick) {
    ASSERT_TRUE(IsChecked(palette, ids::PreviewCheck));
    PostClick(palette, ids::PreviewCheck);
    Settle(200);
    EXPECT_FALSE(IsChecked(palette, ids::PreviewCheck));
    PostClick(palette, ids::PreviewCheck);
    Settle(200);
    EXPECT_TRUE(IsChecked(palette, ids::PreviewCheck));
}

// What each tool does on the canvas belongs to the drawing scenarios; here the buttons are
// pressed and nothing else on the palette may change.
TEST_F(PaletteTest, ToolButtonsChangeNothingElse) {
    PickSwatch(0, 8);
    for (int tool : {ids::ToolPen, ids::ToolLine, ids::ToolEllipse, ids::ToolRectangle,
                     ids::ToolSpray, ids::ToolFill, ids::ToolEyedropper}) {
        PostClick(palette, tool);
        Settle(150);
        EXPECT_TRUE(IsRunning(program)) << tool;
        EXPECT_EQ(Hex(PrimaryDisc(Red)), Hex(Red)) << tool;
        EXPECT_EQ(PaletteText(ids::PenWidthBox, L"10"), L"10") << tool;
        EXPECT_TRUE(IsChecked(palette, ids::PreviewCheck)) << tool;
    }
    EXPECT_EQ(DialogsOf(program).size(), 1u) << "no window was opened";
}

TEST_F(PaletteTest, TheHistoryButtonsWithNothingToUndoChangeNothing) {
    // Before any document exists there is nothing to act on.
    for (int round = 0; round < 3; ++round)
        for (int id : {ids::Undo, ids::Redo, ids::Reset})
            PostClick(palette, id);
    Settle(300);
    ASSERT_TRUE(IsRunning(program));
    EXPECT_TRUE(IsWindowVisible(palette));

    // A fresh sheet stays as it was.
    ASSERT_TRUE(OpenSheet(120, 80));
    for (int id : {ids::Undo, ids::Redo, ids::Reset, ids::Undo})
        PostClick(palette, id);
    Settle(300);
    auto isSheet = [](const std::vector<uint32_t>& s) {
        return PixelsOffTheSheet(s, 120, 80) == 0;
    };
    EXPECT_EQ(PixelsOffTheSheet(CanvasOnScreen(isSheet), 120, 80), 0);
}

} // namespace
