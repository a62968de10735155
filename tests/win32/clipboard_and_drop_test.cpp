// The clipboard and dropped files, in-process: コピー and 貼り付け through the frame's commands,
// pictures other programs put on the clipboard, files dropped on the frame, the wait cursor.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "drawing_fixture.h"
#include "picture_files.h"
#include "test_files.h"
#include "view/view_geometry.h"

namespace {

uint32_t Pattern(int x, int y) {
    return uint32_t(x * 7 & 0xFF) << 16 | uint32_t(y * 11 & 0xFF) << 8 | uint32_t((x ^ y) & 0xFF);
}

// As another program puts it there: a block of the format, handed to the clipboard.
void PutOnClipboard(UINT format, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    SetClipboardData(format, block);
    CloseClipboard();
}

// A CF_DIB block: a BMP file without its file header.
std::vector<uint8_t> DibOf(int width, int height) {
    std::vector<uint8_t> bmp = BmpBytes(width, height, Pattern);
    return std::vector<uint8_t>(bmp.begin() + sizeof(BITMAPFILEHEADER), bmp.end());
}

const UINT PngFormat = RegisterClipboardFormatW(L"PNG");

class ClipboardTest : public DrawingTest {
  protected:
    std::vector<SeenDialog> Command(int id) {
        return RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, id, 0); });
    }
    // Pixels of the canvas from (left, top) on that do not show the pattern.
    static int PixelsNotShowing(const PixelPattern& expected, int left = 0, int top = 0) {
        int wrong = 0;
        for (int y = top; y < appState.surfaceSize.h; ++y)
            for (int x = left; x < appState.surfaceSize.w; ++x)
                wrong += Rgb(x, y) != expected(x - left, y - top);
        return wrong;
    }
};

// With no document open, 貼り付け makes one: of the program's own コピー, of a bitmap, and of a
// PNG whose transparent left part shows white paper. Just pasted, it closes without a question.
TEST_F(ClipboardTest, PicturesOnTheClipboardPasteAsNewDocuments) {
    ScratchFolder folder;
    ASSERT_TRUE(WritePng(folder.File(L"a.png"), 97, 61, Pattern));
    LoadPicture(folder.File(L"a.png"));
    EXPECT_TRUE(Command(IDM_EDIT_COPY).empty());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB) && IsClipboardFormatAvailable(PngFormat));
    CloseDocument();
    auto halfClear = [](int x, int y) { return (x < 20 ? 0u : 0xFF000000u) | Pattern(x, y); };
    auto overWhite = [](int x, int y) { return x < 20 ? 0xFFFFFFu : Pattern(x, y); };
    for (int source = 0; source < 3; ++source) {
        if (source == 1)
            PutOnClipboard(CF_DIB, DibOf(50, 30));
        if (source == 2)
            PutOnClipboard(PngFormat, PngBytes(50, 30, halfClear));
        EXPECT_TRUE(Command(IDM_EDIT_PASTE).empty());
        ASSERT_TRUE(DocumentIsOpen()) << source;
        EXPECT_EQ(appState.surfaceSize.w, source == 0 ? 97 : 50);
        EXPECT_EQ(PixelsNotShowing(source == 2 ? PixelPattern(overWhite) : Pattern), 0);
        EXPECT_EQ(ResetCopyRgb(10, 5), Rgb(10, 5)) << "the reset copy";
        EXPECT_TRUE(appState.documentFile.empty());
        EXPECT_TRUE(RunAnsweringDialogs([] {
                        SendMessageW(appState.documentWindow, WM_CLOSE, 0, 0);
                    }).empty());
    }
}

