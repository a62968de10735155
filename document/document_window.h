#pragma once
#include <windows.h>

// Window procedure of "DocumentClassName", the MDI child that frames the canvas window.
LRESULT CALLBACK DocumentWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
