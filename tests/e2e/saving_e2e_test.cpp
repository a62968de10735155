// File > 保存 in the real program: each format through the real save dialog, the files decoded
// by ImageMagick rather than by the program or Windows; cancelling, overwriting, failing.
#include "program_test.h"

#include "picture_files.h"
#include "scenario_pictures.h"
#include "test_files.h"

namespace {

const wchar_t SaveTitle[] = L"名前を付けてファイルを保存する";

struct SaveFormat {
    FileMenuItem item;
    const wchar_t* extension; // what the dialog adds to a name typed without one
    const char* decodedAs;    // ImageMagick's name of the format
    bool lossless;
};

const SaveFormat saveFormats[] = {
    {FileMenuItem::SaveBmp, L".bmp", "BMP", true},
    {FileMenuItem::SaveJpeg, L".jpg", "JPEG", false},
    {FileMenuItem::SavePng, L".png", "PNG", true},
    {FileMenuItem::SaveGif, L".gif", "GIF", true},
    {FileMenuItem::SaveTiff, L".tiff", "TIFF", true},
};

// ImageMagick names a version-3 BMP "BMP3".
bool FormatIs(const DecodedImage& image, const std::string& expected) {
    return image.format == expected || (expected == "BMP" && image.format == "BMP3");
}

// Compares a decoded picture with the expected one; the number of pixels that differ by more
// than the tolerance in a channel, or that are not opaque.
int PixelsOff(const DecodedImage& image, const std::function<uint32_t(int, int)>& expected,
              int tolerance) {
    int off = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            off += ChannelDifference(image.Rgb(x, y), expected(x, y)) > tolerance ||
                   image.Alpha(x, y) != 255;
    return off;
}

class SavingTest : public ProgramTest {
  protected:
    // A save that must succeed: waits for the file, checks nothing was reported, decodes it.
    void SaveAndDecode(FileMenuItem format, const std::wstring& typed, const std::wstring& file,
                       DecodedImage* image) {
        SaveOutcome outcome = SaveThroughMenu(format, typed);
        ASSERT_TRUE(outcome.dialogShown);
        ASSERT_TRUE(outcome.dialogClosed);
        EXPECT_FALSE(outcome.overwriteAsked) << "a new file";
        ASSERT_TRUE(WaitForFile(file)) << testing::PrintToString(file);
        EXPECT_TRUE(NoDialogAppearsWithin(300)) << "a successful save shows nothing";
        ASSERT_TRUE(DecodeIndependently(file, image)) << testing::PrintToString(file);
    }

