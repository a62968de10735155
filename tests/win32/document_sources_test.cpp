// New sheets and loaded pictures: the canvas surface, the reset copy, the paper dialog and the
// failure paths, created in-process with the real frame, dialogs and document window.
#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "document_fixture.h"
#include "picture_files.h"
#include "test_files.h"

namespace {

const wchar_t PaperRangeText[] = L"横と縦は 1 から 32767 までの数で指定してください。";
const wchar_t PaperMemoryText[] = L"用紙を作成できませんでした。メモリが足りません。";

uint32_t Stripes(int x, int y) {
    // Different in every corner, so a flipped or shifted copy shows.
    return (uint32_t(x * 5 & 0xFF) << 16) | (uint32_t(y * 3 & 0xFF) << 8) |
           uint32_t((x + y) & 0xFF);
}

TEST_F(DocumentTest, ANewSheetIsWhiteWithAOnePixelBlackFrame) {
    std::vector<SeenDialog> seen = NewSheet(L"680", L"480");
    ASSERT_EQ(seen.size(), 1u) << "only the paper dialog";
    EXPECT_EQ(appState.blankDocumentOpen, 1);
    EXPECT_EQ(appState.imageDocumentOpen, 0);
    EXPECT_EQ(appState.canvasSize.w, 680);
    EXPECT_EQ(appState.canvasSize.h, 480);
    EXPECT_EQ(appState.surfaceSize.w, 680);
    EXPECT_EQ(appState.surfaceSize.h, 480);
    ASSERT_NE(appState.canvasPixels, nullptr);

    int wrong = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 680; ++x) {
            bool edge = x == 0 || y == 0 || x == 679 || y == 479;
            uint32_t expected = edge ? 0x000000 : 0xFFFFFF;
            if (CanvasRgb(x, y) != expected || ResetCopyRgb(x, y) != expected)
                ++wrong;
        }
    EXPECT_EQ(wrong, 0);

    // The surface is the 32-bit bottom-up DIB section selected into the canvas device context.
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectW(appState.canvasDib, sizeof(section), &section), int(sizeof(section)));
    EXPECT_EQ(section.dsBmih.biWidth, 680);
    EXPECT_EQ(section.dsBmih.biHeight, 480) << "bottom-up";
    EXPECT_EQ(section.dsBmih.biBitCount, 32);
    EXPECT_EQ(section.dsBm.bmBits, appState.canvasPixels);
    EXPECT_EQ(GetCurrentObject(appState.canvasDc, OBJ_BITMAP), appState.canvasDib);

    ASSERT_TRUE(IsWindow(appState.documentWindow));
    EXPECT_EQ(ClassNameOf(appState.documentWindow), L"DocumentClassName");
    EXPECT_EQ(WindowText(appState.documentWindow), L"イラスト用紙");
    EXPECT_EQ(GetParent(appState.documentWindow), appState.mdiClient);
}

TEST_F(DocumentTest, TheSheetTakesTheTypedSizeWithStrToIntReading) {
    NewSheet(L"300abc", L"200");
    EXPECT_EQ(appState.canvasSize.w, 300) << "digits followed by letters read as the digits";
    EXPECT_EQ(appState.canvasSize.h, 200);
    EXPECT_EQ(CanvasRgb(299, 199), 0x000000u);
    EXPECT_EQ(CanvasRgb(298, 198), 0xFFFFFFu);
    CloseDocument();

    NewSheet(L"1", L"1");
    EXPECT_EQ(appState.blankDocumentOpen, 1) << "the smallest sheet";
    EXPECT_EQ(CanvasRgb(0, 0), 0x000000u);
}

