#include "document/document_sources.h"

#include <commdlg.h>
#include <shlwapi.h>

#include "base/app_state.h"
#include "base/canvas_layout.h"
#include "base/class_resources.h"
#include "base/wait_cursor.h"
#include "base/window_class.h"
#include "document/document_file.h"
#include "document/document_window.h"
#include "export/save_formats.h"
#include "history/snapshot_history.h"
#include "resources/resource_ids.h"

namespace {

const wchar_t LoadFailureText[] = L"画像が読み込めませんでした";
const wchar_t LoadFailureCaption[] = L"破損または対応していないファイルです";
const wchar_t PaperRangeText[] = L"横と縦は 1 から 32767 までの数で指定してください。";
const wchar_t PaperRangeCaption[] = L"用紙サイズ";
const wchar_t PaperMemoryText[] = L"用紙を作成できませんでした。メモリが足りません。";
const wchar_t PaperMemoryCaption[] = L"新規作成";

// Both buffers of the open dialog, and the text read from each paper-size box.
const int FileBufferLength = MAX_PATH;
const int TypedTextLength = 260;

void DeleteDcAndBitmap(HDC dc, HBITMAP bitmap) {
    if (dc)
        DeleteDC(dc);
    if (bitmap)
        DeleteObject(bitmap);
}

// A stroke's pen and brush stay selected in the canvas until something takes their place;
// putting the stock ones back hands them over for deletion with the old canvas.
void DeleteCanvasDcWithItsStrokeObjects(HDC canvasDc) {
    HGDIOBJ pen = SelectObject(canvasDc, GetStockObject(BLACK_PEN));
    HGDIOBJ brush = SelectObject(canvasDc, GetStockObject(WHITE_BRUSH));
    DeleteDC(canvasDc);
    if (pen)
        DeleteObject(pen); // stock objects are not deleted by this
    if (brush)
        DeleteObject(brush);
}

// Lets go of what the previous document held. Nothing refers to it once the handles are
// replaced: the history and the reset copy keep pictures of their own.
void ReleaseReplacedDocument(HBITMAP oldDib) {
    if (appState.canvasDc)
        DeleteCanvasDcWithItsStrokeObjects(appState.canvasDc);
    if (oldDib)
        DeleteObject(oldDib);
}

// The surface of a new document of `size`, nothing drawn on it yet. Every handle made ends up
// in `prepared`, so a failure can discard them all.
int AllocateDocument(HDC frameDc, IntSize size, PreparedDocument* prepared) {
    *prepared = PreparedDocument{};
    prepared->size = size;
    if (!CanvasSizeIsAddressable(size) ||
        !CreateCanvasDib(&prepared->canvasDib, &prepared->canvasPixels, size.w, size.h))
        return 0;
    prepared->canvasDc = CreateCompatibleDC(frameDc);
    if (!prepared->canvasDc)
        return 0;
    SelectObject(prepared->canvasDc, prepared->canvasDib);
    return 1;
}

int PrepareBlankSheet(HDC frameDc, IntSize size, PreparedDocument* prepared) {
    if (!CanvasSizeIsAddressable(size))
        return 0;
    HBITMAP sheet = CreateCompatibleBitmap(frameDc, size.w, size.h);
    HDC drawDc = CreateCompatibleDC(frameDc);
    int ok = sheet && drawDc;
    if (ok) {
        // A fresh device context holds the stock black pen and white brush: a white sheet with
        // a one-pixel black frame.
        HGDIOBJ previous = SelectObject(drawDc, sheet);
        Rectangle(drawDc, 0, 0, size.w, size.h);
        SelectObject(drawDc, previous);
    }
    if (drawDc)
        DeleteDC(drawDc);
    ok = ok && AllocateDocument(frameDc, size, prepared) &&
         CopyBitmapToDc(prepared->canvasDc, sheet, size);
    if (sheet)
        DeleteObject(sheet);
    return ok;
}

// The header decides first: a file it refuses, or one whose canvas cannot be made at the size
// it declares, never reaches a decoder, so no claim in a file can make the program stall.
int PreparePicture(HDC frameDc, const wchar_t* path, PreparedDocument* prepared) {
    PictureFile file = {};
    int ok = ReadPictureFile(path, &file) && PreparePictureOf(frameDc, file, prepared);
    ReleasePictureFile(&file);
    return ok;
}

// The save format that writes a file of the kind back as it was: what 上書き保存 uses for a
// picture opened from a file. 0 for none.
int SaveFormatOfKind(PictureKind kind) {
    switch (kind) {
    case PictureKind::Bmp:
        return SaveFormatBmp;
    case PictureKind::Jpeg:
        return SaveFormatJpeg;
    case PictureKind::Png:
        return SaveFormatPng;
    case PictureKind::Gif:
        return SaveFormatGif;
    case PictureKind::Tiff:
        return SaveFormatTiff;
    default:
        return 0;
    }
}

void ShowUnpreparedDocumentMessage(int imageDocument, HWND messageOwner) {
    if (imageDocument)
        ShowLoadFailure();
    else
        MessageBoxW(messageOwner, PaperMemoryText, PaperMemoryCaption, MB_OK | MB_ICONWARNING);
}

void RegisterDocumentClass() {
    // Registered on every open; a class that exists already simply fails to register.
    RegisterWindowClass(DocumentWndProc, appState.instance, L"DocumentClassName",
                        CS_HREDRAW | CS_VREDRAW, documentClassResources.background, L"NULL",
                        documentClassResources.icon);
}

// Lets go of the old document's surface and puts the prepared one in its place.
void InstallPreparedDocument(const PreparedDocument& prepared, HBITMAP* bitmap, uint32_t** pixels,
                             IntSize* size) {
    ReleaseReplacedDocument(*bitmap);
    appState.canvasDc = prepared.canvasDc;
    *bitmap = prepared.canvasDib;
    *pixels = prepared.canvasPixels;
    *size = prepared.size;
    appState.canvasSize = prepared.size;
}

// The document window of the surface just installed. 1 when it was made; otherwise no
// document is open.
int CreateDocumentWindow() {
    appState.documentSize.w += appState.documentMargin;
    appState.documentSize.h += appState.documentMargin;
    RegisterDocumentClass();
    appState.documentWindow =
        CreateMDIWindowW(L"DocumentClassName", L"イラスト用紙", 0, 0, 0, appState.documentSize.w,
                         appState.documentSize.h, appState.mdiClient, appState.instance, 0);
    if (appState.documentWindow)
        return 1;
    appState.documentSize.w -= appState.documentMargin;
    appState.documentSize.h -= appState.documentMargin;
    appState.imageDocumentOpen = 0;
    appState.blankDocumentOpen = 0;
    return 0;
}

} // namespace

