#pragma once
#include <windows.h>

// Edit > 貼り付け. With no document open, the clipboard's picture becomes a new document, as
// 画像ロード makes one of a file: the same size limits and refusal message, the picture as
// its reset copy, the zoom fitted. With a document open, the picture is painted onto it at the
// top-left corner of the part that can be seen, clipped to the picture, as one history step.
// Taken from the clipboard, in this order of preference: "PNG" (with transparency, as browsers
// and screenshot tools offer it), CF_DIBV5, CF_DIB, CF_BITMAP. Nothing happens when the
// clipboard holds no picture. 1 when something was pasted.
int PastePicture(HWND owner);
