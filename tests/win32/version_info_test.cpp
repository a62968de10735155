// What Windows shows of the built fudemaru.exe (Explorer's Properties, the list of installed
// programs): its version resource read back with the version API, and the sizes of the
// structures it hands to the system, which differ between the 32- and 64-bit builds.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "test_files.h"

namespace {

TEST(VersionInfoTest, TheProgramSaysWhatItIsAndWhichVersionInJapanese) {
    wchar_t exe[MAX_PATH] = {};
    GetEnvironmentVariableW(L"FUDEMARU_EXE", exe, MAX_PATH);
    const std::wstring file = exe[0] == L'/' ? WindowsPathOf(exe) : exe;
    DWORD unused = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(file.c_str(), &unused));
    ASSERT_FALSE(data.empty()) << "no version information in the program";
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, DWORD(data.size()), data.data()));
    auto value = [&](const std::wstring& path) -> const void* {
        void* found = nullptr;
        UINT length = 0;
        return VerQueryValueW(data.data(), path.c_str(), &found, &length) && length ? found
                                                                                    : nullptr;
    };

    // The project version, as CMake gave it to this test, in the fixed part and as text.
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(swscanf(L"" FUDEMARU_PROJECT_VERSION, L"%u.%u.%u", &major, &minor, &patch), 3);
    auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value(L"\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(MAKELONG(minor, major)));
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD(MAKELONG(0, patch)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
    auto* translation = static_cast<const WORD*>(value(L"\\VarFileInfo\\Translation"));
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation[0], 0x0411) << "Japanese";
    EXPECT_EQ(translation[1], 1200) << "UTF-16";

    const std::wstring version = L"" FUDEMARU_PROJECT_VERSION;
    const struct {
        const wchar_t* name;
        std::wstring value;
    } strings[] = {
        {L"ProductName", L"フデマル"},
        {L"FileDescription", L"フデマル お絵かきソフト"},
        {L"FileVersion", version},
        {L"ProductVersion", version},
        {L"LegalCopyright", L"Copyright © 2026 フデマル developers. MIT License."},
        {L"OriginalFilename", L"fudemaru.exe"},
    };
    for (const auto& s : strings) {
        auto* text = static_cast<const wchar_t*>(
            value(std::wstring(L"\\StringFileInfo\\041104B0\\") + s.name));
        ASSERT_NE(text, nullptr) << testing::PrintToString(std::wstring(s.name));
        EXPECT_EQ(std::wstring(text), s.value);
    }
}

// The program fills these with sizeof; a build must give the sizes the Windows SDK documents
// for its width, or RegisterClassExW, GetOpenFileNameW and the encoder list refuse them.
TEST(PlatformStructuresTest, HaveTheSizesDocumentedForThisBuildsWidth) {
    const bool is32 = sizeof(void*) == 4;
    EXPECT_EQ(sizeof(WNDCLASSEXW), is32 ? 48u : 80u);
    EXPECT_EQ(sizeof(OPENFILENAMEW), is32 ? 88u : 152u);
    EXPECT_EQ(sizeof(Gdiplus::ImageCodecInfo), is32 ? 76u : 104u);
}

} // namespace
