// The installer, as a person uses it, in a Wine prefix of its own: installed silently (/S)
// per user or for all users (/AllUsers), the installed program started from where the
// Start-menu shortcut points and ended with the palette's 終了, then uninstalled without a trace.
#include <gtest/gtest.h>

#include <windows.h>
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "program_driver.h"
#include "test_files.h"

namespace {

struct InstallMode {
    const char* name;
    const wchar_t* switches;
    HKEY registryRoot;
    const KNOWNFOLDERID* programsRoot; // where the program's folder goes, and its path there
    const wchar_t* programFolder;
    const KNOWNFOLDERID* startMenu; // where the shortcut goes
};

const InstallMode CurrentUser = {"CurrentUser",           L"/S",
                                 HKEY_CURRENT_USER,       &FOLDERID_LocalAppData,
                                 L"\\Programs\\Fudemaru", &FOLDERID_Programs};
const InstallMode AllUsers = {"AllUsers",         L"/S /AllUsers",
                              HKEY_LOCAL_MACHINE, &FOLDERID_ProgramFiles,
                              L"\\Fudemaru",      &FOLDERID_CommonPrograms};

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::wstring result = SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) ? path : L"";
    CoTaskMemFree(path);
    return result;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = towlower(c);
    return text;
}

std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value);
    return RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) ==
                   ERROR_SUCCESS
               ? value
               : L"";
}

// The shortcut's target and icon file, both lower case; empty when there is none.
std::wstring ShortcutTarget(const std::wstring& path, std::wstring* icon) {
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t target[MAX_PATH] = {}, iconFile[MAX_PATH] = {};
    int iconIndex = -1;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        link->GetPath(target, MAX_PATH, nullptr, 0);
        link->GetIconLocation(iconFile, MAX_PATH, &iconIndex);
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    *icon = Lower(iconFile) + L"," + std::to_wstring(iconIndex);
    return Lower(target);
}

// Runs "path" arguments and returns its exit code; -1 after the time is up.
long RunCommand(const std::wstring& commandLine, DWORD timeoutMs) {
    size_t close = commandLine.find(L'"', 1);
    RunningProgram program;
    if (commandLine.empty() || commandLine[0] != L'"' || close == std::wstring::npos ||
        !StartProgramAt(program, commandLine.substr(1, close - 1), commandLine.substr(close + 1)))
        return -1;
    long code = WaitForExit(program, timeoutMs);
    CloseProgramHandles(program);
    return code;
}

class InstallerTest : public testing::TestWithParam<InstallMode> {
  protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};

TEST_P(InstallerTest, InstallsStartsEndsWithQuitAndUninstallsWithoutATrace) {
    const InstallMode& mode = GetParam();
    wchar_t variable[MAX_PATH] = {};
    GetEnvironmentVariableW(L"FUDEMARU_INSTALLER", variable, MAX_PATH);
    const std::wstring installer = variable[0] == L'/' ? WindowsPathOf(variable) : variable;
    ASSERT_TRUE(FileExists(installer)) << "build the packages (scripts/package.sh)";
    const std::wstring entry = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fudemaru";
    const std::wstring shortcutPath = KnownFolder(*mode.startMenu) + L"\\フデマル.lnk";
    ASSERT_EQ(RunCommand(L"\"" + installer + L"\" " + mode.switches, 120000), 0);

    // The entry in the list of installed programs says where the program went.
    const std::wstring folder = RegistryText(mode.registryRoot, entry, L"InstallLocation");
    ASSERT_EQ(Lower(folder), Lower(KnownFolder(*mode.programsRoot) + mode.programFolder));
    const std::wstring program = Lower(folder + L"\\fudemaru.exe");
    EXPECT_EQ(RegistryText(mode.registryRoot, entry, L"DisplayName"), L"フデマル");
    for (const wchar_t* file : {L"fudemaru.exe", L"LICENSE.txt", L"README.txt", L"Uninstall.exe"})
        EXPECT_TRUE(FileExists(folder + L"\\" + file))
            << testing::PrintToString(std::wstring(file));

    // One Start-menu entry with the program's own icon, from which the program starts and
    // ends with 終了.
    std::wstring icon;
    ASSERT_EQ(ShortcutTarget(shortcutPath, &icon), program);
    EXPECT_EQ(icon, program + L",0");
    RunningProgram running;
    ASSERT_TRUE(StartProgramAt(running, program));
    HWND palette = WaitForPalette(running);
    ASSERT_NE(palette, nullptr);
    PostClick(palette, ids::Quit);
    EXPECT_EQ(WaitForExit(running), 0);
    KillIfRunning(running);
    CloseProgramHandles(running);

    // The uninstaller runs from a copy of itself and returns before it has finished.
    const std::wstring uninstall = RegistryText(mode.registryRoot, entry, L"QuietUninstallString");
    EXPECT_EQ(RunCommand(uninstall, 60000), 0);
    EXPECT_FALSE(Eventually([&] { return FileExists(folder); }, false, 60000))
        << "the program's folder is still there";
    EXPECT_FALSE(FileExists(shortcutPath)) << "the Start-menu entry is still there";
    EXPECT_EQ(RegistryText(mode.registryRoot, entry, L"DisplayName"), L"") << "its entry stays";
}

INSTANTIATE_TEST_SUITE_P(Modes, InstallerTest, testing::Values(CurrentUser, AllUsers),
                         [](const testing::TestParamInfo<InstallMode>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
