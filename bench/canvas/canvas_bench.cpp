// The canvas at work on pictures of several sizes, measured inside the program's own windows:
// the real frame, document and canvas windows are created in this process and driven with the
// mouse messages a person's hand makes, each followed by the repaint it asks for.
//
//   fudemaru_canvas_bench.exe timing  WIDTH HEIGHT   strokes, a drag, undo, redo, a fill, and
//                                                    the view: zoom notches, scroll steps, a pan
//   fudemaru_canvas_bench.exe history WIDTH HEIGHT   the history after 1, 100 and 1000 strokes
//
// Each line printed is "name value"; scripts/bench-canvas.sh runs both modes at every size, each
// in a fresh process, and prints the table.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/startup.h"
#include "base/app_state.h"
#include "document/document_sources.h"
#include "history/snapshot_history.h"
#include "test_files.h"

namespace {

HWND canvas = nullptr;

double Now() {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Prints the best and the median of the times: the machine is shared, so the best is what
// the program itself costs, the median what a busy machine adds to it.
void PrintTimes(const char* name, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%s_ms %.3f\n%s_median_ms %.3f\n", name, times.front(), name,
                times[times.size() / 2]);
}

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

// Reads a whole small file through Wine's Z: drive; empty when it cannot.
std::string ReadLinuxFile(const std::string& path) {
    std::string text;
    FILE* file = std::fopen(("Z:" + path).c_str(), "rb");
    if (!file)
        return text;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        text.append(buffer, got);
    std::fclose(file);
    return text;
}

// Under Wine the process is a Linux process, but /proc/self names the Wine server, which opens
// the files: find this process's own folder by its program name and its Wine prefix.
std::string OwnProcFolder() {
    static std::string folder;
    if (!folder.empty())
        return folder;
    const char* prefix = std::getenv("WINEPREFIX");
    const std::string wanted = std::string("WINEPREFIX=") + (prefix ? prefix : "");
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return folder;
    do {
        const std::string candidate = std::string("/proc/") + entry.cFileName;
        if (entry.cFileName[0] < '1' || entry.cFileName[0] > '9')
            continue;
        // Wine's start.exe, which waits for this program, names it only as an argument.
        const std::string program = ReadLinuxFile(candidate + "/cmdline").c_str();
        if (program.find("fudemaru_canvas_bench.exe") == std::string::npos)
            continue;
        const std::string environment = ReadLinuxFile(candidate + "/environ");
        if (environment.find(wanted + '\0') != std::string::npos) {
            folder = candidate;
            break;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return folder;
}

// A memory figure of this process from its Linux status, in KiB; -1 when unknown.
long long StatusKiB(const char* field) {
    const std::string status = ReadLinuxFile(OwnProcFolder() + "/status");
    const size_t at = status.find(std::string("\n") + field + ":");
    return at == std::string::npos ? -1 : std::atoll(status.c_str() + at + std::strlen(field) + 2);
}

// The bytes the undo history holds besides the reset copy: its tiles and their tables.
long long HistoryBytesHeld() {
    return (long long)HistoryBytes(appState.history);
}

LPARAM Position(int x, int y) {
    return LPARAM(uint32_t(uint16_t(int16_t(x))) | (uint32_t(uint16_t(int16_t(y))) << 16));
}

// One mouse message, then the repaint it asked for, as the message loop would do it next.
void Mouse(UINT message, int x, int y) {
    SendMessageW(canvas, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, Position(x, y));
    UpdateWindow(canvas);
}

// Press at (x, y), `moves` moves of (dx, dy) each, release at the last: milliseconds from the
// press to the end of the release's repaint.
double Stroke(ToolCode tool, int x, int y, int moves, int dx, int dy) {
    appState.activeTool = tool;
    const double start = Now();
    Mouse(WM_LBUTTONDOWN, x, y);
    for (int i = 1; i <= moves; ++i)
        Mouse(WM_MOUSEMOVE, x + i * dx, y + i * dy);
    Mouse(WM_LBUTTONUP, x + moves * dx, y + moves * dy);
    return Now() - start;
}

double Timed(void (*step)()) {
    const double start = Now();
    step();
    UpdateWindow(canvas);
    return Now() - start;
}

int OpenSheet(int width, int height) {
    appState.instance = GetModuleHandleW(nullptr);
    HWND frame = CreateFrameWindow(appState.instance);
    if (!frame)
        return 0;
    SetWindowPos(frame, nullptr, 0, 0, 1200, 980, SWP_NOZORDER);
    Pump();
    appState.canvasSize = IntSize{width, height};
    appState.imageDocumentOpen = 0;
    appState.blankDocumentOpen = 1;
    if (!OpenDocument(L""))
        return 0;
    canvas = appState.canvasWindow;
    Pump();
    UpdateWindow(canvas);
    std::printf("zoom %d\nview %dx%d\n", appState.zoomLevel, appState.viewSize.w,
                appState.viewSize.h);
    return canvas != nullptr;
}

// Places spread over the view, so that strokes do not all land on the same pixels.
int PlaceX(int i) {
    return 20 + (i * 97) % (appState.viewSize.w > 200 ? appState.viewSize.w - 160 : 40);
}
int PlaceY(int i) {
    return 20 + (i * 61) % (appState.viewSize.h > 200 ? appState.viewSize.h - 120 : 40);
}

// The slowest of a run of steps, each counted by its best of the rounds (rounds[r][step]): what
// the most costly step itself takes, whatever else the shared machine is doing; and the median
// of every step of every round.
void PrintSlowest(const char* name, const std::vector<std::vector<double>>& rounds) {
    double slowest = 0;
    std::vector<double> all;
    for (size_t step = 0; step < rounds.front().size(); ++step) {
        double best = rounds.front()[step];
        for (const std::vector<double>& round : rounds)
            best = std::min(best, round[step]);
        slowest = std::max(slowest, best);
    }
    for (const std::vector<double>& round : rounds)
        all.insert(all.end(), round.begin(), round.end());
    std::sort(all.begin(), all.end());
    std::printf("%s_ms %.3f\n%s_median_ms %.3f\n", name, slowest, name, all[all.size() / 2]);
}

// A message to one of the view's windows, then every repaint it asked for, of the document
// window and the canvas: milliseconds until the person sees its answer.
double Answered(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const double start = Now();
    SendMessageW(window, message, wParam, lParam);
    RedrawWindow(appState.documentWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return Now() - start;
}

// A point of the document window's client area, on the screen.
POINT DocumentPoint(int x, int y) {
    POINT p = {x, y};
    ClientToScreen(appState.documentWindow, &p);
    return p;
}

// Zoom notches toward a point in the lower right of the window, all the way in and back out,
// scroll steps and a middle-button pan while zoomed in, in three rounds.
void RunView() {
    const int notches = 30;
    const int rounds = 3;
    RECT client;
    GetClientRect(appState.documentWindow, &client);
    const POINT pointer = DocumentPoint(client.right * 3 / 4, client.bottom * 2 / 3);
    const LPARAM wheelAt = MAKELPARAM(pointer.x, pointer.y);
    const struct {
        UINT message;
        int request;
    } steps[] = {{WM_VSCROLL, SB_PAGEDOWN},  {WM_HSCROLL, SB_PAGERIGHT}, {WM_VSCROLL, SB_LINEDOWN},
                 {WM_HSCROLL, SB_LINERIGHT}, {WM_VSCROLL, SB_PAGEUP},    {WM_HSCROLL, SB_PAGELEFT},
                 {WM_VSCROLL, SB_BOTTOM},    {WM_HSCROLL, SB_LEFT}};
    std::vector<std::vector<double>> zoom(rounds), scroll(rounds), pan(rounds);
    int deepest = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < notches; ++i)
            zoom[round].push_back(Answered(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), wheelAt));
        deepest = appState.zoomLevel;
        for (int i = 0; i < 4; ++i)
            for (const auto& step : steps)
                scroll[round].push_back(
                    Answered(appState.documentWindow, step.message, step.request, 0));
        // The pan starts in the middle of the window and drags the picture up and left.
        POINT at = DocumentPoint(client.right / 2, client.bottom / 2);
        ScreenToClient(canvas, &at);
        SendMessageW(canvas, WM_MBUTTONDOWN, MK_MBUTTON, Position(at.x, at.y));
        for (int i = 1; i <= 20; ++i) {
            POINT to = DocumentPoint(client.right / 2 - 15 * i, client.bottom / 2 - 10 * i);
            ScreenToClient(canvas, &to);
            pan[round].push_back(Answered(canvas, WM_MOUSEMOVE, MK_MBUTTON, Position(to.x, to.y)));
        }
        SendMessageW(canvas, WM_MBUTTONUP, 0, Position(at.x, at.y));
        for (int i = 0; i < notches; ++i)
            zoom[round].push_back(
                Answered(canvas, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), wheelAt));
    }
    std::printf("deepest_zoom %d\n", deepest);
    PrintSlowest("zoom_notch", zoom);
    PrintSlowest("scroll_step", scroll);
    PrintSlowest("pan_move", pan);
}

