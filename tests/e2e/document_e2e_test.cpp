// Documents in the real program: sheets made through the paper dialog, the document window
// that frames them, its scroll bars, the wheel zoom, closing, and the one-document rule.
#include "program_test.h"

#include <algorithm>
#include <utility>

#include "picture_files.h"
#include "scenario_pictures.h"
#include "test_files.h"

namespace {

class DocumentTest : public ProgramTest {
  protected:
    // Types a size into the paper dialog and presses 決定, expecting the refusal.
    void ExpectRefused(HWND paper, const wchar_t* width, const wchar_t* height) {
        SetControlText(paper, ids::PaperWidth, width);
        SetControlText(paper, ids::PaperHeight, height);
        PostClick(paper, ids::PaperOk);
        SeenMessageBox refusal = WaitForMessageBox(program, L"用紙サイズ", 5000);
        ASSERT_NE(refusal.window, nullptr) << testing::PrintToString(std::wstring(width)) << " x "
                                           << testing::PrintToString(std::wstring(height));
        EXPECT_EQ(refusal.text, L"横と縦は 1 から 32767 までの数で指定してください。");
        EXPECT_EQ(refusal.owner, paper);
        ASSERT_TRUE(DismissMessageBox(refusal));
        EXPECT_TRUE(IsWindowVisible(paper)) << "the dialog stays for a correction";
        EXPECT_TRUE(DocumentWindows().empty());
    }
};

TEST_F(DocumentTest, ANewSheetIsWhiteWithABlackFrameCentredOnTheYellowSurround) {
    HWND paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(ControlText(paper, ids::PaperWidth), L"680");
    EXPECT_EQ(ControlText(paper, ids::PaperHeight), L"480");
    PostClick(paper, ids::PaperOk);
    ASSERT_TRUE(WaitUntilGone(paper));
    ASSERT_TRUE(WaitForDocument());
    ASSERT_EQ(DocumentWindows().size(), 1u);

    // Fitted without a step: the view at the sheet's size, the window 100 larger.
    EXPECT_EQ(SizeOf(document).cx, 780);
    EXPECT_EQ(SizeOf(document).cy, 580);
    ASSERT_EQ(CanvasViewSize().cx, 680);
    ASSERT_EQ(CanvasViewSize().cy, 480);
    RECT inside;
    GetClientRect(document, &inside);
    POINT place = PlaceInParent(canvas);
    EXPECT_EQ(place.x, (inside.right - 680) / 2);
    EXPECT_EQ(place.y, (inside.bottom - 480) / 2);

    auto isSheet = [](const std::vector<uint32_t>& s) {
        return PixelsOffTheSheet(s, 680, 480) == 0;
    };
    EXPECT_EQ(PixelsOffTheSheet(CanvasOnScreen(isSheet), 680, 480), 0)
        << "pixels that are not the white sheet with its black frame";

    RECT around = ClientScreenRectOf(document);
    EXPECT_EQ(ScreenColourAt(POINT{around.left + 5, around.top + 5}), SurroundYellow);
    EXPECT_EQ(ScreenColourAt(POINT{around.right - 5, around.bottom - 5}), SurroundYellow);
}

TEST_F(DocumentTest, ThePaperDialogReadsTheNumberAtTheStartOfWhatIsTyped) {
    HWND paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    SetControlText(paper, ids::PaperWidth, L"300abc");
    SetControlText(paper, ids::PaperHeight, L"200 pixels");
    PostClick(paper, ids::PaperOk);
    ASSERT_TRUE(WaitUntilGone(paper));
    ASSERT_TRUE(WaitForDocument());
    EXPECT_EQ(CanvasViewSize().cx, 300);
    EXPECT_EQ(CanvasViewSize().cy, 200);

    // The next sheet is offered at the size of the last one.
    ASSERT_TRUE(CloseDocument());
    paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(ControlText(paper, ids::PaperWidth), L"300");
    EXPECT_EQ(ControlText(paper, ids::PaperHeight), L"200");
}

TEST_F(DocumentTest, SizesBelowOneOrAbove32767AreRefusedAndTheDialogStays) {
    HWND paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    ExpectRefused(paper, L"0", L"480");
    ExpectRefused(paper, L"680", L"-5");
    ExpectRefused(paper, L"abc", L"480");
    ExpectRefused(paper, L"32768", L"10");
    ExpectRefused(paper, L"10", L"100000");

    // The smallest and the widest sheets that can be made.
    SetControlText(paper, ids::PaperWidth, L"1");
    SetControlText(paper, ids::PaperHeight, L"1");
    PostClick(paper, ids::PaperOk);
    ASSERT_TRUE(WaitUntilGone(paper));
    ASSERT_TRUE(WaitForDocument());
    EXPECT_EQ(CanvasViewSize().cx, 1);
    EXPECT_EQ(CanvasViewSize().cy, 1);
    auto isBlack = [](const std::vector<uint32_t>& s) { return s == std::vector<uint32_t>{Black}; };
    EXPECT_EQ(CanvasOnScreen(isBlack), std::vector<uint32_t>{Black}) << "a frame of one pixel";
    ASSERT_TRUE(CloseDocument());
    paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    SetControlText(paper, ids::PaperWidth, L"32767");
    SetControlText(paper, ids::PaperHeight, L"20");
    PostClick(paper, ids::PaperOk);
    ASSERT_TRUE(WaitUntilGone(paper));
    EXPECT_NE(WaitForChild(client, L"DocumentClassName", L"イラスト用紙"), nullptr);
    EXPECT_EQ(WaitForTopWindow(program, L"#32770", L"用紙サイズ", 300), nullptr);
}

TEST_F(DocumentTest, OnlyItsTwoButtonsCloseThePaperDialog) {
    HWND paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(ControlText(paper, ids::PaperOk), L"決定");
    EXPECT_EQ(ControlText(paper, ids::PaperCancel), L"キャンセル");
    RECT shown = ScreenRectOf(paper), desktop = ScreenRectOf(GetDesktopWindow());
    EXPECT_EQ(shown.left, (desktop.right - (shown.right - shown.left)) / 2) << "centred";
    EXPECT_EQ(shown.top, (desktop.bottom - (shown.bottom - shown.top)) / 2) << "centred";

    HWND width = GetDlgItem(paper, ids::PaperWidth);
    PostKey(width, VK_RETURN);
    PostKey(width, VK_ESCAPE);
    PostMessageW(paper, WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle(500);
    ASSERT_TRUE(IsWindow(paper) && IsWindowVisible(paper));
    EXPECT_TRUE(DocumentWindows().empty());

    PostClick(paper, ids::PaperCancel);
    ASSERT_TRUE(WaitUntilGone(paper));
    Settle(200);
    EXPECT_TRUE(DocumentWindows().empty()) << "キャンセル opens nothing";
    EXPECT_NE(OpenPaperDialog(), nullptr) << "and 新規作成 works again";
}

TEST_F(DocumentTest, NewAndLoadDoNothingWhileADocumentIsOpenAndWorkAgainAfterItCloses) {
    ASSERT_TRUE(OpenSheet(200, 150));
    ASSERT_TRUE(ChooseFromFileMenu(frame, FileMenuItem::New));
    EXPECT_TRUE(NoDialogAppearsWithin(800)) << "新規作成 with a document open";
    ASSERT_TRUE(ChooseFromFileMenu(frame, FileMenuItem::LoadImage));
    EXPECT_TRUE(NoDialogAppearsWithin(800)) << "画像ロード with a document open";
    EXPECT_EQ(DocumentWindows().size(), 1u);

    ASSERT_TRUE(CloseDocument());
    EXPECT_TRUE(DocumentWindows().empty());
    HWND open = OpenLoadDialog();
    ASSERT_NE(open, nullptr) << "画像ロード after the close";
    EXPECT_EQ(GetWindow(open, GW_OWNER), frame);
    PostClick(open, IDCANCEL);
    ASSERT_TRUE(WaitUntilGone(open));
    EXPECT_TRUE(NoDialogAppearsWithin(500)) << "a cancelled open dialog shows nothing";
    EXPECT_TRUE(DocumentWindows().empty());
    ASSERT_TRUE(OpenSheet(120, 90)) << "新規作成 after the close";
    EXPECT_EQ(CanvasViewSize().cx, 120);
}

// The paper dialog has no owner, so the File menu stays usable while it is open: both ways to
// a document can be open at once, and still only one document may come of them.
TEST_F(DocumentTest, ThePaperAndOpenDialogsAnsweredTogetherMakeOneDocument) {
    ScratchFolder folder;
    std::wstring picture = folder.File(L"picture.bmp");
    ASSERT_TRUE(WriteBmp(picture, 160, 120, [](int x, int y) { return BlockColour(x, y); }));

    HWND paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    HWND open = OpenLoadDialog();
    ASSERT_NE(open, nullptr) << "画像ロード while the paper dialog is open";
    SetControlText(paper, ids::PaperWidth, L"250");
    SetControlText(paper, ids::PaperHeight, L"150");
    PostClick(paper, ids::PaperOk);
    ASSERT_TRUE(WaitUntilGone(paper));
    ASSERT_TRUE(WaitForDocument());
    ASSERT_TRUE(ChooseFileInDialog(open, picture));
    Settle(500);
    EXPECT_EQ(DocumentWindows().size(), 1u);
    EXPECT_EQ(CanvasViewSize().cx, 250) << "the sheet stays";
    ASSERT_TRUE(CloseDocument());

    // The other way round: the picture first, then 決定.
    paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    open = OpenLoadDialog();
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(ChooseFileInDialog(open, picture));
    ASSERT_TRUE(WaitForDocument());
    PostClick(paper, ids::PaperOk);
    EXPECT_TRUE(WaitUntilGone(paper));
    Settle(500);
    EXPECT_EQ(DocumentWindows().size(), 1u);
    EXPECT_EQ(CanvasViewSize().cx, 160) << "the picture stays";
}

TEST_F(DocumentTest, APictureIsFittedIntoTheWindowAndThePaperDialogOffersItsSize) {
    ScratchFolder folder;
    std::wstring path = folder.File(L"wide.bmp");
    ASSERT_TRUE(WriteBmp(path, 1024, 768, [](int x, int y) { return BlockColour(x, y); }));
    ASSERT_TRUE(OpenPicture(path));
    // Four steps of 0.9 bring 1124 x 868 within 780 x 580; the window is the view plus 100.
    EXPECT_EQ(CanvasViewSize().cx, 670);
    EXPECT_EQ(CanvasViewSize().cy, 502);
    EXPECT_EQ(SizeOf(document).cx, 770);
    EXPECT_EQ(SizeOf(document).cy, 602);

    ASSERT_TRUE(CloseDocument());
    HWND paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(ControlText(paper, ids::PaperWidth), L"1024");
    EXPECT_EQ(ControlText(paper, ids::PaperHeight), L"768");
}

TEST_F(DocumentTest, EachDocumentIsFittedAgainstTheSizeOfTheLast) {
    // A frame as high as the screen, so the frame's area limits neither document.
    SetWindowPos(frame, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ScratchFolder folder;
    std::wstring path = folder.File(L"big.jpg");
    ASSERT_TRUE(WriteJpeg(path, 2000, 1500, [](int x, int y) { return BlockColour(x, y); }));
    ASSERT_TRUE(OpenPicture(path));
    EXPECT_EQ(CanvasViewSize().cx, 695);
    EXPECT_EQ(CanvasViewSize().cy, 520);
    EXPECT_EQ(SizeOf(document).cx, 795);
    EXPECT_EQ(SizeOf(document).cy, 620);

    ASSERT_TRUE(CloseDocument());
    ASSERT_TRUE(OpenPicture(path));
    EXPECT_EQ(CanvasViewSize().cx, 773) << "fitted against 895 x 720";
    EXPECT_EQ(CanvasViewSize().cy, 578);
    EXPECT_EQ(SizeOf(document).cx, 873);
    EXPECT_EQ(SizeOf(document).cy, 678);
}

TEST_F(DocumentTest, TheWheelZoomsInStepsOfOneTenth) {
    ASSERT_TRUE(OpenSheet(680, 480));
    const SIZE sheet = {680, 480};
    struct Turn {
        int delta;
        int zoom; // the zoom level afterwards
    } turns[] = {{120, 1},   {120, 2}, {-240, 0},  {-120, -1}, {119, -1},
                 {-119, -1}, {240, 1}, {-360, -2}, {-120, -3}, {360, 0}};
    for (const Turn& turn : turns) {
        Wheel(turn.delta);
        SIZE expected = ViewSizeAt(sheet, turn.zoom);
        EXPECT_EQ(CanvasViewSize().cx, expected.cx) << "delta " << turn.delta;
        EXPECT_EQ(CanvasViewSize().cy, expected.cy) << "delta " << turn.delta;
    }
    // The table of the view sizes of a 680 x 480 sheet, checked at two of its levels.
    EXPECT_EQ(ViewSizeAt(sheet, 3).cx, 904);
    EXPECT_EQ(ViewSizeAt(sheet, -3).cy, 349);

    // Closing the document forgets the zoom: the next sheet starts at its own size.
    Wheel(-240);
    ASSERT_TRUE(CloseDocument());
    ASSERT_TRUE(OpenSheet(680, 480));
    EXPECT_EQ(CanvasViewSize().cx, 680);
    EXPECT_EQ(CanvasViewSize().cy, 480);
}

TEST_F(DocumentTest, TheZoomStopsBeforeTheViewVanishesOrOutgrowsTheMouse) {
    ASSERT_TRUE(OpenSheet(680, 480));
    const SIZE sheet = {680, 480};
    int lowest = 0;
    while (ViewSizeAt(sheet, lowest - 1).cx >= 16 && ViewSizeAt(sheet, lowest - 1).cy >= 16)
        --lowest;
    int highest = 0;
    while (ViewSizeAt(sheet, highest + 1).cx <= 32767 && ViewSizeAt(sheet, highest + 1).cy <= 32767)
        ++highest;

    // Sixty notches out at once: the view stops at the last level with both sides of 16 or
    // more, where it can still be seen and turned.
    Wheel(-120 * 60);
    EXPECT_EQ(CanvasViewSize().cx, ViewSizeAt(sheet, lowest).cx);
    EXPECT_EQ(CanvasViewSize().cy, ViewSizeAt(sheet, lowest).cy);
    Wheel(-120);
    EXPECT_EQ(CanvasViewSize().cy, ViewSizeAt(sheet, lowest).cy) << "no further out";
    Wheel(120);
    EXPECT_EQ(CanvasViewSize().cy, ViewSizeAt(sheet, lowest + 1).cy) << "and back in";

    // A hundred notches in: the view stops before a side passes 32767 pixels.
    Wheel(120 * 100);
    EXPECT_EQ(CanvasViewSize().cx, ViewSizeAt(sheet, highest).cx);
    EXPECT_EQ(CanvasViewSize().cy, ViewSizeAt(sheet, highest).cy);
    Wheel(-120 * (highest + 2));
    EXPECT_EQ(CanvasViewSize().cx, ViewSizeAt(sheet, -2).cx) << "every step back is whole";

    // A sheet narrower than 16 pixels keeps at least its own width.
    ASSERT_TRUE(CloseDocument());
    ASSERT_TRUE(OpenSheet(10, 300));
    Wheel(-120);
    EXPECT_EQ(CanvasViewSize().cx, 10);
    EXPECT_EQ(CanvasViewSize().cy, 300);
    Wheel(120);
    EXPECT_EQ(CanvasViewSize().cx, 11);
}

TEST_F(DocumentTest, AViewLargerThanTheWindowIsPinnedAndScrolled) {
    ASSERT_TRUE(OpenSheet(680, 480));
    const LONG documentStyle = GetWindowLongW(document, GWL_STYLE);
    EXPECT_FALSE(documentStyle & (WS_HSCROLL | WS_VSCROLL)) << "no scroll bars before a zoom";
    Wheel(360); // 904 x 638 in a window of 780 x 580
    RedrawWindow(document, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Settle(200);
    ASSERT_EQ(CanvasViewSize().cx, 904);
    EXPECT_TRUE(GetWindowLongW(document, GWL_STYLE) & WS_HSCROLL);
    EXPECT_TRUE(GetWindowLongW(document, GWL_STYLE) & WS_VSCROLL);
    // Zoomed toward the middle; at the top-left end of both ranges, pinned to the corner.
    PostMessageW(document, WM_HSCROLL, SB_LEFT, 0);
    PostMessageW(document, WM_VSCROLL, SB_TOP, 0);
    auto corner = [&] {
        POINT p = PlaceInParent(canvas);
        return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(Eventually(corner, std::make_pair(0L, 0L)), std::make_pair(0L, 0L));

    // What the scroll bars send when their arrows, troughs and thumbs are used; the canvas
    // window's place after each. An arrow moves a tenth of the page, and nothing goes past the
    // place where the far edge meets the window.
    RECT shown;
    GetClientRect(document, &shown);
    const LONG lastX = 904 - shown.right, lastY = 638 - shown.bottom;
    const LONG lineX = std::min(shown.right / 10, lastX),
               lineY = std::min(shown.bottom / 10, lastY);
    auto scroll = [&](UINT message, int request, int position, POINT expected) {
        PostMessageW(document, message, MAKEWPARAM(request, position), 0);
        Settle(150);
        auto place = [&] {
            POINT p = PlaceInParent(canvas);
            return std::make_pair(p.x, p.y);
        };
        return Eventually(place, std::make_pair(expected.x, expected.y));
    };
    auto at = [](LONG x, LONG y) { return std::make_pair(x, y); };
    EXPECT_EQ(scroll(WM_HSCROLL, SB_LINERIGHT, 0, {-lineX, 0}), at(-lineX, 0));
    EXPECT_EQ(scroll(WM_HSCROLL, SB_THUMBTRACK, 40, {-40, 0}), at(-40, 0))
        << "the picture follows the dragged thumb";
    EXPECT_EQ(scroll(WM_HSCROLL, SB_THUMBPOSITION, 30, {-30, 0}), at(-30, 0));
    EXPECT_EQ(scroll(WM_HSCROLL, SB_PAGERIGHT, 0, {-lastX, 0}), at(-lastX, 0));
    EXPECT_EQ(scroll(WM_VSCROLL, SB_LINEDOWN, 0, {-lastX, -lineY}), at(-lastX, -lineY));
    EXPECT_EQ(scroll(WM_HSCROLL, SB_LEFT, 0, {0, -lineY}), at(0, -lineY));
    EXPECT_EQ(scroll(WM_VSCROLL, SB_PAGEUP, 0, {0, 0}), at(0, 0));

    // Zoomed back to fit, the sheet is centred again.
    Wheel(-360);
    RedrawWindow(document, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Settle(200);
    RECT inside;
    GetClientRect(document, &inside);
    POINT place = PlaceInParent(canvas);
    EXPECT_EQ(place.x, (inside.right - 680) / 2);
    EXPECT_EQ(place.y, (inside.bottom - 480) / 2);
}

// A photo at a negative zoom inside its yellow surround. With FUDEMARU_SCREENSHOT_DIR set to
// a Unix folder, a PNG of the screen is written there.
TEST_F(DocumentTest, APhotoIsShownShrunkInsideItsSurround) {
    ScratchFolder folder;
    std::wstring path = folder.File(L"photo.jpg");
    ASSERT_TRUE(WriteJpeg(path, 700, 500, PhotoLikePixel));
    ASSERT_TRUE(OpenPicture(path));
    // Fitted one step down (630 x 450), then one notch further out.
    EXPECT_EQ(CanvasViewSize().cx, 630);
    EXPECT_EQ(CanvasViewSize().cy, 450);
    Wheel(-120);
    RedrawWindow(document, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle(300);
    EXPECT_EQ(CanvasViewSize().cx, 567);
    EXPECT_EQ(CanvasViewSize().cy, 405);

    RECT inside = ClientScreenRectOf(document);
    RECT shown = ScreenRectOf(canvas);
    int middle = (shown.left + shown.right) / 2;
    EXPECT_EQ(ScreenColourAt(POINT{inside.left + 5, inside.top + 5}), SurroundYellow);
    EXPECT_EQ(ScreenColourAt(POINT{middle, shown.top - 3}), SurroundYellow) << "above";
    EXPECT_EQ(ScreenColourAt(POINT{middle, shown.bottom + 3}), SurroundYellow) << "below";
    uint32_t sky = ScreenColourAt(POINT{middle, shown.top + 20});
    EXPECT_LE(ChannelDifference(sky, PhotoLikePixel(350, 25)), 40) << "the sky of the photo";
    ScreenshotIfAsked(L"document-zoomed.png");
}

} // namespace
