#pragma once
// Starts the real fudemaru.exe and finds its windows from outside, as a separate process.
// Every wait has a bound; a program that does not end in time is killed and reported.

#include <windows.h>

#include <string>
#include <vector>

struct RunningProgram {
    PROCESS_INFORMATION process = {};
    bool started = false;
};

// The Windows path of fudemaru.exe (from FUDEMARU_EXE, a Unix or Windows path).
std::wstring ProgramPath();

bool StartProgram(RunningProgram& program, const std::wstring& arguments = L"");

// The visible top-level windows of the program with the given class (and title, if given).
std::vector<HWND> TopWindowsOf(const RunningProgram& program, const wchar_t* className,
                               const wchar_t* title = nullptr);

// Waits until such a window exists; null after the time is up.
HWND WaitForTopWindow(const RunningProgram& program, const wchar_t* className,
                      const wchar_t* title = nullptr, DWORD timeoutMs = 10000);

HWND WaitForFrame(const RunningProgram& program);
HWND WaitForPalette(const RunningProgram& program);

// Waits for the program to end and returns its exit code; -1 if it had to be killed.
long WaitForExit(RunningProgram& program, DWORD timeoutMs = 10000);

bool IsRunning(const RunningProgram& program);

// Kills the program if it still runs; returns true if it had to.
bool KillIfRunning(RunningProgram& program);

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);

// Gives the program time to handle what was posted to it.
void Settle(DWORD milliseconds = 200);

// Waits until the window is destroyed; false after the time is up.
bool WaitUntilGone(HWND window, DWORD timeoutMs = 10000);

// Waits for a child window of the class (and title, if given) below the parent; null after the
// time is up.
HWND WaitForChild(HWND parent, const wchar_t* className, const wchar_t* title = nullptr,
                  DWORD timeoutMs = 10000);

// Sets the text of a control in another process's dialog, as typing would.
void SetControlText(HWND dialog, int id, const std::wstring& text);
std::wstring ControlText(HWND dialog, int id);

// Clicks a button in another process by posting BM_CLICK.
void PostClick(HWND dialog, int id);

// The window's rectangle in screen coordinates, and its client area's.
RECT ScreenRectOf(HWND window);
RECT ClientScreenRectOf(HWND window);

// What a person sees on the screen in the rectangle, as 0xRRGGBB, row by row from the top.
std::vector<uint32_t> CaptureScreen(const RECT& area);

// Writes a PNG of the whole screen (ImageMagick's import); false when it did not appear.
bool SaveScreenshot(const std::wstring& windowsPath);
