// The document window and the canvas window: the fit of a new document, the layout on the
// yellow surround, the scroll bars, the wheel zoom and the canvas paint.
#include <set>

#include "document_fixture.h"
#include "picture_files.h"
#include "test_files.h"
#include "view/view_geometry.h"

namespace {

const COLORREF Yellow = RGB(255, 255, 160);

uint32_t Checker(int x, int y) {
    return (x + y) % 2 ? 0xFF0000u : 0x0000FFu;
}

// Every pixel a person sees of a window, as 0xRRGGBB.
std::vector<uint32_t> ScreenPixelsOf(HWND window, int width, int height) {
    HDC windowDc = GetDC(window);
    std::vector<uint32_t> pixels = CopyPixels(windowDc, width, height);
    ReleaseDC(window, windowDc);
    return pixels;
}

class DocumentWindowTest : public DocumentTest {
  protected:
    void Wheel(int delta) {
        SendMessageW(appState.canvasWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(delta))), 0);
    }
    void Repaint() {
        RedrawWindow(appState.documentWindow, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(20);
    }
    static SCROLLINFO ScrollBar(int bar) {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(appState.documentWindow, bar, &info);
        return info;
    }
    void ExpectCanvasAt(int x, int y, int w, int h) {
        RECT r = ChildRect(appState.canvasWindow);
        EXPECT_EQ(r.left, x);
        EXPECT_EQ(r.top, y);
        EXPECT_EQ(r.right - r.left, w);
        EXPECT_EQ(r.bottom - r.top, h);
    }
};

TEST_F(DocumentWindowTest, TheFirstSheetFitsWithoutAStepAndIsCentred) {
    NewSheet(L"680", L"480");
    PumpMessages(20);
    EXPECT_EQ(appState.zoomLevel, 0);
    EXPECT_EQ(appState.viewSize.w, 680);
    EXPECT_EQ(appState.viewSize.h, 480);
    EXPECT_EQ(appState.documentSize.w, 780);
    EXPECT_EQ(appState.documentSize.h, 580);
    RECT outer;
    GetWindowRect(appState.documentWindow, &outer);
    EXPECT_EQ(outer.right - outer.left, 780);
    EXPECT_EQ(outer.bottom - outer.top, 580);
    EXPECT_EQ(ChildRect(appState.documentWindow).left, 0) << "at the MDI client's corner";
    EXPECT_EQ(ChildRect(appState.documentWindow).top, 0);

    HWND canvas = appState.canvasWindow;
    ASSERT_TRUE(IsWindow(canvas));
    EXPECT_EQ(GetParent(canvas), appState.documentWindow);
    EXPECT_EQ(ClassNameOf(canvas), L"IllustClassName");
    EXPECT_EQ(WindowText(canvas), L"用紙");
    EXPECT_EQ(GetDlgCtrlID(canvas), 1);
    EXPECT_EQ(GetWindowLongW(canvas, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    SIZE client = ClientSize(appState.documentWindow);
    ExpectCanvasAt((client.cx - 680) / 2, (client.cy - 480) / 2, 680, 480);
    EXPECT_EQ(GetWindowLongW(appState.documentWindow, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0)
        << "no scroll bars before the first range update";

    for (const wchar_t* name : {L"DocumentClassName", L"IllustClassName"}) {
        WNDCLASSEXW info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetClassInfoExW(appState.instance, name, &info));
        EXPECT_EQ(info.style, UINT(CS_HREDRAW | CS_VREDRAW));
        EXPECT_EQ(info.hbrBackground, GetStockObject(NULL_BRUSH));
        EXPECT_NE(info.hIcon, nullptr);
    }
    HDC dc = GetDC(appState.documentWindow);
    EXPECT_EQ(SendMessageW(appState.documentWindow, WM_ERASEBKGND, WPARAM(dc), 0), 0);
    ReleaseDC(appState.documentWindow, dc);
}

TEST_F(DocumentWindowTest, A1024By768ImageIsFittedFourStepsDown) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"a.bmp"), 1024, 768, Checker));
    LoadPicture(folder.File(L"a.bmp"));
    EXPECT_EQ(appState.zoomLevel, -4);
    EXPECT_EQ(appState.viewSize.w, 670);
    EXPECT_EQ(appState.viewSize.h, 502);
    RECT outer;
    GetWindowRect(appState.documentWindow, &outer);
    EXPECT_EQ(outer.right - outer.left, 770);
    EXPECT_EQ(outer.bottom - outer.top, 602) << "taller than the 580 it was fitted against";
}

