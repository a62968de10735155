#include "program_test.h"

namespace {

HWND OwnedDialog(const RunningProgram& program, HWND owner) {
    for (HWND dialog : DialogsOf(program))
        if (GetWindow(dialog, GW_OWNER) == owner)
            return dialog;
    return nullptr;
}

} // namespace

void ProgramTest::SetUp() {
    Launch();
}

void ProgramTest::TearDown() {
    if (IsRunning(program)) {
        PostMessageW(GetDlgItem(palette, ids::Quit), BM_CLICK, 0, 0);
        // The scenario is over: a changed picture it leaves is let go (いいえ).
        for (DWORD start = GetTickCount(); IsRunning(program) && GetTickCount() - start < 3000;
             Sleep(20))
            for (HWND question : TopWindowsOf(program, L"#32770", L"フデマル"))
                PostClick(question, IDNO);
        long code = WaitForExit(program);
        if (code == -1)
            ADD_FAILURE() << "the program did not end after 終了 and was killed";
        else
            EXPECT_EQ(code, 0);
    }
    CloseProgramHandles(program);
}

void ProgramTest::Launch(const std::wstring& arguments, const std::wstring& currentFolder) {
    document = canvas = nullptr;
    ASSERT_TRUE(StartProgram(program, arguments, currentFolder))
        << "could not start " << testing::PrintToString(ProgramPath());
    frame = WaitForFrame(program);
    ASSERT_NE(frame, nullptr) << "no frame window";
    palette = WaitForPalette(program);
    ASSERT_NE(palette, nullptr) << "no palette";
    client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    ASSERT_NE(client, nullptr) << "no MDI client";
    paletteAtStart = ScreenRectOf(palette);

    ArrangeFrameAbovePalette(frame, palette);
    // Moved windows repaint when the program gets to it: a bare part of the palette's dark red
    // surface tells when it has.
    Eventually([&] { return ScreenColourAt(PaletteToScreen(300, 105)); }, 0x330000u);
    Settle(100);
}

void ProgramTest::QuitWithPaletteButton() {
    PostClick(palette, ids::Quit);
    EXPECT_EQ(WaitForExit(program), 0);
    CloseProgramHandles(program);
}

// ---- Documents ----

HWND ProgramTest::OpenPaperDialog(DWORD timeoutMs) {
    if (!ChooseFromFileMenu(frame, FileMenuItem::New))
        return nullptr;
    return WaitForTopWindow(program, L"#32770", L"新規作成", timeoutMs);
}

bool ProgramTest::OpenSheet(int width, int height) {
    HWND paper = OpenPaperDialog();
    if (!paper)
        return false;
    SetControlText(paper, ids::PaperWidth, std::to_wstring(width));
    SetControlText(paper, ids::PaperHeight, std::to_wstring(height));
    PostClick(paper, ids::PaperOk);
    return WaitUntilGone(paper) && WaitForDocument();
}

HWND ProgramTest::OpenLoadDialog(DWORD timeoutMs) {
    std::vector<HWND> before = DialogsOf(program);
    if (!ChooseFromFileMenu(frame, FileMenuItem::LoadImage))
        return nullptr;
    return WaitForNewDialog(program, before, timeoutMs);
}

bool ProgramTest::ChooseFileInDialog(HWND dialog, const std::wstring& path) {
    if (!dialog)
        return false;
    SetControlText(dialog, ids::FileNameBox, path);
    PostClick(dialog, IDOK);
    return WaitUntilGone(dialog);
}

bool ProgramTest::OpenPicture(const std::wstring& path) {
    return ChooseFileInDialog(OpenLoadDialog(), path) && WaitForDocument();
}

bool ProgramTest::WaitForDocument(DWORD timeoutMs) {
    document = WaitForChild(client, L"DocumentClassName", L"イラスト用紙", timeoutMs);
    canvas = document ? WaitForChild(document, L"IllustClassName", L"用紙", timeoutMs) : nullptr;
    Settle(300);
    return canvas != nullptr;
}

std::vector<HWND> ProgramTest::DocumentWindows() const {
    return ChildrenOf(client, L"DocumentClassName");
}

bool ProgramTest::CloseDocument() {
    if (!document)
        return false;
    PostMessageW(document, WM_SYSCOMMAND, SC_CLOSE, 0);
    bool gone = WaitUntilGone(document);
    document = canvas = nullptr;
    Settle(100);
    return gone;
}

SIZE ProgramTest::CanvasViewSize() const {
    return SizeOf(canvas);
}

std::vector<uint32_t>
ProgramTest::CanvasOnScreen(const std::function<bool(const std::vector<uint32_t>&)>& shows,
                            DWORD timeoutMs) const {
    std::vector<uint32_t> seen = CaptureScreen(ScreenRectOf(canvas));
    for (DWORD start = GetTickCount(); shows && !shows(seen) && GetTickCount() - start < timeoutMs;
         seen = CaptureScreen(ScreenRectOf(canvas)))
        Sleep(50);
    return seen;
}