TEST_F(DocumentTest, LoadedBmpJpegAndGifKeepTheirOwnSizeAndPixels) {
    ScratchFolder folder;
    struct Case {
        const wchar_t* name;
        bool (*write)(const std::wstring&, int, int, const PixelPattern&);
        int width, height;
        int tolerance; // JPEG is lossy, and two decoders may round differently
    } cases[] = {
        {L"stripes.bmp", WriteBmp, 123, 77, 0},
        {L"photo.jpg", WriteJpeg, 200, 150, 3},
        {L"stripes.gif", WriteGif, 90, 60, 0},
    };
    appState.canvasSize = {680, 480}; // what the paper dialog last held does not matter
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        std::wstring path = folder.File(c.name);
        PixelPattern pattern = c.tolerance ? PixelPattern(PhotoLikePixel) : PixelPattern(Stripes);
        if (c.write == WriteGif) // a GIF holds few colours
            pattern = [](int x, int y) { return 0x102030u * uint32_t((x / 7 + y / 5) % 6); };
        ASSERT_TRUE(c.write(path, c.width, c.height, pattern));

        int opened = -1;
        std::vector<SeenDialog> seen = LoadPicture(path, &opened);
        EXPECT_TRUE(seen.empty());
        ASSERT_EQ(opened, 1);
        EXPECT_EQ(appState.imageDocumentOpen, 1);
        EXPECT_EQ(appState.blankDocumentOpen, 0);
        EXPECT_EQ(appState.canvasSize.w, c.width);
        EXPECT_EQ(appState.canvasSize.h, c.height);
        EXPECT_EQ(appState.surfaceSize.w, c.width);
        EXPECT_EQ(appState.surfaceSize.h, c.height);

        DecodedImage decoded;
        ASSERT_TRUE(DecodeIndependently(path, &decoded)) << "ImageMagick could not decode";
        ASSERT_EQ(decoded.width, c.width);
        ASSERT_EQ(decoded.height, c.height);
        int worst = 0, resetDifferences = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                uint32_t want = decoded.Rgb(x, y);
                uint32_t got = CanvasRgb(x, y);
                for (int shift = 0; shift <= 16; shift += 8)
                    worst = std::max(
                        worst, std::abs(int((want >> shift) & 0xFF) - int((got >> shift) & 0xFF)));
                if (ResetCopyRgb(x, y) != got)
                    ++resetDifferences;
            }
        EXPECT_LE(worst, c.tolerance);
        EXPECT_EQ(resetDifferences, 0) << "the reset copy holds the picture as opened";
        if (c.tolerance == 0) {
            EXPECT_EQ(CanvasRgb(c.width - 1, 0), pattern(c.width - 1, 0)) << "not flipped";
        }
        CloseDocument();
    }
}

TEST_F(DocumentTest, IconsMetafilesAndOtherFilesAreRefusedWithTheLoadMessage) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteIcon(folder.File(L"a.ico")));
    ASSERT_TRUE(WriteEnhancedMetafile(folder.File(L"a.emf")));
    ASSERT_TRUE(WritePlaceableMetafile(folder.File(L"a.wmf")));
    ASSERT_TRUE(WriteRandomBytes(folder.File(L"noise.bmp"), 5000, 7));
    ASSERT_TRUE(WriteWholeFile(folder.File(L"empty.jpg"), std::vector<uint8_t>()));
    // Nothing but a BMP file header.
    std::vector<uint8_t> headerOnly = BmpBytes(64, 64, Stripes);
    headerOnly.resize(14);
    ASSERT_TRUE(WriteWholeFile(folder.File(L"header.bmp"), headerOnly));

    const wchar_t* files[] = {L"a.ico",     L"a.emf",      L"a.wmf",      L"noise.bmp",
                              L"empty.jpg", L"header.bmp", L"missing.bmp"};
    for (const wchar_t* name : files) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        int opened = -1;
        std::vector<SeenDialog> seen = LoadPicture(folder.File(name), &opened);
        EXPECT_EQ(opened, 0);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, LoadFailureCaption);
        EXPECT_EQ(seen[0].text, LoadFailureText);
        EXPECT_EQ(seen[0].owner, nullptr);
        EXPECT_EQ(appState.imageDocumentOpen, 0);
        EXPECT_EQ(appState.blankDocumentOpen, 0);
        EXPECT_EQ(appState.documentWindow, nullptr);
        EXPECT_EQ(GetWindow(appState.mdiClient, GW_CHILD), nullptr);
    }
}

