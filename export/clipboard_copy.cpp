#include "export/clipboard_copy.h"

#include <cstring>

#include "base/app_state.h"
#include "base/wait_cursor.h"
#include "export/gdiplus_encoders.h"
#include "export/packed_dib.h"
#include "export/save_formats.h"

namespace {

// A movable block of exactly `bytes`, filled by `fill`; null when it cannot be made.
template <typename Fill> HGLOBAL NewBlock(size_t bytes, Fill fill) {
    HGLOBAL block = bytes ? GlobalAlloc(GMEM_MOVEABLE, bytes) : nullptr;
    if (!block)
        return nullptr;
    void* at = GlobalLock(block);
    if (at)
        fill(static_cast<uint8_t*>(at));
    GlobalUnlock(block);
    if (!at) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

HGLOBAL DibOfCanvas() {
    GdiFlush(); // what GDI drew must be in the pixels
    return NewBlock(PackedDibBytes(appState.surfaceSize), [](uint8_t* at) {
        PackCanvasAsDib(appState.canvasPixels, appState.surfaceSize, at);
    });
}

// The PNG file of the canvas, in a block of its exact size: readers take the block's size for
// the file's.
HGLOBAL PngOfCanvas() {
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK)
        return nullptr;
    HBITMAP canvas = static_cast<HBITMAP>(GetCurrentObject(appState.canvasDc, OBJ_BITMAP));
    HGLOBAL png = nullptr;
    STATSTG written = {};
    HGLOBAL encoded = nullptr;
    if (EncodeCanvas(canvas, SaveFormatPng, stream) &&
        stream->Stat(&written, STATFLAG_NONAME) == S_OK &&
        GetHGlobalFromStream(stream, &encoded) == S_OK) {
        const size_t bytes = size_t(written.cbSize.QuadPart);
        const void* from = GlobalLock(encoded);
        if (from)
            png = NewBlock(bytes, [&](uint8_t* at) { std::memcpy(at, from, bytes); });
        GlobalUnlock(encoded);
    }
    stream->Release();
    return png;
}

// Hands the block to the clipboard, which owns it from then on; frees it when it is refused.
int PutOnClipboard(UINT format, HGLOBAL block) {
    if (!block)
        return 0;
    if (SetClipboardData(format, block))
        return 1;
    GlobalFree(block);
    return 0;
}

} // namespace

int CopyCanvasToClipboard(HWND owner) {
    if (!appState.canvasPixels || !appState.canvasDc)
        return 0;
    const WaitCursor waiting = ShowWaitCursor();
    HGLOBAL dib = DibOfCanvas();
    HGLOBAL png = PngOfCanvas();
    int copied = 0;
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        copied = PutOnClipboard(CF_DIB, dib);
        copied = PutOnClipboard(RegisterClipboardFormatW(L"PNG"), png) && copied;
        dib = png = nullptr;
        CloseClipboard();
    }
    if (dib)
        GlobalFree(dib);
    if (png)
        GlobalFree(png);
    EndWaitCursor(waiting);
    return copied;
}
