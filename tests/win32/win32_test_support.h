#pragma once
// Helpers for tests that create the program's real windows in the test process.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Dispatches the thread's pending messages, then keeps doing so for the given time.
void PumpMessages(DWORD milliseconds = 0);

std::wstring WindowText(HWND window);
std::wstring ClassNameOf(HWND window);

// A modal dialog (message box, file dialog, paper dialog) seen while an action ran.
struct SeenDialog {
    std::wstring caption;
    std::wstring text; // the message of a message box; empty for other dialogs
    HWND owner;
};

// Runs the action. Each dialog of this thread that becomes visible while it runs, including
// inside nested modal loops, is recorded and handed to `respond`, which must close it (for
// example by clicking a button). Without a response the dialog is closed with IDCANCEL, or
// IDOK when it has no cancel button. A dialog that stays open is reported as a failure.
std::vector<SeenDialog> RunAnsweringDialogs(const std::function<void()>& action,
                                            const std::function<void(HWND dialog)>& respond = {});

// Clicks a dialog's button by posting BM_CLICK, as a user's press would.
void ClickDialogButton(HWND dialog, int id);

// Sets up appState.instance for tests that create windows from this module's resources.
void UseTestModuleAsInstance();

// The number of live GDI objects of this process. Wine does not implement GetGuiResources, so
// the handle values are probed one by one.
int CountGdiObjects();
