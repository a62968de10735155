// Saving the canvas: the frame's save commands driven through the real common save dialog,
// and the files checked byte by byte and decoded by ImageMagick, independently of GDI+.
#include <gtest/gtest.h>

// The GDI+ headers want the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <commdlg.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/startup.h"
#include "base/app_state.h"
#include "export/gdiplus_encoders.h"
#include "resources/resource_ids.h"
#include "test_canvas.h"
#include "test_files.h"
#include "win32_test_support.h"

namespace {

const wchar_t SaveDialogTitle[] = L"名前を付けてファイルを保存する";
constexpr int FileNameBox = 0x47C;
constexpr int FileTypeBox = 0x470;

const int saveCommands[] = {IDM_SAVE_BMP, IDM_SAVE_JPEG, IDM_SAVE_PNG, IDM_SAVE_GIF, IDM_SAVE_TIFF};
const wchar_t* const defaultExtensions[] = {L"bmp", L"jpg", L"png", L"gif", L"tiff"};
const char* const formatNames[] = {"BMP", "JPEG", "PNG", "GIF", "TIFF"};

// The first bytes that identify each format's files.
bool HasSignatureOf(const std::vector<unsigned char>& bytes, int command) {
    auto startsWith = [&](std::initializer_list<unsigned char> prefix) {
        return bytes.size() >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), bytes.begin());
    };
    switch (command) {
    case IDM_SAVE_BMP:
        return startsWith({'B', 'M'});
    case IDM_SAVE_JPEG:
        return startsWith({0xFF, 0xD8, 0xFF});
    case IDM_SAVE_PNG:
        return startsWith({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    case IDM_SAVE_GIF:
        return startsWith({'G', 'I', 'F', '8', '7', 'a'}) ||
               startsWith({'G', 'I', 'F', '8', '9', 'a'});
    case IDM_SAVE_TIFF:
        return startsWith({'I', 'I', 42, 0}) || startsWith({'M', 'M', 0, 42});
    default:
        return false;
    }
}

LRESULT CALLBACK PlainDocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefMDIChildProcW(window, message, wParam, lParam);
}

// What a save dialog showed as it opened.
struct OpenedSaveDialog {
    HWND owner = nullptr;
    std::wstring offeredName;
    std::wstring folder;
    std::vector<std::wstring> fileTypes;
    int selectedType = -1;
};

// How the user answers the save dialog and the questions it leads to.
struct SaveAnswer {
    std::wstring typedName; // typed into the name box; empty keeps what the box offers
    bool cancel = false;
    int overwriteAnswer = IDYES;
    int chooseFileType = -1; // picks another entry of the file type list before saving
};

class SaveImageTest : public testing::Test {
  protected:
    void SetUp() override {
        UseTestModuleAsInstance();
        frame = CreateFrameWindow(appState.instance);
        ASSERT_NE(frame, nullptr);
        WNDCLASSW documentClass = {};
        documentClass.lpfnWndProc = PlainDocumentProc;
        documentClass.hInstance = appState.instance;
        documentClass.lpszClassName = L"SaveTestDocument";
        RegisterClassW(&documentClass);
        appState.documentWindow =
            CreateMDIWindowW(L"SaveTestDocument", L"イラスト用紙", 0, 0, 0, 400, 300,
                             appState.mdiClient, appState.instance, 0);
        ASSERT_NE(appState.documentWindow, nullptr);
        appState.blankDocumentOpen = 1;
        ASSERT_NE(GetFileAttributesW(folder.path.c_str()), INVALID_FILE_ATTRIBUTES);
        PumpMessages();
    }
    void TearDown() override {
        if (IsWindow(frame))
            DestroyWindow(frame);
        PumpMessages();
    }

    void UseCanvas(int width, int height) {
        ASSERT_TRUE(MakeTestCanvas(width, height));
        PaintTestPattern();
    }