TEST_F(DocumentTest, PicturesTooLargeToAddressTakeTheLoadFailurePath) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File(L"wide.bmp"), BmpBytes(32768, 1, Stripes)));
    ASSERT_TRUE(WriteWholeFile(folder.File(L"tall.bmp"), BmpBytes(2, 40000, Stripes)));
    ASSERT_TRUE(WriteWholeFile(folder.File(L"widest.bmp"), BmpBytes(32767, 1, Stripes)));

    for (const wchar_t* name : {L"wide.bmp", L"tall.bmp"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        int opened = -1;
        std::vector<SeenDialog> seen = LoadPicture(folder.File(name), &opened);
        EXPECT_EQ(opened, 0);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, LoadFailureText);
        EXPECT_EQ(appState.imageDocumentOpen, 0);
        EXPECT_EQ(appState.documentWindow, nullptr);
        EXPECT_EQ(appState.canvasSize.w, 680) << "the size stays as it was";
    }

    int opened = -1;
    EXPECT_TRUE(LoadPicture(folder.File(L"widest.bmp"), &opened).empty());
    EXPECT_EQ(opened, 1) << "32767 pixels is still addressable";
    EXPECT_EQ(appState.canvasSize.w, 32767);
}

TEST_F(DocumentTest, AFailedLoadKeepsThePreviousSurfaceAndLeaksNothing) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"a.bmp"), 50, 40, Stripes));
    ASSERT_TRUE(WriteIcon(folder.File(L"a.ico")));
    ASSERT_TRUE(WriteRandomBytes(folder.File(L"noise.gif"), 3000, 3));
    ASSERT_TRUE(WriteWholeFile(folder.File(L"wide.bmp"), BmpBytes(40000, 2, Stripes)));
    // Warm up every decoder and cache once.
    LoadPicture(folder.File(L"a.bmp"));
    CloseDocument();
    LoadPicture(folder.File(L"a.ico"));
    LoadPicture(folder.File(L"noise.gif"));
    LoadPicture(folder.File(L"wide.bmp"));

    HDC canvasDc = appState.canvasDc;
    HBITMAP canvasDib = appState.canvasDib;
    const size_t historyBytes = appState.history.bytes;
    int before = CountGdiObjects();
    for (int round = 0; round < 5; ++round) {
        LoadPicture(folder.File(L"a.ico"));
        LoadPicture(folder.File(L"noise.gif"));
        LoadPicture(folder.File(L"missing.bmp"));
        LoadPicture(folder.File(L"wide.bmp")); // refused by its header
    }
    EXPECT_EQ(CountGdiObjects(), before);
    EXPECT_EQ(appState.canvasDc, canvasDc) << "nothing half-made replaces the last surface";
    EXPECT_EQ(appState.canvasDib, canvasDib);
    EXPECT_EQ(appState.history.bytes, historyBytes) << "nor any reset copy";
    EXPECT_EQ(appState.canvasSize.w, 50);
    EXPECT_EQ(CanvasRgb(49, 0), Stripes(49, 0));
}

TEST_F(DocumentTest, AReplacedDocumentReleasesItsSurfaceAndResetCopy) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"a.bmp"), 64, 48, Stripes));
    ASSERT_TRUE(WriteJpeg(folder.File(L"b.jpg"), 80, 60, PhotoLikePixel));
    ASSERT_TRUE(WritePng(folder.File(L"c.png"), 70, 50, Stripes)); // through GDI+
    LoadPicture(folder.File(L"a.bmp"));
    CloseDocument();
    LoadPicture(folder.File(L"b.jpg"));
    CloseDocument();
    LoadPicture(folder.File(L"c.png"));
    CloseDocument();
    NewSheet(L"100", L"80");
    CloseDocument();

    int before = CountGdiObjects();
    for (int round = 0; round < 4; ++round) {
        LoadPicture(folder.File(L"a.bmp"));
        CloseDocument();
        LoadPicture(folder.File(L"b.jpg"));
        CloseDocument();
        LoadPicture(folder.File(L"c.png"));
        CloseDocument();
        NewSheet(L"100", L"80");
        CloseDocument();
    }
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST_F(DocumentTest, ThePaperDialogOffersTheSizeOfTheLastDocument) {
    std::vector<std::wstring> offered;
    auto readAndCancel = [&](HWND dialog) {
        wchar_t text[64];
        GetDlgItemTextW(dialog, IDC_PAPER_WIDTH, text, 64);
        offered.push_back(text);
        GetDlgItemTextW(dialog, IDC_PAPER_HEIGHT, text, 64);
        offered.push_back(text);
        ClickDialogButton(dialog, IDC_PAPER_CANCEL);
    };
    RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_NEW, 0); }, readAndCancel);
    EXPECT_EQ(appState.blankDocumentOpen, 0) << "キャンセル changes nothing";

    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"big.bmp"), 1024, 768, Stripes));
    LoadPicture(folder.File(L"big.bmp"));
    CloseDocument();
    RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_NEW, 0); }, readAndCancel);
    ASSERT_EQ(offered.size(), 4u);
    EXPECT_EQ(offered[0], L"680");
    EXPECT_EQ(offered[1], L"480");
    EXPECT_EQ(offered[2], L"1024");
    EXPECT_EQ(offered[3], L"768");
}