TEST_F(DocumentWindowTest, TheDocumentSizeCarriesOverToTheNextDocument) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"big.bmp"), 2000, 1500, Checker));
    LoadPicture(folder.File(L"big.bmp"));
    EXPECT_EQ(appState.zoomLevel, -10);
    EXPECT_EQ(appState.viewSize.w, 695);
    EXPECT_EQ(appState.viewSize.h, 520);
    EXPECT_EQ(appState.documentSize.w, 795);
    CloseDocument();

    LoadPicture(folder.File(L"big.bmp"));
    EXPECT_EQ(appState.zoomLevel, -9);
    EXPECT_EQ(appState.viewSize.w, 773);
    EXPECT_EQ(appState.viewSize.h, 578);
    RECT outer;
    GetWindowRect(appState.documentWindow, &outer);
    EXPECT_EQ(outer.right - outer.left, 873);
    EXPECT_EQ(outer.bottom - outer.top, 678);
}

TEST_F(DocumentWindowTest, ClosingClearsBothFlagsAndTheZoomButKeepsTheSurface) {
    NewSheet(L"680", L"480");
    Wheel(-240);
    EXPECT_EQ(appState.zoomLevel, -2);
    HDC canvasDc = appState.canvasDc;
    HWND document = appState.documentWindow;
    HWND canvas = appState.canvasWindow;
    // From the close box, through the system menu.
    SendMessageW(document, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(document));
    EXPECT_FALSE(IsWindow(canvas));
    EXPECT_EQ(appState.blankDocumentOpen, 0);
    EXPECT_EQ(appState.imageDocumentOpen, 0);
    EXPECT_EQ(appState.zoomLevel, 0);
    EXPECT_EQ(appState.canvasDc, canvasDc);
    EXPECT_EQ(appState.canvasSize.w, 680);

    // 新規作成 works again, starts at zoom 0 and is fitted against 880 x 680.
    NewSheet(L"680", L"480");
    EXPECT_EQ(appState.blankDocumentOpen, 1);
    EXPECT_EQ(appState.zoomLevel, 0);
    EXPECT_EQ(appState.documentSize.w, 780);
    EXPECT_NE(appState.documentWindow, document);
}

TEST_F(DocumentWindowTest, AWheelTurnBelowOneNotchLeavesTheViewAndRepaintsIt) {
    NewSheet(L"680", L"480");
    PumpMessages(20);
    SIZE client = ClientSize(appState.documentWindow);
    SetWindowPos(appState.canvasWindow, nullptr, 33, 44, 10, 10, SWP_NOZORDER);
    Wheel(119);
    ExpectCanvasAt((client.cx - 680) / 2, (client.cy - 480) / 2, 680, 480);

    for (int delta : {-119, -60, -1, 0, 1, 60, 119}) {
        SCOPED_TRACE(delta);
        ValidateRect(appState.canvasWindow, nullptr);
        Wheel(delta);
        EXPECT_EQ(appState.zoomLevel, 0);
        EXPECT_EQ(appState.viewSize.w, 680);
        RECT update;
        EXPECT_TRUE(GetUpdateRect(appState.canvasWindow, &update, FALSE)) << "repainted";
        // The page is the client area; the range is the view; no offset while the view fits.
        EXPECT_EQ(appState.hScrollInfo.fMask, UINT(SIF_POS));
        EXPECT_EQ(appState.hScrollInfo.nMax, 679);
        EXPECT_EQ(appState.vScrollInfo.nMax, 479);
        EXPECT_EQ(appState.hScrollInfo.nPage, UINT(client.cx));
        EXPECT_EQ(appState.vScrollInfo.nPage, UINT(client.cy));
        EXPECT_EQ(appState.hScrollInfo.nPos + appState.vScrollInfo.nPos, 0);
        PumpMessages(20);
    }
}

