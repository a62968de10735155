#include "app/frame_window.h"

#include "base/app_state.h"
#include "document/document_sources.h"
#include "export/save_image.h"
#include "resources/resource_ids.h"

namespace {

LRESULT OnCreate(HWND frame) {
    // The frame menu has a single popup, so there is no popup at position 1: the MDI client
    // gets no window menu and no menu lists the open document.
    CLIENTCREATESTRUCT clientCreate = {};
    clientCreate.hWindowMenu = GetSubMenu(GetMenu(frame), 1);
    clientCreate.idFirstChild = MDI_FIRST_CHILD_ID;
    appState.mdiClient = CreateWindowExW(
        0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, frame,
        reinterpret_cast<HMENU>(IDC_MDI_CLIENT), appState.instance, &clientCreate);
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

LRESULT OnCommand(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    int command = LOWORD(wParam);
    switch (command) {
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
            RunSaveCommand(SaveFormatOfCommand(command));
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
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        return OnCommand(frame, message, wParam, lParam);
    default:
        return DefFrameProcW(frame, appState.mdiClient, message, wParam, lParam);
    }
}
