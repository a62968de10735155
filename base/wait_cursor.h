#pragma once
#include <windows.h>

// The system's wait cursor while the program works without answering (opening, saving,
// pasting or filling a photo-sized picture). The cursor comes back when the work is done.
struct WaitCursor {
    HCURSOR previous;
};

WaitCursor ShowWaitCursor();
void EndWaitCursor(WaitCursor waiting);