    // Runs a save command from the frame's menu and answers what it asks.
    std::vector<SeenDialog> SaveThroughMenu(int command, const SaveAnswer& answer) {
        return RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, command, 0); },
                                   [&](HWND dialog) { Answer(dialog, answer); });
    }
    std::vector<SeenDialog> SaveThroughMenu(int command, const std::wstring& typedName) {
        SaveAnswer answer;
        answer.typedName = typedName;
        return SaveThroughMenu(command, answer);
    }

    void Answer(HWND dialog, const SaveAnswer& answer) {
        HWND owner = GetWindow(dialog, GW_OWNER);
        if (GetDlgItem(dialog, FileNameBox)) {
            opened.push_back(Inspect(dialog));
            if (answer.cancel) {
                ClickDialogButton(dialog, IDCANCEL);
                return;
            }
            if (answer.chooseFileType >= 0) {
                HWND types = GetDlgItem(dialog, FileTypeBox);
                SendMessageW(types, CB_SETCURSEL, answer.chooseFileType, 0);
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(FileTypeBox, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(types));
            }
            if (!answer.typedName.empty())
                SetDlgItemTextW(dialog, FileNameBox, answer.typedName.c_str());
            ClickDialogButton(dialog, IDOK);
        } else if (owner && GetDlgItem(owner, FileNameBox)) {
            // The overwrite question, owned by the save dialog.
            ++overwriteQuestions;
            ClickDialogButton(dialog, answer.overwriteAnswer);
            // After a no the save dialog stays open; the user then gives up.
            if (answer.overwriteAnswer == IDNO)
                ClickDialogButton(owner, IDCANCEL);
        } else {
            ClickDialogButton(dialog, IDOK);
        }
    }

    static OpenedSaveDialog Inspect(HWND dialog) {
        OpenedSaveDialog seen;
        seen.owner = GetWindow(dialog, GW_OWNER);
        wchar_t text[1024] = {};
        GetDlgItemTextW(dialog, FileNameBox, text, 1024);
        seen.offeredName = text;
        text[0] = 0;
        SendMessageW(dialog, CDM_GETFOLDERPATH, 1024, reinterpret_cast<LPARAM>(text));
        seen.folder = text;
        HWND types = GetDlgItem(dialog, FileTypeBox);
        int count = int(SendMessageW(types, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t item[256] = {};
            SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            seen.fileTypes.push_back(item);
        }
        seen.selectedType = int(SendMessageW(types, CB_GETCURSEL, 0, 0));
        return seen;
    }

    // The window that owns what is opened for the document window: a dialog's owner is
    // always a top-level window, here the frame around the document.
    static HWND DocumentOwner() { return GetAncestor(appState.documentWindow, GA_ROOT); }

    // Message boxes seen for the document, without the save dialog and its questions.
    static std::vector<SeenDialog> MessageBoxesIn(const std::vector<SeenDialog>& seen) {
        std::vector<SeenDialog> boxes;
        for (const SeenDialog& dialog : seen)
            if (!dialog.text.empty() && dialog.owner == DocumentOwner())
                boxes.push_back(dialog);
        return boxes;
    }

    std::wstring Path(const std::wstring& name) const { return folder.File(name); }

    // Saves under the given name through the menu and decodes the file; 1 when both worked
    // and nothing was reported.
    int SaveAndDecode(int command, const std::wstring& name, DecodedImage* image) {
        std::vector<SeenDialog> seen = SaveThroughMenu(command, Path(name));
        return MessageBoxesIn(seen).empty() && DecodeIndependently(Path(name), image);
    }

    HWND frame = nullptr;
    ScratchFolder folder;
    std::vector<OpenedSaveDialog> opened;
    int overwriteQuestions = 0;
};

// Mean and largest difference of any colour channel between a decoded picture and the canvas,
// over the pixels for which `counts` is true.
struct ColourDifference {
    double mean = 0;
    int largest = 0;
};

