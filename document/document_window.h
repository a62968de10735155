#pragma once
#include <windows.h>

// Window procedure of "DocumentClassName", the MDI child that frames the canvas window.
LRESULT CALLBACK DocumentWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Ends the open document at once, without the question: both document flags and the zoom go
// back to 0 and the window goes. Callers ask first when the picture is changed.
void CloseDocumentWithoutAsking();