void ShowLoadFailure() {
    MessageBoxW(nullptr, LoadFailureText, LoadFailureCaption, MB_OK);
}

int AllocateDocumentSurface(IntSize size, PreparedDocument* prepared) {
    HDC frameDc = GetDC(appState.frameWindow);
    const int ok = AllocateDocument(frameDc, size, prepared);
    ReleaseDC(appState.frameWindow, frameDc);
    if (!ok)
        DiscardPreparedDocument(prepared);
    return ok;
}

int PreparePictureOf(HDC frameDc, const PictureFile& file, PreparedDocument* prepared) {
    const WaitCursor waiting = ShowWaitCursor();
    int ok = AllocateDocument(frameDc, file.header.size, prepared) &&
             DecodePicture(file, prepared->canvasDc, prepared->canvasPixels);
    prepared->saveFormat = SaveFormatOfKind(file.header.kind);
    EndWaitCursor(waiting);
    return ok;
}

void DiscardPreparedDocument(PreparedDocument* prepared) {
    DeleteDcAndBitmap(prepared->canvasDc, prepared->canvasDib);
    *prepared = PreparedDocument{};
}

int OpenPreparedPicture(PreparedDocument* prepared, const wchar_t* file) {
    if (!KeepNewCanvas(prepared->canvasPixels, prepared->size)) {
        DiscardPreparedDocument(prepared);
        ShowLoadFailure();
        return 0;
    }
    if (DocumentIsOpen())
        CloseDocumentWithoutAsking();
    InstallPreparedDocument(*prepared, &appState.canvasDib, &appState.canvasPixels,
                            &appState.surfaceSize);
    appState.blankDocumentOpen = 0;
    appState.imageDocumentOpen = 1;
    appState.documentFile = file ? file : L"";
    appState.documentFormat = file ? prepared->saveFormat : 0;
    *prepared = PreparedDocument{};
    if (CreateDocumentWindow())
        return 1;
    ShowLoadFailure();
    return 0;
}

