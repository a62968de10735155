#pragma once
// The formats of File > 保存 and what the save dialog and the encoder lookup need to know
// about them. Platform-free: the Win32 glue in this folder turns these into dialog fields and
// GDI+ calls.

#include <string>

// The code each save command passes; anything outside 1 to 5 names no format.
enum SaveFormat : int {
    SaveFormatBmp = 1,
    SaveFormatJpeg = 2,
    SaveFormatPng = 3,
    SaveFormatGif = 4,
    SaveFormatTiff = 5,
};

// Extension the save dialog appends to a name typed without one ("bmp", "jpg", "png", "gif",
// "tiff"), or null for a code that names no format.
const wchar_t* DefaultExtensionOf(int saveFormat);

// MIME type of the GDI+ encoder that writes the format ("image/bmp", ...), or null.
const wchar_t* MimeTypeOf(int saveFormat);

// The save dialog's filter list, the same for every format: pairs of display text and
// pattern, each ended by a null character, the whole list by one more. It has no PNG entry.
extern const wchar_t SaveFilterList[];

// Exact, case-sensitive equality of two MIME types; a missing string equals nothing.
int MimeTypesEqual(const wchar_t* a, const wchar_t* b);

// The folder part of a file path, as a place to write a file beside it: "Z:\pics" for
// "Z:\pics\a.png", "C:\" for "C:\a.png", "." for a bare name.
std::wstring FolderOfPath(const std::wstring& path);

// What the user is told when a picture could not be written.
extern const wchar_t SaveFailureCaption[];
std::wstring SaveFailureText(const std::wstring& path);