template <typename Counts>
ColourDifference CompareWithCanvas(const DecodedImage& image, Counts counts) {
    ColourDifference difference;
    long long total = 0;
    long long channels = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (!counts(x, y))
                continue;
            uint32_t saved = image.Rgb(x, y);
            uint32_t painted = CanvasRgb(x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                int d = std::abs(int((saved >> shift) & 0xFF) - int((painted >> shift) & 0xFF));
                total += d;
                ++channels;
                difference.largest = std::max(difference.largest, d);
            }
        }
    difference.mean = channels ? double(total) / double(channels) : 0;
    return difference;
}

ColourDifference CompareWithCanvas(const DecodedImage& image) {
    return CompareWithCanvas(image, [](int, int) { return true; });
}

int OpaqueEverywhere(const DecodedImage& image) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.Alpha(x, y) != 255)
                return 0;
    return 1;
}

TEST_F(SaveImageTest, EachFormatWritesItsOwnKindOfFileAtTheCanvasSize) {
    UseCanvas(120, 90);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(formatNames[i]);
        std::vector<SeenDialog> seen = SaveThroughMenu(saveCommands[i], Path(L"picture"));
        EXPECT_TRUE(MessageBoxesIn(seen).empty()) << "a successful save shows nothing";
        // Typed without an extension: the format's own is added.
        std::wstring path = Path(std::wstring(L"picture.") + defaultExtensions[i]);
        std::vector<unsigned char> bytes = ReadWholeFile(path);
        EXPECT_TRUE(HasSignatureOf(bytes, saveCommands[i]));
        DecodedImage image;
        ASSERT_TRUE(DecodeIndependently(path, &image));
        EXPECT_EQ(image.format.rfind(formatNames[i], 0), 0u) << image.format; // BMP3 is a BMP
        EXPECT_EQ(image.width, 120);
        EXPECT_EQ(image.height, 90);
        EXPECT_TRUE(OpaqueEverywhere(image));
    }
    EXPECT_EQ(folder.FileNames().size(), 5u) << "one file per save, nothing else";
    ASSERT_EQ(opened.size(), 5u);
    for (const OpenedSaveDialog& dialog : opened)
        EXPECT_EQ(dialog.owner, DocumentOwner());
}

// The view size that the zoom gives the canvas window.
IntSize ZoomedViewSize(IntSize canvas, int zoomLevel) {
    double factor = zoomLevel > 0 ? 1.1 : 0.9;
    IntSize view = canvas;
    for (int step = 0; step < std::abs(zoomLevel); ++step) {
        view.w = int(view.w * factor);
        view.h = int(view.h * factor);
    }
    return view;
}

TEST_F(SaveImageTest, EveryFormatSavesTheWholeCanvasWhileTheViewIsZoomed) {
    UseCanvas(800, 600);
    for (int zoomLevel : {3, -3}) {
        appState.zoomLevel = zoomLevel;
        appState.viewSize = ZoomedViewSize(appState.canvasSize, zoomLevel);
        ASSERT_NE(appState.viewSize.w, 800);
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(std::string(formatNames[i]) + " at zoom " + std::to_string(zoomLevel));
            std::wstring name =
                L"zoom" + std::to_wstring(zoomLevel + 10) + L"." + defaultExtensions[i];
            DecodedImage image;
            ASSERT_TRUE(SaveAndDecode(saveCommands[i], name, &image));
            EXPECT_EQ(image.width, 800);
            EXPECT_EQ(image.height, 600);
            EXPECT_LT(CompareWithCanvas(image).mean, 10.0);
        }
    }
}

TEST_F(SaveImageTest, BmpPngAndTiffHoldTheCanvasPixelForPixel) {
    UseCanvas(120, 90);
    for (int command : {IDM_SAVE_BMP, IDM_SAVE_PNG, IDM_SAVE_TIFF}) {
        int i = command - IDM_SAVE_BMP;
        SCOPED_TRACE(formatNames[i]);
        DecodedImage image;
        ASSERT_TRUE(SaveAndDecode(command, std::wstring(L"exact.") + defaultExtensions[i], &image));
        ASSERT_EQ(image.width, 120);
        ASSERT_EQ(image.height, 90);
        ColourDifference difference = CompareWithCanvas(image);
        EXPECT_EQ(difference.largest, 0);
        // The canvas's unused top byte (0 from GDI, 0xFF from the tools) is no transparency.
        EXPECT_TRUE(OpaqueEverywhere(image));
    }
}