int OpenPictureFile(const wchar_t* path) {
    HDC frameDc = GetDC(appState.frameWindow);
    PreparedDocument prepared = {};
    const int ok = PreparePicture(frameDc, path, &prepared);
    ReleaseDC(appState.frameWindow, frameDc);
    if (!ok) {
        DiscardPreparedDocument(&prepared);
        ShowLoadFailure();
        return 0;
    }
    return OpenPreparedPicture(&prepared, path);
}

int CreateCanvasDib(HBITMAP* bitmap, uint32_t** pixels, int width, int height) {
    if (!bitmap || !pixels)
        return 0;
    *bitmap = nullptr;
    *pixels = nullptr;
    if (width < 1 || height < 1)
        return 0; // a negative height would make a top-down section
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    DeleteDC(dc);
    if (!section || !bits) {
        if (section)
            DeleteObject(section);
        return 0;
    }
    *bitmap = section;
    *pixels = static_cast<uint32_t*>(bits);
    return 1;
}

int PrepareCanvas(const wchar_t* path, HBITMAP* bitmap, uint32_t** pixels, IntSize* size) {
    if (!bitmap || !pixels || !size)
        return 0;
    HDC frameDc = GetDC(appState.frameWindow);
    PreparedDocument prepared = {};
    int ok = 0;
    if (appState.blankDocumentOpen == 1)
        ok = PrepareBlankSheet(frameDc, appState.canvasSize, &prepared);
    else if (appState.imageDocumentOpen == 1 && path)
        ok = PreparePicture(frameDc, path, &prepared);
    // The reset copy, which 初期化 brings back.
    ok = ok && KeepNewCanvas(prepared.canvasPixels, prepared.size);
    ReleaseDC(appState.frameWindow, frameDc);
    if (!ok) {
        DiscardPreparedDocument(&prepared);
        return 0;
    }
    InstallPreparedDocument(prepared, bitmap, pixels, size);
    appState.documentFile = appState.imageDocumentOpen == 1 ? path : L"";
    appState.documentFormat = appState.imageDocumentOpen == 1 ? prepared.saveFormat : 0;
    return 1;
}

int OpenDocument(const wchar_t* path, HWND messageOwner) {
    int imageDocument = appState.imageDocumentOpen == 1;
    int prepared =
        PrepareCanvas(path, &appState.canvasDib, &appState.canvasPixels, &appState.surfaceSize);
    if (prepared && CreateDocumentWindow())
        return 1;
    // Back to "No document" before the message: the save commands must not act while it shows.
    appState.imageDocumentOpen = 0;
    appState.blankDocumentOpen = 0;
    ShowUnpreparedDocumentMessage(imageDocument, messageOwner);
    return 0;
}

int AskOpenFileName(HWND owner, wchar_t* file, wchar_t* fileTitle) {
    // First every kind of picture the program opens, so that a file of any of them shows at
    // once; then one kind at a time.
    static const wchar_t filters[] =
        L"画像ファイル (*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.tiff)\0"
        L"*.bmp;*.dib;*.jpg;*.jpeg;*.jpe;*.jfif;*.gif;*.png;*.tif;*.tiff\0"
        L"BMP (*.bmp)\0*.bmp\0"
        L"JPG (*.jpg)\0*.jpg\0"
        L"GIF (*.gif)\0*.gif\0"
        L"PNG (*.png)\0*.png\0"
        L"TIFF (*.tif;*.tiff)\0*.tif;*.tiff\0"
        L"ICO (*.ico)\0*.ico\0"
        L"EMF (*.emf)\0*.emf\0"
        L"WMF (*.wmf)\0*.wmf\0"
        L"All (*.*)\0*.*;\0";
    file[0] = 0;
    fileTitle[0] = 0;
    OPENFILENAMEW request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = filters;
    request.nFilterIndex = 0;
    request.lpstrFile = file;
    request.nMaxFile = FileBufferLength;
    request.lpstrFileTitle = fileTitle;
    request.nMaxFileTitle = FileBufferLength;
    return GetOpenFileNameW(&request);
}

