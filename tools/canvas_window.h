#pragma once
#include <windows.h>

#include "base/app_state.h"

// Window procedure of "IllustClassName", the canvas window inside the document window. The
// left button draws with the active tool into the canvas surface through canvasDc; the
// screen shows the surface when the window repaints.
LRESULT CALLBACK IllustWndProc(HWND canvas, UINT message, WPARAM wParam, LPARAM lParam);

// Draws or erases one rubber-band figure of the tool (Ellipse, Rectangle or Line) from start
// to end by inverting the pixels with the pen and brush selected in dc, so that drawing the
// same figure twice restores them exactly. Draws nothing, and leaves the mix mode alone,
// unless previewOutlines is exactly 1; otherwise the mix mode stays R2_NOT afterwards.
void DrawPreview(HDC dc, PackedPoint start, PackedPoint end, ToolCode tool, int previewOutlines);
