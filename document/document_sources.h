#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "base/app_state.h"
#include "document/picture_decoding.h"

// A new document's surface, built completely before it replaces the old one.
struct PreparedDocument {
    HDC canvasDc;
    HBITMAP canvasDib;
    uint32_t* canvasPixels;
    IntSize size;
    int saveFormat; // the format that writes the picture back as its file holds it; 0 for none
};

// Makes a 32-bit bottom-up DIB section of the given size. 1 when it was made; 0 (and a null
// bitmap) when an out pointer is null, a side is below 1 or the section cannot be created.
int CreateCanvasDib(HBITMAP* bitmap, uint32_t** pixels, int width, int height);

// Builds the canvas surface and the reset copy of a new document: a blank sheet of canvasSize
// while blankDocumentOpen is 1, else the picture in the file at `path`. Everything is built
// first; only when all of it exists are the old document's handles released and replaced.
// 0 leaves the previous surface, canvasSize and the out arguments untouched.
int PrepareCanvas(const wchar_t* path, HBITMAP* bitmap, uint32_t** pixels, IntSize* size);

// Makes the document of the current source and its window. 0 when it cannot be made: the user
// has been told (a blank sheet's message is owned by `messageOwner`) and no document is open.
int OpenDocument(const wchar_t* path, HWND messageOwner = nullptr);

// The common open dialog with the program's picture filters. Both buffers hold MAX_PATH
// characters. Nonzero when the user chose a file.
int AskOpenFileName(HWND owner, wchar_t* file, wchar_t* fileTitle);

// File > 画像ロード: asks for a file and opens it as an image document.
int OpenImageDocument(HWND owner);

// Dialog procedure of the new-paper dialog "YOUSIDLG".
INT_PTR CALLBACK PaperDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The message every picture that cannot be opened gets: a file, a dropped file, the clipboard.
void ShowLoadFailure();

// A surface of the size with nothing drawn on it (for a picture from the clipboard). 0 when
// the size is not a canvas size or memory runs out; nothing is left then.
int AllocateDocumentSurface(IntSize size, PreparedDocument* prepared);

// The picture of a checked file (or of bytes checked as one) decoded into a new surface of the
// size its header declares, with the wait cursor while it works.
int PreparePictureOf(HDC frameDc, const PictureFile& file, PreparedDocument* prepared);

void DiscardPreparedDocument(PreparedDocument* prepared);

// Makes the prepared picture the document, in place of the open one if there is one: the
// question before a changed picture goes has been asked already. Its picture becomes the reset
// copy and the saved picture; `file` (null for none) becomes the picture's file. When it cannot
// be kept the load-failure message shows and the open document, if any, stays as it was.
// The prepared surface belongs to the document or is released either way.
int OpenPreparedPicture(PreparedDocument* prepared, const wchar_t* file);

// Opens the picture file in place of the open document, if any (a dropped file), after the
// same checks as 画像ロード and with the same message when it is refused; a refused file
// leaves the open document as it was.
int OpenPictureFile(const wchar_t* path);

// WM_DROPFILES on the frame or the palette (the document window hands its drops to the frame):
// the first file opens as 画像ロード would open it, in place of the open picture after the
// question. The drop is finished here.
void OpenDroppedFiles(HDROP drop);
