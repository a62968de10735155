#include "base/wait_cursor.h"

WaitCursor ShowWaitCursor() {
    return WaitCursor{SetCursor(LoadCursorW(nullptr, IDC_WAIT))};
}

void EndWaitCursor(WaitCursor waiting) {
    SetCursor(waiting.previous);
}
