#pragma once
// The fixture every end-to-end scenario uses: a fresh fudemaru.exe per scenario, its frame and
// palette found and placed where both can be seen, and the steps a person takes with it (the
// File menu, the paper, open and save dialogs, the document window, the wheel, the palette).
// At the end the program is asked to quit with the palette's 終了; one that does not end in
// time is killed and the scenario fails.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "program_driver.h"

// What happened in one save through the File menu and the save dialog.
struct SaveOutcome {
    bool dialogShown = false;
    std::wstring dialogTitle;
    HWND dialogOwner = nullptr;
    std::wstring offeredName;            // the file name box as the dialog opened
    std::vector<std::wstring> fileTypes; // the file type list
    int selectedFileType = -1;
    bool overwriteAsked = false;
    std::wstring overwriteText;
    bool dialogClosed = false;
};

// How the person answers the save dialog.
enum class SaveAnswer { Save, Cancel, OverwriteYes, OverwriteNoThenCancel };

class ProgramTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program and waits for its frame and palette, then places the frame across
    // the top of the screen and the palette below it. Also used to start it again.
    void Launch(const std::wstring& arguments = L"", const std::wstring& currentFolder = L"");
    // Quits with the palette's 終了 and expects exit code 0.
    void QuitWithPaletteButton();

    // ---- Documents ----
    // File > 新規作成(&N); the paper dialog, or null when none appears.
    HWND OpenPaperDialog(DWORD timeoutMs = 5000);
    // A new sheet of the typed size through the paper dialog; true once it is shown.
    bool OpenSheet(int width, int height);
    // File > 画像ロード; the open dialog, or null when none appears.
    HWND OpenLoadDialog(DWORD timeoutMs = 5000);
    // Types the path into a file dialog's name box and presses OK; true once the dialog went.
    bool ChooseFileInDialog(HWND dialog, const std::wstring& path);
    // File > 画像ロード of the file; true once its document is shown.
    bool OpenPicture(const std::wstring& path);
    // Waits for the document window and its canvas, and keeps both.
    bool WaitForDocument(DWORD timeoutMs = 10000);
    // The document windows in the frame right now.
    std::vector<HWND> DocumentWindows() const;
    // Closes the document with its close box; true once it is gone.
    bool CloseDocument();
    SIZE CanvasViewSize() const;
    // What the canvas window shows on the screen, row by row from the top, captured again
    // until `shows` accepts it or the time is up (the program paints when it gets to it).
    std::vector<uint32_t>
    CanvasOnScreen(const std::function<bool(const std::vector<uint32_t>&)>& shows = nullptr,
                   DWORD timeoutMs = 3000) const;
    // Turns the wheel over the canvas window; delta in WHEEL_DELTA units (120 a notch).
    void Wheel(int delta);
    // True when no new dialog or message box appears within the time.
    bool NoDialogAppearsWithin(DWORD milliseconds);

    // ---- Saving ----
    // File > 保存 > the format, then the save dialog: types the name and presses 保存, or
    // cancels; answers the overwrite question as told. Returns once the dialog has closed.
    SaveOutcome SaveThroughMenu(FileMenuItem format, const std::wstring& typedName,
                                SaveAnswer answer = SaveAnswer::Save);
    // Waits for a file to appear (a save puts it in place whole).
    static bool WaitForFile(const std::wstring& path, DWORD timeoutMs = 10000);

    // ---- The palette ----
    POINT PaletteToScreen(int clientX, int clientY) const;
    // A left press and release on the painted surface at a client point, without moving.
    void PressPaletteSurface(int clientX, int clientY);
    // A press in the middle of a swatch cell.
    void PickSwatch(int row, int column);
    // The colours of the primary and secondary discs on the screen, 0xRRGGBB.
    uint32_t PrimaryDiscColour() const;
    uint32_t SecondaryDiscColour() const;
    // The same, and a control's text and a trackbar's position, read until they show what is
    // expected or the time is up: for what the palette shows after posted input.
    uint32_t PrimaryDisc(uint32_t expected) const;
    uint32_t SecondaryDisc(uint32_t expected) const;
    std::wstring PaletteText(int id, const std::wstring& expected) const;
    int PalettePosition(int trackbar, int expected) const;

    // ---- The canvas window, with mouse messages (positions in its client pixels) ----
    void PressOnCanvas(int x, int y);
    void MoveOnCanvas(int x, int y, bool buttonDown);
    void ReleaseOnCanvas(int x, int y);
    // A drag: a press at the first point, a move to each of the others, a release at the last.
    void Stroke(const std::vector<POINT>& points);

    // Writes a PNG of the screen to FUDEMARU_SCREENSHOT_DIR (a Unix folder) when it is set.
    void ScreenshotIfAsked(const std::wstring& name);

    RunningProgram program;
    HWND frame = nullptr, palette = nullptr, client = nullptr;
    HWND document = nullptr, canvas = nullptr;
    RECT paletteAtStart = {}; // where the palette stood before it was moved aside
};
