#pragma once
#include <windows.h>
// IStream, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

// GDI+ runs from its first use to the end of the run. Returns 1 when it is running.
int StartGdiplus();

// Ends GDI+ at the end of the run; no GDI+ object may be alive. A later use starts it again.
void ShutDownGdiplus();

// Index of the GDI+ encoder whose MIME type equals the given one exactly, with its CLSID
// copied to `clsid`; or -1, leaving `clsid` untouched.
int FindEncoder(const wchar_t* mimeType, CLSID* clsid);

// Writes the bitmap to the file in the format (1 BMP, 2 JPEG, 3 PNG, 4 GIF, 5 TIFF) with the
// encoder's default settings. Returns 1 only when the whole file has been written; on 0 the
// file is as it was before (a file that existed keeps its old contents) and nothing else has
// been left behind. The bitmap stays the caller's.
int SaveCanvasAs(const wchar_t* fileName, HBITMAP bitmap, int saveFormat);

// Encodes the bitmap in the format, as SaveCanvasAs would write it, into the stream (for the
// clipboard's PNG). 1 when the whole picture has been written to it.
int EncodeCanvas(HBITMAP bitmap, int saveFormat, IStream* stream);
