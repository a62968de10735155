#pragma once
#include <windows.h>

// Window procedure of "IllustClassName", the canvas window inside the document window.
LRESULT CALLBACK IllustWndProc(HWND canvas, UINT message, WPARAM wParam, LPARAM lParam);
