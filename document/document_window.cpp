#include "document/document_window.h"

#include "base/app_state.h"
#include "base/class_resources.h"
#include "base/window_class.h"
#include "document/document_file.h"
#include "resources/resource_ids.h"
#include "tools/canvas_window.h"
#include "view/scrolling.h"
#include "view/view_geometry.h"

namespace {

// The surround's light yellow (red 255, green 255, blue 160).
const COLORREF SurroundColour = RGB(255, 255, 160);

void RegisterCanvasClass() {
    // Registered on every document; a class that exists already simply fails to register.
    RegisterWindowClass(IllustWndProc, appState.instance, L"IllustClassName",
                        CS_HREDRAW | CS_VREDRAW, canvasClassResources.background, L"NULL",
                        canvasClassResources.icon);
}

LRESULT OnDocumentCreate(HWND window) {
    DocumentFit fit = FitDocument(appState.canvasSize, appState.documentMargin,
                                  appState.documentSize, appState.zoomLevel);
    appState.zoomLevel = fit.zoomLevel;
    appState.viewSize = fit.viewSize;
    appState.documentSize = fit.documentSize;
    RegisterCanvasClass();
    appState.canvasWindow = CreateWindowExW(
        0, L"IllustClassName", L"用紙", WS_CHILD | WS_VISIBLE, appState.documentMargin,
        appState.documentMargin, appState.viewSize.w, appState.viewSize.h, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CANVAS_WINDOW)), appState.instance,
        nullptr);
    SetWindowPos(window, HWND_TOP, 0, 0, appState.documentSize.w, appState.documentSize.h, 0);
    return 0;
}

void FillBand(HDC dc, const IntRect& band) {
    Rectangle(dc, band.left, band.top, band.right, band.bottom);
}

// Centres the canvas on the light-yellow surround when the view fits, else pins it to the
// corner and moves it by the scroll offsets. The canvas window is laid out only here.
void OnDocumentPaint(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    DocumentLayout layout = LayOutDocument(client.right, client.bottom, appState.viewSize,
                                           appState.hScrollInfo.nPos, appState.vScrollInfo.nPos);
    // The canvas moves before the paint begins, so that what it uncovers is part of this
    // paint. Moved during the paint, the uncovered area would be validated unpainted by the
    // default handling that follows, and keep a piece of the picture as it was before a zoom.
    if (layout.keepCanvasSize)
        SetWindowPos(appState.canvasWindow, HWND_TOP, layout.canvasX, layout.canvasY, 0, 0,
                     SWP_NOSIZE);
    else
        SetWindowPos(appState.canvasWindow, HWND_TOP, layout.canvasX, layout.canvasY,
                     layout.canvasW, layout.canvasH, 0);

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(SurroundColour);
    HPEN pen = CreatePen(PS_SOLID, 1, SurroundColour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int i = 0; i < layout.bandCount; ++i)
        FillBand(dc, layout.bands[i]);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    EndPaint(window, &paint);
}

// Line steps stop at the ends; page steps and the bottom are not bounded, and a dragged thumb
// moves the picture only when it is released.
void OnDocumentScroll(HWND window, int bar, WPARAM wParam) {
    ScrollRecord& record = bar == SB_HORZ ? appState.hScrollInfo : appState.vScrollInfo;
    record.nPos = ScrolledPosition(LOWORD(wParam), HIWORD(wParam), record);
    SendScrollRecord(window, bar, record);
    InvalidateRect(window, nullptr, TRUE);
}

// The ranges follow the client area as it is before the current drag step.
void OnDocumentSizing(HWND window) {
    UpdateScrollRanges(window);
    InvalidateRect(window, nullptr, TRUE);
}

// The close box, the system menu and Ctrl+F4: a changed picture is asked about first.
void OnDocumentClose() {
    if (ConfirmDiscardChanges())
        CloseDocumentWithoutAsking();
}

} // namespace

// The canvas surface, the reset copy and the history stay until the next document.
void CloseDocumentWithoutAsking() {
    appState.blankDocumentOpen = 0;
    appState.imageDocumentOpen = 0;
    appState.zoomLevel = 0;
    if (appState.documentWindow && IsWindow(appState.documentWindow))
        DestroyWindow(appState.documentWindow);
}

LRESULT CALLBACK DocumentWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnDocumentCreate(window);
    case WM_ERASEBKGND:
        return 0; // only the paint draws
    case WM_PAINT:
        OnDocumentPaint(window);
        break;
    case WM_HSCROLL:
        OnDocumentScroll(window, SB_HORZ, wParam);
        break;
    case WM_VSCROLL:
        OnDocumentScroll(window, SB_VERT, wParam);
        break;
    case WM_SIZING:
        OnDocumentSizing(window);
        break;
    case WM_CLOSE:
        OnDocumentClose();
        return 0;
    default:
        break;
    }
    return DefMDIChildProcW(window, message, wParam, lParam);
}