TEST_F(DocumentWindowTest, WheelNotchesZoomByWholeStepsFromTheCanvasSize) {
    NewSheet(L"680", L"480");
    Wheel(240); // from outside the window: toward its middle
    EXPECT_EQ(appState.zoomLevel, 2);
    EXPECT_EQ(appState.viewSize.w, 822);
    EXPECT_EQ(appState.viewSize.h, 580);
    EXPECT_GT(appState.hScrollInfo.nPos, 0);
    ExpectCanvasAt(-appState.hScrollInfo.nPos, -appState.vScrollInfo.nPos, 822, 580);
    Wheel(-360);
    EXPECT_EQ(appState.zoomLevel, -1);
    EXPECT_EQ(appState.viewSize.w, 612);
    EXPECT_EQ(appState.viewSize.h, 432);
    Wheel(120);
    Wheel(-120);
    Wheel(120);
    EXPECT_EQ(appState.zoomLevel, 0);
    EXPECT_EQ(appState.viewSize.w, 680) << "in and out again is exactly the actual size";
    EXPECT_EQ(appState.viewSize.h, 480);
    PumpMessages(20);
    SIZE client = ClientSize(appState.documentWindow);
    ExpectCanvasAt((client.cx - 680) / 2, (client.cy - 480) / 2, 680, 480);
}

// Zooming out moves the canvas to the corner and the next paint centres it: everything the
// canvas no longer covers must show the surround, with no piece of the larger picture left.
TEST_F(DocumentWindowTest, ZoomingOutLeavesNoPieceOfTheLargerPictureBehind) {
    NewSheet(L"600", L"400");
    PumpMessages(50);
    Wheel(-120);
    PumpMessages(200);
    SIZE client = ClientSize(appState.documentWindow);
    RECT canvas;
    GetWindowRect(appState.canvasWindow, &canvas);
    MapWindowPoints(nullptr, appState.documentWindow, reinterpret_cast<POINT*>(&canvas), 2);
    ASSERT_EQ(canvas.right - canvas.left, 540);
    std::vector<uint32_t> seen = ScreenPixelsOf(appState.documentWindow, client.cx, client.cy);
    ASSERT_EQ(seen.size(), size_t(client.cx) * client.cy);
    int stale = 0;
    for (int y = 0; y < client.cy; ++y)
        for (int x = 0; x < client.cx; ++x) {
            POINT p = {x, y};
            if (!PtInRect(&canvas, p) && seen[size_t(y) * client.cx + x] != 0xFFFFA0u)
                ++stale;
        }
    EXPECT_EQ(stale, 0) << "pixels around the canvas that are not the surround";
}

// Unbounded, the view would shrink to nothing and never take the mouse again.
TEST_F(DocumentWindowTest, TheWheelStopsAtTheViewBounds) {
    NewSheet(L"680", L"480");
    for (int notch = 0; notch < 60; ++notch)
        Wheel(-120);
    EXPECT_EQ(appState.zoomLevel, -30);
    EXPECT_EQ(appState.viewSize.w, 25);
    EXPECT_EQ(appState.viewSize.h, 16);
    SIZE client = ClientSize(appState.documentWindow);
    ExpectCanvasAt((client.cx - 25) / 2, (client.cy - 16) / 2, 25, 16);
    Wheel(-1200);
    EXPECT_EQ(appState.zoomLevel, -30);

    Wheel(120 * 273);
    EXPECT_EQ(appState.zoomLevel, 40);
    EXPECT_EQ(appState.viewSize.w, 30594);
    EXPECT_EQ(appState.viewSize.h, 21542);
    ExpectCanvasAt(-appState.hScrollInfo.nPos, -appState.vScrollInfo.nPos, 30594, 21542);
    Wheel(120);
    EXPECT_EQ(appState.zoomLevel, 40);
}