TEST_F(SaveImageTest, JpegIsCloseToTheCanvas) {
    UseCanvas(120, 90);
    DecodedImage image;
    ASSERT_TRUE(SaveAndDecode(IDM_SAVE_JPEG, L"photo.jpg", &image));
    ASSERT_EQ(image.width, 120);
    ASSERT_EQ(image.height, 90);
    EXPECT_LT(CompareWithCanvas(image).mean, 6.0);
    // Inside the smooth half and inside the flat blocks, away from the sharp edges where JPEG
    // rings, every pixel is close.
    auto insideSmoothParts = [](int x, int y) {
        bool inGradient = x >= 4 && x < 60 - 8;
        int blockX = (x - 60) % 10;
        int blockY = y % 15;
        bool inBlock = x >= 60 && blockX >= 3 && blockX < 7 && blockY >= 4 && blockY < 11;
        return (inGradient || inBlock) && y >= 4 && y < 86;
    };
    EXPECT_LE(CompareWithCanvas(image, insideSmoothParts).largest, 32);
    EXPECT_TRUE(OpaqueEverywhere(image));
}

// Paints a drawing of a few colours as GDI and the tools leave it: a white sheet with a black
// frame, filled shapes, and pixels with the top byte set.
void PaintFewColourDrawing() {
    HDC dc = appState.canvasDc;
    Rectangle(dc, 0, 0, appState.canvasSize.w, appState.canvasSize.h);
    HBRUSH red = CreateSolidBrush(RGB(230, 20, 40));
    HGDIOBJ oldBrush = SelectObject(dc, red);
    Ellipse(dc, 10, 10, 60, 50);
    HBRUSH blue = CreateSolidBrush(RGB(17, 34, 201));
    SelectObject(dc, blue);
    Rectangle(dc, 50, 30, 110, 80);
    SelectObject(dc, oldBrush);
    DeleteObject(red);
    DeleteObject(blue);
    GdiFlush();
    for (int x = 20; x < 100; ++x)
        appState.canvasPixels[x + 45 * appState.surfaceSize.w] = 0xFF7FFF00u; // a fill
}

TEST_F(SaveImageTest, GifKeepsTheColoursOfADrawingExactly) {
    ASSERT_TRUE(MakeTestCanvas(120, 90));
    PaintFewColourDrawing();
    DecodedImage image;
    ASSERT_TRUE(SaveAndDecode(IDM_SAVE_GIF, L"drawing.gif", &image));
    ASSERT_EQ(image.width, 120);
    ASSERT_EQ(image.height, 90);
    EXPECT_EQ(CompareWithCanvas(image).largest, 0);
    EXPECT_TRUE(OpaqueEverywhere(image));
}

TEST_F(SaveImageTest, GifTakesTheNearestWebSafeColoursForAPictureOfManyColours) {
    UseCanvas(120, 90); // gradients: far more than 256 colours
    DecodedImage image;
    ASSERT_TRUE(SaveAndDecode(IDM_SAVE_GIF, L"many.gif", &image));
    ASSERT_EQ(image.width, 120);
    ASSERT_EQ(image.height, 90);
    ColourDifference difference = CompareWithCanvas(image);
    EXPECT_LE(difference.largest, 0x33 / 2);
    EXPECT_LT(difference.mean, 14.0);
    // The blocks are web-safe colours already.
    EXPECT_EQ(CompareWithCanvas(image, [](int x, int) { return x >= 60; }).largest, 0);
}

