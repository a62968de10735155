// The clipboard and dropped files, in-process: コピー and 貼り付け through the frame's commands,
// pictures other programs put on the clipboard, and files dropped on the frame.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "drawing_fixture.h"
#include "view/view_geometry.h"
#include "picture_files.h"
#include "test_files.h"

namespace {

uint32_t Pattern(int x, int y) {
    return uint32_t(x * 7 & 0xFF) << 16 | uint32_t(y * 11 & 0xFF) << 8 | uint32_t((x ^ y) & 0xFF);
}

// What other programs put there: a block of the format, handed to the clipboard.
void PutOnClipboard(const std::vector<std::pair<UINT, std::vector<uint8_t>>>& blocks) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    for (const auto& [format, bytes] : blocks) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(format, block);
    }
    CloseClipboard();
}

std::vector<uint8_t> DibOf(std::vector<uint8_t> bmp) {
    return std::vector<uint8_t>(bmp.begin() + sizeof(BITMAPFILEHEADER), bmp.end());
}

const UINT PngFormat = RegisterClipboardFormatW(L"PNG");

class ClipboardTest : public DrawingTest {
  protected:
    std::vector<SeenDialog> Command(int id, const std::function<void(HWND)>& answer = {}) {
        return RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, id, 0); }, answer);
    }
    // The canvas as 0xRRGGBB, and how many of its pixels differ from the expected ones.
    static int PixelsNotShowing(const PixelPattern& expected, int left = 0, int top = 0) {
        int wrong = 0;
        for (int y = top; y < appState.surfaceSize.h; ++y)
            for (int x = left; x < appState.surfaceSize.w; ++x)
                wrong += Rgb(x, y) != expected(x - left, y - top);
        return wrong;
    }
};

TEST_F(ClipboardTest, CopiedPictureComesBackWhole) {
    ScratchFolder folder;
    ASSERT_TRUE(WritePng(folder.File(L"a.png"), 97, 61, Pattern));
    LoadPicture(folder.File(L"a.png"));
    EXPECT_TRUE(Command(IDM_EDIT_COPY).empty());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_TRUE(IsClipboardFormatAvailable(PngFormat));
    CloseDocument();
    ASSERT_FALSE(DocumentIsOpen()) << "an unchanged picture closes without a question";

    EXPECT_TRUE(Command(IDM_EDIT_PASTE).empty());
    ASSERT_TRUE(DocumentIsOpen());
    EXPECT_EQ(appState.surfaceSize.w, 97);
    EXPECT_EQ(appState.surfaceSize.h, 61);
    EXPECT_EQ(PixelsNotShowing(Pattern), 0);
    EXPECT_EQ(ResetCopyRgb(96, 60), Pattern(96, 60)) << "the pasted picture is the reset copy";
    EXPECT_TRUE(appState.documentFile.empty()) << "no file yet";
    CloseDocument();
    EXPECT_FALSE(DocumentIsOpen()) << "a picture just pasted is unchanged";
}

TEST_F(ClipboardTest, OtherProgramsPicturesPasteAsDocuments) {
    // A bitmap (CF_DIB), and a PNG whose left half is transparent: it shows white paper.
    auto halfClear = [](int x, int y) { return (x < 20 ? 0u : 0xFF000000u) | Pattern(x, y); };
    auto overWhite = [](int x, int y) { return x < 20 ? 0xFFFFFFu : Pattern(x, y); };
    const struct {
        UINT format;
        std::vector<uint8_t> bytes;
        PixelPattern shows;
    } offered[] = {{CF_DIB, DibOf(BmpBytes(50, 30, Pattern)), Pattern},
                   {PngFormat, PngBytes(50, 30, halfClear), overWhite}};
    for (const auto& picture : offered) {
        PutOnClipboard({{picture.format, picture.bytes}});
        EXPECT_TRUE(Command(IDM_EDIT_PASTE).empty());
        ASSERT_TRUE(DocumentIsOpen());
        EXPECT_EQ(appState.surfaceSize.w, 50);
        EXPECT_EQ(PixelsNotShowing(picture.shows), 0) << picture.format;
        CloseDocument();
    }
}

