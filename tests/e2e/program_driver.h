#pragma once
// Starts the real fudemaru.exe and uses it from outside, as a separate process, through what a
// person can do: the File menu from the keyboard, the dialogs, the palette's controls and
// surface, mouse messages on the canvas window. It reads back only what a person could see:
// window texts, sizes and places, message boxes, the screen, and the exit code.
// Every wait has a bound; a program that does not end in time is killed and reported.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Identifiers of the program's menu commands and controls, as its resources define them.
// Written out here rather than taken from the program's header, so that a changed identifier
// in the program shows up as a failure.
namespace ids {
const int FileNew = 40003;
const int FileLoadImage = 40021;
const int SaveBmp = 40028, SaveJpeg = 40029, SavePng = 40030, SaveGif = 40031, SaveTiff = 40032;
const int FileExit = 40004;
const int FileSave = 40033;
const int EditUndo = 40050, EditRedo = 40051, EditCopy = 40052, EditPaste = 40053;

// The palette.
const int ToolRectangle = 40016, ToolEllipse = 1002, ToolLine = 1003, ToolPen = 40014;
const int ToolFill = 1008, ToolEyedropper = 1011, ToolSpray = 1016;
const int Quit = 1005, Undo = 1009, Redo = 1019, Reset = 1012;
const int PenWidthTrackbar = 1010, PenWidthBox = 1013;
const int ToleranceTrackbar = 1014, ToleranceBox = 1015;
const int SprayTrackbar = 1017, SprayBox = 1018;
const int PreviewCheck = 1023;

// The new-paper dialog.
const int PaperWidth = 1015, PaperHeight = 1016, PaperOk = 1018, PaperCancel = 1019;

// The common file dialogs (Explorer style under Wine): the file name box and the type list.
const int FileNameBox = 0x47C;
const int FileTypeList = 0x470;
// The text of a message box.
const int MessageText = 0xFFFF;
} // namespace ids

// ---- The process ----

struct RunningProgram {
    PROCESS_INFORMATION process = {};
    bool started = false;
};

// The Windows path of fudemaru.exe (from FUDEMARU_EXE, a Unix or Windows path).
std::wstring ProgramPath();

// Starts the program; `currentFolder`, when given, is its current directory.
bool StartProgram(RunningProgram& program, const std::wstring& arguments = L"",
                  const std::wstring& currentFolder = L"");
// Starts the .exe at the Windows path, for example a copy the installer put in place.
bool StartProgramAt(RunningProgram& program, const std::wstring& path,
                    const std::wstring& arguments = L"", const std::wstring& currentFolder = L"");
bool IsRunning(const RunningProgram& program);
// Waits for the program to end and returns its exit code; -1 if it had to be killed.
long WaitForExit(RunningProgram& program, DWORD timeoutMs = 10000);
// Kills the program if it still runs; returns true if it had to.
bool KillIfRunning(RunningProgram& program);
void CloseProgramHandles(RunningProgram& program);

// ---- Windows ----

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);

// The visible top-level windows of the program with the given class (and title, if given).
std::vector<HWND> TopWindowsOf(const RunningProgram& program, const wchar_t* className,
                               const wchar_t* title = nullptr);
// Waits until such a window exists; null after the time is up or when the program ended.
HWND WaitForTopWindow(const RunningProgram& program, const wchar_t* className,
                      const wchar_t* title = nullptr, DWORD timeoutMs = 10000);
HWND WaitForFrame(const RunningProgram& program);
HWND WaitForPalette(const RunningProgram& program);

// The program's visible dialog boxes (class "#32770"): the palette, the paper dialog, the file
// dialogs, message boxes.
std::vector<HWND> DialogsOf(const RunningProgram& program);
// Waits for a dialog that is not among `known`; null after the time is up.
HWND WaitForNewDialog(const RunningProgram& program, const std::vector<HWND>& known,
                      DWORD timeoutMs = 10000);