TEST_F(ClipboardTest, APictureIsPastedAtTheCornerInSightAsOneStep) {
    OpenSheet(300, 200);
    SendMessageW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, 120 * 8), 0);
    SendMessageW(appState.documentWindow, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 400), 0);
    SendMessageW(appState.documentWindow, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 300), 0);
    PumpMessages();
    POINT corner = {0, 0};
    MapWindowPoints(appState.documentWindow, canvas, &corner, 1);
    const int left = StretchSourceColumn(300, appState.viewSize.w, corner.x);
    const int top = StretchSourceRow(200, appState.viewSize.h, corner.y);
    ASSERT_TRUE(left > 0 && top > 0);
    const std::vector<uint32_t> before = Picture();
    PutOnClipboard(CF_DIB, DibOf(400, 300));
    EXPECT_TRUE(Command(IDM_EDIT_PASTE).empty());
    EXPECT_EQ(PixelsNotShowing(Pattern, left, top), 0) << "clipped to the picture";
    EXPECT_EQ(Rgb(left - 1, top), 0xFFFFFFu);
    UndoStep();
    EXPECT_EQ(Picture(), before);
}

TEST_F(ClipboardTest, ARefusedPictureIsReportedAndChangesNothing) {
    std::vector<uint8_t> cut = DibOf(40, 40);
    cut.resize(cut.size() / 2); // rows promised, not there
    for (const auto& bytes : {cut, DibOf(40000, 1)}) {
        PutOnClipboard(CF_DIB, bytes);
        std::vector<SeenDialog> seen = Command(IDM_EDIT_PASTE);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, LoadFailureText);
        EXPECT_FALSE(DocumentIsOpen());
    }
    PutOnClipboard(CF_UNICODETEXT, {'a', 0, 0, 0});
    EXPECT_TRUE(Command(IDM_EDIT_PASTE).empty()) << "no picture there: nothing happens";
}

// A drop as the shell makes it: the paths after a DROPFILES header.
HDROP DropOf(const std::wstring& first, const std::wstring& second) {
    const std::wstring names = first + L'\0' + second + L'\0' + L'\0';
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
        HDROP files = DropOf(folder.File(name), folder.File(L"first.png"));
        return RunAnsweringDialogs([&] { SendMessageW(frame, WM_DROPFILES, WPARAM(files), 0); },
                                   [&](HWND box) { ClickDialogButton(box, answer); });
    };
    EXPECT_TRUE(drop(L"first.png", IDOK).empty());
    EXPECT_EQ(appState.documentFile, folder.File(L"first.png"));
    canvas = appState.canvasWindow;
    RectangleStroke(5, 5, 20, 20, Red);
    for (int answer : {IDCANCEL, IDNO}) {
        std::vector<SeenDialog> seen = drop(L"second.bmp", answer);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, L"フデマル");
        EXPECT_EQ(seen[0].owner, frame);
        EXPECT_EQ(appState.surfaceSize.w, answer == IDCANCEL ? 64 : 33) << "the first file";
    }
    EXPECT_EQ(PixelsNotShowing(Pattern), 0);
    ASSERT_EQ(drop(L"none", IDOK).size(), 1u) << "a file that cannot open: the load failure";
    EXPECT_EQ(appState.surfaceSize.w, 33) << "and the open picture stays";
}

struct CursorWatch {
    DWORD programThread = GetCurrentThreadId();
    volatile LONG watching = 1, sawWait = 0;
};

// Shares the program thread's input state, so it reads that thread's cursor whichever window
// of the session is in the foreground.
DWORD WINAPI WatchCursor(void* shared) {
    auto* watch = static_cast<CursorWatch*>(shared);
    AttachThreadInput(GetCurrentThreadId(), watch->programThread, TRUE);
    while (watch->watching)
        if (GetCursor() == LoadCursorW(nullptr, IDC_WAIT))
            watch->sawWait = 1;
    return 0;
}

// While the program works without answering, the pointer shows the wait cursor; then it comes
// back. Watched from a second thread during a fill of a photo-sized sheet.
TEST_F(ClipboardTest, AFillOfAPhotoShowsTheWaitCursorMeanwhile) {
    NewSheet(L"4000", L"3000");
    canvas = appState.canvasWindow;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    CursorWatch watch;
    HANDLE watcher = CreateThread(nullptr, 0, WatchCursor, &watch, 0, nullptr);
    Sleep(50);
    Click(ToolCode::Fill, 50, 50);
    watch.watching = 0;
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    EXPECT_EQ(Rgb(2000, 1500), 0x000000u) << "filled";
    EXPECT_TRUE(watch.sawWait);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "and back as it was";
}

} // namespace
