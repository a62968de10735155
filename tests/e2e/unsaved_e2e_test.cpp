// A changed picture is never thrown away without a question, and the keys every Windows program
// answers: the real program, closed every way there is, and driven with real keys (xdotool).
#include "program_test.h"

#include "picture_files.h"
#include "scenario_pictures.h"
#include "test_files.h"
#include "x_input.h"

namespace {

enum class Way { DocumentCloseBox, FileExit, FrameCloseBox, PaletteQuit };

class UnsavedPictureTest : public ProgramTest {
  protected:
    // A white picture file, opened.
    void OpenWhitePicture() {
        ASSERT_TRUE(WritePng(file, 200, 120, [](int, int) { return White; }));
        ASSERT_TRUE(OpenPicture(file));
    }
    // A black rectangle over (20, 20)-(60, 50), one stroke.
    void DrawRectangle() {
        PostClick(palette, ids::ToolRectangle);
        Stroke({{20, 20}, {40, 35}, {60, 50}});
        Settle(200);
    }
    uint32_t ShownAt(int x, int y) {
        return CanvasOnScreen([&](const std::vector<uint32_t>& s) {
            return !s.empty();
        })[size_t(y) * size_t(CanvasViewSize().cx) + size_t(x)];
    }
    uint32_t FileAt(int x, int y) {
        DecodedImage image;
        return DecodeIndependently(file, &image) ? image.Rgb(x, y) : 0x123456u;
    }
    void Close(Way way) {
        switch (way) {
        case Way::DocumentCloseBox:
            PostMessageW(document, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case Way::FileExit:
            ChooseFromFileMenu(frame, FileMenuItem::Exit);
            break;
        case Way::FrameCloseBox:
            PostMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case Way::PaletteQuit:
            PostClick(palette, ids::Quit);
            break;
        }
    }
    // Closes the way given, answers the question and tells whether the way then went through.
    bool CloseAnswering(Way way, int answer) {
        Close(way);
        SeenMessageBox question = WaitForMessageBox(program, L"フデマル", 5000);
        EXPECT_NE(question.window, nullptr) << "asked";
        EXPECT_EQ(question.owner, frame);
        EXPECT_NE(question.text.find(L"保存しますか"), std::wstring::npos);
        PostClick(question.window, answer);
        WaitUntilGone(question.window);
        Settle(300);
        if (way == Way::DocumentCloseBox)
            return DocumentWindows().empty();
        return answer == IDCANCEL ? !IsRunning(program) : WaitForExit(program, 5000) == 0;
    }

    ScratchFolder folder;
    std::wstring file = folder.File(L"picture.png");
};

TEST_F(UnsavedPictureTest, EveryWayOfClosingAsksAboutAChangedPicture) {
    // Unchanged pictures go as they always did, without a question: for the ways that end the
    // program, ProgramLifeTest shows it.
    OpenWhitePicture();
    ASSERT_TRUE(CloseDocument());
    EXPECT_TRUE(NoDialogAppearsWithin(300));

    for (Way way : {Way::DocumentCloseBox, Way::FileExit, Way::FrameCloseBox, Way::PaletteQuit}) {
        SCOPED_TRACE(int(way));
        if (!IsRunning(program))
            Launch();
        // キャンセル leaves everything as it was; はい writes the file, then the way goes on.
        OpenWhitePicture();
        DrawRectangle();
        EXPECT_FALSE(CloseAnswering(way, IDCANCEL));
        EXPECT_TRUE(IsRunning(program));
        ASSERT_EQ(DocumentWindows().size(), 1u);
        EXPECT_EQ(ShownAt(40, 35), Black) << "the picture is still there";
        EXPECT_EQ(FileAt(40, 35), White);
        EXPECT_TRUE(CloseAnswering(way, IDYES));
        EXPECT_EQ(FileAt(40, 35), Black) << "saved to its file";

        // いいえ goes on without saving.
        if (!IsRunning(program))
            Launch();
        OpenWhitePicture();
        DrawRectangle();
        EXPECT_TRUE(CloseAnswering(way, IDNO));
        EXPECT_EQ(FileAt(40, 35), White);
    }
}

// Real keys, whichever window is active: the palette, the frame, a box of the palette.
TEST_F(UnsavedPictureTest, KeysUndoRedoAndSaveFromEveryWindow) {
    OpenWhitePicture();
    DrawRectangle();
    auto shows = [&](uint32_t colour) {
        return Eventually([&] { return ShownAt(40, 35); }, colour);
    };
    POINT surface = PaletteToScreen(600, 370);
    RECT frameRect = ScreenRectOf(frame);
    POINT caption = {(frameRect.left + frameRect.right) / 2, frameRect.top + 12};
    for (POINT activate : {surface, caption}) {
        XClickAt(activate.x, activate.y);
        Settle(300);
        XKey("ctrl+z");
        EXPECT_EQ(shows(White), White) << "Ctrl+Z";
        XKey(activate.x == surface.x ? "ctrl+y" : "ctrl+shift+z");
        EXPECT_EQ(shows(Black), Black) << "Ctrl+Y, Ctrl+Shift+Z";
    }
    // In the 太さ box Ctrl+Z takes back the typing, not the stroke; Ctrl+S still saves.
    POINT box = CentreOf(GetDlgItem(palette, ids::PenWidthBox));
    XClickAt(box.x, box.y);
    XKey("End");
    XType(L"5");
    EXPECT_EQ(PaletteText(ids::PenWidthBox, L"105"), L"105");
    XKey("ctrl+z");
    EXPECT_EQ(PaletteText(ids::PenWidthBox, L"10"), L"10");
    EXPECT_EQ(shows(Black), Black);
    XKey("ctrl+s");
    EXPECT_EQ(Eventually([&] { return FileAt(40, 35); }, Black), Black);
    EXPECT_TRUE(NoDialogAppearsWithin(300)) << "written back to its file, no dialog";
}

} // namespace
