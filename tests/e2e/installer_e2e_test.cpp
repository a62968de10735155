// The installer, as a person uses it, in a Wine prefix of its own: installed silently (/S)
// per user or for all users (/AllUsers), the installed program started from where the
// Start-menu shortcut points and ended with the palette's 終了, then uninstalled. What it
// leaves on the system is checked at each step: the program's folder, the shortcut, the entry
// in the list of installed programs, and no other registry key.
#include <gtest/gtest.h>

#include <windows.h>
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "program_driver.h"
#include "test_files.h"

namespace {

const wchar_t* const UninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct InstallMode {
    const char* name;
    const wchar_t* switches;
    HKEY registryRoot;
    const KNOWNFOLDERID* programsRoot; // where the program's folder goes
    const KNOWNFOLDERID* startMenu;    // where the shortcut goes
};

const InstallMode CurrentUser = {"CurrentUser", L"/S", HKEY_CURRENT_USER, &FOLDERID_LocalAppData,
                                 &FOLDERID_Programs};
const InstallMode AllUsers = {"AllUsers", L"/S /AllUsers", HKEY_LOCAL_MACHINE,
                              &FOLDERID_ProgramFiles, &FOLDERID_CommonPrograms};

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = path;
    CoTaskMemFree(path);
    return result;
}

std::wstring InstallerPath() {
    wchar_t value[MAX_PATH] = {};
    GetEnvironmentVariableW(L"FUDEMARU_INSTALLER", value, MAX_PATH);
    return value[0] == L'/' ? WindowsPathOf(value) : std::wstring(value);
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = towlower(c);
    return text;
}

std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value);
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return L"";
    return value;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

std::set<std::wstring> SubkeysOf(HKEY root, const wchar_t* key) {
    std::set<std::wstring> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.insert(Lower(name));
    }
    RegCloseKey(opened);
    return names;
}

// The registry keys an installer would write to: what lies directly under both Software keys
// and both lists of installed programs.
std::vector<std::set<std::wstring>> RegistryOutline() {
    return {SubkeysOf(HKEY_CURRENT_USER, L"Software"), SubkeysOf(HKEY_LOCAL_MACHINE, L"Software"),
            SubkeysOf(HKEY_CURRENT_USER, UninstallKey),
            SubkeysOf(HKEY_LOCAL_MACHINE, UninstallKey)};
}

struct Shortcut {
    bool found = false;
    std::wstring target, icon;
    int iconIndex = -1;
};

Shortcut ReadShortcut(const std::wstring& path) {
    Shortcut shortcut;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return shortcut;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            wchar_t text[MAX_PATH] = {};
            shortcut.found = SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0));
            shortcut.target = text;
            link->GetIconLocation(text, MAX_PATH, &shortcut.iconIndex);
            shortcut.icon = text;
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(Lower(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// Runs a command line ("path" arguments) and returns its exit code; -1 after the time is up.
long RunCommand(const std::wstring& commandLine, DWORD timeoutMs) {
    size_t close = commandLine.find(L'"', 1);
    if (commandLine.empty() || commandLine[0] != L'"' || close == std::wstring::npos)
        return -1;
    RunningProgram program;
    std::wstring arguments = commandLine.substr(close + 1);
    arguments.erase(0, arguments.find_first_not_of(L' '));
    if (!StartProgramAt(program, commandLine.substr(1, close - 1), arguments))
        return -1;
    long code = WaitForExit(program, timeoutMs);
    CloseProgramHandles(program);
    return code;
}

template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); !condition(); Sleep(100))
        if (GetTickCount() - start > timeoutMs)
            return false;
    return true;
}

class InstallerTest : public testing::TestWithParam<InstallMode> {
  protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};

