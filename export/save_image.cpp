#include "export/save_image.h"

#include "base/app_state.h"
#include "base/wait_cursor.h"
#include "export/gdiplus_encoders.h"
#include "export/save_dialog.h"
#include "export/save_formats.h"

namespace {

void ReportSaveFailure(HWND owner, const wchar_t* path) {
    MessageBoxW(owner, SaveFailureText(path).c_str(), SaveFailureCaption, MB_OK | MB_ICONERROR);
}

} // namespace

int WriteCanvasToFile(const wchar_t* path, int saveFormat) {
    HBITMAP canvas = static_cast<HBITMAP>(GetCurrentObject(appState.canvasDc, OBJ_BITMAP));
    const WaitCursor waiting = ShowWaitCursor();
    const int written = SaveCanvasAs(path, canvas, saveFormat);
    EndWaitCursor(waiting);
    if (!written)
        ReportSaveFailure(appState.documentWindow, path);
    return written;
}

const wchar_t* RunSaveCommand(int saveFormat) {
    const wchar_t* path =
        AskSaveFileName(appState.documentWindow, L"名前を付けてファイルを保存する", saveFormat);
    // The canvas is taken only now: the palette may have changed it while the dialog was open.
    if (!path || !WriteCanvasToFile(path, saveFormat))
        return nullptr;
    return path;
}
