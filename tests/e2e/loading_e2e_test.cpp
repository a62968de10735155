// File > 画像ロード in the real program: the formats it opens, at their own size and with their
// own pixels, and the files it refuses with its message, leaving no document behind.
#include "program_test.h"

#include "picture_files.h"
#include "scenario_pictures.h"
#include "test_files.h"

namespace {

const wchar_t LoadFailureCaption[] = L"破損または対応していないファイルです";
const wchar_t LoadFailureText[] = L"画像が読み込めませんでした";

class LoadingTest : public ProgramTest {
  protected:
    // Loads a file that must be refused; checks the message and that no document came of it.
    void ExpectRefused(const std::wstring& path) {
        HWND open = OpenLoadDialog();
        ASSERT_NE(open, nullptr);
        ASSERT_TRUE(ChooseFileInDialog(open, path));
        SeenMessageBox refusal = WaitForMessageBox(program, LoadFailureCaption, 5000);
        ASSERT_NE(refusal.window, nullptr) << testing::PrintToString(path);
        EXPECT_EQ(refusal.text, LoadFailureText);
        EXPECT_EQ(refusal.owner, nullptr) << "the message has no owner";
        ASSERT_TRUE(DismissMessageBox(refusal));
        Settle(200);
        EXPECT_TRUE(DocumentWindows().empty()) << testing::PrintToString(path);
    }

    ScratchFolder folder;
};

TEST_F(LoadingTest, TheOpenDialogOffersEveryKindItKnows) {
    HWND open = OpenLoadDialog();
    ASSERT_NE(open, nullptr);
    WaitForChild(open, L"ComboBoxEx32", nullptr, 2000);
    Settle(200);
    EXPECT_EQ(GetWindow(open, GW_OWNER), frame);
    EXPECT_EQ(
        ComboEntries(open, ids::FileTypeList),
        (std::vector<std::wstring>{L"画像ファイル (*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.tiff)",
                                   L"BMP (*.bmp)", L"JPG (*.jpg)", L"GIF (*.gif)", L"PNG (*.png)",
                                   L"TIFF (*.tif;*.tiff)", L"ICO (*.ico)", L"EMF (*.emf)",
                                   L"WMF (*.wmf)", L"All (*.*)"}));
    EXPECT_EQ(ComboSelection(open, ids::FileTypeList), 0);
    EXPECT_EQ(ControlText(open, ids::FileNameBox), L"");
    PostClick(open, IDCANCEL);
    ASSERT_TRUE(WaitUntilGone(open));
}

TEST_F(LoadingTest, BmpJpegGifPngAndTiffOpenAtTheirOwnSizeWithTheirPixels) {
    const int width = 300, height = 200;
    auto quadrants = [](int x, int y) { return QuadrantColour(x, y, 300, 200); };
    struct Format {
        const wchar_t* name;
        bool (*write)(const std::wstring&, int, int, const PixelPattern&);
        int tolerance; // JPEG is lossy
    } formats[] = {{L"quadrants.bmp", WriteBmp, 0},
                   {L"quadrants.jpg", WriteJpeg, 24},
                   {L"quadrants.gif", WriteGif, 0},
                   {L"quadrants.png", WritePng, 0},
                   {L"quadrants.tif", WriteTiff, 0}};
    for (const Format& format : formats) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(format.name)));
        std::wstring path = folder.File(format.name);
        ASSERT_TRUE(format.write(path, width, height, quadrants));
        ASSERT_TRUE(OpenPicture(path));
        ASSERT_EQ(CanvasViewSize().cx, width) << "its own size, at zoom 0";
        ASSERT_EQ(CanvasViewSize().cy, height);
        // Points near the corners and on both sides of the splits.
        auto pointsOff = [&](const std::vector<uint32_t>& seen) {
            int off = 0;
            for (int y : {5, 95, 105, 194})
                for (int x : {5, 145, 155, 294})
                    off += ChannelDifference(seen[size_t(y) * width + x], quadrants(x, y)) >
                           format.tolerance;
            return off;
        };
        std::vector<uint32_t> seen = CanvasOnScreen([&](const std::vector<uint32_t>& s) {
            return s.size() == size_t(width) * height && pointsOff(s) == 0;
        });
        ASSERT_EQ(seen.size(), size_t(width) * height);
        EXPECT_EQ(pointsOff(seen), 0);
        ASSERT_TRUE(CloseDocument());
    }
}

TEST_F(LoadingTest, IconsMetafilesAndOtherFilesAreRefusedAndLeaveNoDocument) {
    std::wstring icon = folder.File(L"picture.ico");
    std::wstring enhanced = folder.File(L"picture.emf");
    std::wstring placeable = folder.File(L"picture.wmf");
    std::wstring noise = folder.File(L"noise.bmp");
    std::wstring empty = folder.File(L"empty.gif");
    ASSERT_TRUE(WriteIcon(icon));
    ASSERT_TRUE(WriteEnhancedMetafile(enhanced));
    ASSERT_TRUE(WritePlaceableMetafile(placeable));
    ASSERT_TRUE(WriteRandomBytes(noise, 5000, 7));
    ASSERT_TRUE(WriteWholeFile(empty, std::string()));

    // A picture first, so a refusal that left something of it behind would show.
    std::wstring picture = folder.File(L"blocks.bmp");
    ASSERT_TRUE(WriteBmp(picture, 120, 80, [](int x, int y) { return BlockColour(x, y); }));
    ASSERT_TRUE(OpenPicture(picture));
    ASSERT_TRUE(CloseDocument());

    for (const std::wstring& path :
         {icon, enhanced, placeable, noise, empty, folder.File(L"missing.bmp")})
        ExpectRefused(path);

    // Nothing is open: the saves do nothing, and a new sheet is made afresh.
    ASSERT_TRUE(ChooseFromFileMenu(frame, FileMenuItem::SavePng));
    EXPECT_TRUE(NoDialogAppearsWithin(800)) << "a save with no document";
    ASSERT_TRUE(OpenSheet(64, 48));
    auto isSheet = [](const std::vector<uint32_t>& s) { return PixelsOffTheSheet(s, 64, 48) == 0; };
    EXPECT_EQ(PixelsOffTheSheet(CanvasOnScreen(isSheet), 64, 48), 0)
        << "a white sheet, nothing of the picture before";
    ASSERT_TRUE(CloseDocument());
    ASSERT_TRUE(OpenPicture(picture)) << "and a picture loads again";
    EXPECT_EQ(CanvasViewSize().cx, 120);
}

TEST_F(LoadingTest, APictureWiderThanAMouseCanReachIsRefused) {
    std::wstring widest = folder.File(L"widest.bmp");
    std::wstring tooWide = folder.File(L"too-wide.bmp");
    auto stripes = [](int x, int) { return x % 2 ? White : Black; };
    ASSERT_TRUE(WriteBmp(widest, 32767, 2, stripes));
    ASSERT_TRUE(WriteBmp(tooWide, 32768, 2, stripes));
    ExpectRefused(tooWide);
    HWND open = OpenLoadDialog();
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(ChooseFileInDialog(open, widest));
    EXPECT_NE(WaitForChild(client, L"DocumentClassName", L"イラスト用紙"), nullptr)
        << "32767 pixels are still taken";
    EXPECT_EQ(WaitForTopWindow(program, L"#32770", LoadFailureCaption, 300), nullptr);
}

} // namespace
