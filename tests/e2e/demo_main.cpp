// A short tour of フデマル, run by scripts/run.sh on a machine without a display: it starts the
// real program on the virtual display and uses it as a person would. A new sheet, every tool
// once, a zoom, an undo and a redo, a save as PNG, a screenshot of the program at work, and
// 終了. Prints where the picture and the screenshot are; exits 0 when every step worked.
//
// Usage: fudemaru_demo.exe <output folder as a Unix path>   (FUDEMARU_EXE names the program)

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "program_driver.h"
#include "test_files.h"

namespace {

RunningProgram program;
HWND frame = nullptr;
HWND palette = nullptr;
HWND canvas = nullptr;

int Fail(const char* step) {
    std::printf("demo: %s failed\n", step);
    KillIfRunning(program);
    return 1;
}

void Button(int id) {
    PostClick(palette, id);
    Settle(100);
}

void PickSwatch(int row, int column) {
    POINT centre = SwatchCentre(row, column);
    PressPaletteSurfaceAt(palette, centre.x, centre.y);
}

void SetPenWidth(int width) {
    SetControlText(palette, ids::PenWidthBox, std::to_wstring(width));
    Settle(100);
}

// A drag on the canvas: press at the first point, move through the others, release at the last.
void Stroke(const std::vector<POINT>& points, DWORD pauseMs = 10) {
    PostMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(points[0].x, points[0].y));
    for (size_t i = 1; i < points.size(); ++i) {
        PostMessageW(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(points[i].x, points[i].y));
        Settle(pauseMs);
    }
    PostMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(points.back().x, points.back().y));
    Settle(200);
}

bool OpenSheet(int width, int height) {
    std::vector<HWND> before = DialogsOf(program);
    if (!ChooseFromFileMenu(frame, FileMenuItem::New))
        return false;
    HWND paper = WaitForNewDialog(program, before, 5000);
    if (!paper)
        return false;
    SetControlText(paper, ids::PaperWidth, std::to_wstring(width));
    SetControlText(paper, ids::PaperHeight, std::to_wstring(height));
    Settle(300);
    PostClick(paper, ids::PaperOk);
    if (!WaitUntilGone(paper))
        return false;
    HWND client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    HWND document = WaitForChild(client, L"DocumentClassName", L"イラスト用紙");
    canvas = document ? WaitForChild(document, L"IllustClassName", L"用紙") : nullptr;
    Settle(300);
    return canvas != nullptr;
}

// A sky, a green hill, a sun, a tree and a bird.
void DrawLandscape() {
    // The fill paints the sheet's white inside its black frame.
    Button(ids::ToolFill);
    PickSwatch(3, 4); // (150, 255, 255)
    Stroke({{320, 100}});

    Button(ids::ToolRectangle);
    PickSwatch(0, 19); // (0, 150, 0)
    Stroke({{1, 290}, {300, 330}, {639, 379}});

    Button(ids::ToolEllipse);
    PickSwatch(1, 28); // (255, 150, 0)
    Stroke({{470, 40}, {520, 90}, {560, 130}});

    Button(ids::ToolLine);
    PickSwatch(0, 11); // (150, 0, 0)
    SetPenWidth(8);
    Stroke({{160, 290}, {160, 240}, {160, 190}});

    Button(ids::ToolSpray);
    PickSwatch(0, 17); // (0, 210, 0)
    SetPenWidth(30);
    Stroke({{160, 180}, {150, 170}, {170, 175}, {160, 160}, {140, 185}, {180, 185}}, 60);

    Button(ids::ToolPen);
    PickSwatch(1, 0); // (0, 0, 255)
    SetPenWidth(3);
    Stroke({{300, 80}, {315, 70}, {330, 80}, {345, 70}, {360, 80}});

    // The eyedropper takes the sun's orange; the palette's disc shows it.
    Button(ids::ToolEyedropper);
    Stroke({{515, 85}});
}

bool MenuShown() {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50))
        if (!OpenMenusOf(frame).empty()) {
            Settle(300);
            return true;
        }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: fudemaru_demo.exe <output folder (Unix path)>\n");
        return 2;
    }
    std::string outUnix = argv[1];
    std::wstring out = WindowsPathOf(std::wstring(outUnix.begin(), outUnix.end()));
    std::wstring picture = out + L"\\fudemaru-demo.png";
    std::wstring screenshot = out + L"\\fudemaru-demo-screenshot.png";
    CreateDirectoryW(out.c_str(), nullptr);
    DeleteFileW(picture.c_str());
    DeleteFileW(screenshot.c_str());

    if (!StartProgram(program))
        return Fail("starting the program");
    frame = WaitForFrame(program);
    palette = WaitForPalette(program);
    if (!frame || !palette)
        return Fail("waiting for the frame and the palette");
    ArrangeFrameAbovePalette(frame, palette);
    Settle(300);

    if (!OpenSheet(640, 380))
        return Fail("File > 新規作成");
    DrawLandscape();

    // One more stroke in the picked orange, taken back and brought again.
    Button(ids::ToolPen);
    Stroke({{380, 95}, {395, 85}, {410, 95}});
    Button(ids::Undo);
    Button(ids::Redo);

    // One notch toward the user: the view shrinks to 0.9 and stays centred.
    SendMessageTimeoutW(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-WHEEL_DELTA))), 0,
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    Settle(300);

    std::vector<HWND> before = DialogsOf(program);
    if (!ChooseFromFileMenu(frame, FileMenuItem::SavePng))
        return Fail("File > 保存 > pngで保存");
    HWND saveDialog = WaitForNewDialog(program, before, 5000);
    if (!saveDialog)
        return Fail("waiting for the save dialog");
    WaitForChild(saveDialog, L"ComboBoxEx32", nullptr, 2000);
    Settle(300);
    SetControlText(saveDialog, ids::FileNameBox, picture);
    PostClick(saveDialog, IDOK);
    if (!WaitUntilGone(saveDialog))
        return Fail("closing the save dialog");
    for (DWORD start = GetTickCount(); !FileExists(picture) && GetTickCount() - start < 10000;)
        Sleep(50);
    DecodedImage saved;
    if (!DecodeIndependently(picture, &saved) || saved.width != 640 || saved.height != 380)
        return Fail("saving the picture as PNG");

    Settle(500);
    if (!SaveScreenshot(screenshot))
        return Fail("taking the screenshot");
    // The two menus, each open in a screenshot of its own: File(&F) as Alt+F opens it, then
    // Edit(&E) one to the right.
    PostMessageW(frame, WM_SYSCOMMAND, SC_KEYMENU, L'f');
    if (!MenuShown() || !SaveScreenshot(out + L"\\fudemaru-demo-file-menu.png"))
        return Fail("the File menu");
    PostKey(frame, VK_RIGHT);
    Settle(300);
    if (!MenuShown() || !SaveScreenshot(out + L"\\fudemaru-demo-edit-menu.png"))
        return Fail("the Edit menu");
    PostKey(frame, VK_ESCAPE);
    PostKey(frame, VK_ESCAPE);
    Settle(300);

    Button(ids::Quit);
    long code = WaitForExit(program);
    CloseProgramHandles(program);
    std::printf("picture: %s/fudemaru-demo.png\n", outUnix.c_str());
    std::printf("screenshot: %s/fudemaru-demo-screenshot.png\n", outUnix.c_str());
    std::printf("menus: %s/fudemaru-demo-file-menu.png, fudemaru-demo-edit-menu.png\n",
                outUnix.c_str());
    std::printf("exit code: %ld\n", code);
    return code == 0 ? 0 : 1;
}
