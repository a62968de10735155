// The palette of the real program, seen and used from outside: where it stands, what it
// shows, and presses, keys and clicks on it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "program_driver.h"

namespace {

// Identifiers as the program's resources define them.
const int FileNew = 40003;
const int FileExit = 40004;
const int PaletteQuit = 1005;
const int PenWidthBox = 1013;
const int PenWidthTrackbar = 1010;

const COLORREF DarkRed = RGB(51, 0, 0);

class PaletteProgramTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartProgram(program));
        frame = WaitForFrame(program);
        palette = WaitForPalette(program);
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(palette, nullptr);
        Settle(300);
    }
    void TearDown() override {
        if (IsRunning(program)) {
            PostMessageW(frame, WM_COMMAND, FileExit, 0);
            EXPECT_EQ(WaitForExit(program), 0);
        }
        EXPECT_FALSE(KillIfRunning(program));
        CloseHandle(program.process.hProcess);
        CloseHandle(program.process.hThread);
    }
    bool ShowsPaletteAt(POINT screen) const {
        HWND found = WindowFromPoint(screen);
        return found == palette || GetParent(found) == palette;
    }
    POINT ClientOrigin() const {
        POINT origin = {0, 0};
        ClientToScreen(palette, &origin);
        return origin;
    }
    RunningProgram program;
    HWND frame = nullptr;
    HWND palette = nullptr;
};

// The screen as a person sees it, captured over the palette's window rectangle.
struct ScreenCapture {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint32_t> pixels; // top-down, 0x00RRGGBB