TEST_F(ClipboardTest, APictureIsPastedAtTheCornerInSightAsOneStep) {
    // A sheet zoomed in and scrolled: the picture lands at the corner of what is in sight.
    OpenSheet(300, 200);
    SendMessageW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, 120 * 8), 0);
    PumpMessages();
    SendMessageW(appState.documentWindow, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 400), 0);
    SendMessageW(appState.documentWindow, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 300), 0);
    PumpMessages();
    POINT corner = {0, 0};
    MapWindowPoints(appState.documentWindow, canvas, &corner, 1);
    const int left = StretchSourceColumn(300, appState.viewSize.w, corner.x);
    const int top = StretchSourceRow(200, appState.viewSize.h, corner.y);
    ASSERT_GT(left, 0);
    ASSERT_GT(top, 0);
    const std::vector<uint32_t> before = Picture();
    PutOnClipboard({{CF_DIB, DibOf(BmpBytes(400, 300, Pattern))}});
    EXPECT_TRUE(Command(IDM_EDIT_PASTE).empty());
    EXPECT_EQ(PixelsNotShowing(Pattern, left, top), 0);
    EXPECT_EQ(Rgb(left - 1, top), 0xFFFFFFu) << "nothing left of the corner";
    UndoStep();
    EXPECT_EQ(Picture(), before) << "one step of the history";
}

TEST_F(ClipboardTest, ARefusedPictureIsReportedAndChangesNothing) {
    std::vector<uint8_t> cut = DibOf(BmpBytes(40, 40, Pattern));
    cut.resize(cut.size() / 2); // rows promised, not there
    for (const auto& bytes : {cut, DibOf(BmpBytes(40000, 1, Pattern))}) {
        PutOnClipboard({{CF_DIB, bytes}});
        std::vector<SeenDialog> seen = Command(IDM_EDIT_PASTE);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, LoadFailureText);
        EXPECT_FALSE(DocumentIsOpen());
    }
    PutOnClipboard({{CF_UNICODETEXT, {'a', 0, 0, 0}}});
    EXPECT_TRUE(Command(IDM_EDIT_PASTE).empty()) << "no picture there: nothing happens";
    EXPECT_FALSE(DocumentIsOpen());
}

// A drop as the shell makes it: the files' paths after a DROPFILES header.
HDROP DropOf(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths)
        names += path + L'\0';
    names += L'\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

TEST_F(ClipboardTest, ADroppedFileOpensAndAChangedPictureIsAskedAboutFirst) {
    ScratchFolder folder;
    ASSERT_TRUE(WritePng(folder.File(L"first.png"), 64, 48, Pattern));
    ASSERT_TRUE(WriteBmp(folder.File(L"second.bmp"), 33, 22, Pattern));
    auto drop = [&](const wchar_t* name, int answer) {
        return RunAnsweringDialogs(
            [&] {
                SendMessageW(frame, WM_DROPFILES,
                             WPARAM(DropOf({folder.File(name), folder.File(L"none")})), 0);
            },
            [&](HWND box) { ClickDialogButton(box, answer); });
    };
    EXPECT_TRUE(drop(L"first.png", IDOK).empty());
    ASSERT_TRUE(DocumentIsOpen());
    EXPECT_EQ(appState.surfaceSize.w, 64) << "the first of the files";
    EXPECT_EQ(appState.documentFile, folder.File(L"first.png"));
    canvas = appState.canvasWindow;
    RectangleStroke(5, 5, 20, 20, Red);

    for (int answer : {IDCANCEL, IDNO}) {
        std::vector<SeenDialog> seen = drop(L"second.bmp", answer);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, L"フデマル");
        EXPECT_EQ(seen[0].owner, frame);
        EXPECT_EQ(appState.surfaceSize.w, answer == IDCANCEL ? 64 : 33);
    }
    EXPECT_EQ(PixelsNotShowing(Pattern), 0);
    ASSERT_EQ(drop(L"none", IDOK).size(), 1u) << "a file that cannot open: the load failure";
    EXPECT_EQ(appState.surfaceSize.w, 33) << "and the open picture stays";
}

} // namespace

// While the program works without answering, the pointer shows the wait cursor; then it comes
// back. Watched from a second thread during a fill of a photo-sized sheet.
TEST_F(ClipboardTest, AFillOfAPhotoShowsTheWaitCursorMeanwhile) {
    NewSheet(L"4000", L"3000");
    canvas = appState.canvasWindow;
    const HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    struct Watch {
        volatile LONG watching = 1, sawWait = 0;
    } watch;
    HANDLE watcher = CreateThread(
        nullptr, 0,
        [](void* shared) -> DWORD {
            auto* w = static_cast<Watch*>(shared);
            const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
            while (w->watching) {
                CURSORINFO info = {};
                info.cbSize = sizeof(info);
                if (GetCursorInfo(&info) && info.hCursor == wait)
                    w->sawWait = 1;
            }
            return 0;
        },
        &watch, 0, nullptr);
    Sleep(50);
    Click(ToolCode::Fill, 50, 50);
    watch.watching = 0;
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    EXPECT_EQ(Rgb(2000, 1500), 0x000000u) << "filled";
    EXPECT_TRUE(watch.sawWait);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "and back as it was";
    SetCursor(before);
}