    ScratchFolder folder;
};

TEST_F(SavingTest, EachFormatSavesTheSheetThroughTheSaveDialog) {
    ASSERT_TRUE(OpenSheet(680, 480));
    auto sheet = [](int x, int y) { return SheetColour(x, y, 680, 480); };
    std::wstring lastName;
    for (const SaveFormat& format : saveFormats) {
        SCOPED_TRACE(format.decodedAs);
        // Typed without an extension: the dialog adds the format's own.
        std::wstring file = folder.File(L"sheet") + format.extension;
        SaveOutcome outcome = SaveThroughMenu(format.item, folder.File(L"sheet"));
        ASSERT_TRUE(outcome.dialogShown);
        EXPECT_EQ(outcome.dialogTitle, SaveTitle);
        EXPECT_EQ(outcome.dialogOwner, frame) << "the document's window owns it";
        EXPECT_EQ(outcome.offeredName, lastName) << "the name chosen last in this run";
        EXPECT_EQ(outcome.fileTypes,
                  (std::vector<std::wstring>{L"All (*.*)", L"BMP (*.bmp)", L"JPG (*.jpg)",
                                             L"GIF (*.gif)", L"TIFF (*.tiff)"}));
        EXPECT_EQ(outcome.selectedFileType, 0) << "All (*.*) at every opening";
        ASSERT_TRUE(outcome.dialogClosed);
        EXPECT_FALSE(outcome.overwriteAsked) << "a new file";
        ASSERT_TRUE(WaitForFile(file));
        lastName = std::wstring(L"sheet") + format.extension;

        DecodedImage image;
        ASSERT_TRUE(DecodeIndependently(file, &image));
        EXPECT_TRUE(FormatIs(image, format.decodedAs)) << image.format;
        ASSERT_EQ(image.width, 680);
        ASSERT_EQ(image.height, 480);
        if (format.lossless) {
            EXPECT_EQ(PixelsOff(image, sheet, 0), 0);
        } else {
            EXPECT_LE(ChannelDifference(image.Rgb(340, 240), White), 8);
            EXPECT_GE(ChannelDifference(image.Rgb(0, 240), White), 100) << "the frame";
            EXPECT_EQ(PixelsOff(image, sheet, 128), 0);
        }
    }
    EXPECT_EQ(folder.FileNames().size(), 5u);
    EXPECT_TRUE(NoDialogAppearsWithin(300));
}

TEST_F(SavingTest, ALoadedPictureComesBackPixelForPixel) {
    auto blocks = [](int x, int y) { return BlockColour(x, y); };
    std::wstring source = folder.File(L"source.bmp");
    ASSERT_TRUE(WriteBmp(source, 230, 170, blocks));
    ASSERT_TRUE(OpenPicture(source));
    for (const SaveFormat& format : saveFormats) {
        SCOPED_TRACE(format.decodedAs);
        std::wstring file = folder.File(L"copy") + format.extension;
        DecodedImage image;
        SaveAndDecode(format.item, file, file, &image);
        EXPECT_TRUE(FormatIs(image, format.decodedAs)) << image.format;
        ASSERT_EQ(image.width, 230);
        ASSERT_EQ(image.height, 170);
        if (format.lossless)
            EXPECT_EQ(PixelsOff(image, blocks, 0), 0);
        else
            EXPECT_LE(ChannelDifference(image.Rgb(5, 5), blocks(5, 5)), 24);
    }
}

// GIF holds at most 256 colours: a photo comes back reduced, yet close to what it was.
TEST_F(SavingTest, APhotoSavedAsGifKeepsItsColoursClose) {
    std::wstring photo = folder.File(L"photo.bmp");
    ASSERT_TRUE(WriteBmp(photo, 700, 500, PhotoLikePixel));
    ASSERT_TRUE(OpenPicture(photo));
    DecodedImage image;
    SaveAndDecode(FileMenuItem::SaveGif, folder.File(L"photo.gif"), folder.File(L"photo.gif"),
                  &image);
    EXPECT_EQ(image.format, "GIF");
    ASSERT_EQ(image.width, 700);
    ASSERT_EQ(image.height, 500);
    long total = 0;
    int largest = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 700; ++x) {
            int d = ChannelDifference(image.Rgb(x, y), PhotoLikePixel(x, y));
            total += d;
            largest = d > largest ? d : largest;
        }
    EXPECT_LE(total / (700.0 * 500), 24.0) << "mean difference of the largest channel";
    EXPECT_LE(largest, 48);
    EXPECT_EQ(PixelsOff(image, PhotoLikePixel, 255), 0) << "opaque everywhere";
}

TEST_F(SavingTest, TheFileHasTheCanvasSizeWhateverTheZoom) {
    ASSERT_TRUE(OpenSheet(800, 600));
    SIZE fitted = CanvasViewSize();
    Wheel(240);
    ASSERT_NE(CanvasViewSize().cx, fitted.cx) << "zoomed in";
    DecodedImage image;
    SaveAndDecode(FileMenuItem::SavePng, folder.File(L"in.png"), folder.File(L"in.png"), &image);
    EXPECT_EQ(image.width, 800);
    EXPECT_EQ(image.height, 600);
    Wheel(-120 * 5);
    SaveAndDecode(FileMenuItem::SaveBmp, folder.File(L"out.bmp"), folder.File(L"out.bmp"), &image);
    EXPECT_EQ(image.width, 800);
    EXPECT_EQ(image.height, 600);
    EXPECT_EQ(PixelsOff(
                  image, [](int x, int y) { return SheetColour(x, y, 800, 600); }, 0),
              0);
}

