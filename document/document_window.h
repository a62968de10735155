#pragma once
#include <windows.h>

// Window procedure of "DocumentClassName", the MDI child that frames the canvas window.
LRESULT CALLBACK DocumentWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Resets both scroll offsets to 0 and sends the scroll bars new ranges for the current view
// size and the document window's client area. The thumbs are not moved.
void UpdateScrollRanges(HWND documentWindow);
