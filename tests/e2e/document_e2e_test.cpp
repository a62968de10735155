// Documents in the real program: a sheet and a picture opened through the File menu and its
// dialogs, zoomed with the wheel and closed, checked by what is on the screen.
#include <gtest/gtest.h>

#include "picture_files.h"
#include "test_files.h"
#include "program_driver.h"

namespace {

const int FileNew = 40003;
const int FileLoadImage = 40021;
const int FileExit = 40004;
const int PaperWidth = 1015, PaperHeight = 1016, PaperOk = 1018, PaperCancel = 1019;
const int FileNameBox = 0x47C;
const uint32_t Yellow = 0xFFFFA0;

uint32_t Quadrants(int x, int y) {
    if (y < 100)
        return x < 150 ? 0xE03020u : 0x20A040u;
    return x < 150 ? 0x2040E0u : 0xF0D020u;
}

class DocumentProgramTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartProgram(program));
        frame = WaitForFrame(program);
        ASSERT_NE(frame, nullptr);
        palette = WaitForPalette(program);
        ASSERT_NE(palette, nullptr);
        client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
        ASSERT_NE(client, nullptr);
        // The frame across the top of the screen and the palette dragged below it, so that it
        // covers no document window.
        SetWindowPos(frame, nullptr, 0, 0, 1280, 605, SWP_NOZORDER);
        RECT shown = ScreenRectOf(palette);
        int paletteW = shown.right - shown.left, paletteH = shown.bottom - shown.top;
        SetWindowPos(palette, nullptr, (1280 - paletteW) / 2, 1020 - paletteH, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE);
        Settle(200);
    }
    void TearDown() override {
        if (IsRunning(program)) {
            PostMessageW(frame, WM_COMMAND, FileExit, 0);
            EXPECT_EQ(WaitForExit(program), 0);
        }
        CloseHandle(program.process.hProcess);
        CloseHandle(program.process.hThread);
    }

    HWND OpenPaperDialog() {
        PostMessageW(frame, WM_COMMAND, FileNew, 0);
        return WaitForTopWindow(program, L"#32770", L"新規作成");
    }

    // File > 画像ロード, choosing the file in the open dialog as a person types its name.
    HWND LoadPicture(const std::wstring& path) {
        PostMessageW(frame, WM_COMMAND, FileLoadImage, 0);
        HWND open = nullptr;
        for (DWORD start = GetTickCount(); !open && GetTickCount() - start < 10000; Sleep(20))
            for (HWND d : TopWindowsOf(program, L"#32770"))
                if (d != palette)
                    open = d;
        if (open) {
            SetControlText(open, FileNameBox, path);
            PostClick(open, IDOK);
        }
        return open;
    }

    // The document window and its canvas, once both are shown.
    bool WaitForDocument() {
        document = WaitForChild(client, L"DocumentClassName", L"イラスト用紙");
        canvas = document ? WaitForChild(document, L"IllustClassName", L"用紙") : nullptr;
        Settle(300);
        return canvas != nullptr;
    }

    SIZE CanvasSize() const {
        RECT r = ScreenRectOf(canvas);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }

    void Wheel(int delta) {
        PostMessageW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(delta))), 0);
        Settle(300);
    }

    RunningProgram program;
    HWND frame = nullptr, palette = nullptr, client = nullptr;
    HWND document = nullptr, canvas = nullptr;
};

TEST_F(DocumentProgramTest, ASheetIsOpenedZoomedClosedAndFollowedByAPicture) {
    HWND paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(ControlText(paper, PaperWidth), L"680");
    EXPECT_EQ(ControlText(paper, PaperHeight), L"480");
    SetControlText(paper, PaperWidth, L"400");
    SetControlText(paper, PaperHeight, L"300");
    PostClick(paper, PaperOk);
    ASSERT_TRUE(WaitUntilGone(paper));
    ASSERT_TRUE(WaitForDocument());
    EXPECT_EQ(CanvasSize().cx, 400);
    EXPECT_EQ(CanvasSize().cy, 300);

    // White with a black frame, on the yellow surround.
    RECT area = ScreenRectOf(canvas);
    std::vector<uint32_t> seen = CaptureScreen(area);
    ASSERT_EQ(seen.size(), 400u * 300u);
    EXPECT_EQ(seen[0], 0x000000u);
    EXPECT_EQ(seen[size_t(150) * 400 + 200], 0xFFFFFFu);
    EXPECT_EQ(seen[size_t(299) * 400 + 399], 0x000000u);
    RECT surround = ClientScreenRectOf(document);
    std::vector<uint32_t> around = CaptureScreen(surround);
    ASSERT_FALSE(around.empty());
    EXPECT_EQ(around[5 * (surround.right - surround.left) + 5], Yellow);

    // Two notches toward the user: two steps of 0.9.
    Wheel(-240);
    EXPECT_EQ(CanvasSize().cx, 324);
    EXPECT_EQ(CanvasSize().cy, 243);
    Wheel(120);
    EXPECT_EQ(CanvasSize().cx, 360);
    EXPECT_EQ(CanvasSize().cy, 270);

    // The close box ends the document; the next one comes from a file.
    PostMessageW(document, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntilGone(document));

    ScratchFolder folder;
    std::wstring path = folder.File(L"quadrants.bmp");
    ASSERT_TRUE(WriteBmp(path, 300, 200, Quadrants));
    HWND open = LoadPicture(path);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(GetWindow(open, GW_OWNER), frame);
    ASSERT_TRUE(WaitUntilGone(open));
    ASSERT_TRUE(WaitForDocument());
    ASSERT_EQ(CanvasSize().cx, 300) << "the picture's own size, at zoom 0";
    ASSERT_EQ(CanvasSize().cy, 200);
    seen = CaptureScreen(ScreenRectOf(canvas));
    ASSERT_EQ(seen.size(), 300u * 200u);
    for (int y : {10, 190})
        for (int x : {10, 290})
            EXPECT_EQ(seen[size_t(y) * 300 + x], Quadrants(x, y)) << x << "," << y;

    // The paper dialog now offers the picture's size.
    PostMessageW(document, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntilGone(document));
    paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(ControlText(paper, PaperWidth), L"300");
    EXPECT_EQ(ControlText(paper, PaperHeight), L"200");
    PostClick(paper, PaperCancel);
    EXPECT_TRUE(WaitUntilGone(paper));
}