void RunTiming() {
    const int repeats = 9;
    std::vector<double> pen, drag, undo, redo, fill;
    for (int i = 0; i < repeats; ++i)
        pen.push_back(Stroke(ToolCode::Pen, PlaceX(i), PlaceY(i), 20, 6, 3));
    for (int i = 0; i < repeats; ++i)
        drag.push_back(Stroke(ToolCode::Rectangle, PlaceX(i + 7), PlaceY(i + 7), 20, 5, 4));
    for (int i = 0; i < repeats; ++i) {
        undo.push_back(Timed(UndoStep));
        redo.push_back(Timed(RedoStep));
    }
    // The sheet is uniform inside its frame: each fill repaints all of it in the next colour.
    const RgbTriple colours[] = {{200, 40, 40}, {40, 40, 200}, {40, 160, 40}};
    ResetCanvas();
    UpdateWindow(canvas);
    for (int i = 0; i < 5; ++i) {
        appState.primaryColour = colours[i % 3];
        fill.push_back(Stroke(ToolCode::Fill, 5, 5, 0, 0, 0));
    }
    PrintTimes("pen_stroke", pen);
    PrintTimes("rectangle_drag", drag);
    PrintTimes("undo", undo);
    PrintTimes("redo", redo);
    PrintTimes("fill", fill);
    RunView();
}