TEST_F(SaveImageTest, SavesTheCanvasAsItIsWhenTheDialogCloses) {
    UseCanvas(40, 30);
    SaveAnswer answer;
    answer.typedName = Path(L"late.png");
    RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_SAVE_PNG, 0); },
                        [&](HWND dialog) {
                            // The palette's 戻す may change the canvas while the dialog is open.
                            if (GetDlgItem(dialog, FileNameBox))
                                for (int i = 0; i < 40 * 30; ++i)
                                    appState.canvasPixels[i] = 0x00123456;
                            Answer(dialog, answer);
                        });
    DecodedImage image;
    ASSERT_TRUE(DecodeIndependently(Path(L"late.png"), &image));
    ASSERT_EQ(image.width, 40);
    EXPECT_EQ(image.Rgb(0, 0), 0x123456u);
    EXPECT_EQ(image.Rgb(39, 29), 0x123456u);
}

TEST_F(SaveImageTest, MenuItemNotTypedExtensionChoosesTheEncoder) {
    UseCanvas(40, 30);
    SaveThroughMenu(IDM_SAVE_PNG, Path(L"sketch"));
    EXPECT_TRUE(HasSignatureOf(ReadWholeFile(Path(L"sketch.png")), IDM_SAVE_PNG));
    SaveThroughMenu(IDM_SAVE_PNG, Path(L"sketch.bmp"));
    std::vector<unsigned char> bytes = ReadWholeFile(Path(L"sketch.bmp"));
    EXPECT_TRUE(HasSignatureOf(bytes, IDM_SAVE_PNG)) << "PNG data under a .bmp name";
    EXPECT_FALSE(HasSignatureOf(bytes, IDM_SAVE_BMP));
    DecodedImage image;
    ASSERT_TRUE(DecodeIndependently(Path(L"sketch.bmp"), &image));
    EXPECT_EQ(image.format, "PNG");
    EXPECT_EQ(folder.FileNames().size(), 2u);
}

TEST_F(SaveImageTest, CancelTellsTheUserAndWritesNothing) {
    UseCanvas(40, 30);
    SaveAnswer cancel;
    cancel.cancel = true;
    for (int command : saveCommands) {
        std::vector<SeenDialog> boxes = MessageBoxesIn(SaveThroughMenu(command, cancel));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, L"キャンセル");
        EXPECT_EQ(boxes[0].text, L"キャンセルしました");
    }
    EXPECT_TRUE(folder.FileNames().empty());
}

TEST_F(SaveImageTest, DialogOffersTheSameFileTypesWithAllFilesChosenAtEveryOpening) {
    UseCanvas(40, 30);
    const std::vector<std::wstring> expectedTypes = {L"All (*.*)", L"BMP (*.bmp)", L"JPG (*.jpg)",
                                                     L"GIF (*.gif)", L"TIFF (*.tiff)"};
    SaveAnswer answer;
    answer.typedName = Path(L"first.gif");
    answer.chooseFileType = 3; // the user picks GIF in the list
    SaveThroughMenu(IDM_SAVE_GIF, answer);
    SaveThroughMenu(IDM_SAVE_PNG, Path(L"second.png"));
    SaveThroughMenu(IDM_SAVE_TIFF, Path(L"third.tiff"));
    ASSERT_EQ(opened.size(), 3u);
    for (const OpenedSaveDialog& dialog : opened) {
        EXPECT_EQ(dialog.fileTypes, expectedTypes) << "no PNG entry, for any format";
        EXPECT_EQ(dialog.selectedType, 0) << "All (*.*)";
    }
    EXPECT_EQ(folder.FileNames().size(), 3u);
}