void ProgramTest::Wheel(int delta) {
    RECT shown = ScreenRectOf(canvas);
    LPARAM where = MAKELPARAM((shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2);
    // Sent rather than posted, so it has been handled when this returns; it opens nothing.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(delta))), where,
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    Settle(100);
}

bool ProgramTest::NoDialogAppearsWithin(DWORD milliseconds) {
    return WaitForNewDialog(program, DialogsOf(program), milliseconds) == nullptr;
}

// ---- Saving ----

SaveOutcome ProgramTest::SaveThroughMenu(FileMenuItem format, const std::wstring& typedName,
                                         SaveAnswer answer) {
    SaveOutcome outcome;
    std::vector<HWND> before = DialogsOf(program);
    if (!ChooseFromFileMenu(frame, format))
        return outcome;
    HWND dialog = WaitForNewDialog(program, before, 5000);
    if (!dialog)
        return outcome;
    // The dialog fills itself in after it appears.
    WaitForChild(dialog, L"ComboBoxEx32", nullptr, 2000);
    Settle(200);
    outcome.dialogShown = true;
    outcome.dialogTitle = TextOf(dialog);
    outcome.dialogOwner = GetWindow(dialog, GW_OWNER);
    outcome.offeredName = ControlText(dialog, ids::FileNameBox);
    outcome.fileTypes = ComboEntries(dialog, ids::FileTypeList);
    outcome.selectedFileType = ComboSelection(dialog, ids::FileTypeList);

    if (answer == SaveAnswer::Cancel) {
        PostClick(dialog, IDCANCEL);
        outcome.dialogClosed = WaitUntilGone(dialog);
        return outcome;
    }
    SetControlText(dialog, ids::FileNameBox, typedName);
    PostClick(dialog, IDOK);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20)) {
        if (!IsWindow(dialog)) {
            outcome.dialogClosed = true;
            return outcome;
        }
        HWND question = OwnedDialog(program, dialog);
        if (!question)
            continue;
        outcome.overwriteAsked = true;
        outcome.overwriteText = ControlText(question, ids::MessageText);
        bool yes = answer != SaveAnswer::OverwriteNoThenCancel;
        PostClick(question, yes ? IDYES : IDNO);
        WaitUntilGone(question);
        if (!yes) {
            // The save dialog stays after a no; the person then gives up.
            Settle(100);
            PostClick(dialog, IDCANCEL);
        }
    }
    outcome.dialogClosed = WaitUntilGone(dialog, 100);
    return outcome;
}

bool ProgramTest::WaitForFile(const std::wstring& path, DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
    return false;
}

// ---- The palette ----

POINT ProgramTest::PaletteToScreen(int clientX, int clientY) const {
    POINT p = {clientX, clientY};
    ClientToScreen(palette, &p);
    return p;
}

void ProgramTest::PressPaletteSurface(int clientX, int clientY) {
    PressPaletteSurfaceAt(palette, clientX, clientY);
}

void ProgramTest::PickSwatch(int row, int column) {
    POINT centre = SwatchCentre(row, column);
    PressPaletteSurface(centre.x, centre.y);
}

uint32_t ProgramTest::PrimaryDiscColour() const {
    return ScreenColourAt(PaletteToScreen(50, 150));
}

uint32_t ProgramTest::SecondaryDiscColour() const {
    return ScreenColourAt(PaletteToScreen(110, 150));
}

uint32_t ProgramTest::PrimaryDisc(uint32_t expected) const {
    return Eventually([&] { return PrimaryDiscColour(); }, expected);
}

uint32_t ProgramTest::SecondaryDisc(uint32_t expected) const {
    return Eventually([&] { return SecondaryDiscColour(); }, expected);
}

std::wstring ProgramTest::PaletteText(int id, const std::wstring& expected) const {
    return Eventually([&] { return ControlText(palette, id); }, expected);
}

int ProgramTest::PalettePosition(int trackbar, int expected) const {
    return Eventually([&] { return TrackbarPosition(palette, trackbar); }, expected);
}

// ---- The canvas window ----

void ProgramTest::PressOnCanvas(int x, int y) {
    PostMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void ProgramTest::MoveOnCanvas(int x, int y, bool buttonDown) {
    PostMessageW(canvas, WM_MOUSEMOVE, buttonDown ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

void ProgramTest::ReleaseOnCanvas(int x, int y) {
    PostMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void ProgramTest::Stroke(const std::vector<POINT>& points) {
    if (points.empty())
        return;
    PressOnCanvas(points.front().x, points.front().y);
    for (size_t i = 1; i < points.size(); ++i)
        MoveOnCanvas(points[i].x, points[i].y, true);
    ReleaseOnCanvas(points.back().x, points.back().y);
    Settle(100);
}

void ProgramTest::ScreenshotIfAsked(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"FUDEMARU_SCREENSHOT_DIR", folder, MAX_PATH))
        return;
    std::wstring shot = std::wstring(L"Z:") + folder + L"/" + name;
    for (wchar_t& c : shot)
        if (c == L'/')
            c = L'\\';
    EXPECT_TRUE(SaveScreenshot(shot));
}