TEST_F(SavingTest, TheMenuItemNotTheTypedExtensionChoosesTheFormat) {
    ASSERT_TRUE(OpenSheet(90, 60));
    DecodedImage image;
    SaveAndDecode(FileMenuItem::SavePng, folder.File(L"sketch"), folder.File(L"sketch.png"),
                  &image);
    EXPECT_EQ(image.format, "PNG");
    SaveAndDecode(FileMenuItem::SavePng, folder.File(L"sketch.bmp"), folder.File(L"sketch.bmp"),
                  &image);
    EXPECT_EQ(image.format, "PNG") << "PNG data under a .bmp name";
    std::vector<uint8_t> bytes = ReadWholeFile(folder.File(L"sketch.bmp"));
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[1], 'P');
    EXPECT_EQ(folder.FileNames().size(), 2u);
}

TEST_F(SavingTest, CancellingTellsTheUserAndWritesNothing) {
    ASSERT_TRUE(OpenSheet(90, 60));
    for (const SaveFormat& format : saveFormats) {
        SCOPED_TRACE(format.decodedAs);
        SaveOutcome outcome = SaveThroughMenu(format.item, L"", SaveAnswer::Cancel);
        ASSERT_TRUE(outcome.dialogShown);
        ASSERT_TRUE(outcome.dialogClosed);
        SeenMessageBox told = WaitForMessageBox(program, L"キャンセル", 5000);
        ASSERT_NE(told.window, nullptr);
        EXPECT_EQ(told.text, L"キャンセルしました");
        EXPECT_EQ(told.owner, frame) << "owned by the document's window";
        ASSERT_TRUE(DismissMessageBox(told));
    }
    EXPECT_TRUE(folder.FileNames().empty());

    // A path longer than the dialog can return counts as a cancel, and the next dialog still
    // offers the name chosen last.
    DecodedImage image;
    SaveAndDecode(FileMenuItem::SavePng, folder.File(L"kept.png"), folder.File(L"kept.png"),
                  &image);
    // One character more than the dialog's 256, its terminating null included.
    std::wstring tooLong = folder.File(std::wstring(256 - folder.path.size() - 4, L'a') + L".png");
    ASSERT_EQ(tooLong.size(), 256u);
    SaveOutcome outcome = SaveThroughMenu(FileMenuItem::SavePng, tooLong);
    ASSERT_TRUE(outcome.dialogClosed);
    SeenMessageBox told = WaitForMessageBox(program, L"キャンセル", 5000);
    EXPECT_EQ(told.text, L"キャンセルしました");
    ASSERT_TRUE(DismissMessageBox(told));
    outcome = SaveThroughMenu(FileMenuItem::SavePng, L"", SaveAnswer::Cancel);
    EXPECT_EQ(outcome.offeredName, L"kept.png");
    ASSERT_TRUE(DismissMessageBox(WaitForMessageBox(program, L"キャンセル", 5000)));
    EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"kept.png"});
}

TEST_F(SavingTest, AnExistingFileIsReplacedOnlyAfterYes) {
    ASSERT_TRUE(OpenSheet(90, 60));
    std::wstring file = folder.File(L"old.png");
    ASSERT_TRUE(WriteWholeFile(file, std::string("the picture that was there")));

    SaveOutcome no =
        SaveThroughMenu(FileMenuItem::SavePng, file, SaveAnswer::OverwriteNoThenCancel);
    EXPECT_TRUE(no.overwriteAsked);
    EXPECT_FALSE(no.overwriteText.empty());
    ASSERT_TRUE(no.dialogClosed);
    ASSERT_TRUE(DismissMessageBox(WaitForMessageBox(program, L"キャンセル", 5000)));
    std::vector<uint8_t> bytes = ReadWholeFile(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "the picture that was there");

    SaveOutcome yes = SaveThroughMenu(FileMenuItem::SavePng, file, SaveAnswer::OverwriteYes);
    EXPECT_TRUE(yes.overwriteAsked);
    ASSERT_TRUE(yes.dialogClosed);
    DecodedImage image;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50))
        if (DecodeIndependently(file, &image))
            break;
    EXPECT_EQ(image.format, "PNG");
    EXPECT_EQ(image.width, 90);
    EXPECT_TRUE(NoDialogAppearsWithin(300));
    EXPECT_EQ(folder.FileNames().size(), 1u);
}

