#pragma once
#include <windows.h>

#include "base/int_rect.h"

// The canvas window's paint: the part of the view under the update region, drawn from the
// surface with whole pixels only, exactly as a stretch of the whole surface would show it.
void PaintCanvasView(HWND canvas);

// Draws the area of the view (canvas window coordinates) into the device context.
void DrawCanvasView(HDC dc, IntRect viewArea);

// Asks the canvas window, if there is one, to repaint the part of the view that shows the
// canvas area (picture coordinates).
void InvalidateCanvasArea(IntRect canvasArea);

// The canvas window's wheel: zooms by whole steps of 120, within the view bounds, toward the
// pointer (lParam, on the screen): the picture point under it stays there as far as the scroll
// ranges allow. A pointer outside the document window zooms toward its middle.
void ZoomCanvasByWheel(HWND canvas, WPARAM wParam, LPARAM lParam);
