#include "app/program_keys.h"

#include "base/app_state.h"

namespace {

HACCEL programKeys = nullptr;
HHOOK dialogLoopHook = nullptr;

int ControlIsDown() {
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

// An edit box of the palette keeps the keys of editing text.
int KeyBelongsToEditBox(const MSG& message) {
    wchar_t className[8] = {};
    if (GetParent(message.hwnd) != appState.paletteWindow ||
        !GetClassNameW(message.hwnd, className, 8) || lstrcmpiW(className, L"Edit") != 0)
        return 0;
    switch (message.wParam) {
    case 'Z':
    case 'C':
    case 'V':
    case 'X':
    case 'A':
        return ControlIsDown();
    default:
        return 0;
    }
}

// The dialog manager offers every message of its loop here before it handles it.
LRESULT CALLBACK DialogLoopKeys(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && TranslateProgramKey(reinterpret_cast<MSG*>(lParam)))
        return 1;
    return CallNextHookEx(dialogLoopHook, code, wParam, lParam);
}

} // namespace

void InstallProgramKeys(HINSTANCE instance) {
    if (!programKeys)
        programKeys = LoadAcceleratorsW(instance, L"IDR_KEYS");
    if (!dialogLoopHook)
        dialogLoopHook =
            SetWindowsHookExW(WH_MSGFILTER, DialogLoopKeys, nullptr, GetCurrentThreadId());
}

int TranslateProgramKey(MSG* message) {
    if (!message || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN))
        return 0;
    const HWND frame = appState.frameWindow;
    const HWND root = message->hwnd ? GetAncestor(message->hwnd, GA_ROOT) : nullptr;
    if (!frame || !root || (root != frame && root != appState.paletteWindow) ||
        !IsWindowEnabled(frame))
        return 0;
    // Ctrl+F4 closes the document, Ctrl+F6 goes to the next: the MDI keys, for the frame only.
    if (root == frame && appState.mdiClient && TranslateMDISysAccel(appState.mdiClient, message))
        return 1;
    if (KeyBelongsToEditBox(*message))
        return 0;
    return programKeys && TranslateAcceleratorW(frame, programKeys, message);
}
