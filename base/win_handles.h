#pragma once
// The handle types that AppState carries, declared the way <windows.h> declares them under
// STRICT. Both declarations name the same types, so this header and <windows.h> can be
// included together in either order, and the record compiles without <windows.h> at all.

struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
struct HDC__;
typedef HDC__* HDC;
struct HBITMAP__;
typedef HBITMAP__* HBITMAP;
