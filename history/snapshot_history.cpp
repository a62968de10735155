#include "history/snapshot_history.h"

#include "base/app_state.h"
#include "history/history_rules.h"
#include "view/canvas_view.h"

namespace {

TileStore& Store() {
    // Chosen once, from the machine's memory and the width of the process's addresses.
    if (appState.history.budget == 0) {
        MEMORYSTATUSEX memory = {};
        memory.dwLength = sizeof(memory);
        const uint64_t physical = GlobalMemoryStatusEx(&memory) ? memory.ullTotalPhys : 0;
        appState.history.budget = ChooseHistoryBudget(physical, int(sizeof(void*) * 8));
    }
    return appState.history;
}

CanvasPixels Canvas() {
    return CanvasPixels{appState.canvasPixels, appState.surfaceSize};
}

void DropOldest() {
    DropOldestSnapshot(&Store());
}

void Discard(int slot) {
    DiscardSnapshot(&Store(), slot);
}

int Holds(int slot) {
    return HoldsSnapshot(Store(), slot);
}

const SnapshotStore canvasSnapshots = {TakeSnapshot, DropOldest, Discard, Holds};

// Brings a step of the history onto the canvas and repaints what it changed.
void GoToStep(int slot) {
    if (slot < 0)
        return;
    appState.historyPos = slot;
    IntRect changed = {0, 0, 0, 0};
    if (ShowSnapshot(&Store(), slot, Canvas(), &changed))
        InvalidateCanvasArea(changed);
}

} // namespace

int TakeSnapshot(int slot) {
    // GDI's drawing must have reached the pixels before they are compared and copied.
    GdiFlush();
    return RecordSnapshot(&Store(), slot, Canvas());
}

int SnapshotBeforeStroke() {
    return RecordPressSnapshot(&appState.historyPos, &appState.historyCount, canvasSnapshots);
}

int SnapshotAfterStroke() {
    return RecordReleaseSnapshot(&appState.historyPos, &appState.historyCount, canvasSnapshots);
}

void CanvasChanged(IntRect canvasArea) {
    MarkCanvasChanged(&Store(), canvasArea);
    InvalidateCanvasArea(canvasArea);
}

int KeepNewCanvas(uint32_t* pixels, IntSize size) {
    GdiFlush();
    TileStore& store = Store();
    // The new picture comes first: the oldest steps make room for it, one at a time. The old
    // reset copy's tiles that the history still shares count against its budget from now on.
    for (int held = HistorySlotCount; held >= 0; --held) {
        if (KeepResetCopy(&store, CanvasPixels{pixels, size})) {
            TrimToBudget(&store, &appState.historyPos, &appState.historyCount);
            return 1;
        }
        GiveUpOldestStep(&store, &appState.historyPos, &appState.historyCount);
    }
    return 0;
}

void MarkPictureSaved() {
    GdiFlush();
    KeepSavedPicture(&Store(), Canvas());
}

int PictureIsChanged() {
    GdiFlush();
    return PictureDiffersFromSaved(Store(), Canvas());
}

void UndoStep() {
    GoToStep(UndoTarget(appState.historyPos, canvasSnapshots));
}

void RedoStep() {
    GoToStep(RedoTarget(appState.historyPos, appState.historyCount, canvasSnapshots));
}

void ResetCanvas() {
    // Before the first document there is no reset copy to bring back.
    IntRect changed = {0, 0, 0, 0};
    if (ShowResetCopy(&Store(), Canvas(), &changed))
        InvalidateCanvasArea(changed);
}
