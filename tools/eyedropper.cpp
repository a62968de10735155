#include "tools/eyedropper.h"

#include <windows.h>

#include "base/app_state.h"

void PickColour() {
    const COLORREF colour =
        GetPixel(appState.canvasDc, int(appState.cursorX), int(appState.cursorY));
    // CLR_INVALID is no colour: read as one it would make the primary colour white.
    if (colour == CLR_INVALID)
        return;
    appState.primaryColour = FromColorRef(colour);
    // Without a palette a null window would invalidate every window on the desktop.
    if (!appState.paletteWindow)
        return;
    const IntRect r = AppState::colourIndicatorRect;
    const RECT discs = {r.left, r.top, r.right, r.bottom};
    InvalidateRect(appState.paletteWindow, &discs, FALSE);
}
