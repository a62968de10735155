#pragma once
#include <windows.h>

// Dialog procedure of the palette "OPTDLG", the program's running loop.
INT_PTR CALLBACK PaletteDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
