#include "view/scrolling.h"

#include "view/view_geometry.h"

static_assert(sizeof(ScrollRecord) == sizeof(SCROLLINFO), "a scroll record is a SCROLLINFO");

namespace {

// Range, page and position once per range update; afterwards the record goes out with the
// position alone. A bar redraws itself whenever it is sent a record, which under Wine costs
// more than the rest of a scroll step: a bar is sent only what changed.
void SendRange(HWND documentWindow, int bar, ScrollRecord* record, int viewSide, int clientSide,
               int redraw) {
    const ScrollRecord before = *record;
    SetScrollRangeRecord(record, viewSide, clientSide);
    record->cbSize = sizeof(SCROLLINFO);
    if (record->nMax != before.nMax || record->nPage != before.nPage ||
        record->nPos != before.nPos || before.cbSize == 0)
        SendScrollRecord(documentWindow, bar, *record, redraw);
    record->fMask = SIF_POS;
}

// A bar that appears or goes changes the window's frame. Left to the scroll bars, each bar
// does so on its own and is then drawn again with its record: the first notch that needs the
// bars cost three redraws of the frame. Here the style takes both bars at once, the records
// go in without drawing, and the frame is drawn once. 1 when the bars changed.
int ShowBarsAtOnce(HWND documentWindow, SIZE client) {
    const LONG style = GetWindowLongW(documentWindow, GWL_STYLE);
    LONG wanted = style & ~(WS_HSCROLL | WS_VSCROLL);
    if (appState.viewSize.h > client.cy)
        wanted |= WS_VSCROLL;
    if (appState.viewSize.w > client.cx)
        wanted |= WS_HSCROLL;
    if (wanted == style)
        return 0;
    SetWindowLongW(documentWindow, GWL_STYLE, wanted);
    SendRange(documentWindow, SB_VERT, &appState.vScrollInfo, appState.viewSize.h, client.cy, 0);
    SendRange(documentWindow, SB_HORZ, &appState.hScrollInfo, appState.viewSize.w, client.cx, 0);
    SetWindowPos(documentWindow, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return 1;
}

void SendPosition(HWND documentWindow, int bar, ScrollRecord* record) {
    record->fMask = SIF_POS;
    record->cbSize = sizeof(SCROLLINFO);
    SendScrollRecord(documentWindow, bar, *record);
}

HWND CanvasOf(HWND documentWindow) {
    const HWND canvas = appState.canvasWindow;
    return canvas && IsWindow(canvas) && GetParent(canvas) == documentWindow ? canvas : nullptr;
}

DocumentLayout CurrentLayout(HWND documentWindow) {
    RECT client;
    GetClientRect(documentWindow, &client);
    return LayOutDocument(client.right, client.bottom, appState.viewSize, appState.hScrollInfo.nPos,
                          appState.vScrollInfo.nPos);
}

// The surround's bands, for the document window's next paint.
void InvalidateBands(HWND documentWindow, const DocumentLayout& layout) {
    for (int i = 0; i < layout.bandCount; ++i) {
        const IntRect& band = layout.bands[i];
        if (RectIsEmpty(band))
            continue;
        const RECT r = {band.left, band.top, band.right, band.bottom};
        InvalidateRect(documentWindow, &r, TRUE);
    }
}

// The canvas at the offsets, and the surround around it.
void ShowOffsets(HWND documentWindow) {
    PlaceCanvasWindow(documentWindow);
    InvalidateBands(documentWindow, CurrentLayout(documentWindow));
}

// The client area once the window shows the bars a view needs: a bar takes room from the other
// side, which may then need its bar too.
SIZE ClientWithBarsFor(HWND documentWindow, IntSize view) {
    RECT client;
    GetClientRect(documentWindow, &client);
    const LONG style = GetWindowLongW(documentWindow, GWL_STYLE);
    const int barW = GetSystemMetrics(SM_CXVSCROLL), barH = GetSystemMetrics(SM_CYHSCROLL);
    const int fullW = client.right + (style & WS_VSCROLL ? barW : 0);
    const int fullH = client.bottom + (style & WS_HSCROLL ? barH : 0);
    SIZE inside = {fullW, fullH};
    for (int pass = 0; pass < 2; ++pass) {
        if (view.h > inside.cy)
            inside.cx = fullW - barW;
        if (view.w > inside.cx)
            inside.cy = fullH - barH;
    }
    return inside;
}

POINT ScreenPositionOf(HWND canvas, LPARAM position) {
    const PackedPoint packed = PackedPoint(uint32_t(uintptr_t(position)));
    POINT p = {PackedX(packed), PackedY(packed)};
    ClientToScreen(canvas, &p);
    return p;
}

} // namespace

void SendScrollRecord(HWND window, int bar, const ScrollRecord& record, int redraw) {
    SCROLLINFO info = {};
    info.cbSize = record.cbSize;
    info.fMask = record.fMask;
    info.nMin = record.nMin;
    info.nMax = record.nMax;
    info.nPage = record.nPage;
    info.nPos = record.nPos;
    info.nTrackPos = record.nTrackPos;
    SetScrollInfo(window, bar, &info, redraw);
}

void UpdateScrollRanges(HWND documentWindow) {
    // A bar that appears or goes changes the client area, whose WM_SIZE comes back here: the
    // outer call goes on until the area stays as it is, and the inner ones leave it to it. The
    // first round already counts with the bars the view will need, so that each bar is sent
    // its record once.
    static int updating = 0;
    if (updating)
        return;
    updating = 1;
    SIZE client = ClientWithBarsFor(documentWindow, appState.viewSize);
    ShowBarsAtOnce(documentWindow, client);
    for (int round = 0; round < 4; ++round) {
        SendRange(documentWindow, SB_VERT, &appState.vScrollInfo, appState.viewSize.h, client.cy,
                  1);
        SendRange(documentWindow, SB_HORZ, &appState.hScrollInfo, appState.viewSize.w, client.cx,
                  1);
        RECT after;
        GetClientRect(documentWindow, &after);
        if (after.right == client.cx && after.bottom == client.cy)
            break;
        client = SIZE{after.right, after.bottom};
    }
    updating = 0;
}

void PlaceCanvasWindow(HWND documentWindow) {
    const HWND canvas = CanvasOf(documentWindow);
    if (!canvas)
        return;
    const DocumentLayout layout = CurrentLayout(documentWindow);
    // A pinned canvas is as large as the view.
    const int w = layout.keepCanvasSize ? appState.viewSize.w : layout.canvasW;
    const int h = layout.keepCanvasSize ? appState.viewSize.h : layout.canvasH;
    SetWindowPos(canvas, HWND_TOP, layout.canvasX, layout.canvasY, w, h, 0);
}

void ScrollViewTo(HWND documentWindow, int x, int y) {
    ScrollRecord& horizontal = appState.hScrollInfo;
    ScrollRecord& vertical = appState.vScrollInfo;
    x = ClampedScrollPosition(x, horizontal);
    y = ClampedScrollPosition(y, vertical);
    const int movedX = x != horizontal.nPos, movedY = y != vertical.nPos;
    if (!movedX && !movedY)
        return;
    horizontal.nPos = x;
    vertical.nPos = y;
    if (movedX)
        SendPosition(documentWindow, SB_HORZ, &horizontal);
    if (movedY)
        SendPosition(documentWindow, SB_VERT, &vertical);
    ShowOffsets(documentWindow);
}

void ScrollByRequest(HWND documentWindow, int bar, WPARAM wParam) {
    ScrollRecord& record = bar == SB_HORZ ? appState.hScrollInfo : appState.vScrollInfo;
    const int request = LOWORD(wParam);
    const int moved = ScrolledPosition(request, HIWORD(wParam), record);
    if (request == SB_THUMBTRACK || request == SB_THUMBPOSITION) {
        // The bar draws its dragged thumb itself; the record goes back once the thumb is let go.
        if (moved != record.nPos) {
            record.nPos = moved;
            ShowOffsets(documentWindow);
        }
        if (request == SB_THUMBPOSITION)
            SendPosition(documentWindow, bar, &record);
        return;
    }
    if (bar == SB_HORZ)
        ScrollViewTo(documentWindow, moved, appState.vScrollInfo.nPos);
    else
        ScrollViewTo(documentWindow, appState.hScrollInfo.nPos, moved);
}

int ScrollByKey(HWND documentWindow, WPARAM key) {
    const int sideways = GetKeyState(VK_CONTROL) < 0;
    int bar = SB_VERT;
    int request = 0;
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        request = key == VK_UP ? SB_LINEUP : SB_LINEDOWN;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        bar = SB_HORZ;
        request = key == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT;
        break;
    case VK_PRIOR:
    case VK_NEXT:
        bar = sideways ? SB_HORZ : SB_VERT;
        request = key == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN;
        break;
    case VK_HOME:
    case VK_END:
        bar = sideways ? SB_HORZ : SB_VERT;
        request = key == VK_HOME ? SB_TOP : SB_BOTTOM;
        break;
    default:
        return 0;
    }
    ScrollByRequest(documentWindow, bar, MAKEWPARAM(request, 0));
    return 1;
}

void StartPan(HWND canvas, LPARAM position) {
    const POINT at = ScreenPositionOf(canvas, position);
    appState.panActive = 1;
    appState.panStartX = at.x;
    appState.panStartY = at.y;
    appState.panStartOffsetX = appState.hScrollInfo.nPos;
    appState.panStartOffsetY = appState.vScrollInfo.nPos;
    // The release comes back here wherever the button goes up.
    if (GetCapture() != canvas)
        SetCapture(canvas);
}

int ContinuePan(HWND canvas, LPARAM position) {
    if (!appState.panActive)
        return 0;
    // Screen positions: the canvas window moves under the pointer as the picture follows it.
    const POINT at = ScreenPositionOf(canvas, position);
    ScrollViewTo(GetParent(canvas), appState.panStartOffsetX - (at.x - appState.panStartX),
                 appState.panStartOffsetY - (at.y - appState.panStartY));
    return 1;
}

void EndPan(HWND canvas) {
    if (!appState.panActive)
        return;
    appState.panActive = 0;
    if (GetCapture() == canvas && !appState.strokeActive)
        ReleaseCapture();
}
