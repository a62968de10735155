#pragma once
// Helpers for tests that create the program's real windows in the test process.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "test_files.h"

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

// CountGdiObjects() is in test_files.h, shared with the canvas benchmark.

// Types the text into an edit box one character at a time, as the keyboard would: each
// character raises its own EN_CHANGE. A backspace is L'\b'.
void TypeIntoBox(HWND box, const wchar_t* text);

// Selects all the text of an edit box, so that the next character replaces it.
void SelectAllOfBox(HWND box);

// Sets up appState.instance for tests that create windows from this module's resources.
void UseTestModuleAsInstance();

// The pixels of a device context from (0, 0), width x height, as 0xRRGGBB, row by row from the
// top. Read from a window's DC, they are what a person sees of it.
std::vector<uint32_t> CopyPixels(HDC source, int width, int height);
