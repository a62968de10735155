// The whole start-up sequence, run in-process: frame, palette modal loop, frame loop. A
// thread timer acts from inside the palette's modal loop, as the user would.
#include <gtest/gtest.h>

#include <functional>

#include "app/startup.h"
#include "base/app_state.h"
#include "base/centring.h"
#include "base/class_resources.h"
#include "base/window_class.h"
#include "resources/resource_ids.h"
#include "win32_test_support.h"

namespace {

// Runs the program; the action is called once from the palette's modal loop and must end the
// run. Returns the exit code.
std::function<void()> paletteAction;

void CALLBACK ActInsideThePalette(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!appState.paletteWindow || !IsWindowVisible(appState.paletteWindow))
        return;
    KillTimer(nullptr, timer);
    if (paletteAction)
        paletteAction();
}

int RunWhile(std::function<void()> whilePaletteRuns) {
    paletteAction = std::move(whilePaletteRuns);
    SetTimer(nullptr, 0, 30, ActInsideThePalette);
    return RunFudemaru(GetModuleHandleW(nullptr));
}

IntRect WindowRectOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return IntRect{r.left, r.top, r.right, r.bottom};
}

IntRect DesktopRect() {
    return WindowRectOf(GetDesktopWindow());
}

TEST(StartupTest, ClassResourcesAreReadyBeforeTheProgramRuns) {
    for (const WindowClassResources* r :
         {&frameClassResources, &documentClassResources, &canvasClassResources}) {
        EXPECT_NE(r->icon, nullptr);
        EXPECT_EQ(r->background, GetStockObject(NULL_BRUSH));
    }
}

TEST(StartupTest, PaletteRunsCentredTopmostAndOwnerlessOverTheFrame) {
    bool checked = false;
    int code = RunWhile([&] {
        HWND palette = appState.paletteWindow;
        EXPECT_NE(appState.frameWindow, nullptr) << "the frame is made before the palette";
        EXPECT_TRUE(IsWindowVisible(appState.frameWindow));
        EXPECT_EQ(appState.instance, GetModuleHandleW(nullptr));
        EXPECT_EQ(WindowText(palette), L"パレット");
        EXPECT_EQ(GetWindow(palette, GW_OWNER), nullptr);
        EXPECT_TRUE(GetWindowLongW(palette, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(IsWindowEnabled(appState.frameWindow)) << "the palette disables nothing";
        IntRect placed = WindowRectOf(palette);
        IntRect expected = CentredWindowRect(DesktopRect(), placed);
        EXPECT_EQ(placed.left, expected.left);
        EXPECT_EQ(placed.top, expected.top);
        checked = true;
        SendMessageW(appState.frameWindow, WM_COMMAND, IDM_FILE_EXIT, 0);
    });
    EXPECT_TRUE(checked);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(IsWindow(appState.frameWindow));
}

TEST(StartupTest, QuitFromThePaletteEndsTheRunAndCentresTheFrame) {
    int code = RunWhile([] { ClickDialogButton(appState.paletteWindow, IDC_QUIT); });
    EXPECT_EQ(code, 0);
    ASSERT_TRUE(IsWindow(appState.frameWindow)) << "only the frame's exit destroys it";
    IntRect frame = WindowRectOf(appState.frameWindow);
    IntRect expected = CentredWindowRect(DesktopRect(), frame);
    EXPECT_EQ(frame.left, expected.left);
    EXPECT_EQ(frame.top, expected.top);
    EXPECT_FALSE(IsWindow(appState.paletteWindow)) << "the palette's loop has ended";
    DestroyWindow(appState.frameWindow);
}

bool paletteSurvived = false;

void CALLBACK QuitAfterChecking(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    paletteSurvived = IsWindow(appState.paletteWindow) && IsWindowVisible(appState.paletteWindow);
    ClickDialogButton(appState.paletteWindow, IDC_QUIT);
}

TEST(StartupTest, EnterEscapeAndAltF4LeaveThePaletteOpen) {
    int code = RunWhile([] {
        HWND palette = appState.paletteWindow;
        // The dialog manager turns these keys into IDOK / IDCANCEL; Alt+F4 becomes SC_CLOSE.
        PostMessageW(palette, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(palette, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(palette, WM_SYSKEYDOWN, VK_F4, 1 << 29);
        PostMessageW(palette, WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageW(palette, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(palette, WM_COMMAND, IDOK, 0);
        SetTimer(nullptr, 0, 200, QuitAfterChecking);
    });
    EXPECT_TRUE(paletteSurvived);
    EXPECT_EQ(code, 0);
    DestroyWindow(appState.frameWindow);
}

TEST(StartupTest, CenterWindowCentresWithoutResizingEvenWhenWiderThanTheDesktop) {
    IntRect desktop = DesktopRect();
    WNDCLASSW plain = {};
    plain.lpfnWndProc = DefWindowProcW;
    plain.hInstance = GetModuleHandleW(nullptr);
    plain.lpszClassName = L"CentringTestWindow";
    RegisterClassW(&plain);
    const int widths[] = {300, desktop.right + 3};
    for (int width : widths) {
        HWND window = CreateWindowExW(0, L"CentringTestWindow", L"", WS_POPUP, 5, 5, width, 200,
                                      nullptr, nullptr, plain.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(CenterWindow(window), 0);
        IntRect placed = WindowRectOf(window);
        EXPECT_EQ(placed.right - placed.left, width);
        EXPECT_EQ(placed.bottom - placed.top, 200);
        EXPECT_EQ(placed.left, (desktop.right - width) / 2);
        EXPECT_EQ(placed.top, (desktop.bottom - 200) / 2);
        EXPECT_TRUE(IsWindowVisible(window));
        DestroyWindow(window);
    }
}

} // namespace
