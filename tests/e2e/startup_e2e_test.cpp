// Starting and ending the real program.
#include <gtest/gtest.h>

#include "program_driver.h"

namespace {

// Menu command and button identifiers as the program's resources define them.
const int FileExit = 40004;
const int PaletteQuit = 1005;

class ProgramTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartProgram(program))
            << "could not start " << testing::PrintToString(ProgramPath());
    }
    void TearDown() override {
        EXPECT_FALSE(KillIfRunning(program)) << "the program was still running and was killed";
        CloseHandle(program.process.hProcess);
        CloseHandle(program.process.hThread);
    }
    RunningProgram program;
};

TEST_F(ProgramTest, ShowsTheFrameAndTheTopmostPaletteAndEndsWithFileExit) {
    HWND frame = WaitForFrame(program);
    ASSERT_NE(frame, nullptr);
    HWND palette = WaitForPalette(program);
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(GetWindowLongW(palette, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(palette, GW_OWNER), nullptr);
    EXPECT_NE(GetWindowLongW(palette, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "no title bar";
    EXPECT_TRUE(IsWindowEnabled(frame));

    // Centred on the desktop.
    RECT desktop, placed;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(palette, &placed);
    EXPECT_EQ(placed.left, (desktop.right - (placed.right - placed.left)) / 2);
    EXPECT_EQ(placed.top, (desktop.bottom - (placed.bottom - placed.top)) / 2);

    PostMessageW(frame, WM_COMMAND, FileExit, 0);
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(ProgramTest, TheFramesCloseBoxEndsTheProgramWithExitCodeZero) {
    HWND frame = WaitForFrame(program);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(WaitForPalette(program), nullptr);
    PostMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(program), 0);
}

TEST_F(ProgramTest, EscapeAndAltF4InThePaletteLeaveItRunning) {
    HWND palette = WaitForPalette(program);
    ASSERT_NE(palette, nullptr);
    PostMessageW(palette, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(palette, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    PostMessageW(palette, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageW(palette, WM_COMMAND, IDCANCEL, 0);
    Settle(500);
    EXPECT_TRUE(IsRunning(program));
    EXPECT_TRUE(IsWindow(palette) && IsWindowVisible(palette));

    PostMessageW(GetDlgItem(palette, PaletteQuit), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForExit(program), 0);
}

class ProgramWithArgumentsTest : public ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(StartProgram(program, L"picture.bmp /new --zoom=3")); }
};

TEST_F(ProgramWithArgumentsTest, CommandLineArgumentsChangeNothing) {
    HWND frame = WaitForFrame(program);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(WaitForPalette(program), nullptr);
    Settle(300);
    // No document was opened from the arguments: the frame's MDI client has no child.
    HWND client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(GetWindow(client, GW_CHILD), nullptr);
    EXPECT_EQ(TopWindowsOf(program, L"#32770").size(), 1u) << "only the palette";
    PostMessageW(frame, WM_COMMAND, FileExit, 0);
    EXPECT_EQ(WaitForExit(program), 0);
}

} // namespace
