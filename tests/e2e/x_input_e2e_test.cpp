// The program used with real X input (pointer moves, clicks, keys through xdotool), not with
// window messages: proof that it works with a real mouse and keyboard.
#include <gtest/gtest.h>

#include "program_driver.h"
#include "x_input.h"

namespace {

const int PaletteQuit = 1005;

class RealInputTest : public testing::Test {
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
        EXPECT_FALSE(KillIfRunning(program)) << "the program was still running and was killed";
        CloseHandle(program.process.hProcess);
        CloseHandle(program.process.hThread);
    }
    // A point on the frame's menu bar, over "File(&F)".
    POINT FileMenuPoint() const {
        POINT clientTop = ScreenPointOf(frame, 0, 0);
        return POINT{clientTop.x + 16, clientTop.y - GetSystemMetrics(SM_CYMENU) / 2};
    }
    RunningProgram program;
    HWND frame = nullptr;
    HWND palette = nullptr;
};

TEST_F(RealInputTest, ClickingThePalettesQuitButtonEndsTheProgram) {
    POINT quit = CentreOf(GetDlgItem(palette, PaletteQuit));
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

} // namespace
