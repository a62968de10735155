#include "export/save_image.h"

#include <windows.h>

#include "base/app_state.h"
#include "export/gdiplus_encoders.h"
#include "export/save_dialog.h"
#include "export/save_formats.h"

namespace {

void ReportSaveFailure(HWND owner, const wchar_t* path) {
    MessageBoxW(owner, SaveFailureText(path).c_str(), SaveFailureCaption, MB_OK | MB_ICONERROR);
}

} // namespace

void RunSaveCommand(int saveFormat) {
    const wchar_t* path =
        AskSaveFileName(appState.documentWindow, L"名前を付けてファイルを保存する", saveFormat);
    if (!path)
        return;
    // Taken only now: the palette may have changed the canvas while the dialog was open.
    HBITMAP canvas = static_cast<HBITMAP>(GetCurrentObject(appState.canvasDc, OBJ_BITMAP));
    if (!SaveCanvasAs(path, canvas, saveFormat))
        ReportSaveFailure(appState.documentWindow, path);
}
