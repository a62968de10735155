// The program used with real X input (pointer moves, clicks, drags, wheel notches and keys
// through xdotool), not with window messages: proof that it works with a real mouse and
// keyboard.
#include "program_test.h"

#include <utility>

#include "scenario_pictures.h"
#include "test_files.h"
#include "x_input.h"

namespace {

class RealInputTest : public ProgramTest {
  protected:
    // A point on the frame's menu bar, over "File(&F)".
    POINT FileMenuPoint() const {
        POINT clientTop = ScreenPointOf(frame, 0, 0);
        return POINT{clientTop.x + 16, clientTop.y - GetSystemMetrics(SM_CYMENU) / 2};
    }
    // A point on the frame's caption, away from its buttons.
    POINT FrameCaptionPoint() const {
        RECT r = ScreenRectOf(frame);
        return POINT{(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYFRAME) + 8};
    }
    // File(&F) clicked, then 新規作成(&N) by its access key; the size typed with the keys and
    // 決定 clicked.
    bool OpenSheetWithMouseAndKeys(const wchar_t* width, const wchar_t* height) {
        POINT file = FileMenuPoint();
        XClickAt(file.x, file.y);
        Settle(300);
        XKey("n");
        HWND paper = WaitForTopWindow(program, L"#32770", L"新規作成", 5000);
        if (!paper)
            return false;
        Settle(300);
        // The width box has the focus with its text selected: typing replaces it; Tab moves
        // to the height box and selects its text.
        XType(width);
        XKey("Tab");
        XType(height);
        Settle(200);
        POINT decide = CentreOf(GetDlgItem(paper, ids::PaperOk));
        XClickAt(decide.x, decide.y);
        return WaitUntilGone(paper) && WaitForDocument();
    }
};

TEST_F(RealInputTest, ClickingThePalettesQuitButtonEndsTheProgram) {
    POINT quit = CentreOf(GetDlgItem(palette, ids::Quit));
    ASSERT_TRUE(XClickAt(quit.x, quit.y));
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(RealInputTest, FileMenuOpenedWithTheMouseAndExitChosenByItsAccessKey) {
    POINT file = FileMenuPoint();
    ASSERT_TRUE(XClickAt(file.x, file.y));
    Settle(300);
    EXPECT_TRUE(IsRunning(program)) << "opening the menu ends nothing";
    ASSERT_TRUE(XKey("x"));
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(RealInputTest, ClickingTheFramesCloseBoxEndsTheProgram) {
    RECT r = ScreenRectOf(frame);
    int x = r.right - GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXSIZE) / 2 - 1;
    int y = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    ASSERT_TRUE(XClickAt(x, y));
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(RealInputTest, ASheetOfATypedSizeOpenedWithTheMouseAndKeys) {
    ASSERT_TRUE(OpenSheetWithMouseAndKeys(L"320", L"240"));
    ASSERT_EQ(CanvasViewSize().cx, 320);
    ASSERT_EQ(CanvasViewSize().cy, 240);
    auto isSheet = [](const std::vector<uint32_t>& s) {
        return PixelsOffTheSheet(s, 320, 240) == 0;
    };
    EXPECT_EQ(PixelsOffTheSheet(CanvasOnScreen(isSheet), 320, 240), 0);
}

// Under Wine the wheel reaches the window under the pointer; on Windows it goes to the window
// with the keyboard focus, which the canvas takes when the pointer moves over it.
TEST_F(RealInputTest, WheelNotchesOverTheCanvasZoomIt) {
    ASSERT_TRUE(OpenSheet(400, 300));
    POINT middle = CentreOf(canvas);
    auto viewSize = [&] { return std::make_pair(CanvasViewSize().cx, CanvasViewSize().cy); };
    ASSERT_TRUE(XWheelAt(middle.x, middle.y, 2));
    EXPECT_EQ(Eventually(viewSize, std::make_pair(484L, 363L)), std::make_pair(484L, 363L));
    middle = CentreOf(canvas);
    ASSERT_TRUE(XWheelAt(middle.x, middle.y, -3));
    EXPECT_EQ(Eventually(viewSize, std::make_pair(360L, 270L)), std::make_pair(360L, 270L));
}

TEST_F(RealInputTest, SavedThroughTheRealDialogWithRealKeys) {
    ASSERT_TRUE(OpenSheetWithMouseAndKeys(L"160", L"90"));
    // The frame takes the keyboard with a click on its caption; Alt+F, 保存(&H), the third
    // format (png) with the arrow keys.
    POINT caption = FrameCaptionPoint();
    XClickAt(caption.x, caption.y);
    Settle(200);
    XKey("alt+f");
    Settle(300);
    XKey("h");
    Settle(200);
    XKey("Down");
    XKey("Down");
    XKey("Return");
    HWND save = WaitForTopWindow(program, L"#32770", L"名前を付けてファイルを保存する", 5000);
    ASSERT_NE(save, nullptr);
    Settle(500);
    ScratchFolder folder;
    ASSERT_TRUE(XType(folder.File(L"typed")));
    XKey("Return");
    ASSERT_TRUE(WaitForFile(folder.File(L"typed.png")));
    DecodedImage image;
    ASSERT_TRUE(DecodeIndependently(folder.File(L"typed.png"), &image));
    EXPECT_EQ(image.format, "PNG");
    ASSERT_EQ(image.width, 160);
    ASSERT_EQ(image.height, 90);
    EXPECT_EQ(image.Rgb(0, 0), Black);
    EXPECT_EQ(image.Rgb(80, 45), White);
}

TEST_F(RealInputTest, ThePaletteIsDraggedByItsSurfaceAndItsSwatchesClicked) {
    RECT before = ScreenRectOf(palette);
    // A bare part of the surface, below the settings.
    POINT grip = PaletteToScreen(600, 370);
    ASSERT_TRUE(XDragWindow(palette, grip, POINT{grip.x - 100, grip.y - 60}));
    RECT after = ScreenRectOf(palette);
    EXPECT_EQ(after.left - before.left, -100);
    EXPECT_EQ(after.top - before.top, -60);

    POINT red = PaletteToScreen(145 + 15 * 8 + 7, 115 + 7);
    ASSERT_TRUE(XClickAt(red.x, red.y));
    Settle(300);
    EXPECT_EQ(PrimaryDisc(0xFF0000u), 0xFF0000u);
    POINT secondary = PaletteToScreen(110, 150);
    ASSERT_TRUE(XClickAt(secondary.x, secondary.y));
    Settle(300);
    EXPECT_EQ(PrimaryDisc(White), White);
    EXPECT_EQ(SecondaryDisc(0xFF0000u), 0xFF0000u);
    EXPECT_EQ(ScreenRectOf(palette).left, after.left) << "clicks without movement move nothing";
}

TEST_F(RealInputTest, ATrackbarClickedAndMovedWithTheKeysWritesItsBox) {
    HWND trackbar = GetDlgItem(palette, ids::SprayTrackbar);
    RECT r = ScreenRectOf(trackbar);
    // A click in the channel right of the thumb moves it a page; End takes it to the end.
    ASSERT_TRUE(XClickAt(r.right - 12, (r.top + r.bottom) / 2));
    Settle(300);
    int paged = TrackbarPosition(palette, ids::SprayTrackbar);
    EXPECT_GT(paged, 50);
    EXPECT_EQ(PaletteText(ids::SprayBox, std::to_wstring(paged)), std::to_wstring(paged));
    ASSERT_TRUE(XKey("End"));
    Settle(300);
    EXPECT_EQ(PaletteText(ids::SprayBox, L"1000"), L"1000");
    ASSERT_TRUE(XKey("Left"));
    Settle(300);
    EXPECT_EQ(PaletteText(ids::SprayBox, L"999"), L"999");
}

} // namespace