    explicit ScreenCapture(RECT r) : left(r.left), top(r.top) {
        width = r.right - r.left;
        height = r.bottom - r.top;
        pixels.assign(size_t(width) * height, 0);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
        GdiFlush();
        memcpy(pixels.data(), bits, pixels.size() * 4);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    // The colour at a screen position, as a COLORREF.
    COLORREF At(int screenX, int screenY) const {
        uint32_t p = pixels[size_t(screenY - top) * width + (screenX - left)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

std::string Hex(COLORREF c) {
    char text[16];
    snprintf(text, sizeof(text), "%06lX", static_cast<unsigned long>(c));
    return text;
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

TEST_F(PaletteProgramTest, StandsCentredAndTopmostOverTheFrame) {
    EXPECT_TRUE(GetWindowLongW(palette, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT desktop, placed, frameRect;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(palette, &placed);
    EXPECT_EQ(placed.left, (desktop.right - (placed.right - placed.left)) / 2);
    EXPECT_EQ(placed.top, (desktop.bottom - (placed.bottom - placed.top)) / 2);

    // Above the frame in the z-order, and what the pointer finds where both overlap.
    bool frameBelow = false;
    for (HWND w = GetWindow(palette, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        frameBelow = frameBelow || w == frame;
    EXPECT_TRUE(frameBelow);
    GetWindowRect(frame, &frameRect);
    RECT overlap;
    ASSERT_TRUE(IntersectRect(&overlap, &placed, &frameRect)) << "they overlap at start";
    POINT inside = {placed.left + 3, placed.bottom - 3};
    ASSERT_TRUE(PtInRect(&overlap, inside));
    EXPECT_TRUE(ShowsPaletteAt(inside));

    // Bringing the frame forward leaves the palette above it.
    SetForegroundWindow(frame);
    Settle(200);
    EXPECT_TRUE(ShowsPaletteAt(inside));
}

TEST_F(PaletteProgramTest, ShowsTheDesignedSurfaceAndControls) {
    RECT window;
    GetWindowRect(palette, &window);
    ScreenCapture shot(window);
    POINT o = ClientOrigin();
    RECT client;
    GetClientRect(palette, &client);

    // Surface: background, frame, discs, a few swatches.
    EXPECT_EQ(Hex(shot.At(o.x + 1, o.y + 1)), Hex(DarkRed));
    EXPECT_EQ(Hex(shot.At(o.x + 300, o.y + 105)), Hex(DarkRed));
    EXPECT_EQ(Hex(shot.At(o.x, o.y + 300)), Hex(RGB(0, 0, 0))) << "frame";
    EXPECT_EQ(Hex(shot.At(o.x + 50, o.y + 150)), Hex(RGB(0, 0, 0))) << "primary disc";
    EXPECT_EQ(Hex(shot.At(o.x + 110, o.y + 150)), Hex(RGB(255, 255, 255))) << "secondary disc";
    EXPECT_EQ(Hex(shot.At(o.x + 50, o.y + 178)), Hex(RGB(0, 0, 255))) << "disc outline";
    struct Cell {
        int row, column;
        COLORREF colour;
    } cells[] = {{1, 8, RGB(255, 255, 0)}, {1, 24, RGB(255, 30, 0)},    {2, 30, RGB(30, 0, 255)},
                 {3, 6, RGB(255, 0, 30)},  {4, 31, RGB(255, 255, 255)}, {3, 22, RGB(0, 255, 150)}};
    for (const Cell& c : cells) {
        int x = 145 + 15 * c.column + 7, y = 115 + 15 * c.row + 7;
        EXPECT_EQ(Hex(shot.At(o.x + x, o.y + y)), Hex(c.colour)) << c.row << "," << c.column;
    }
    // The label: white strokes right of and below (20, 20).
    int white = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 20; x < 100; ++x)
            white += shot.At(o.x + x, o.y + y) == RGB(255, 255, 255);
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
            COLORREF face = shot.At(r.left + o.x + r.right - r.left - 5, o.y + r.top + 5);
            int drawn = 0;
            for (int y = r.top + 2; y < r.bottom - 2; ++y)
                for (int x = r.left + 6; x < r.right - 6; ++x)
                    drawn += shot.At(o.x + x, o.y + y) != face;
            EXPECT_GT(drawn, 10) << "caption of " << t.id;
        }
    }
}

TEST_F(PaletteProgramTest, PressingASwatchPicksItAndDraggingMovesThePalette) {
    RECT before;
    GetWindowRect(palette, &before);
    POINT origin = ClientOrigin();
    int x = 145 + 15 * 20 + 7, y = 115 + 15 * 2 + 7; // (90, 90, 255)
    SetCursorPos(origin.x + x, origin.y + y);
    Settle(100);
    PostMessageW(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Settle(200);
    for (int i = 1; i <= 6; ++i) {
        SetCursorPos(origin.x + x - 10 * i, origin.y + y - 7 * i);
        PostMessageW(palette, WM_MOUSEMOVE, MK_LBUTTON, 0);
        Settle(50);
    }
    // The system's move loop ends at the button-up.
    PostMessageW(palette, WM_LBUTTONUP, 0, 0);
    Settle(300);
    RECT after;
    GetWindowRect(palette, &after);
    EXPECT_EQ(after.left - before.left, -60);
    EXPECT_EQ(after.top - before.top, -42);
    EXPECT_EQ(after.right - after.left, before.right - before.left);

    POINT moved = ClientOrigin();
    RECT window;
    GetWindowRect(palette, &window);
    ScreenCapture shot(window);
    EXPECT_EQ(Hex(shot.At(moved.x + 50, moved.y + 150)), Hex(RGB(90, 90, 255)));

    // A press on the secondary disc exchanges the colours.
    SetCursorPos(moved.x + 110, moved.y + 150);
    PostMessageW(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 150));
    Settle(200);
    PostMessageW(palette, WM_LBUTTONUP, 0, 0);
    Settle(300);
    GetWindowRect(palette, &window);
    EXPECT_EQ(window.left, after.left) << "a press without movement leaves the palette";
    ScreenCapture exchanged(window);
    EXPECT_EQ(Hex(exchanged.At(moved.x + 50, moved.y + 150)), Hex(RGB(255, 255, 255)));
    EXPECT_EQ(Hex(exchanged.At(moved.x + 110, moved.y + 150)), Hex(RGB(90, 90, 255)));
}

TEST_F(PaletteProgramTest, TypingTooLargeAWidthShowsTheLimit) {
    HWND box = GetDlgItem(palette, PenWidthBox);
    PostMessageW(box, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"600"))
        PostMessageW(box, WM_CHAR, c, 1);
    Settle(300);
    EXPECT_EQ(TextOf(box), L"500");
    DWORD_PTR position = 0;
    SendMessageTimeoutW(GetDlgItem(palette, PenWidthTrackbar), TBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG,
                        2000, &position);
    EXPECT_EQ(position, 500u);
}

TEST_F(PaletteProgramTest, QuitEndsTheProgramEvenFromInsideAnotherDialog) {
    PostMessageW(frame, WM_COMMAND, FileNew, 0);
    HWND paper = WaitForTopWindow(program, L"#32770", L"新規作成", 5000);
    ASSERT_NE(paper, nullptr) << "the new-paper dialog runs its own modal loop";
    PostMessageW(GetDlgItem(palette, PaletteQuit), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(PaletteProgramTest, TheHistoryButtonsBeforeAnyDocumentLeaveTheProgramRunning) {
    for (int round = 0; round < 3; ++round)
        for (int id : {1009, 1019, 1012})
            PostMessageW(GetDlgItem(palette, id), BM_CLICK, 0, 0);
    Settle(300);
    EXPECT_TRUE(IsRunning(program));
    EXPECT_TRUE(IsWindowVisible(palette));
    PostMessageW(GetDlgItem(palette, PaletteQuit), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForExit(program), 0);
}

} // namespace