int OpenImageDocument(HWND owner) {
    wchar_t file[FileBufferLength];
    wchar_t title[FileBufferLength];
    if (!AskOpenFileName(owner, file, title))
        return 0;
    // The paper dialog has no owner, so a sheet may have been opened while this one asked.
    if (DocumentIsOpen())
        return 0;
    appState.imageDocumentOpen = 1;
    return OpenDocument(file);
}

namespace {

INT_PTR OnPaperInit(HWND dialog) {
    CenterWindow(dialog);
    wchar_t text[32];
    wsprintfW(text, L"%d", appState.canvasSize.w);
    SetDlgItemTextW(dialog, IDC_PAPER_WIDTH, text);
    wsprintfW(text, L"%d", appState.canvasSize.h);
    SetDlgItemTextW(dialog, IDC_PAPER_HEIGHT, text);
    return TRUE;
}

int ReadTypedNumber(HWND dialog, int id) {
    wchar_t text[TypedTextLength + 1] = {};
    GetWindowTextW(GetDlgItem(dialog, id), text, TypedTextLength);
    return StrToIntW(text);
}

void PointAtTypedNumber(HWND dialog, int id) {
    HWND edit = GetDlgItem(dialog, id);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

void OnPaperDecided(HWND dialog) {
    // The dialog has no owner, so a document may have been opened from the frame meanwhile;
    // there is never more than one.
    if (DocumentIsOpen()) {
        EndDialog(dialog, 2);
        return;
    }
    IntSize typed = {ReadTypedNumber(dialog, IDC_PAPER_WIDTH),
                     ReadTypedNumber(dialog, IDC_PAPER_HEIGHT)};
    if (!CanvasSizeIsAddressable(typed)) {
        MessageBoxW(dialog, PaperRangeText, PaperRangeCaption, MB_OK | MB_ICONWARNING);
        int badSide = typed.w < 1 || typed.w > MaxCanvasSide ? IDC_PAPER_WIDTH : IDC_PAPER_HEIGHT;
        PointAtTypedNumber(dialog, badSide);
        return;
    }
    IntSize previous = appState.canvasSize;
    appState.canvasSize = typed;
    appState.imageDocumentOpen = 0;
    appState.blankDocumentOpen = 1;
    if (!OpenDocument(L"", dialog)) {
        // Not enough memory for this size: the user has been told and may type another.
        appState.canvasSize = previous;
        return;
    }
    EndDialog(dialog, 2);
}

INT_PTR OnPaperCommand(HWND dialog, int command) {
    // Only the two buttons close the dialog: Esc, the close box (IDCANCEL) and Enter (IDOK)
    // do nothing, as it has no default button.
    if (command == IDC_PAPER_OK)
        OnPaperDecided(dialog);
    else if (command == IDC_PAPER_CANCEL)
        EndDialog(dialog, 2);
    return FALSE;
}

} // namespace

INT_PTR CALLBACK PaperDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnPaperInit(dialog);
    case WM_COMMAND:
        return OnPaperCommand(dialog, LOWORD(wParam));
    default:
        return FALSE;
    }
}

void OpenDroppedFiles(HDROP drop) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(size_t(length) + 1, L'\0');
    const UINT copied = length ? DragQueryFileW(drop, 0, &path[0], length + 1) : 0;
    DragFinish(drop);
    if (!copied)
        return;
    path.resize(copied);
    if (ConfirmDiscardChanges())
        OpenPictureFile(path.c_str());
}
