#include "view/scrolling.h"

#include "view/view_geometry.h"

static_assert(sizeof(ScrollRecord) == sizeof(SCROLLINFO), "a scroll record is a SCROLLINFO");

void SendScrollRecord(HWND window, int bar, const ScrollRecord& record) {
    SCROLLINFO info = {};
    info.cbSize = record.cbSize;
    info.fMask = record.fMask;
    info.nMin = record.nMin;
    info.nMax = record.nMax;
    info.nPage = record.nPage;
    info.nPos = record.nPos;
    info.nTrackPos = record.nTrackPos;
    SetScrollInfo(window, bar, &info, TRUE);
}

void UpdateScrollRanges(HWND documentWindow) {
    appState.hScrollInfo.nPos = 0;
    appState.vScrollInfo.nPos = 0;
    RECT client;
    GetClientRect(documentWindow, &client);
    SetScrollRangeRecord(&appState.vScrollInfo, appState.viewSize.h, client.bottom);
    appState.vScrollInfo.cbSize = sizeof(SCROLLINFO);
    SendScrollRecord(documentWindow, SB_VERT, appState.vScrollInfo);
    appState.vScrollInfo.fMask = SIF_POS;
    SetScrollRangeRecord(&appState.hScrollInfo, appState.viewSize.w, client.right);
    appState.hScrollInfo.cbSize = sizeof(SCROLLINFO);
    SendScrollRecord(documentWindow, SB_HORZ, appState.hScrollInfo);
    appState.hScrollInfo.fMask = SIF_POS;
}
