#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/save_formats.h"

namespace {

TEST(SaveFormatsTest, EachFormatHasItsExtensionAndEncoderType) {
    struct Expected {
        int format;
        const wchar_t* extension;
        const wchar_t* mimeType;
    };
    const Expected table[] = {
        {SaveFormatBmp, L"bmp", L"image/bmp"},    {SaveFormatJpeg, L"jpg", L"image/jpeg"},
        {SaveFormatPng, L"png", L"image/png"},    {SaveFormatGif, L"gif", L"image/gif"},
        {SaveFormatTiff, L"tiff", L"image/tiff"},
    };
    for (const Expected& e : table) {
        ASSERT_NE(DefaultExtensionOf(e.format), nullptr) << e.format;
        ASSERT_NE(MimeTypeOf(e.format), nullptr) << e.format;
        EXPECT_EQ(std::wstring(DefaultExtensionOf(e.format)), e.extension);
        EXPECT_EQ(std::wstring(MimeTypeOf(e.format)), e.mimeType);
    }
    EXPECT_EQ(SaveFormatBmp, 1);
    EXPECT_EQ(SaveFormatTiff, 5);
}

TEST(SaveFormatsTest, CodesOutsideOneToFiveNameNoFormat) {
    for (int code : {0, 6, -1, 40030, -2147483647 - 1}) {
        EXPECT_EQ(DefaultExtensionOf(code), nullptr) << code;
        EXPECT_EQ(MimeTypeOf(code), nullptr) << code;
    }
}

// Splits a double-null-terminated list into its strings.
std::vector<std::wstring> SplitList(const wchar_t* list) {
    std::vector<std::wstring> parts;
    for (const wchar_t* p = list; *p; p += parts.back().size() + 1)
        parts.emplace_back(p);
    return parts;
}

TEST(SaveFormatsTest, FilterListHasFivePairsInOrderAndNoPng) {
    std::vector<std::wstring> parts = SplitList(SaveFilterList);
    std::vector<std::wstring> expected = {
        L"All (*.*)", L"*.*",         L"BMP (*.bmp)", L"*.bmp",         L"JPG (*.jpg)",
        L"*.jpg",     L"GIF (*.gif)", L"*.gif",       L"TIFF (*.tiff)", L"*.tiff",
    };
    EXPECT_EQ(parts, expected);
    for (const std::wstring& part : parts) {
        EXPECT_EQ(part.find(L"PNG"), std::wstring::npos);
        EXPECT_EQ(part.find(L"png"), std::wstring::npos);
    }
    // The list ends with exactly two nulls: the last pattern's and the list's own.
    size_t length = 0;
    for (const std::wstring& part : parts)
        length += part.size() + 1;
    EXPECT_EQ(SaveFilterList[length - 1], L'\0');
    EXPECT_EQ(SaveFilterList[length], L'\0');
}

TEST(SaveFormatsTest, MimeTypesMatchOnlyExactly) {
    EXPECT_TRUE(MimeTypesEqual(L"image/png", L"image/png"));
    EXPECT_FALSE(MimeTypesEqual(L"image/png", L"image/PNG")) << "case counts";
    EXPECT_FALSE(MimeTypesEqual(L"image/pn", L"image/png")) << "a prefix is not a match";
    EXPECT_FALSE(MimeTypesEqual(L"image/png", L"image/pn"));
    EXPECT_FALSE(MimeTypesEqual(L"image/png ", L"image/png"));
    EXPECT_FALSE(MimeTypesEqual(L"", L"image/png"));
    EXPECT_TRUE(MimeTypesEqual(L"", L""));
    EXPECT_FALSE(MimeTypesEqual(nullptr, L"image/png")) << "an encoder without a type";
    EXPECT_FALSE(MimeTypesEqual(L"image/png", nullptr));
    EXPECT_FALSE(MimeTypesEqual(nullptr, nullptr));
}

TEST(SaveFormatsTest, FolderOfAPathIsWhereItsFileLies) {
    EXPECT_EQ(FolderOfPath(L"Z:\\tmp\\pics\\sketch.png"), L"Z:\\tmp\\pics");
    EXPECT_EQ(FolderOfPath(L"Z:/tmp/pics/sketch.png"), L"Z:/tmp/pics");
    EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\sketch.png"), L"\\\\server\\share");
    EXPECT_EQ(FolderOfPath(L"Z:\\tmp\\\\sketch.png"), L"Z:\\tmp") << "doubled separator";
    EXPECT_EQ(FolderOfPath(L"relative\\sketch.png"), L"relative");
}

TEST(SaveFormatsTest, FolderOfAFileAtARootKeepsTheRoot) {
    // "C:" alone would mean the current folder of drive C:, not its root.
    EXPECT_EQ(FolderOfPath(L"C:\\sketch.png"), L"C:\\");
    EXPECT_EQ(FolderOfPath(L"C:\\\\sketch.png"), L"C:\\");
    EXPECT_EQ(FolderOfPath(L"\\sketch.png"), L"\\");
    EXPECT_EQ(FolderOfPath(L"/sketch.png"), L"/");
}

TEST(SaveFormatsTest, FolderOfABareNameIsTheCurrentFolder) {
    EXPECT_EQ(FolderOfPath(L"sketch.png"), L".");
    EXPECT_EQ(FolderOfPath(L""), L".");
    EXPECT_EQ(FolderOfPath(L"C:sketch.png"), L"C:") << "drive-relative";
}

TEST(SaveFormatsTest, FailureMessageNamesTheFile) {
    EXPECT_EQ(std::wstring(SaveFailureCaption), L"保存できませんでした");
    EXPECT_EQ(SaveFailureText(L"Z:\\pics\\sketch.png"),
              L"画像を保存できませんでした。\nZ:\\pics\\sketch.png");
}

} // namespace
