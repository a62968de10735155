#pragma once
#include <windows.h>

// Makes the document of the given source and its window; 0 when the picture cannot be
// prepared (the user has then been told).
int OpenDocument(const wchar_t* path);

// File > 画像ロード: asks for a file and opens it as an image document.
int OpenImageDocument(HWND owner);

// Dialog procedure of the new-paper dialog "YOUSIDLG".
INT_PTR CALLBACK PaperDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
