#include "palette/palette_dialog.h"

#include "app/app_state.h"
#include "app/window_class.h"
#include "resources/resource_ids.h"
#include "tools/snapshot_history.h"

namespace {

BOOL OnInitDialog(HWND dialog) {
    SetWindowTextW(dialog, L"パレット");
    appState.paletteWindow = dialog;
    CenterWindow(dialog);
    // Topmost without moving, sizing, redrawing or activating (flags 0x051B).
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                     SWP_NOSENDCHANGING);
    return FALSE;
}

void OnCommand(WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDC_QUIT:
        PostQuitMessage(0);
        break;
    case IDC_UNDO:
        UndoStep();
        break;
    case IDC_REDO:
        RedoStep();
        break;
    case IDC_RESET:
        ResetCanvas();
        break;
    default:
        // IDOK and IDCANCEL included: Enter, Esc and Alt+F4 leave the palette open.
        break;
    }
}

} // namespace

INT_PTR CALLBACK PaletteDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        OnCommand(wParam);
        return FALSE;
    default:
        return FALSE;
    }
}
