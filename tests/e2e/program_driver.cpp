#include "program_driver.h"

std::wstring ProgramPath() {
    wchar_t value[MAX_PATH * 2] = {};
    GetEnvironmentVariableW(L"FUDEMARU_EXE", value, MAX_PATH * 2);
    std::wstring path = value;
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& c : path)
            if (c == L'/')
                c = L'\\';
        path = L"Z:" + path;
    }
    return path;
}

bool StartProgram(RunningProgram& program, const std::wstring& arguments) {
    std::wstring path = ProgramPath();
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    program.started = CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &program.process) != 0;
    if (program.started)
        WaitForInputIdle(program.process.hProcess, 5000);
    return program.started;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    if (ClassOf(window) != search->className)
        return TRUE;
    if (search->title && TextOf(window) != search->title)
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> TopWindowsOf(const RunningProgram& program, const wchar_t* className,
                               const wchar_t* title) {
    WindowSearch search{program.process.dwProcessId, className, title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(const RunningProgram& program, const wchar_t* className, const wchar_t* title,
                      DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        std::vector<HWND> windows = TopWindowsOf(program, className, title);
        if (!windows.empty())
            return windows.front();
        if (!IsRunning(program))
            return nullptr;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

HWND WaitForFrame(const RunningProgram& program) {
    return WaitForTopWindow(program, L"FrameClassName", L"フデマル");
}

HWND WaitForPalette(const RunningProgram& program) {
    return WaitForTopWindow(program, L"#32770", L"パレット");
}

bool IsRunning(const RunningProgram& program) {
    return program.started && WaitForSingleObject(program.process.hProcess, 0) == WAIT_TIMEOUT;
}

long WaitForExit(RunningProgram& program, DWORD timeoutMs) {
    if (!program.started)
        return -1;
    if (WaitForSingleObject(program.process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        KillIfRunning(program);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(program.process.hProcess, &code);
    return static_cast<long>(code);
}

bool KillIfRunning(RunningProgram& program) {
    if (!IsRunning(program))
        return false;
    TerminateProcess(program.process.hProcess, 99);
    WaitForSingleObject(program.process.hProcess, 5000);
    return true;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &ignored);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

void Settle(DWORD milliseconds) {
    Sleep(milliseconds);
}
