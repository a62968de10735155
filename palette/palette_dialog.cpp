#include "palette/palette_dialog.h"

#include "base/app_state.h"
#include "base/window_class.h"
#include "document/document_file.h"
#include "document/document_sources.h"
#include "history/snapshot_history.h"
#include "palette/palette_paint.h"
#include "palette/palette_settings.h"
#include "palette/swatches.h"
#include "resources/resource_ids.h"

namespace {

void TakeSettingControls(HWND dialog) {
    // In the order of PaletteControlIndex.
    const int ids[PaletteControlCount] = {
        IDC_TOLERANCE_TRACKBAR, IDC_PEN_WIDTH_TRACKBAR, IDC_PEN_WIDTH_BOX, IDC_TOLERANCE_BOX,
        IDC_PREVIEW_CHECK,      IDC_SPRAY_BOX,          IDC_SPRAY_TRACKBAR};
    for (int i = 0; i < PaletteControlCount; ++i)
        appState.paletteControls[i] = GetDlgItem(dialog, ids[i]);
}

// The dialog cannot be resized, so its client rectangle is read once; every paint uses it.
void KeepClientRect(HWND dialog) {
    RECT client = {};
    GetClientRect(dialog, &client);
    appState.paletteClientRect = IntRect{client.left, client.top, client.right, client.bottom};
}

BOOL OnInitDialog(HWND dialog) {
    TakeSettingControls(dialog);
    CheckPreviewOutlinesBox();
    KeepClientRect(dialog);
    // It names the window to the system; there is no title bar to show it.
    SetWindowTextW(dialog, L"パレット");
    appState.paletteWindow = dialog;
    CenterWindow(dialog);
    // Topmost without moving, sizing, redrawing or activating (flags 0x051B).
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                     SWP_NOSENDCHANGING);
    FillSettingBoxes();
    SetUpSettingTrackbars();
    // A picture file dropped on the palette opens as on the frame.
    DragAcceptFiles(dialog, TRUE);
    return FALSE; // no default focus
}

void OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(dialog, &paint);
    if (target)
        PaintPaletteSurface(target, appState.paletteClientRect.right,
                            appState.paletteClientRect.bottom);
    EndPaint(dialog, &paint);
}

void InvalidateColourDiscs(HWND dialog) {
    const IntRect r = AppState::colourIndicatorRect;
    RECT indicator = {r.left, r.top, r.right, r.bottom};
    InvalidateRect(dialog, &indicator, FALSE);
}

void PickSwatchAt(HWND dialog, int x, int y) {
    SwatchHit hit = FindSwatchAt(x, y);
    if (!hit.found)
        return;
    appState.primaryColour = FromColorRef(SwatchTable[hit.row][hit.column]);
    InvalidateColourDiscs(dialog);
}

void ExchangeColoursAt(HWND dialog, int x, int y) {
    if (!HitsColourExchange(x, y))
        return;
    RgbTriple primary = appState.primaryColour;
    appState.primaryColour = appState.secondaryColour;
    appState.secondaryColour = primary;
    InvalidateColourDiscs(dialog);
}

// A press anywhere on the painted surface drags the palette, which has no title bar, and may
// also pick a swatch or exchange the colours.
void OnSurfacePress(HWND dialog, LPARAM lParam) {
    // Posted, so the system's move loop starts after this handler has returned.
    PostMessageW(dialog, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
    int x = LOWORD(lParam);
    int y = HIWORD(lParam);
    PickSwatchAt(dialog, x, y);
    ExchangeColoursAt(dialog, x, y);
}

int ToolOfButton(int id, ToolCode* tool) {
    switch (id) {
    case IDC_TOOL_PEN:
        *tool = ToolCode::Pen;
        return 1;
    case IDC_TOOL_ELLIPSE:
        *tool = ToolCode::Ellipse;
        return 1;
    case IDC_TOOL_RECTANGLE:
        *tool = ToolCode::Rectangle;
        return 1;
    case IDC_TOOL_LINE:
        *tool = ToolCode::Line;
        return 1;
    case IDC_TOOL_FILL:
        *tool = ToolCode::Fill;
        return 1;
    case IDC_TOOL_EYEDROPPER:
        *tool = ToolCode::Eyedropper;
        return 1;
    case IDC_TOOL_SPRAY:
        *tool = ToolCode::Spray;
        return 1;
    default:
        return 0;
    }
}

void OnCommand(WPARAM wParam) {
    int id = LOWORD(wParam);
    int notification = HIWORD(wParam);
    ToolCode tool;
    if (ToolOfButton(id, &tool)) {
        appState.activeTool = tool;
        return;
    }
    switch (id) {
    case IDC_QUIT:
        // A changed picture is asked about first; キャンセル keeps the program running.
        if (ConfirmDiscardChanges())
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
    case IDC_PREVIEW_CHECK:
        OnPreviewOutlinesCommand();
        break;
    case IDC_PEN_WIDTH_BOX:
    case IDC_TOLERANCE_BOX:
        OnSettingBoxCommand(id, notification);
        break;
    default:
        // IDOK and IDCANCEL included: Enter, Esc and Alt+F4 leave the palette open.
        break;
    }
}

} // namespace

INT_PTR CALLBACK PaletteDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_PAINT:
        OnPaint(dialog);
        return TRUE;
    case WM_LBUTTONDOWN:
        OnSurfacePress(dialog, lParam);
        return TRUE;
    case WM_COMMAND:
        OnCommand(wParam);
        return FALSE;
    case WM_HSCROLL:
        OnSettingTrackbarScroll(reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_DROPFILES:
        OpenDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}