TEST_F(SavingTest, TheSaveCommandsDoNothingWithoutADocument) {
    for (const SaveFormat& format : saveFormats) {
        ASSERT_TRUE(ChooseFromFileMenu(frame, format.item));
        EXPECT_TRUE(NoDialogAppearsWithin(600)) << format.decodedAs;
    }
    ASSERT_TRUE(OpenSheet(90, 60));
    ASSERT_TRUE(CloseDocument());
    ASSERT_TRUE(ChooseFromFileMenu(frame, FileMenuItem::SaveBmp));
    EXPECT_TRUE(NoDialogAppearsWithin(600)) << "nor after the document closed";
    EXPECT_TRUE(IsRunning(program));
}

TEST_F(SavingTest, AFailedSaveIsReportedAndLeavesNothingBehind) {
    ASSERT_TRUE(OpenSheet(90, 60));
    // Into a folder that does not exist.
    std::wstring missing = folder.File(L"missing\\sketch.png");
    SaveOutcome outcome = SaveThroughMenu(FileMenuItem::SavePng, missing);
    ASSERT_TRUE(outcome.dialogClosed);
    SeenMessageBox failure = WaitForMessageBox(program, L"保存できませんでした", 5000);
    ASSERT_NE(failure.window, nullptr) << "the failure is reported";
    EXPECT_EQ(failure.text, L"画像を保存できませんでした。\n" + missing);
    EXPECT_EQ(failure.owner, frame);
    ASSERT_TRUE(DismissMessageBox(failure));
    EXPECT_TRUE(folder.FileNames().empty());

    // Over a file that another program holds open without sharing.
    std::wstring busy = folder.File(L"busy.bmp");
    ASSERT_TRUE(WriteWholeFile(busy, std::string("the picture that was there")));
    HANDLE held = CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    outcome = SaveThroughMenu(FileMenuItem::SaveBmp, busy, SaveAnswer::OverwriteYes);
    EXPECT_TRUE(outcome.overwriteAsked);
    failure = WaitForMessageBox(program, L"保存できませんでした", 5000);
    CloseHandle(held);
    ASSERT_NE(failure.window, nullptr) << "the failure is reported";
    EXPECT_EQ(failure.text, L"画像を保存できませんでした。\n" + busy);
    ASSERT_TRUE(DismissMessageBox(failure));
    std::vector<uint8_t> bytes = ReadWholeFile(busy);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "the picture that was there");
    EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"busy.bmp"}) << "no partial file";

    // The next save works.
    DecodedImage image;
    SaveAndDecode(FileMenuItem::SaveGif, folder.File(L"after.gif"), folder.File(L"after.gif"),
                  &image);
    EXPECT_EQ(image.width, 90);
}

// The program is started in a folder of its own; saves land where the dialog chose.
class SavingFromAnotherFolderTest : public SavingTest {
  protected:
    void SetUp() override { Launch(L"", startFolder.path); }
    ScratchFolder startFolder;
};

TEST_F(SavingFromAnotherFolderTest, FilesLandInTheChosenFolderNotTheCurrentOne) {
    ASSERT_TRUE(OpenSheet(90, 60));
    ScratchFolder second;
    DecodedImage image;
    SaveAndDecode(FileMenuItem::SavePng, folder.File(L"first.png"), folder.File(L"first.png"),
                  &image);
    SaveAndDecode(FileMenuItem::SaveTiff, second.File(L"second.tiff"), second.File(L"second.tiff"),
                  &image);
    EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"first.png"});
    EXPECT_EQ(second.FileNames(), std::vector<std::wstring>{L"second.tiff"});
    EXPECT_TRUE(startFolder.FileNames().empty()) << "nothing in the folder it was started in";
}

} // namespace
