#include "document/document_window.h"

#include <shellapi.h>

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

// The MDI client's area, which the document window must stay inside.
IntSize FrameArea(HWND window) {
    RECT area;
    GetClientRect(GetParent(window), &area);
    return IntSize{area.right, area.bottom};
}

// Every document, however it was made, starts from a clean view: nothing of the previous
// document's scrolling carries over, and the scroll bars are there from the start when its
// view is larger than its window.
LRESULT OnDocumentCreate(HWND window) {
    appState.hScrollInfo = ScrollRecord{};
    appState.vScrollInfo = ScrollRecord{};
    appState.panActive = 0;
    DocumentFit fit =
        FitDocumentInArea(appState.canvasSize, appState.documentMargin, appState.documentSize,
                          FrameArea(window), appState.zoomLevel);
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
    // A picture file dropped on the document (or its canvas) opens as on the frame.
    DragAcceptFiles(window, TRUE);
    UpdateScrollRanges(window);
    PlaceCanvasWindow(window);
    return 0;
}

void FillBand(HDC dc, const IntRect& band) {
    Rectangle(dc, band.left, band.top, band.right, band.bottom);
}

// Centres the canvas on the light-yellow surround when the view fits, else pins it to the
// corner and moves it by the scroll offsets. Zooming and scrolling place the canvas at once and
// leave the surround to this paint.
void OnDocumentPaint(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    DocumentLayout layout = LayOutDocument(client.right, client.bottom, appState.viewSize,
                                           appState.hScrollInfo.nPos, appState.vScrollInfo.nPos);
    // The canvas moves before the paint begins, so that what it uncovers is part of this
    // paint. Moved during the paint, the uncovered area would be validated unpainted by the
    // default handling that follows, and keep a piece of the picture as it was before a zoom.
    PlaceCanvasWindow(window);

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

// The ranges follow every change of the window's size (a border drag, maximising, restoring),
// and the offsets stay within them.
void OnDocumentSize(HWND window) {
    UpdateScrollRanges(window);
    PlaceCanvasWindow(window);
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
    case WM_KEYDOWN:
        if (ScrollByKey(window, wParam))
            return 0;
        break;
    case WM_HSCROLL:
        ScrollByRequest(window, SB_HORZ, wParam);
        break;
    case WM_VSCROLL:
        ScrollByRequest(window, SB_VERT, wParam);
        break;
    case WM_SIZE:
        OnDocumentSize(window);
        break;
    case WM_CLOSE:
        OnDocumentClose();
        return 0;
    case WM_DROPFILES:
        // The frame opens what is dropped anywhere on it.
        return SendMessageW(appState.frameWindow, message, wParam, lParam);
    default:
        break;
    }
    return DefMDIChildProcW(window, message, wParam, lParam);
}
