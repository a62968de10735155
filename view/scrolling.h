#pragma once
#include <windows.h>

#include "base/app_state.h"

// Sends a scroll record to one of the window's scroll bars (SB_HORZ or SB_VERT), which draws
// itself again unless told not to.
void SendScrollRecord(HWND window, int bar, const ScrollRecord& record, int redraw = 1);

// Sends the scroll bars the ranges and pages of the current view in the document window's
// client area, keeping the offsets within them.
void UpdateScrollRanges(HWND documentWindow);

// Moves the canvas window where the layout puts it: centred when the view fits, else by the
// scroll offsets.
void PlaceCanvasWindow(HWND documentWindow);

// Shows the view at new scroll offsets, brought within the ranges.
void ScrollViewTo(HWND documentWindow, int x, int y);

// A request of a scroll bar (SB_HORZ or SB_VERT), as WM_HSCROLL and WM_VSCROLL carry it.
void ScrollByRequest(HWND documentWindow, int bar, WPARAM wParam);

// The keys that move the view: arrows by a line, Page Up and Page Down by a page, Home and End
// to the top and bottom, with Ctrl to the left and right edge (Ctrl with Page Up and Page Down
// pages left and right). 1 when the key was one of them.
int ScrollByKey(HWND documentWindow, WPARAM key);

// A drag with the middle button on the canvas window: the picture follows the pointer.
void StartPan(HWND canvas, LPARAM position);
// 1 while a pan goes on (the move was the pan's).
int ContinuePan(HWND canvas, LPARAM position);
void EndPan(HWND canvas);