TEST_F(DocumentProgramTest, ARefusedFileAndARefusedSizeAreReportedAndOpenNothing) {
    ScratchFolder folder;
    std::wstring icon = folder.File(L"refused.ico");
    ASSERT_TRUE(WriteIcon(icon));
    ASSERT_NE(LoadPicture(icon), nullptr);
    HWND message = WaitForTopWindow(program, L"#32770", L"破損または対応していないファイルです");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(ControlText(message, 0xFFFF), L"画像が読み込めませんでした");
    PostClick(message, IDOK);
    ASSERT_TRUE(WaitUntilGone(message));
    Settle(200);
    EXPECT_EQ(FindWindowExW(client, nullptr, L"DocumentClassName", nullptr), nullptr);

    // A sheet of width 0 is refused; the dialog stays for a correction.
    HWND paper = OpenPaperDialog();
    ASSERT_NE(paper, nullptr);
    SetControlText(paper, PaperWidth, L"0");
    PostClick(paper, PaperOk);
    message = WaitForTopWindow(program, L"#32770", L"用紙サイズ");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(GetWindow(message, GW_OWNER), paper);
    EXPECT_EQ(ControlText(message, 0xFFFF), L"横と縦は 1 から 32767 までの数で指定してください。");
    PostClick(message, IDOK);
    ASSERT_TRUE(WaitUntilGone(message));
    EXPECT_TRUE(IsWindowVisible(paper));
    SetControlText(paper, PaperWidth, L"50");
    PostClick(paper, PaperOk);
    ASSERT_TRUE(WaitUntilGone(paper));
    ASSERT_TRUE(WaitForDocument());
    EXPECT_EQ(CanvasSize().cx, 50);
    EXPECT_EQ(CanvasSize().cy, 480);
}

// A photo at a negative zoom inside its yellow surround. With FUDEMARU_SCREENSHOT_DIR set to
// a Unix folder, a PNG of the screen is written there.
TEST_F(DocumentProgramTest, APhotoIsShownShrunkInsideItsSurround) {
    ScratchFolder folder;
    std::wstring path = folder.File(L"photo.jpg");
    ASSERT_TRUE(WriteJpeg(path, 700, 500, PhotoLikePixel));
    ASSERT_NE(LoadPicture(path), nullptr);
    ASSERT_TRUE(WaitForDocument());
    // Fitted one step down (630 x 450), then one notch further out.
    EXPECT_EQ(CanvasSize().cx, 630);
    EXPECT_EQ(CanvasSize().cy, 450);
    Wheel(-120);
    RedrawWindow(document, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    Settle(300);
    EXPECT_EQ(CanvasSize().cx, 567);
    EXPECT_EQ(CanvasSize().cy, 405);

    RECT inside = ClientScreenRectOf(document);
    RECT shown = ScreenRectOf(canvas);
    std::vector<uint32_t> seen = CaptureScreen(inside);
    int width = inside.right - inside.left;
    EXPECT_EQ(seen[size_t(5) * width + 5], Yellow);
    int cx = (shown.left + shown.right) / 2 - inside.left;
    EXPECT_EQ(seen[size_t(shown.top - inside.top - 3) * width + cx], Yellow) << "above";
    EXPECT_EQ(seen[size_t(shown.bottom - inside.top + 3) * width + cx], Yellow) << "below";
    EXPECT_NE(seen[size_t(shown.top - inside.top + 20) * width + cx], Yellow) << "the sky";

    wchar_t folderForShot[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"FUDEMARU_SCREENSHOT_DIR", folderForShot, MAX_PATH)) {
        std::wstring shot = std::wstring(L"Z:") + folderForShot + L"/document-zoomed.png";
        for (wchar_t& c : shot)
            if (c == L'/')
                c = L'\\';
        EXPECT_TRUE(SaveScreenshot(shot));
    }
}

} // namespace
