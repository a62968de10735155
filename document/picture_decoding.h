#pragma once
// Picture files: read whole, judged by their header, then decoded into a canvas of the size the
// header declares, by the system's picture loader (BMP, JPEG, GIF) or by GDI+ (PNG, TIFF).
#include <windows.h>

#include <cstdint>

#include "document/picture_header.h"

struct PictureFile {
    HGLOBAL block; // the whole file
    DWORD size;
    PictureHeader header;
};

// Reads the whole file and its header. 1 when the file may be decoded; 0 when it cannot be
// read or its header refuses it (see ReadPictureHeader), holding nothing then.
int ReadPictureFile(const wchar_t* path, PictureFile* file);

// The same for a picture file's bytes held in memory (the clipboard's PNG): they are copied.
int ReadPictureBytes(const void* bytes, size_t count, PictureFile* file);

void ReleasePictureFile(PictureFile* file);

// Decodes the file into a canvas of exactly `file.header.size`: `canvasDc` has the canvas DIB
// selected and `canvasPixels` are its bits. 1 only when the decoder gave a bitmap of that size.
int DecodePicture(const PictureFile& file, HDC canvasDc, uint32_t* canvasPixels);

// Copies the whole of a bitmap of `size` into `target`.
int CopyBitmapToDc(HDC target, HBITMAP source, IntSize size);
