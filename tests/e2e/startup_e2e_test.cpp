// Starting and ending the real program, its File menu, and what every run starts from.
#include "program_test.h"

#include <iterator>

#include "picture_files.h"
#include "test_files.h"

namespace {

class ProgramLifeTest : public ProgramTest {};

TEST_F(ProgramLifeTest, StartsWithTheFrameAndACentredTopmostPaletteInTheirFirstState) {
    EXPECT_NE(GetMenu(frame), nullptr) << "the frame shows its menu bar";
    EXPECT_TRUE(DocumentWindows().empty()) << "no document at start";
    EXPECT_TRUE(IsWindowEnabled(frame)) << "the palette disables nothing";

    EXPECT_TRUE(GetWindowLongW(palette, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(palette, GW_OWNER), nullptr);
    EXPECT_NE(GetWindowLongW(palette, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "no title bar";
    RECT desktop = ScreenRectOf(GetDesktopWindow());
    LONG width = paletteAtStart.right - paletteAtStart.left;
    LONG height = paletteAtStart.bottom - paletteAtStart.top;
    EXPECT_EQ(paletteAtStart.left, (desktop.right - width) / 2) << "centred";
    EXPECT_EQ(paletteAtStart.top, (desktop.bottom - height) / 2) << "centred";

    // The settings as every run starts them.
    EXPECT_EQ(PaletteText(ids::PenWidthBox, L"10"), L"10");
    EXPECT_EQ(PaletteText(ids::ToleranceBox, L"20"), L"20");
    EXPECT_EQ(PaletteText(ids::SprayBox, L"50"), L"50");
    EXPECT_EQ(PalettePosition(ids::PenWidthTrackbar, 10), 10);
    EXPECT_EQ(PalettePosition(ids::ToleranceTrackbar, 20), 20);
    EXPECT_EQ(PalettePosition(ids::SprayTrackbar, 50), 50);
    EXPECT_TRUE(IsChecked(palette, ids::PreviewCheck));
    EXPECT_EQ(PrimaryDisc(0x000000u), 0x000000u);
    EXPECT_EQ(SecondaryDisc(0xFFFFFFu), 0xFFFFFFu);
}

TEST_F(ProgramLifeTest, TheMenuBarHasTheFileAndEditMenusAsDesigned) {
    struct Expected {
        const wchar_t* text;
        UINT command;
        int depth;
    };
    const Expected expected[] = {
        {L"File(&F)", 0, 0},
        {L"新規作成(&N)\tCtrl+N", 40003, 1},
        {L"画像ロード\tCtrl+O", 40021, 1},
        {L"上書き保存(&S)\tCtrl+S", ids::FileSave, 1},
        {L"保存(&H)", 0, 1},
        {L"bmpで保存", 40028, 2},
        {L"jpegで保存", 40029, 2},
        {L"pngで保存", 40030, 2},
        {L"gifで保存", 40031, 2},
        {L"Tiffで保存", 40032, 2},
        {L"終了(&X)", 40004, 1},
        {L"Edit(&E)", 0, 0},
        {L"戻す(&U)\tCtrl+Z", ids::EditUndo, 1},
        {L"進む(&R)\tCtrl+Y", ids::EditRedo, 1},
        {L"コピー(&C)\tCtrl+C", ids::EditCopy, 1},
        {L"貼り付け(&P)\tCtrl+V", ids::EditPaste, 1},
    };
    std::vector<MenuEntry> menu = MenuResourceOfProgram(L"IDR_MENU");
    ASSERT_EQ(menu.size(), std::size(expected));
    for (size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].text, expected[i].text) << i;
        EXPECT_EQ(menu[i].command, expected[i].command) << i;
        EXPECT_EQ(menu[i].popup, expected[i].command == 0) << i;
        EXPECT_EQ(menu[i].depth, expected[i].depth) << i;
        EXPECT_EQ(menu[i].state, 0u) << "nothing grayed, checked or separated: " << i;
    }
}

TEST_F(ProgramLifeTest, FileExitChosenFromTheKeyboardEndsWithExitCodeZero) {
    ASSERT_TRUE(ChooseFromFileMenu(frame, FileMenuItem::Exit));
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(ProgramLifeTest, FileExitWithADocumentOpenAsksNothing) {
    ASSERT_TRUE(OpenSheet(200, 100));
    ASSERT_TRUE(ChooseFromFileMenu(frame, FileMenuItem::Exit));
    EXPECT_EQ(WaitForExit(program), 0) << "ended without a question";
}

TEST_F(ProgramLifeTest, TheFramesCloseBoxEndsWithExitCodeZero) {
    ASSERT_TRUE(OpenSheet(200, 100));
    PostMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(ProgramLifeTest, ThePalettesQuitEndsWithADocumentOpen) {
    ASSERT_TRUE(OpenSheet(200, 100));
    PostClick(palette, ids::Quit);
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(ProgramLifeTest, ThePalettesQuitEndsFromInsideThePaperDialog) {
    ASSERT_NE(OpenPaperDialog(), nullptr);
    PostClick(palette, ids::Quit);
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(ProgramLifeTest, ThePalettesQuitEndsFromInsideTheSaveDialogWritingNothing) {
    ScratchFolder folder;
    ASSERT_TRUE(OpenSheet(200, 100));
    std::vector<HWND> before = DialogsOf(program);
    ASSERT_TRUE(ChooseFromFileMenu(frame, FileMenuItem::SavePng));
    HWND save = WaitForNewDialog(program, before, 5000);
    ASSERT_NE(save, nullptr);
    SetControlText(save, ids::FileNameBox, folder.File(L"never.png"));
    PostClick(palette, ids::Quit);
    EXPECT_EQ(WaitForExit(program), 0);
    EXPECT_TRUE(folder.FileNames().empty());
}

// The load failure's message has no owner, so the frame's menu stays usable under it.
TEST_F(ProgramLifeTest, FileExitEndsWhileTheLoadFailureIsShown) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteIcon(folder.File(L"icon.ico")));
    ASSERT_TRUE(ChooseFileInDialog(OpenLoadDialog(), folder.File(L"icon.ico")));
    ASSERT_NE(WaitForMessageBox(program, L"破損または対応していないファイルです").window, nullptr);
    ASSERT_TRUE(ChooseFromFileMenu(frame, FileMenuItem::Exit));
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(ProgramLifeTest, EscapeEnterAndAltF4InThePaletteLeaveItOpen) {
    HWND box = GetDlgItem(palette, ids::PenWidthBox);
    PostKey(box, VK_RETURN);
    PostKey(box, VK_ESCAPE);
    PostKey(palette, VK_ESCAPE);
    PostMessageW(palette, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    PostMessageW(palette, WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle(500);
    EXPECT_TRUE(IsRunning(program));
    EXPECT_TRUE(IsWindowVisible(palette));
    EXPECT_EQ(PaletteText(ids::PenWidthBox, L"10"), L"10");
}

class ProgramWithArgumentsTest : public ProgramTest {
  protected:
    void SetUp() override { Launch(L"picture.bmp /new --zoom=3"); }
};

TEST_F(ProgramWithArgumentsTest, CommandLineArgumentsChangeNothing) {
    Settle(300);
    EXPECT_TRUE(DocumentWindows().empty()) << "no document opened from the arguments";
    EXPECT_EQ(DialogsOf(program).size(), 1u) << "only the palette";
    EXPECT_EQ(PaletteText(ids::PenWidthBox, L"10"), L"10");
}

TEST_F(ProgramLifeTest, NothingIsKeptFromOneRunToTheNext) {
    // The first run changes settings, colours and the paper size.
    TypeIntoBox(GetDlgItem(palette, ids::PenWidthBox), L"37");
    PostKey(GetDlgItem(palette, ids::SprayTrackbar), VK_END);
    PressPaletteSurface(110, 150); // the secondary disc: exchange the colours
    ASSERT_TRUE(OpenSheet(300, 200));
    Settle(200);
    ASSERT_EQ(PaletteText(ids::PenWidthBox, L"37"), L"37");
    ASSERT_EQ(PaletteText(ids::SprayBox, L"1000"), L"1000");
    ASSERT_EQ(PrimaryDisc(0xFFFFFFu), 0xFFFFFFu);
    QuitWithPaletteButton();

    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_EQ(PaletteText(ids::PenWidthBox, L"10"), L"10");
    EXPECT_EQ(PaletteText(ids::SprayBox, L"50"), L"50");
    EXPECT_EQ(PalettePosition(ids::SprayTrackbar, 50), 50);
    EXPECT_EQ(PrimaryDisc(0x000000u), 0x000000u);
    EXPECT_EQ(SecondaryDisc(0xFFFFFFu), 0xFFFFFFu);
    HWND paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(ControlText(paper, ids::PaperWidth), L"680");
    EXPECT_EQ(ControlText(paper, ids::PaperHeight), L"480");
    PostClick(paper, ids::PaperOk);
    ASSERT_TRUE(WaitUntilGone(paper));
    ASSERT_TRUE(WaitForDocument());
    SIZE window = SizeOf(document);
    EXPECT_EQ(window.cx, 780) << "the first document of a run is fitted afresh";
    EXPECT_EQ(window.cy, 580);
}

} // namespace
