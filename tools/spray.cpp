#include "tools/spray.h"

#include "base/app_state.h"
#include "history/snapshot_history.h"
#include "resources/resource_ids.h"
#include "tools/spray_pattern.h"

namespace {

// Never seeded again: every run sprays the same dots for the same strokes.
RandomSequence spraySequence;

} // namespace

void MoveSprayRect() {
    appState.sprayRect =
        SprayRectAround(int(appState.cursorX), int(appState.cursorY), appState.penWidth);
}

void StartSpray(HWND canvas) {
    MoveSprayRect();
    // A second press while the timer runs replaces it rather than adding another.
    SetTimer(canvas, SPRAY_TIMER_ID, SprayTimerInterval, nullptr);
}

void SprayBurst() {
    while (appState.sprayCount <= appState.sprayStrength) {
        const COLORREF colour = ToColorRef(appState.primaryColour);
        const SprayDot dot = PlaceSprayDot(appState.sprayRect, &spraySequence);
        SetPixel(appState.canvasDc, dot.x, dot.y, colour);
        ++appState.sprayCount;
    }
    appState.sprayCount = 0;
    const IntRect square = appState.sprayRect; // right and bottom included
    CanvasChanged(IntRect{square.left, square.top, square.right + 1, square.bottom + 1});
}

void StopSpray(HWND canvas) {
    KillTimer(canvas, SPRAY_TIMER_ID);
}
