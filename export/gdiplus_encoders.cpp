#include "export/gdiplus_encoders.h"

// The GDI+ headers want the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "export/palette_reduction.h"
#include "export/save_formats.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

ULONG_PTR gdiplusToken = 0;
int gdiplusRunning = 0;

int SizeOfImage(GpBitmap* image, Rect* whole) {
    UINT width = 0;
    UINT height = 0;
    if (GdipGetImageWidth(image, &width) != Ok || GdipGetImageHeight(image, &height) != Ok)
        return 0;
    *whole = Rect(0, 0, INT(width), INT(height));
    return width > 0 && height > 0;
}

// GDI+ takes the 32-bit canvas as 32bppRGB and some encoders write its unused fourth byte out
// as it stands, which readers take for transparency; 24-bit colour has no such byte.
GpBitmap* MakeTrueColourImage(GpBitmap* source) {
    Rect whole;
    GpBitmap* image = nullptr;
    if (!SizeOfImage(source, &whole) ||
        GdipCloneBitmapAreaI(0, 0, whole.Width, whole.Height, PixelFormat24bppRGB, source,
                             &image) != Ok)
        return nullptr;
    return image;
}

int SetPalette(GpBitmap* image, const std::vector<uint32_t>& colours) {
    std::vector<unsigned char> storage(sizeof(ColorPalette) + MaxPaletteSize * sizeof(ARGB));
    auto* palette = reinterpret_cast<ColorPalette*>(storage.data());
    palette->Flags = 0;
    palette->Count = UINT(colours.size());
    for (size_t i = 0; i < colours.size(); ++i)
        palette->Entries[i] = 0xFF000000u | colours[i];
    return GdipSetImagePalette(image, palette) == Ok;
}

int WriteIndices(GpBitmap* image, const Rect& whole, const IndexedPicture& picture) {
    BitmapData bits;
    if (GdipBitmapLockBits(image, &whole, ImageLockModeWrite, PixelFormat8bppIndexed, &bits) != Ok)
        return 0;
    auto* firstRow = static_cast<unsigned char*>(bits.Scan0);
    for (INT y = 0; y < whole.Height; ++y)
        std::memcpy(firstRow + std::ptrdiff_t(y) * bits.Stride,
                    &picture.indices[size_t(y) * whole.Width], size_t(whole.Width));
    return GdipBitmapUnlockBits(image, &bits) == Ok;
}

// GIF holds at most 256 colours. The encoders differ in how they reduce a 32-bit picture (some
// write nothing usable at all), so the picture is handed over already reduced.
GpBitmap* MakePaletteImage(GpBitmap* source) {
    Rect whole;
    BitmapData bits;
    if (!SizeOfImage(source, &whole) ||
        GdipBitmapLockBits(source, &whole, ImageLockModeRead, PixelFormat32bppRGB, &bits) != Ok)
        return nullptr;
    IndexedPicture picture;
    int reduced = bits.Stride % 4 == 0 &&
                  ReduceToPalette(static_cast<const uint32_t*>(bits.Scan0), whole.Width,
                                  whole.Height, bits.Stride / 4, &picture);
    GdipBitmapUnlockBits(source, &bits);
    GpBitmap* image = nullptr;
    if (!reduced || GdipCreateBitmapFromScan0(whole.Width, whole.Height, 0, PixelFormat8bppIndexed,
                                              nullptr, &image) != Ok)
        return nullptr;
    if (!SetPalette(image, picture.palette) || !WriteIndices(image, whole, picture)) {
        GdipDisposeImage(image);
        return nullptr;
    }
    return image;
}

// The encoder writes into a fresh file beside the target, which replaces the target only once
// it is complete: a failed save never leaves a partial picture behind, and never costs the
// picture that was there before.
int WriteImageReplacing(GpImage* image, const CLSID* encoder, const wchar_t* fileName) {
    wchar_t partPath[MAX_PATH] = {};
    if (!GetTempFileNameW(FolderOfPath(fileName).c_str(), L"fdm", 0, partPath))
        return 0;
    int written = GdipSaveImageToFile(image, partPath, encoder, nullptr) == Ok &&
                  MoveFileExW(partPath, fileName, MOVEFILE_REPLACE_EXISTING);
    if (!written)
        DeleteFileW(partPath);
    return written;
}

} // namespace

int StartGdiplus() {
    if (gdiplusRunning)
        return 1;
    // Version 1, no debug callback, GDI+'s background thread and external codecs allowed.
    GdiplusStartupInput input;
    if (GdiplusStartup(&gdiplusToken, &input, nullptr) != Ok)
        return 0;
    gdiplusRunning = 1;
    return 1;
}

void ShutDownGdiplus() {
    if (!gdiplusRunning)
        return;
    GdiplusShutdown(gdiplusToken);
    gdiplusRunning = 0;
    gdiplusToken = 0;
}

int FindEncoder(const wchar_t* mimeType, CLSID* clsid) {
    if (!StartGdiplus())
        return -1;
    UINT count = 0;
    UINT bytes = 0;
    if (GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0 || count == 0)
        return -1;
    // One block: the records, followed by the strings they point to.
    auto* encoders = static_cast<ImageCodecInfo*>(std::malloc(bytes));
    if (!encoders)
        return -1;
    int found = -1;
    if (GdipGetImageEncoders(count, bytes, encoders) == Ok) {
        for (UINT i = 0; i < count; ++i) {
            if (MimeTypesEqual(encoders[i].MimeType, mimeType)) {
                *clsid = encoders[i].Clsid;
                found = static_cast<int>(i);
                break;
            }
        }
    }
    std::free(encoders);
    return found;
}

namespace {

// The picture the format's encoder is given: 24-bit colour, or already reduced to a palette
// for GIF. Null when GDI+ cannot take the bitmap.
GpBitmap* ImageToEncode(HBITMAP bitmap, int saveFormat) {
    GpBitmap* canvas = nullptr;
    HPALETTE palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    if (GdipCreateBitmapFromHBITMAP(bitmap, palette, &canvas) != Ok || !canvas)
        return nullptr;
    GpBitmap* image =
        saveFormat == SaveFormatGif ? MakePaletteImage(canvas) : MakeTrueColourImage(canvas);
    GdipDisposeImage(canvas);
    return image;
}

int FindEncoderOfFormat(int saveFormat, CLSID* encoder) {
    const wchar_t* mimeType = MimeTypeOf(saveFormat);
    return mimeType && StartGdiplus() && FindEncoder(mimeType, encoder) >= 0;
}

// Gives `write` the image the format's encoder takes, with that encoder. 1 when it wrote.
template <typename Write> int Encode(HBITMAP bitmap, int saveFormat, Write write) {
    CLSID encoder;
    if (!FindEncoderOfFormat(saveFormat, &encoder))
        return 0;
    GpBitmap* image = ImageToEncode(bitmap, saveFormat);
    if (!image)
        return 0;
    int written = write(image, &encoder);
    GdipDisposeImage(image);
    return written;
}

} // namespace

int SaveCanvasAs(const wchar_t* fileName, HBITMAP bitmap, int saveFormat) {
    return fileName && Encode(bitmap, saveFormat, [&](GpBitmap* image, const CLSID* encoder) {
               return WriteImageReplacing(image, encoder, fileName);
           });
}

int EncodeCanvas(HBITMAP bitmap, int saveFormat, IStream* stream) {
    return stream && Encode(bitmap, saveFormat, [&](GpBitmap* image, const CLSID* encoder) {
               return int(GdipSaveImageToStream(image, stream, encoder, nullptr) == Ok);
           });
}