TEST_F(DocumentTest, EscapeTheCloseBoxAndEnterDoNotCloseThePaperDialog) {
    bool stayed = false;
    RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_NEW, 0); },
                        [&](HWND dialog) {
                            HWND edit = GetDlgItem(dialog, IDC_PAPER_WIDTH);
                            SetFocus(edit);
                            PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
                            PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
                            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                            PumpMessages(100);
                            stayed = IsWindow(dialog) && IsWindowVisible(dialog);
                            ClickDialogButton(dialog, IDC_PAPER_CANCEL);
                        });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(appState.blankDocumentOpen, 0);
    EXPECT_EQ(appState.documentWindow, nullptr);
}

// Sizes no surface can have are refused before anything changes; the dialog stays open so the
// value can be corrected.
TEST_F(DocumentTest, ThePaperDialogRefusesSizesOutsideOneTo32767) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"a.bmp"), 30, 20, Stripes));
    LoadPicture(folder.File(L"a.bmp"));
    CloseDocument();
    HDC canvasDc = appState.canvasDc;

    const wchar_t* refused[][2] = {{L"0", L"480"},     {L"680", L"-5"}, {L"100000", L"480"},
                                   {L"680", L"32768"}, {L"abc", L"10"}, {L"", L""}};
    size_t next = 0;
    int messages = 0;
    HWND paper = nullptr;
    auto typeNext = [&] {
        const wchar_t* w = next < std::size(refused) ? refused[next][0] : L"320";
        const wchar_t* h = next < std::size(refused) ? refused[next][1] : L"32767";
        ++next;
        SetDlgItemTextW(paper, IDC_PAPER_WIDTH, w);
        SetDlgItemTextW(paper, IDC_PAPER_HEIGHT, h);
        ClickDialogButton(paper, IDC_PAPER_OK);
    };
    std::vector<SeenDialog> seen =
        RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_NEW, 0); },
                            [&](HWND dialog) {
                                if (GetDlgItem(dialog, IDC_PAPER_WIDTH)) {
                                    paper = dialog;
                                    typeNext();
                                    return;
                                }
                                ++messages;
                                EXPECT_EQ(appState.canvasSize.w, 30) << "nothing changed";
                                EXPECT_EQ(appState.canvasSize.h, 20);
                                EXPECT_EQ(appState.blankDocumentOpen, 0);
                                EXPECT_EQ(appState.imageDocumentOpen, 0);
                                EXPECT_EQ(GetWindow(appState.mdiClient, GW_CHILD), nullptr);
                                EXPECT_EQ(appState.canvasDc, canvasDc);
                                ClickDialogButton(dialog, IDOK);
                                PumpMessages(30);
                                EXPECT_TRUE(IsWindowVisible(paper))
                                    << "the paper dialog stays open";
                                typeNext();
                            });
    EXPECT_EQ(messages, int(std::size(refused)));
    ASSERT_EQ(seen.size(), std::size(refused) + 1);
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].caption, L"用紙サイズ");
        EXPECT_EQ(seen[i].text, PaperRangeText);
        EXPECT_EQ(seen[i].owner, paper);
    }
    // The corrected value opens the sheet.
    EXPECT_EQ(appState.blankDocumentOpen, 1);
    EXPECT_EQ(appState.canvasSize.w, 320);
    EXPECT_EQ(appState.canvasSize.h, 32767);
    EXPECT_FALSE(IsWindow(paper));
}

