#include "app/frame_window.h"

#include "base/app_state.h"
#include "document/clipboard_paste.h"
#include "document/document_file.h"
#include "document/document_sources.h"
#include "export/clipboard_copy.h"
#include "history/snapshot_history.h"
#include "resources/resource_ids.h"

namespace {

LRESULT OnCreate(HWND frame) {
    // The MDI client gets no window menu, so no menu lists the open document.
    CLIENTCREATESTRUCT clientCreate = {};
    clientCreate.hWindowMenu = nullptr;
    clientCreate.idFirstChild = MDI_FIRST_CHILD_ID;
    appState.mdiClient = CreateWindowExW(
        0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, frame,
        reinterpret_cast<HMENU>(IDC_MDI_CLIENT), appState.instance, &clientCreate);
    // Files dropped on the frame, the MDI client or the document open as 画像ロード opens them.
    DragAcceptFiles(frame, TRUE);
    return 0;
}

int SaveFormatOfCommand(int command) {
    switch (command) {
    case IDM_SAVE_BMP:
        return 1;
    case IDM_SAVE_JPEG:
        return 2;
    case IDM_SAVE_PNG:
        return 3;
    case IDM_SAVE_GIF:
        return 4;
    case IDM_SAVE_TIFF:
        return 5;
    default:
        return 0;
    }
}

// The Edit menu and the keys of the picture act on an open document, and not while a stroke
// is being drawn: a key pressed with the mouse button down would act on a half-drawn picture.
int EditsAllowed() {
    return DocumentIsOpen() && appState.strokeActive == 0;
}

LRESULT OnCommand(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    int command = LOWORD(wParam);
    switch (command) {
    case IDM_FILE_SAVE:
        if (EditsAllowed())
            SaveDocument();
        return 0;
    case IDM_EDIT_UNDO:
        if (EditsAllowed())
            UndoStep();
        return 0;
    case IDM_EDIT_REDO:
        if (EditsAllowed())
            RedoStep();
        return 0;
    case IDM_EDIT_COPY:
        if (EditsAllowed())
            CopyCanvasToClipboard(frame);
        return 0;
    case IDM_EDIT_PASTE:
        if (appState.strokeActive == 0)
            PastePicture(frame);
        return 0;
    case IDM_FILE_NEW:
        if (!DocumentIsOpen())
            DialogBoxParamW(appState.instance, L"YOUSIDLG", nullptr, PaperDlgProc, 0);
        return 0;
    case IDM_FILE_LOAD_IMAGE:
        if (!DocumentIsOpen())
            OpenImageDocument(frame);
        break;
    case IDM_SAVE_BMP:
    case IDM_SAVE_JPEG:
    case IDM_SAVE_PNG:
    case IDM_SAVE_GIF:
    case IDM_SAVE_TIFF:
        if (DocumentIsOpen())
            SaveDocumentAs(SaveFormatOfCommand(command));
        break;
    case IDM_FILE_EXIT:
        SendMessageW(frame, WM_CLOSE, 0, 0);
        return 0;
    default:
        break;
    }
    return DefFrameProcW(frame, appState.mdiClient, message, wParam, lParam);
}

} // namespace

LRESULT CALLBACK FrameWndProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(frame);
    case WM_ERASEBKGND:
        // The MDI client covers the whole client area.
        return 0;
    case WM_CLOSE:
        // File > 終了(&X), the close box and Alt+F4: a changed picture is asked about first.
        if (!ConfirmDiscardChanges())
            return 0;
        return DefFrameProcW(frame, appState.mdiClient, message, wParam, lParam);
    case WM_QUERYENDSESSION:
        // Windows is ending the session: a changed picture is asked about, and キャンセル
        // keeps the program, and the session, going.
        return ConfirmDiscardChanges() ? TRUE : FALSE;
    case WM_DROPFILES:
        OpenDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        return OnCommand(frame, message, wParam, lParam);
    default:
        return DefFrameProcW(frame, appState.mdiClient, message, wParam, lParam);
    }
}
