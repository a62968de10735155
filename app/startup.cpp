#include "app/startup.h"

#include <commctrl.h>

#include "app/frame_window.h"
#include "app/program_keys.h"
#include "base/app_state.h"
#include "base/class_resources.h"
#include "base/window_class.h"
#include "export/gdiplus_encoders.h"
#include "palette/palette_dialog.h"

HWND CreateFrameWindow(HINSTANCE instance) {
    RegisterWindowClass(FrameWndProc, instance, L"FrameClassName", CS_HREDRAW | CS_VREDRAW,
                        frameClassResources.background, L"IDR_MENU", frameClassResources.icon);
    // The class menu "IDR_MENU" applies; the style makes the frame visible, so neither
    // ShowWindow nor UpdateWindow is called.
    appState.frameWindow = CreateWindowExW(
        0, L"FrameClassName", L"フデマル", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    return appState.frameWindow;
}

static void MakeTrackbarClassAvailable() {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
}

int RunFudemaru(HINSTANCE instance) {
    appState.instance = instance;
    CreateFrameWindow(instance);

    // The palette has no owner, so it disables nothing: its modal loop dispatches the
    // messages of every window of the program until a quit request arrives.
    MakeTrackbarClassAvailable();
    InstallProgramKeys(instance);
    DialogBoxParamW(instance, L"OPTDLG", nullptr, PaletteDlgProc, 0);

    CenterWindow(appState.frameWindow);

    // The palette's loop has re-posted the quit request; this loop reads it.
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!TranslateProgramKey(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    ShutDownGdiplus();
    return static_cast<int>(message.wParam);
}
