#pragma once
#include <windows.h>

#include <cstdint>

#include "base/app_state.h"

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
