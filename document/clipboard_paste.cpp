#include "document/clipboard_paste.h"

#include <cstdlib>
#include <cstring>

#include "base/app_state.h"
#include "base/canvas_layout.h"
#include "base/wait_cursor.h"
#include "document/clipboard_dib.h"
#include "document/document_sources.h"
#include "document/picture_decoding.h"
#include "history/snapshot_history.h"
#include "view/view_geometry.h"

namespace {

// What was read from the clipboard, held by the program so the clipboard can be let go before
// the picture is decoded.
struct ClipboardPicture {
    PictureFile png; // "PNG": the bytes of a PNG file, checked as a file's
    uint8_t* dib;    // CF_DIBV5 or CF_DIB: a copy of the block
    size_t dibBytes;
    ClipboardDib dibHeader;
    HBITMAP bitmap; // CF_BITMAP: a copy of the clipboard's bitmap
    IntSize size;
};

void ReleaseClipboardPicture(ClipboardPicture* picture) {
    ReleasePictureFile(&picture->png);
    std::free(picture->dib);
    if (picture->bitmap)
        DeleteObject(picture->bitmap);
    *picture = ClipboardPicture{};
}

// The bytes of a block on the clipboard, or null.
const uint8_t* LockClipboardBlock(UINT format, HGLOBAL* block, size_t* bytes) {
    *block = GetClipboardData(format);
    *bytes = *block ? GlobalSize(*block) : 0;
    return *bytes ? static_cast<const uint8_t*>(GlobalLock(*block)) : nullptr;
}

int ReadPng(UINT format, ClipboardPicture* picture) {
    HGLOBAL block;
    size_t bytes;
    const uint8_t* data = LockClipboardBlock(format, &block, &bytes);
    int ok = data && ReadPictureBytes(data, bytes, &picture->png) &&
             picture->png.header.kind == PictureKind::Png;
    if (data)
        GlobalUnlock(block);
    picture->size = picture->png.header.size;
    return ok;
}

int ReadDib(UINT format, ClipboardPicture* picture) {
    HGLOBAL block;
    size_t bytes;
    const uint8_t* data = LockClipboardBlock(format, &block, &bytes);
    int ok = data && ReadClipboardDib(data, bytes, &picture->dibHeader);
    if (ok) {
        picture->dib = static_cast<uint8_t*>(std::malloc(bytes));
        ok = picture->dib != nullptr;
        if (ok)
            std::memcpy(picture->dib, data, bytes);
        picture->dibBytes = bytes;
        picture->size = picture->dibHeader.size;
    }
    if (data)
        GlobalUnlock(block);
    return ok;
}

// The clipboard's bitmap belongs to the clipboard: the program draws it into one of its own.
int ReadBitmap(ClipboardPicture* picture) {
    HBITMAP shared = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP info = {};
    if (!shared || !GetObjectW(shared, sizeof(info), &info))
        return 0;
    picture->size = IntSize{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
    if (!CanvasSizeIsAddressable(picture->size))
        return 0;
    picture->bitmap = static_cast<HBITMAP>(CopyImage(shared, IMAGE_BITMAP, 0, 0, 0));
    return picture->bitmap != nullptr;
}

enum class ClipboardRead { Nothing, Refused, Read };

ClipboardRead ReadClipboard(HWND owner, ClipboardPicture* picture) {
    if (!OpenClipboard(owner))
        return ClipboardRead::Nothing;
    const UINT png = RegisterClipboardFormatW(L"PNG");
    int ok = 0;
    ClipboardRead read = ClipboardRead::Refused;
    if (png && IsClipboardFormatAvailable(png))
        ok = ReadPng(png, picture);
    else if (IsClipboardFormatAvailable(CF_DIBV5))
        ok = ReadDib(CF_DIBV5, picture);
    else if (IsClipboardFormatAvailable(CF_DIB))
        ok = ReadDib(CF_DIB, picture);
    else if (IsClipboardFormatAvailable(CF_BITMAP))
        ok = ReadBitmap(picture);
    else
        read = ClipboardRead::Nothing;
    CloseClipboard();
    if (ok)
        return ClipboardRead::Read;
    ReleaseClipboardPicture(picture);
    return read;
}

// Decodes what was read into a new surface of its size.
int PreparePastedPicture(const ClipboardPicture& picture, PreparedDocument* prepared) {
    if (picture.png.block) {
        HDC frameDc = GetDC(appState.frameWindow);
        const int ok = PreparePictureOf(frameDc, picture.png, prepared);
        ReleaseDC(appState.frameWindow, frameDc);
        return ok;
    }
    if (!AllocateDocumentSurface(picture.size, prepared))
        return 0;
    if (picture.dib) {
        DecodeClipboardDib(picture.dib, picture.dibBytes, picture.dibHeader,
                           prepared->canvasPixels);
        return 1;
    }
    return CopyBitmapToDc(prepared->canvasDc, picture.bitmap, picture.size);
}

// The picture pixel shown at the top-left corner of the document window's client area, or
// at the view's own corner when the whole view is in sight.
void VisibleCorner(int* x, int* y) {
    POINT corner = {0, 0};
    MapWindowPoints(appState.documentWindow, appState.canvasWindow, &corner, 1);
    const IntSize view = appState.viewSize;
    const int vx = corner.x < 0 ? 0 : (corner.x >= view.w ? view.w - 1 : corner.x);
    const int vy = corner.y < 0 ? 0 : (corner.y >= view.h ? view.h - 1 : corner.y);
    *x = view.w > 0 ? StretchSourceColumn(appState.surfaceSize.w, view.w, vx) : 0;
    *y = view.h > 0 ? StretchSourceRow(appState.surfaceSize.h, view.h, vy) : 0;
}

// Copies the pasted picture onto the canvas with its top-left corner at (left, top), as far as
// the canvas reaches, as one step of the history.
void PaintOntoCanvas(const PreparedDocument& pasted, int left, int top) {
    const IntSize canvas = appState.surfaceSize;
    const IntRect area =
        RectClipped(IntRect{left, top, left + pasted.size.w, top + pasted.size.h}, canvas);
    SnapshotBeforeStroke();
    GdiFlush();
    for (int y = area.top; y < area.bottom; ++y) {
        std::memcpy(appState.canvasPixels + CanvasPixelIndex(area.left, y, canvas),
                    pasted.canvasPixels + CanvasPixelIndex(area.left - left, y - top, pasted.size),
                    size_t(area.right - area.left) * sizeof(uint32_t));
    }
    CanvasChanged(area);
    SnapshotAfterStroke();
}

} // namespace

int PastePicture(HWND owner) {
    ClipboardPicture picture = {};
    const ClipboardRead read = ReadClipboard(owner, &picture);
    if (read == ClipboardRead::Nothing)
        return 0;
    PreparedDocument prepared = {};
    const WaitCursor waiting = ShowWaitCursor();
    const int decoded = read == ClipboardRead::Read && PreparePastedPicture(picture, &prepared);
    ReleaseClipboardPicture(&picture);
    if (decoded && DocumentIsOpen()) {
        int left = 0, top = 0;
        VisibleCorner(&left, &top);
        PaintOntoCanvas(prepared, left, top);
        DiscardPreparedDocument(&prepared);
    }
    EndWaitCursor(waiting);
    if (!decoded) {
        DiscardPreparedDocument(&prepared);
        ShowLoadFailure();
        return 0;
    }
    return DocumentIsOpen() ? 1 : OpenPreparedPicture(&prepared, nullptr);
}