// Gives the program time to handle what was posted to it.
void Settle(DWORD milliseconds = 200);
// Reads a value until it equals the expected one or the time is up, and returns the last read:
// for what the program shows once it has handled what was posted to it.
template <typename Read, typename Value>
Value Eventually(Read read, const Value& expected, DWORD timeoutMs = 3000) {
    Value seen = read();
    for (DWORD start = GetTickCount(); !(seen == expected) && GetTickCount() - start < timeoutMs;
         seen = read())
        Sleep(20);
    return seen;
}
// Waits until the window is no longer shown: destroyed, or hidden as an ended dialog is while
// a dialog opened inside its loop still runs. False after the time is up.
bool WaitUntilGone(HWND window, DWORD timeoutMs = 10000);
// Waits for a child window of the class (and title, if given) below the parent; null after the
// time is up.
HWND WaitForChild(HWND parent, const wchar_t* className, const wchar_t* title = nullptr,
                  DWORD timeoutMs = 10000);
std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* className);

RECT ScreenRectOf(HWND window);
RECT ClientScreenRectOf(HWND window);
SIZE SizeOf(HWND window);
// The window's place inside its parent's client area.
POINT PlaceInParent(HWND window);

// ---- Controls ----

// Sets the text of a control in another process's dialog, as pasting over it would.
void SetControlText(HWND dialog, int id, const std::wstring& text);
std::wstring ControlText(HWND dialog, int id);
// Types into an edit box character by character, as the keyboard does: all its text is
// selected first, so the typing replaces it.
void TypeIntoBox(HWND box, const std::wstring& text);
// Clicks a button by posting BM_CLICK, as a press of the mouse on it does.
void PostClick(HWND dialog, int id);
// Presses and releases a key on a window (WM_KEYDOWN, WM_KEYUP), posted.
void PostKey(HWND window, UINT virtualKey);
// What a person sees of a check box and of a trackbar's thumb.
bool IsChecked(HWND dialog, int id);
int TrackbarPosition(HWND dialog, int id);
// The entries of a combo box and the one selected.
std::vector<std::wstring> ComboEntries(HWND dialog, int id);
int ComboSelection(HWND dialog, int id);

// ---- The File menu, used from the keyboard ----

enum class FileMenuItem { New, LoadImage, SaveBmp, SaveJpeg, SavePng, SaveGif, SaveTiff, Exit };

// Opens File(&F) as Alt+F does and chooses the item with the arrow keys, access keys and
// Enter, all posted to the frame; each key waits until the menu it acts on is shown. Another
// process's menu cannot be read under Wine, so what the item does is the only sign that the
// right one was chosen. False when a menu did not open.
bool ChooseFromFileMenu(HWND frame, FileMenuItem item);
// The program's menus that are open on the screen (popup menus, class "#32768").
std::vector<HWND> OpenMenusOf(HWND frame);

// One item of a menu resource: its text, command (0 for a popup), depth (0 on the menu bar)
// and state flags (MF_GRAYED, MF_CHECKED, ...).
struct MenuEntry {
    std::wstring text;
    UINT command = 0;
    bool popup = false;
    int depth = 0;
    UINT state = 0;
};
// The menu resource of the program's .exe, read as a data file, item by item in menu order.
std::vector<MenuEntry> MenuResourceOfProgram(const wchar_t* menuName);

// ---- Message boxes ----

struct SeenMessageBox {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};
// Waits for a message box of the program with the caption; window null after the time is up.
SeenMessageBox WaitForMessageBox(const RunningProgram& program, const std::wstring& caption,
                                 DWORD timeoutMs = 10000);
// Presses the box's OK and waits for it to go.
bool DismissMessageBox(const SeenMessageBox& box);

// ---- The screen ----

// What a person sees on the screen in the rectangle, as 0xRRGGBB, row by row from the top.
std::vector<uint32_t> CaptureScreen(const RECT& area);
// The colour at one point of the screen, 0xRRGGBB.
uint32_t ScreenColourAt(POINT screen);
// Writes a PNG of the whole screen (ImageMagick's import); false when it did not appear.
bool SaveScreenshot(const std::wstring& windowsPath);

// ---- Placing the windows and using the palette's surface ----

// The palette at the bottom of the screen and the frame above it, across the screen, so the
// palette covers no document window.
void ArrangeFrameAbovePalette(HWND frame, HWND palette);
// A left press and release at a client point of the palette's painted surface. The press
// starts the system's move loop, which follows the pointer until the release, so the pointer
// is put where the press is first and nothing moves.
void PressPaletteSurfaceAt(HWND palette, int clientX, int clientY);
// The middle of the swatch cell at the row and column of the palette's grid.
POINT SwatchCentre(int row, int column);
