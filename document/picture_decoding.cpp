#include "document/picture_decoding.h"

#include <olectl.h>
// The GDI+ headers want the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

#include "base/canvas_layout.h"
#include "export/gdiplus_encoders.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Reads the whole file into a movable global block of its size.
int ReadFileIntoGlobalMemory(const wchar_t* path, HGLOBAL* block, DWORD* size) {
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD fileSize = GetFileSize(file, nullptr);
    // The picture loader takes the size as a signed LONG.
    int ok = fileSize != INVALID_FILE_SIZE && fileSize > 0 && fileSize <= 0x7FFFFFFF;
    HGLOBAL memory = ok ? GlobalAlloc(GMEM_MOVEABLE, fileSize) : nullptr;
    ok = memory != nullptr;
    if (ok) {
        void* bytes = GlobalLock(memory);
        DWORD read = 0;
        ok = bytes && ReadFile(file, bytes, fileSize, &read, nullptr) && read == fileSize;
        GlobalUnlock(memory);
    }
    CloseHandle(file);
    if (!ok) {
        if (memory)
            GlobalFree(memory);
        return 0;
    }
    *block = memory;
    *size = fileSize;
    return 1;
}

int SizeOfBitmap(HBITMAP bitmap, IntSize* size) {
    BITMAP info = {};
    if (!GetObjectW(bitmap, sizeof(info), &info))
        return 0;
    size->w = info.bmWidth;
    size->h = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return 1;
}

// OLE's picture loader. Only bitmap pictures are taken: whatever else it makes of a file
// (icons, metafiles) is refused here.
int DecodeWithPictureLoader(IStream* stream, DWORD size, IntSize expected, HDC canvasDc) {
    IPicture* picture = nullptr;
    HRESULT loaded =
        OleLoadPicture(stream, LONG(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    if (loaded != S_OK || !picture) {
        if (picture)
            picture->Release();
        return 0;
    }
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    IntSize decoded = {0, 0};
    // The picture owns its bitmap: it is copied before the picture goes.
    HBITMAP bitmap = nullptr;
    int ok = picture->get_Type(&type) == S_OK && type == PICTYPE_BITMAP &&
             picture->get_Handle(&handle) == S_OK && handle != 0;
    if (ok)
        bitmap = static_cast<HBITMAP>(LongToHandle(LONG(handle)));
    ok = ok && SizeOfBitmap(bitmap, &decoded) && SameSize(decoded, expected) &&
         CopyBitmapToDc(canvasDc, bitmap, decoded);
    picture->Release();
    return ok;
}

// GDI+ gives the first frame (the first page of a TIFF) as straight ARGB, which is laid on
// white paper row by row into the bottom-up canvas.
int DecodeWithGdiplus(IStream* stream, IntSize expected, uint32_t* canvasPixels) {
    GpBitmap* image = nullptr;
    if (!StartGdiplus() || GdipCreateBitmapFromStream(stream, &image) != Ok || !image)
        return 0;
    UINT width = 0, height = 0;
    BitmapData bits = {};
    Rect whole(0, 0, expected.w, expected.h);
    int ok =
        GdipGetImageWidth(image, &width) == Ok && GdipGetImageHeight(image, &height) == Ok &&
        SameSize(IntSize{int(width), int(height)}, expected) &&
        GdipBitmapLockBits(image, &whole, ImageLockModeRead, PixelFormat32bppARGB, &bits) == Ok;
    if (ok) {
        GdiFlush();
        for (int y = 0; y < expected.h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const BYTE*>(bits.Scan0) + ptrdiff_t(y) * bits.Stride);
            uint32_t* target = canvasPixels + CanvasPixelIndex(0, y, expected);
            for (int x = 0; x < expected.w; ++x)
                target[x] = CanvasValueOverWhite(row[x]);
        }
        GdipBitmapUnlockBits(image, &bits);
    }
    GdipDisposeImage(image);
    return ok;
}

} // namespace

int ReadPictureFile(const wchar_t* path, PictureFile* file) {
    *file = PictureFile{};
    if (!path || !ReadFileIntoGlobalMemory(path, &file->block, &file->size))
        return 0;
    const void* bytes = GlobalLock(file->block);
    int ok =
        bytes && ReadPictureHeader(static_cast<const uint8_t*>(bytes), file->size, &file->header);
    GlobalUnlock(file->block);
    if (!ok)
        ReleasePictureFile(file);
    return ok;
}

int ReadPictureBytes(const void* bytes, size_t count, PictureFile* file) {
    *file = PictureFile{};
    // The picture loader takes the size as a signed LONG.
    if (!bytes || count == 0 || count > 0x7FFFFFFF)
        return 0;
    file->block = GlobalAlloc(GMEM_MOVEABLE, count);
    void* copy = file->block ? GlobalLock(file->block) : nullptr;
    int ok = copy != nullptr;
    if (ok) {
        std::memcpy(copy, bytes, count);
        file->size = DWORD(count);
        ok = ReadPictureHeader(static_cast<const uint8_t*>(copy), count, &file->header);
    }
    if (file->block)
        GlobalUnlock(file->block);
    if (!ok)
        ReleasePictureFile(file);
    return ok;
}

void ReleasePictureFile(PictureFile* file) {
    if (file->block)
        GlobalFree(file->block);
    *file = PictureFile{};
}

int DecodePicture(const PictureFile& file, HDC canvasDc, uint32_t* canvasPixels) {
    IStream* stream = nullptr;
    // The block stays the file's: the stream does not free it.
    if (!file.block || CreateStreamOnHGlobal(file.block, FALSE, &stream) != S_OK)
        return 0;
    int ok = DecodedThroughGdiplus(file.header.kind)
                 ? DecodeWithGdiplus(stream, file.header.size, canvasPixels)
                 : DecodeWithPictureLoader(stream, file.size, file.header.size, canvasDc);
    stream->Release();
    return ok;
}

int CopyBitmapToDc(HDC target, HBITMAP source, IntSize size) {
    HDC sourceDc = CreateCompatibleDC(target);
    if (!sourceDc)
        return 0;
    HGDIOBJ previous = SelectObject(sourceDc, source);
    int copied = BitBlt(target, 0, 0, size.w, size.h, sourceDc, 0, 0, SRCCOPY);
    SelectObject(sourceDc, previous);
    DeleteDC(sourceDc);
    return copied != 0;
}