TEST_F(DocumentWindowTest, AViewAsWideAsTheClientAreaIsPinnedNotCentred) {
    NewSheet(L"680", L"480");
    PumpMessages(20);
    RECT outer;
    GetWindowRect(appState.documentWindow, &outer);
    SIZE client = ClientSize(appState.documentWindow);
    int frameW = (outer.right - outer.left) - client.cx;
    int frameH = (outer.bottom - outer.top) - client.cy;

    // One pixel narrower: centred.
    SetWindowPos(appState.documentWindow, nullptr, 0, 0, 681 + frameW, 560 + frameH,
                 SWP_NOZORDER | SWP_NOMOVE);
    Repaint();
    ExpectCanvasAt(0, 40, 680, 480);

    // Exactly as wide: pinned to the corner, with the yellow band below it.
    SetWindowPos(appState.documentWindow, nullptr, 0, 0, 680 + frameW, 560 + frameH,
                 SWP_NOZORDER | SWP_NOMOVE);
    Repaint();
    ExpectCanvasAt(0, 0, 680, 480);
    HDC dc = GetDC(appState.documentWindow);
    EXPECT_EQ(GetPixel(dc, 300, 520), Yellow);
    ReleaseDC(appState.documentWindow, dc);
}

// The keys of the document and of the canvas, the dragged thumb and the middle button move a
// pinned canvas, within the ranges.
TEST_F(DocumentWindowTest, KeysTheThumbAndTheMiddleButtonMoveAPinnedCanvas) {
    NewSheet(L"680", L"480");
    Wheel(1200);
    const IntSize view = appState.viewSize;
    const SIZE client = ClientSize(appState.documentWindow);
    EXPECT_EQ(ScrollBar(SB_VERT).nPage, UINT(client.cy)) << "the thumb shows what is seen";
    const int line = client.cy / 10, page = client.cy - line, lastX = view.w - client.cx;
    const struct {
        HWND window;
        UINT message;
        int code, ctrl, x, y;
    } steps[] = {
        {appState.canvasWindow, WM_KEYDOWN, VK_HOME, 1, 0, appState.vScrollInfo.nPos},
        {appState.canvasWindow, WM_KEYDOWN, VK_HOME, 0, 0, 0},
        {appState.documentWindow, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20), 0, 0, 20},
        {appState.canvasWindow, WM_KEYDOWN, VK_NEXT, 0, 0, 20 + page},
        {appState.documentWindow, WM_KEYDOWN, VK_UP, 0, 0, 20 + page - line},
        {appState.documentWindow, WM_KEYDOWN, VK_END, 1, lastX, 20 + page - line},
        {appState.canvasWindow, WM_KEYDOWN, VK_LEFT, 0, lastX - client.cx / 10, 20 + page - line},
        {appState.canvasWindow, WM_KEYDOWN, VK_PRIOR, 1, lastX - client.cx, 20 + page - line},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.message << " " << step.code);
        BYTE keys[256] = {};
        keys[VK_CONTROL] = step.ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(step.window, step.message, step.code, 0);
        ExpectCanvasAt(-step.x, -step.y, view.w, view.h);
    }
    BYTE keys[256] = {};
    SetKeyboardState(keys);

    // The middle button drags the picture with the pointer, in screen terms.
    SendMessageW(appState.canvasWindow, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(300, 300));
    SendMessageW(appState.canvasWindow, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(290, 305));
    SendMessageW(appState.canvasWindow, WM_MBUTTONUP, 0, 0);
    ExpectCanvasAt(-(lastX - client.cx + 10), -(15 + page - line), view.w, view.h);
}

TEST_F(DocumentWindowTest, TheZoomedCanvasShowsWholePixelsWithoutBlending) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"checker.bmp"), 200, 150, Checker));
    LoadPicture(folder.File(L"checker.bmp"));
    for (int notches : {2, -4}) {
        SCOPED_TRACE(notches);
        Wheel(120 * notches);
        Repaint();
        IntSize view = appState.viewSize;
        std::vector<uint32_t> seen = ScreenPixelsOf(appState.canvasWindow, view.w, view.h);
        std::set<uint32_t> colours(seen.begin(), seen.end());
        EXPECT_EQ(colours, (std::set<uint32_t>{0xFF0000u, 0x0000FFu}));
        // The whole surface is stretched to the view: its corners land in the view's corners.
        EXPECT_EQ(seen[0], Checker(0, 0));
        if (notches > 0) {
            EXPECT_EQ(seen[size_t(view.h - 1) * view.w + view.w - 1], Checker(199, 149));
        }
    }
}

} // namespace
