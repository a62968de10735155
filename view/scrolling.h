#pragma once
#include <windows.h>

#include "base/app_state.h"

// Sends a scroll record to one of the window's scroll bars (SB_HORZ or SB_VERT).
void SendScrollRecord(HWND window, int bar, const ScrollRecord& record);

// Resets both scroll offsets to 0 and sends the scroll bars new ranges for the current view
// size and the document window's client area. The thumbs are not moved.
void UpdateScrollRanges(HWND documentWindow);
