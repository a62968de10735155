#include "tools/snapshot_history.h"

#include <cstring>

#include "app/app_state.h"
#include "tools/history_rules.h"

namespace {

int IsSlot(int slot) {
    return slot >= 0 && slot < HistorySlotCount;
}

void DeleteSnapshotDc(HDC snapshot) {
    if (!snapshot)
        return;
    HGDIOBJ bitmap = GetCurrentObject(snapshot, OBJ_BITMAP);
    DeleteDC(snapshot);
    // A device context whose bitmap could not be selected still holds its stock one, which
    // DeleteObject leaves alone.
    if (bitmap)
        DeleteObject(bitmap);
}

void DiscardSnapshot(int slot) {
    if (!IsSlot(slot))
        return;
    DeleteSnapshotDc(appState.historySlots[slot]);
    appState.historySlots[slot] = nullptr;
}

void DropOldestSnapshot() {
    DeleteSnapshotDc(appState.historySlots[0]);
    std::memmove(&appState.historySlots[0], &appState.historySlots[1],
                 sizeof(appState.historySlots[0]) * (HistorySlotCount - 1));
    appState.historySlots[HistorySlotCount - 1] = nullptr;
}

int HoldsSnapshot(int slot) {
    return IsSlot(slot) && appState.historySlots[slot] != nullptr;
}

const SnapshotStore canvasSnapshots = {TakeSnapshot, DropOldestSnapshot, DiscardSnapshot,
                                       HoldsSnapshot};

// Makes a snapshot of the canvas as it is now, or nothing (and leaves nothing behind).
HDC MakeSnapshotDc(int width, int height) {
    // A failed snapshot gives up history to make room, so it must fail only for want of
    // memory: without its canvas window (a closed document) the screen gives the format.
    const HWND window = IsWindow(appState.canvasWindow) ? appState.canvasWindow : nullptr;
    HDC windowDc = GetDC(window);
    if (!windowDc)
        return nullptr;
    HDC snapshot = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
    ReleaseDC(window, windowDc);
    int made = snapshot && bitmap && SelectObject(snapshot, bitmap) &&
               BitBlt(snapshot, 0, 0, width, height, appState.canvasDc, 0, 0, SRCCOPY);
    if (made)
        return snapshot;
    if (snapshot)
        DeleteDC(snapshot);
    if (bitmap)
        DeleteObject(bitmap);
    return nullptr;
}

// Copies the snapshot onto the canvas. A snapshot taken under an earlier document of another
// size covers only the area both share; the rest of the canvas keeps its pixels.
void CopySnapshotOntoCanvas(int slot) {
    int width = 0;
    int height = 0;
    if (!appState.canvasDc || !SnapshotSize(slot, &width, &height))
        return;
    if (width > appState.surfaceSize.w)
        width = appState.surfaceSize.w;
    if (height > appState.surfaceSize.h)
        height = appState.surfaceSize.h;
    BitBlt(appState.canvasDc, 0, 0, width, height, appState.historySlots[slot], 0, 0, SRCCOPY);
}

void RepaintCanvasWindow() {
    // The canvas window of a closed document is gone; there is nothing to repaint.
    if (appState.canvasWindow && IsWindow(appState.canvasWindow))
        InvalidateRect(appState.canvasWindow, nullptr, FALSE);
}

} // namespace

int TakeSnapshot(int slot) {
    if (!IsSlot(slot))
        return 0;
    HDC snapshot = nullptr;
    const IntSize size = appState.surfaceSize;
    if (appState.canvasDc && size.w > 0 && size.h > 0)
        snapshot = MakeSnapshotDc(size.w, size.h);
    DiscardSnapshot(slot);
    appState.historySlots[slot] = snapshot;
    return snapshot ? 1 : 0;
}

int SnapshotBeforeStroke() {
    return RecordPressSnapshot(&appState.historyPos, &appState.historyCount, canvasSnapshots);
}

int SnapshotAfterStroke() {
    return RecordReleaseSnapshot(&appState.historyPos, &appState.historyCount, canvasSnapshots);
}

int SnapshotSize(int slot, int* width, int* height) {
    if (!HoldsSnapshot(slot))
        return 0;
    BITMAP info = {};
    HGDIOBJ bitmap = GetCurrentObject(appState.historySlots[slot], OBJ_BITMAP);
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info))
        return 0;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return 1;
}

void UndoStep() {
    const int slot = UndoTarget(appState.historyPos, canvasSnapshots);
    if (slot < 0)
        return;
    appState.historyPos = slot;
    CopySnapshotOntoCanvas(slot);
    RepaintCanvasWindow();
}

void RedoStep() {
    const int slot = RedoTarget(appState.historyPos, appState.historyCount, canvasSnapshots);
    if (slot < 0)
        return;
    appState.historyPos = slot;
    CopySnapshotOntoCanvas(slot);
    RepaintCanvasWindow();
}

void ResetCanvas() {
    // Before the first document there is no reset copy to bring back.
    if (!appState.canvasDc || !appState.resetCopyDc)
        return;
    BitBlt(appState.canvasDc, 0, 0, appState.surfaceSize.w, appState.surfaceSize.h,
           appState.resetCopyDc, 0, 0, SRCCOPY);
    RepaintCanvasWindow();
}
