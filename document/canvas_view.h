#pragma once
#include <windows.h>

// The canvas window's paint: the whole surface stretched to the view size, whole pixels only.
void PaintCanvasView(HWND canvas);

// The canvas window's wheel: zooms by whole steps of 120, within the view bounds, then resets
// the scroll offsets and ranges and resizes and repaints the canvas window.
void ZoomCanvasByWheel(HWND canvas, WPARAM wParam);