TEST_F(SaveImageTest, SecondSaveOfTheRunStartsWithThePathChosenFirst) {
    UseCanvas(40, 30);
    SaveThroughMenu(IDM_SAVE_PNG, Path(L"first.png"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].offeredName, L"") << "empty the first time";

    // Saving again without typing saves over the same file, after the question.
    std::vector<SeenDialog> seen = SaveThroughMenu(IDM_SAVE_BMP, L"");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].folder + L"\\", folder.path);
    EXPECT_EQ(opened[1].offeredName, L"first.png");
    EXPECT_EQ(overwriteQuestions, 1);
    EXPECT_TRUE(MessageBoxesIn(seen).empty());
    EXPECT_TRUE(HasSignatureOf(ReadWholeFile(Path(L"first.png")), IDM_SAVE_BMP));
    EXPECT_EQ(folder.FileNames().size(), 1u);
}

TEST_F(SaveImageTest, PathTooLongForTheDialogIsACancelAndKeepsTheLastPath) {
    UseCanvas(40, 30);
    SaveThroughMenu(IDM_SAVE_PNG, Path(L"kept.png"));
    // One character more than the 256 the dialog's buffer holds with its null.
    std::wstring tooLong = Path(std::wstring(256, L'a'));
    tooLong.resize(257 - 4);
    tooLong += L".png";
    ASSERT_EQ(tooLong.size(), 257u);
    std::vector<SeenDialog> boxes = MessageBoxesIn(SaveThroughMenu(IDM_SAVE_PNG, tooLong));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"キャンセルしました");

    SaveAnswer cancel;
    cancel.cancel = true;
    SaveThroughMenu(IDM_SAVE_PNG, cancel);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[2].offeredName, L"kept.png");
    EXPECT_EQ(opened[2].folder + L"\\", folder.path);
    EXPECT_EQ(folder.FileNames().size(), 1u);
}

TEST_F(SaveImageTest, ExistingFileIsReplacedOnlyAfterYes) {
    UseCanvas(40, 30);
    ASSERT_TRUE(WriteWholeFile(Path(L"old.png"), "the picture that was there"));
    SaveAnswer no;
    no.typedName = Path(L"old.png");
    no.overwriteAnswer = IDNO;
    SaveThroughMenu(IDM_SAVE_PNG, no);
    EXPECT_EQ(overwriteQuestions, 1);
    std::vector<unsigned char> bytes = ReadWholeFile(Path(L"old.png"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "the picture that was there");

    SaveAnswer yes = no;
    yes.overwriteAnswer = IDYES;
    std::vector<SeenDialog> seen = SaveThroughMenu(IDM_SAVE_PNG, yes);
    EXPECT_EQ(overwriteQuestions, 2);
    EXPECT_TRUE(MessageBoxesIn(seen).empty());
    EXPECT_TRUE(HasSignatureOf(ReadWholeFile(Path(L"old.png")), IDM_SAVE_PNG));
    EXPECT_EQ(folder.FileNames().size(), 1u);
}

TEST_F(SaveImageTest, WritesToTheChosenFolderWhateverTheCurrentDirectory) {
    UseCanvas(40, 30);
    ScratchFolder elsewhere;
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.path.c_str()));
    SaveThroughMenu(IDM_SAVE_PNG, Path(L"chosen.png"));
    std::vector<std::wstring> inElsewhere = elsewhere.FileNames();
    EXPECT_TRUE(HasSignatureOf(ReadWholeFile(Path(L"chosen.png")), IDM_SAVE_PNG));
    EXPECT_TRUE(inElsewhere.empty()) << "nothing lands in the current directory";
}

TEST_F(SaveImageTest, SaveIntoAMissingFolderIsReportedAndWritesNothing) {
    UseCanvas(40, 30);
    std::wstring target = Path(L"missing\\sketch.png");
    std::vector<SeenDialog> boxes = MessageBoxesIn(SaveThroughMenu(IDM_SAVE_PNG, target));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"保存できませんでした");
    EXPECT_EQ(boxes[0].text, L"画像を保存できませんでした。\n" + target);
    EXPECT_EQ(boxes[0].owner, DocumentOwner());
    EXPECT_TRUE(folder.FileNames().empty());
}

