#pragma once
#include <windows.h>

// Registers a class with the arrow cursor, no extra bytes, and the icon as both its large and
// small icon. The result is not checked: registering a class that exists simply fails.
void RegisterWindowClass(WNDPROC procedure, HINSTANCE instance, const wchar_t* className,
                         UINT classStyle, HBRUSH background, const wchar_t* menuName, HICON icon);

// Centres the window on the desktop without resizing it, brings it to the top and shows it.
int CenterWindow(HWND window);
