// The frame window with its File menu and MDI client, created in-process and driven with the
// messages that its menu and caption send.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "base/app_state.h"
#include "resources/resource_ids.h"
#include "win32_test_support.h"

namespace {

class FrameWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        UseTestModuleAsInstance();
        frame = CreateFrameWindow(appState.instance);
        ASSERT_NE(frame, nullptr);
        PumpMessages();
    }
    void TearDown() override {
        if (IsWindow(frame))
            DestroyWindow(frame);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // The exit code of a pending quit request, or -1 when there is none.
    static int PendingQuitCode() {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT)
                return static_cast<int>(m.wParam);
            DispatchMessageW(&m);
        }
        return -1;
    }
    HWND frame = nullptr;
};

TEST_F(FrameWindowTest, HasItsClassTitleStyleAndMenu) {
    EXPECT_EQ(appState.frameWindow, frame);
    EXPECT_EQ(ClassNameOf(frame), L"FrameClassName");
    EXPECT_EQ(WindowText(frame), L"フデマル");
    LONG style = GetWindowLongW(frame, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(IsWindowVisible(frame)) << "visible by its style alone";
    EXPECT_EQ(GetParent(frame), nullptr);

    WNDCLASSEXW info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(appState.instance, L"FrameClassName", &info));
    EXPECT_EQ(info.style, UINT(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    EXPECT_EQ(info.hbrBackground, GetStockObject(NULL_BRUSH));
    EXPECT_EQ(info.hCursor, LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_NE(info.hIcon, nullptr) << "the program's own icon";
    ASSERT_NE(info.lpszMenuName, nullptr);
    EXPECT_EQ(std::wstring(info.lpszMenuName), L"IDR_MENU");

    HMENU bar = GetMenu(frame);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 0), 0), UINT(IDM_FILE_NEW));
}

TEST_F(FrameWindowTest, MdiClientFillsTheFrame) {
    HWND client = appState.mdiClient;
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(_wcsicmp(ClassNameOf(client).c_str(), L"MDIClient"), 0);
    EXPECT_EQ(GetParent(client), frame);
    EXPECT_EQ(GetDlgCtrlID(client), 1);
    LONG style = GetWindowLongW(client, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN),
              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);

    SetWindowPos(frame, nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOMOVE);
    PumpMessages();
    RECT frameClient, clientRect;
    GetClientRect(frame, &frameClient);
    GetWindowRect(client, &clientRect);
    EXPECT_EQ(clientRect.right - clientRect.left, frameClient.right);
    EXPECT_EQ(clientRect.bottom - clientRect.top, frameClient.bottom);
}

LRESULT CALLBACK PlainChild(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefMDIChildProcW(w, m, wp, lp);
}

TEST_F(FrameWindowTest, FirstMdiChildIs256AndNoMenuListsIt) {
    WNDCLASSW childClass = {};
    childClass.lpfnWndProc = PlainChild;
    childClass.hInstance = appState.instance;
    childClass.lpszClassName = L"FrameTestChild";
    RegisterClassW(&childClass);
    HWND child = CreateMDIWindowW(L"FrameTestChild", L"子", 0, 0, 0, 200, 100, appState.mdiClient,
                                  appState.instance, 0);
    ASSERT_NE(child, nullptr);
    PumpMessages();
    EXPECT_EQ(GetDlgCtrlID(child), MDI_FIRST_CHILD_ID);

    // No window menu: no popup of the bar gains an entry for the child.
    HMENU bar = GetMenu(frame);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 5);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetSubMenu(bar, 0), 3)), 5);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 1)), 4);
}

TEST_F(FrameWindowTest, EraseBackgroundErasesNothing) {
    HDC dc = GetDC(frame);
    EXPECT_EQ(SendMessageW(frame, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    ReleaseDC(frame, dc);
}

TEST_F(FrameWindowTest, NewSheetAsksForThePaperOnlyWhileNoDocumentIsOpen) {
    std::vector<SeenDialog> seen =
        RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_NEW, 0); },
                            [](HWND dialog) { ClickDialogButton(dialog, IDC_PAPER_CANCEL); });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"新規作成");
    EXPECT_EQ(seen[0].owner, nullptr) << "the paper dialog has no owner";
    EXPECT_EQ(appState.blankDocumentOpen, 0) << "cancelled";
    EXPECT_EQ(appState.imageDocumentOpen, 0);

    for (int flag = 0; flag < 2; ++flag) {
        appState.blankDocumentOpen = flag == 0;
        appState.imageDocumentOpen = flag == 1;
        seen = RunAnsweringDialogs([&] {
            SendMessageW(frame, WM_COMMAND, IDM_FILE_NEW, 0);
            SendMessageW(frame, WM_COMMAND, IDM_FILE_LOAD_IMAGE, 0);
        });
        EXPECT_TRUE(seen.empty()) << "a document is open: nothing may be asked";
    }
    EXPECT_TRUE(IsWindow(frame));
}

TEST_F(FrameWindowTest, SaveCommandsWithoutADocumentDoNothing) {
    std::vector<SeenDialog> seen = RunAnsweringDialogs([&] {
        for (int command = IDM_SAVE_BMP; command <= IDM_SAVE_TIFF; ++command)
            SendMessageW(frame, WM_COMMAND, command, 0);
    });
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(appState.blankDocumentOpen, 0);
    EXPECT_EQ(appState.imageDocumentOpen, 0);
    EXPECT_EQ(PendingQuitCode(), -1);
}

TEST_F(FrameWindowTest, ExitDestroysTheFrameAndRequestsExitCodeZero) {
    SendMessageW(frame, WM_COMMAND, IDM_FILE_EXIT, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(appState.mdiClient));
    EXPECT_EQ(PendingQuitCode(), 0);
}

TEST_F(FrameWindowTest, CloseBoxBehavesLikeExit) {
    SendMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(PendingQuitCode(), 0);
}

TEST_F(FrameWindowTest, DestroyPostsTheQuitRequest) {
    DestroyWindow(frame);
    EXPECT_EQ(PendingQuitCode(), 0);
}

} // namespace
