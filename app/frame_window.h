#pragma once
#include <windows.h>

// Window procedure of "FrameClassName": the MDI frame with the File menu.
LRESULT CALLBACK FrameWndProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