TEST_P(InstallerTest, InstallsStartsEndsWithQuitAndUninstallsWithoutATrace) {
    const InstallMode& mode = GetParam();
    const std::wstring installer = InstallerPath();
    ASSERT_TRUE(FileExists(installer)) << "build the packages first (scripts/package.sh)";
    const std::wstring entry = std::wstring(UninstallKey) + L"\\Fudemaru";
    const std::wstring shortcutPath = KnownFolder(*mode.startMenu) + L"\\フデマル.lnk";
    const auto registryBefore = RegistryOutline();
    ASSERT_FALSE(KeyExists(mode.registryRoot, entry));

    ASSERT_EQ(RunCommand(L"\"" + installer + L"\" " + mode.switches, 120000), 0)
        << "silent install";

    // The entry in the list of installed programs says where the program went.
    const std::wstring folder = RegistryText(mode.registryRoot, entry, L"InstallLocation");
    const std::wstring expectedFolder = KnownFolder(*mode.programsRoot);
    ASSERT_FALSE(folder.empty()) << "no uninstaller entry";
    EXPECT_EQ(Lower(folder.substr(0, expectedFolder.size())), Lower(expectedFolder)) << folder;
    EXPECT_EQ(folder.substr(folder.size() - 9), L"\\Fudemaru");
    const std::wstring program = folder + L"\\fudemaru.exe";
    EXPECT_EQ(RegistryText(mode.registryRoot, entry, L"DisplayName"), L"フデマル");
    EXPECT_EQ(RegistryText(mode.registryRoot, entry, L"DisplayIcon"), program + L",0");
    std::wstring version;
    for (const char* c = FUDEMARU_PROJECT_VERSION; *c; ++c)
        version += wchar_t(*c);
    EXPECT_EQ(RegistryText(mode.registryRoot, entry, L"DisplayVersion"), version);
    const std::wstring uninstall = RegistryText(mode.registryRoot, entry, L"QuietUninstallString");
    EXPECT_EQ(uninstall, L"\"" + folder + L"\\Uninstall.exe\" /" +
                             std::wstring(mode.name, mode.name + strlen(mode.name)) + L" /S");

    const std::vector<std::wstring> files = {L"fudemaru.exe", L"license.txt", L"readme.txt",
                                             L"uninstall.exe"};
    EXPECT_EQ(FilesIn(folder), files);

    // One Start-menu entry, the program's own icon.
    Shortcut shortcut = ReadShortcut(shortcutPath);
    ASSERT_TRUE(shortcut.found) << "no shortcut at " << testing::PrintToString(shortcutPath);
    EXPECT_EQ(Lower(shortcut.target), Lower(program));
    EXPECT_EQ(Lower(shortcut.icon), Lower(program));
    EXPECT_EQ(shortcut.iconIndex, 0);

    // Nothing else in the registry: only the uninstaller's entry is new.
    auto registryInstalled = registryBefore;
    registryInstalled[mode.registryRoot == HKEY_CURRENT_USER ? 2 : 3].insert(L"fudemaru");
    EXPECT_EQ(RegistryOutline(), registryInstalled);

    // The installed program starts from where the shortcut points and ends with 終了.
    RunningProgram running;
    ASSERT_TRUE(StartProgramAt(running, shortcut.target));
    HWND palette = WaitForPalette(running);
    EXPECT_NE(WaitForFrame(running), nullptr);
    ASSERT_NE(palette, nullptr);
    PostClick(palette, ids::Quit);
    EXPECT_EQ(WaitForExit(running), 0);
    KillIfRunning(running);
    CloseProgramHandles(running);

    // The uninstaller runs from a copy of itself, so the command returns before it has
    // finished: wait for the folder to go.
    EXPECT_EQ(RunCommand(uninstall, 60000), 0) << "silent uninstall";
    EXPECT_TRUE(WaitUntil(
        [&] { return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES; }, 60000))
        << "the program's folder is still there";
    EXPECT_EQ(GetFileAttributesW(shortcutPath.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the Start-menu entry is still there";
    EXPECT_FALSE(KeyExists(mode.registryRoot, entry)) << "the uninstaller entry is still there";
    EXPECT_EQ(RegistryOutline(), registryBefore);
}

INSTANTIATE_TEST_SUITE_P(Modes, InstallerTest, testing::Values(CurrentUser, AllUsers),
                         [](const testing::TestParamInfo<InstallMode>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