TEST_F(SaveImageTest, TargetHeldOpenIsReportedAndKeepsItsContents) {
    UseCanvas(40, 30);
    std::wstring target = Path(L"busy.bmp");
    ASSERT_TRUE(WriteWholeFile(target, "the picture that was there"));
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<SeenDialog> boxes = MessageBoxesIn(SaveThroughMenu(IDM_SAVE_BMP, target));
    CloseHandle(held);
    EXPECT_EQ(overwriteQuestions, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"保存できませんでした");
    EXPECT_EQ(boxes[0].text, L"画像を保存できませんでした。\n" + target);
    std::vector<unsigned char> bytes = ReadWholeFile(target);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "the picture that was there");
    EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"busy.bmp"}) << "no partial file";
}

TEST_F(SaveImageTest, FailedSaveReturnsZeroAndSuccessOne) {
    UseCanvas(40, 30);
    EXPECT_EQ(SaveCanvasAs(Path(L"missing\\a.png").c_str(), appState.canvasDib, 3), 0);
    EXPECT_EQ(SaveCanvasAs(Path(L"a.png").c_str(), nullptr, 3), 0) << "no bitmap";
    EXPECT_EQ(SaveCanvasAs(Path(L"a.png").c_str(), appState.canvasDib, 0), 0);
    EXPECT_EQ(SaveCanvasAs(Path(L"a.png").c_str(), appState.canvasDib, 6), 0);
    EXPECT_TRUE(folder.FileNames().empty());
    EXPECT_EQ(SaveCanvasAs(Path(L"a.png").c_str(), appState.canvasDib, 3), 1);
    EXPECT_TRUE(HasSignatureOf(ReadWholeFile(Path(L"a.png")), IDM_SAVE_PNG));
}

TEST(FindEncoderTest, FindsTheEncoderOfAnExactMimeTypeOnly) {
    // GDI+ starts on first use; nothing has started it here.
    CLSID untouched;
    std::memset(&untouched, 0xA5, sizeof(untouched));
    for (const wchar_t* unknown : {L"image/x-unknown", L"image/PNG", L"image/pn", L"png", L""}) {
        CLSID clsid = untouched;
        EXPECT_EQ(FindEncoder(unknown, &clsid), -1);
        EXPECT_EQ(std::memcmp(&clsid, &untouched, sizeof(clsid)), 0) << "left untouched";
    }

    // Checked against the encoder list read here, walked by its own record type.
    UINT count = 0, bytes = 0;
    ASSERT_EQ(Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &bytes), Gdiplus::Ok);
    std::vector<unsigned char> storage(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    ASSERT_EQ(Gdiplus::DllExports::GdipGetImageEncoders(count, bytes, encoders), Gdiplus::Ok);
    for (const wchar_t* known :
         {L"image/bmp", L"image/jpeg", L"image/png", L"image/gif", L"image/tiff"}) {
        CLSID clsid = untouched;
        int index = FindEncoder(known, &clsid);
        ASSERT_GE(index, 0);
        ASSERT_LT(UINT(index), count);
        EXPECT_EQ(std::wstring(encoders[index].MimeType), known);
        EXPECT_TRUE(IsEqualCLSID(clsid, encoders[index].Clsid));
    }
}

TEST_F(SaveImageTest, GdiplusStartsWhenFirstNeededAndAgainAfterItWasShutDown) {
    UseCanvas(40, 30);
    ShutDownGdiplus(); // never started: nothing to do
    SaveThroughMenu(IDM_SAVE_JPEG, Path(L"one.jpg"));
    ShutDownGdiplus(); // as at the end of the run
    SaveThroughMenu(IDM_SAVE_JPEG, Path(L"two.jpg"));
    SaveThroughMenu(IDM_SAVE_JPEG, Path(L"three.jpg"));
    for (const wchar_t* name : {L"one.jpg", L"two.jpg", L"three.jpg"})
        EXPECT_TRUE(HasSignatureOf(ReadWholeFile(Path(name)), IDM_SAVE_JPEG)) << name;
}

} // namespace