TEST_F(DocumentTest, ASheetTooLargeForMemoryIsReportedAndOpensNothing) {
    HWND paper = nullptr;
    bool retried = false;
    std::vector<SeenDialog> seen =
        RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_NEW, 0); },
                            [&](HWND dialog) {
                                if (GetDlgItem(dialog, IDC_PAPER_WIDTH)) {
                                    paper = dialog;
                                    SetDlgItemTextW(dialog, IDC_PAPER_WIDTH, L"32767");
                                    SetDlgItemTextW(dialog, IDC_PAPER_HEIGHT, L"32767");
                                    ClickDialogButton(dialog, IDC_PAPER_OK);
                                    return;
                                }
                                EXPECT_EQ(appState.blankDocumentOpen, 0);
                                EXPECT_EQ(appState.documentWindow, nullptr);
                                ClickDialogButton(dialog, IDOK);
                                PumpMessages(30);
                                retried = IsWindowVisible(paper);
                                ClickDialogButton(paper, IDC_PAPER_CANCEL);
                            });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].caption, L"新規作成");
    EXPECT_EQ(seen[1].text, PaperMemoryText);
    EXPECT_EQ(seen[1].owner, paper);
    EXPECT_TRUE(retried) << "the dialog stays open for a smaller size";
    EXPECT_EQ(appState.canvasSize.w, 680) << "the offered size stays as it was";
    EXPECT_EQ(appState.canvasSize.h, 480);
    EXPECT_EQ(appState.blankDocumentOpen, 0);
    EXPECT_EQ(appState.imageDocumentOpen, 0);
    EXPECT_EQ(appState.canvasDc, nullptr);
    EXPECT_EQ(appState.documentWindow, nullptr);
}

TEST_F(DocumentTest, PictureLoadingGoesThroughTheOpenDialogOfTheFrame) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteGif(folder.File(L"chosen.gif"), 40, 30, [](int, int) { return 0x3060C0u; }));

    // Cancelled: nothing changes.
    std::vector<std::wstring> filters;
    std::vector<SeenDialog> seen = RunAnsweringDialogs(
        [&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_LOAD_IMAGE, 0); },
        [&](HWND dialog) {
            HWND types = GetDlgItem(dialog, 0x470);
            int count = int(SendMessageW(types, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                wchar_t text[64] = {};
                SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                filters.push_back(text);
            }
            ClickDialogButton(dialog, IDCANCEL);
        });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].owner, frame);
    EXPECT_EQ(appState.imageDocumentOpen, 0);
    EXPECT_EQ(appState.documentWindow, nullptr);
    // Every picture the program opens first, then the kinds one by one.
    const std::vector<std::wstring> expected = {
        L"画像ファイル (*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.tiff)",
        L"BMP (*.bmp)",
        L"JPG (*.jpg)",
        L"GIF (*.gif)",
        L"PNG (*.png)",
        L"TIFF (*.tif;*.tiff)",
        L"ICO (*.ico)",
        L"EMF (*.emf)",
        L"WMF (*.wmf)",
        L"All (*.*)"};
    EXPECT_EQ(filters, expected);

    // Chosen: the picture opens.
    seen =
        RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_LOAD_IMAGE, 0); },
                            [&](HWND dialog) {
                                SetDlgItemTextW(dialog, 0x47C, folder.File(L"chosen.gif").c_str());
                                ClickDialogButton(dialog, IDOK);
                            });
    ASSERT_EQ(seen.size(), 1u) << "no message";
    ASSERT_EQ(appState.imageDocumentOpen, 1);
    EXPECT_EQ(appState.canvasSize.w, 40);
    EXPECT_EQ(appState.canvasSize.h, 30);
    EXPECT_EQ(CanvasRgb(20, 15), 0x3060C0u);
}