void RunHistory() {
    Pump();
    const int gdiBefore = CountGdiObjects();
    const long long rssBefore = StatusKiB("VmRSS");
    std::vector<double> times;
    const int checkpoints[] = {1, 100, 1000};
    int next = 0;
    for (int stroke = 1; stroke <= 1000; ++stroke) {
        appState.primaryColour = RgbTriple{stroke & 0xFF, (stroke * 7) & 0xFF, 90};
        times.push_back(Stroke(ToolCode::Pen, PlaceX(stroke), PlaceY(stroke), 3, 5, 2));
        if (stroke == checkpoints[next]) {
            std::printf("history_bytes_%d %lld\nrss_kib_%d %lld\n", stroke, HistoryBytesHeld(),
                        stroke, StatusKiB("VmRSS"));
            std::fflush(stdout);
            ++next;
        }
    }
    Pump();
    PrintTimes("short_stroke", times);
    std::printf("gdi_objects_before %d\ngdi_objects_after %d\n", gdiBefore, CountGdiObjects());
    std::printf("rss_kib_start %lld\nhwm_kib %lld\n", rssBefore, StatusKiB("VmHWM"));
    int reach = 0;
    for (int pos = appState.historyPos; reach < 5000; ++reach) {
        UndoStep();
        if (appState.historyPos == pos)
            break;
        pos = appState.historyPos;
    }
    std::printf("undo_reach %d\n", reach);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s timing|history WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    const long long startKiB = StatusKiB("VmRSS");
    if (!OpenSheet(width, height)) {
        std::fprintf(stderr, "could not open a %d x %d sheet\n", width, height);
        return 1;
    }
    std::printf("rss_kib_empty %lld\nrss_kib_open %lld\n", startKiB, StatusKiB("VmRSS"));
    if (std::strcmp(argv[1], "timing") == 0)
        RunTiming();
    else
        RunHistory();
    std::fflush(stdout);
    // Ends without tearing the windows down: only the numbers matter.
    ExitProcess(0);
}
