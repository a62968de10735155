// What Windows shows of the built fudemaru.exe (Explorer's Properties, the installer's list of
// programs): its version resource read back with the version API, and the sizes of the
// structures it hands to the system, which differ between the 32- and 64-bit builds.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <commdlg.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_files.h"

namespace {

std::wstring ProgramFile() {
    wchar_t value[MAX_PATH] = {};
    GetEnvironmentVariableW(L"FUDEMARU_EXE", value, MAX_PATH);
    return value[0] == L'/' ? WindowsPathOf(value) : std::wstring(value);
}

struct VersionResource {
    std::vector<BYTE> data;

    bool Load(const std::wstring& file) {
        DWORD unused = 0;
        DWORD size = GetFileVersionInfoSizeW(file.c_str(), &unused);
        if (size == 0)
            return false;
        data.resize(size);
        return GetFileVersionInfoW(file.c_str(), 0, size, data.data()) != 0;
    }
    const void* Value(const std::wstring& path) {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data.data(), path.c_str(), &value, &length) || length == 0)
            return nullptr;
        return value;
    }
};

TEST(VersionInfoTest, TheProgramSaysWhatItIsAndWhichVersionInJapanese) {
    std::wstring exe = ProgramFile();
    VersionResource version;
    ASSERT_TRUE(version.Load(exe)) << "no version information in the program";

    // The project version, as CMake gave it to this test.
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(FUDEMARU_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(version.Value(L"\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(MAKELONG(minor, major)));
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD(MAKELONG(0, patch)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "a release: no debug flags";

    struct Translation {
        WORD language, codePage;
    };
    auto* translation =
        static_cast<const Translation*>(version.Value(L"\\VarFileInfo\\Translation"));
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation->language, 0x0411) << "Japanese";
    EXPECT_EQ(translation->codePage, 1200) << "UTF-16";

    std::wstring projectVersion;
    for (const char* c = FUDEMARU_PROJECT_VERSION; *c; ++c)
        projectVersion += wchar_t(*c);
    const struct {
        const wchar_t* name;
        std::wstring value;
    } strings[] = {
        {L"ProductName", L"フデマル"},
        {L"FileDescription", L"フデマル お絵かきソフト"},
        {L"FileVersion", projectVersion},
        {L"ProductVersion", projectVersion},
        {L"LegalCopyright", L"Copyright © 2026 フデマル developers. MIT License."},
        {L"CompanyName", L"フデマル developers"},
        {L"OriginalFilename", L"fudemaru.exe"},
        {L"InternalName", L"fudemaru"},
    };
    for (const auto& s : strings) {
        auto* text = static_cast<const wchar_t*>(
            version.Value(std::wstring(L"\\StringFileInfo\\041104B0\\") + s.name));
        ASSERT_NE(text, nullptr) << testing::PrintToString(std::wstring(s.name));
        EXPECT_EQ(std::wstring(text), s.value);
    }
}

// The program fills these with sizeof; a build must give the sizes the Windows SDK documents
// for its width, or RegisterClassExW, GetOpenFileNameW and the encoder list refuse them.
TEST(PlatformStructuresTest, HaveTheSizesDocumentedForThisBuildsWidth) {
    const bool is32 = sizeof(void*) == 4;
    const struct {
        const char* name;
        size_t size, documented32, documented64;
    } structures[] = {
        {"WNDCLASSEXW", sizeof(WNDCLASSEXW), 48, 80},
        {"OPENFILENAMEW", sizeof(OPENFILENAMEW), 88, 152},
        {"ImageCodecInfo", sizeof(Gdiplus::ImageCodecInfo), 76, 104},
        {"SCROLLINFO", sizeof(SCROLLINFO), 28, 28},
        {"BITMAPINFOHEADER", sizeof(BITMAPINFOHEADER), 40, 40},
    };
    for (const auto& s : structures)
        EXPECT_EQ(s.size, is32 ? s.documented32 : s.documented64) << s.name;
}

} // namespace