// The paper dialog has no owner, so the frame's menu still works while it is open. The dialog
// must not open a second document next to one opened meanwhile.
TEST_F(DocumentTest, ThePaperDialogOpensNothingWhenADocumentWasOpenedMeanwhile) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"a.bmp"), 30, 20, Stripes));
    RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_NEW, 0); },
                        [&](HWND dialog) {
                            appState.imageDocumentOpen = 1;
                            OpenDocument(folder.File(L"a.bmp").c_str());
                            ClickDialogButton(dialog, IDC_PAPER_OK);
                        });
    EXPECT_EQ(appState.imageDocumentOpen, 1);
    EXPECT_EQ(appState.blankDocumentOpen, 0);
    EXPECT_EQ(appState.canvasSize.w, 30);
    int documents = 0;
    for (HWND child = GetWindow(appState.mdiClient, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        ++documents;
    EXPECT_EQ(documents, 1);
}

TEST_F(DocumentTest, TheOpenDialogOpensNothingWhenADocumentWasOpenedMeanwhile) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"a.bmp"), 30, 20, Stripes));
    RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_LOAD_IMAGE, 0); },
                        [&](HWND dialog) {
                            appState.blankDocumentOpen = 1; // 決定 in an open paper dialog
                            OpenDocument(L"");
                            SetDlgItemTextW(dialog, 0x47C, folder.File(L"a.bmp").c_str());
                            ClickDialogButton(dialog, IDOK);
                        });
    EXPECT_EQ(appState.blankDocumentOpen, 1);
    EXPECT_EQ(appState.imageDocumentOpen, 0);
    EXPECT_EQ(appState.canvasSize.w, 680) << "the sheet, not the picture";
    EXPECT_EQ(GetWindow(GetWindow(appState.mdiClient, GW_CHILD), GW_HWNDNEXT), nullptr)
        << "one document window";
}

TEST_F(DocumentTest, ADocumentWindowThatCannotBeMadeLeavesNoDocumentOpen) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteBmp(folder.File(L"a.bmp"), 30, 20, Stripes));
    appState.mdiClient = nullptr; // no MDI client to hold it
    int opened = -1;
    std::vector<SeenDialog> seen = LoadPicture(folder.File(L"a.bmp"), &opened);
    EXPECT_EQ(opened, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, LoadFailureText);
    EXPECT_EQ(appState.imageDocumentOpen, 0) << "not stuck in a document that does not exist";
    EXPECT_EQ(appState.documentWindow, nullptr);
    EXPECT_EQ(appState.documentSize.w, 680);
}

TEST(CreateCanvasDibTest, MakesABottomUpSectionOrReportsThatItCouldNot) {
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
    uint32_t* pixels = nullptr;
    EXPECT_EQ(CreateCanvasDib(nullptr, &pixels, 10, 10), 0);
    EXPECT_EQ(CreateCanvasDib(&bitmap, nullptr, 10, 10), 0);

    EXPECT_EQ(CreateCanvasDib(&bitmap, &pixels, 0, 10), 0) << "a failure is not a success";
    EXPECT_EQ(bitmap, nullptr);
    EXPECT_EQ(CreateCanvasDib(&bitmap, &pixels, 10, -10), 0) << "no top-down section";
    EXPECT_EQ(bitmap, nullptr);

    ASSERT_EQ(CreateCanvasDib(&bitmap, &pixels, 3, 2), 1);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(pixels, nullptr);
    DIBSECTION section = {};
    GetObjectW(bitmap, sizeof(section), &section);
    EXPECT_EQ(section.dsBmih.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(section.dsBmih.biHeight, 2);
    EXPECT_EQ(section.dsBmih.biBitCount, 32);
    EXPECT_EQ(section.dsBmih.biCompression, DWORD(BI_RGB));
    // Row 0 is stored last: a pixel set at the top-left lands at index 3.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetPixel(dc, 0, 0, RGB(1, 2, 3));
    GdiFlush();
    EXPECT_EQ(pixels[CanvasPixelIndex(0, 0, {3, 2})] & 0xFFFFFF, 0x010203u);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

} // namespace
