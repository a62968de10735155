#pragma once
#include <windows.h>

// Edit > コピー: the whole picture goes on the clipboard, at its full size whatever the zoom, as
// a device-independent bitmap (CF_DIB) and as PNG (the registered format "PNG"), so that any
// program can paste it. The clipboard belongs to `owner` afterwards. 1 when both are there.
int CopyCanvasToClipboard(HWND owner);
