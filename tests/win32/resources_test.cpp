// The resources compiled into the program: the menu, both dialog templates, the icon and the
// manifest, read back from the module.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "dialog_template.h"
#include "resources/resource_ids.h"

namespace {

const WORD Japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
HMODULE Self() {
    return GetModuleHandleW(nullptr);
}

struct ExpectedItem {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style; // beyond WS_CHILD | WS_VISIBLE
    DWORD exStyle;
    short x, y, cx, cy;
};

const DWORD Tool = BS_PUSHBUTTON | WS_TABSTOP;
const DWORD Raised = WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE;
const DWORD Bar = TBS_HORZ | TBS_BOTH | TBS_NOTICKS | WS_TABSTOP;
const DWORD Box = ES_CENTER | ES_AUTOHSCROLL | WS_TABSTOP;

const ExpectedItem paletteItems[] = {
    {40016, L"Button", L"■", Tool, Raised, 116, 27, 25, 23},
    {1002, L"Button", L"●", Tool, Raised, 84, 27, 25, 23},
    {1003, L"Button", L"＼", Tool, Raised, 48, 27, 25, 23},
    {40014, L"Button", L"ペン", Tool, Raised, 16, 27, 25, 23},
    {1005, L"Button", L"終了", Tool, Raised, 11, 168, 41, 31},
    {-1, L"Button", L"", BS_GROUPBOX, 0, 7, 7, 411, 53},
    {1008, L"Button", L"塗り", Tool, Raised, 180, 27, 25, 23},
    {1009, L"Button", L"戻す", Tool, Raised, 15, 133, 28, 23},
    {-1, L"Button", L"", BS_GROUPBOX, 0, 7, 65, 411, 53},
    {1010, L"msctls_trackbar32", L"", Bar, WS_EX_DLGMODALFRAME, 129, 140, 98, 14},
    {1013, L"Edit", L"", Box, WS_EX_CLIENTEDGE, 230, 140, 19, 14},
    {1011, L"Button", L"吸い", Tool, Raised, 214, 27, 25, 23},
    {1012, L"Button", L"初期化", Tool, Raised, 65, 168, 41, 31},
    {1014, L"msctls_trackbar32", L"", Bar, WS_EX_DLGMODALFRAME, 128, 177, 98, 14},
    {1015, L"Edit", L"", Box, WS_EX_CLIENTEDGE, 229, 177, 19, 14},
    {-1, L"Static", L"太さ", SS_LEFT | WS_GROUP, WS_EX_DLGMODALFRAME, 133, 128, 18, 11},
    {-1, L"Static", L"塗りつぶし近似値範囲", SS_LEFTNOWORDWRAP | WS_GROUP, WS_EX_DLGMODALFRAME, 131,
     163, 76, 11},
    {1023, L"Button", L"詳細線", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 279, 27, 40, 10},
    {1016, L"Button", L"吹き", Tool, Raised, 148, 27, 25, 23},
    {1017, L"msctls_trackbar32", L"", Bar, WS_EX_DLGMODALFRAME, 255, 140, 98, 14},
    {1018, L"Edit", L"", Box, WS_EX_CLIENTEDGE, 357, 140, 19, 14},
    {-1, L"Static", L"スプレーの強さ", SS_LEFTNOWORDWRAP | WS_GROUP, WS_EX_DLGMODALFRAME, 259, 126,
     50, 11},
    {1019, L"Button", L"進む", Tool, Raised, 53, 133, 28, 23},
};

const DWORD PaperEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
const ExpectedItem paperItems[] = {
    {1015, L"Edit", L"", PaperEdit, 0, 31, 23, 40, 14},
    {1016, L"Edit", L"", PaperEdit, 0, 104, 23, 40, 14},
    {-1, L"Static", L"横", WS_GROUP | SS_LEFT, 0, 19, 25, 9, 8},
    {-1, L"Static", L"縦", WS_GROUP | SS_LEFT, 0, 90, 25, 9, 8},
    {1018, L"Button", L"決定", WS_TABSTOP | BS_PUSHBUTTON, 0, 34, 46, 38, 16},
    {1019, L"Button", L"キャンセル", WS_TABSTOP | BS_PUSHBUTTON, 0, 101, 47, 37, 16},
    {-1, L"Button", L"用紙サイズ設定", BS_GROUPBOX, 0, 11, 7, 142, 62},
};

template <size_t N> void ExpectItems(const DialogTemplate& t, const ExpectedItem (&expected)[N]) {
    ASSERT_EQ(t.items.size(), N);
    for (size_t i = 0; i < N; ++i) {
        const DialogItem& item = t.items[i];
        const ExpectedItem& e = expected[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        EXPECT_EQ(item.id, e.id);
        // Class names are case-insensitive; resource compilers store them in either case.
        EXPECT_EQ(_wcsicmp(item.className.c_str(), e.className), 0)
            << testing::PrintToString(item.className);
        EXPECT_EQ(item.text, std::wstring(e.text));
        EXPECT_EQ(item.style, e.style | WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(item.exStyle, e.exStyle);
        EXPECT_EQ(item.x, e.x);
        EXPECT_EQ(item.y, e.y);
        EXPECT_EQ(item.cx, e.cx);
        EXPECT_EQ(item.cy, e.cy);
    }
}

TEST(ResourcesTest, PaletteTemplateIsExactlyTheDesignedDialog) {
    DialogTemplate t = LoadDialogTemplate(Self(), L"OPTDLG", Japanese);
    ASSERT_TRUE(t.found) << "OPTDLG in Japanese";
    ASSERT_TRUE(t.extended);
    EXPECT_EQ(t.style,
              DWORD(WS_POPUP | WS_BORDER | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS | DS_LOCALEDIT));
    EXPECT_NE(t.style & WS_CAPTION, DWORD(WS_CAPTION)) << "no title bar";
    EXPECT_EQ(t.style & WS_VISIBLE, 0u) << "shown by the dialog manager";
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 426);
    EXPECT_EQ(t.cy, 230);
    EXPECT_EQ(t.menu, L"");
    EXPECT_EQ(t.windowClass, L"");
    EXPECT_EQ(t.title, L"");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.weight, 400);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, DEFAULT_CHARSET);
    EXPECT_EQ(t.typeface, L"MS Shell Dlg");
    ExpectItems(t, paletteItems);
}

TEST(ResourcesTest, PaperTemplateIsExactlyTheDesignedDialog) {
    DialogTemplate t = LoadDialogTemplate(Self(), L"YOUSIDLG", Japanese);
    ASSERT_TRUE(t.found) << "YOUSIDLG in Japanese";
    EXPECT_EQ(t.style,
              DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(t.cx, 169);
    EXPECT_EQ(t.cy, 86);
    EXPECT_EQ(t.title, L"新規作成");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.typeface, L"MS Shell Dlg");
    ExpectItems(t, paperItems);
}

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST(ResourcesTest, PaletteTemplateCreatesEveryControlItNames) {
    // The template depends on the trackbar class, which start-up makes available.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND dialog = CreateDialogParamW(Self(), L"OPTDLG", nullptr, NoHandling, 0);
    ASSERT_NE(dialog, nullptr);
    for (const ExpectedItem& e : paletteItems) {
        if (e.id == -1)
            continue;
        HWND control = GetDlgItem(dialog, e.id);
        ASSERT_NE(control, nullptr) << e.id;
        wchar_t name[64] = {};
        GetClassNameW(control, name, 64);
        EXPECT_EQ(_wcsicmp(name, e.className), 0) << e.id;
    }
    DestroyWindow(dialog);
}

struct ExpectedMenuItem {
    const wchar_t* text;
    UINT id; // 0 for a popup
};

void ExpectMenu(HMENU menu, const ExpectedMenuItem* items, int count) {
    ASSERT_EQ(GetMenuItemCount(menu), count);
    for (int i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = 64;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
        EXPECT_EQ(std::wstring(text), std::wstring(items[i].text));
        EXPECT_EQ(info.fType & MFT_SEPARATOR, 0u);
        EXPECT_EQ(info.fState & (MFS_GRAYED | MFS_CHECKED), 0u) << "nothing grayed or checked";
        if (items[i].id == 0)
            EXPECT_NE(info.hSubMenu, nullptr) << "popup";
        else
            EXPECT_EQ(info.wID, items[i].id);
    }
}

TEST(ResourcesTest, MenuHasTheFileMenuWithItsSavePopupAndTheEditMenu) {
    HMENU bar = LoadMenuW(Self(), L"IDR_MENU");
    ASSERT_NE(bar, nullptr);
    const ExpectedMenuItem top[] = {{L"File(&F)", 0}, {L"Edit(&E)", 0}};
    ExpectMenu(bar, top, 2);
    HMENU file = GetSubMenu(bar, 0);
    const ExpectedMenuItem fileItems[] = {{L"新規作成(&N)\tCtrl+N", 40003},
                                          {L"画像ロード\tCtrl+O", 40021},
                                          {L"上書き保存(&S)\tCtrl+S", IDM_FILE_SAVE},
                                          {L"保存(&H)", 0},
                                          {L"終了(&X)", 40004}};
    ExpectMenu(file, fileItems, 5);
    const ExpectedMenuItem editItems[] = {{L"戻す(&U)\tCtrl+Z", IDM_EDIT_UNDO},
                                          {L"進む(&R)\tCtrl+Y", IDM_EDIT_REDO},
                                          {L"コピー(&C)\tCtrl+C", IDM_EDIT_COPY},
                                          {L"貼り付け(&P)\tCtrl+V", IDM_EDIT_PASTE}};
    ExpectMenu(GetSubMenu(bar, 1), editItems, 4);
    const ExpectedMenuItem saveItems[] = {{L"bmpで保存", 40028},
                                          {L"jpegで保存", 40029},
                                          {L"pngで保存", 40030},
                                          {L"gifで保存", 40031},
                                          {L"Tiffで保存", 40032}};
    ExpectMenu(GetSubMenu(file, 3), saveItems, 5);
    DestroyMenu(bar);
    EXPECT_NE(FindResourceExW(Self(), RT_MENU, L"IDR_MENU", Japanese), nullptr);
}

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconDir {
    WORD reserved, type, count;
    IconDirEntry entries[1];
};
#pragma pack(pop)

TEST(ResourcesTest, IconIsOne64By64ImageAt8BitsPerPixel) {
    HRSRC group = FindResourceW(Self(), L"ID_MAINICON", RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const IconDir*>(LockResource(LoadResource(Self(), group)));
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(dir->type, 1);
    ASSERT_EQ(dir->count, 1);
    EXPECT_EQ(dir->entries[0].width, 64);
    EXPECT_EQ(dir->entries[0].height, 64);
    EXPECT_EQ(dir->entries[0].bitCount, 8);

    HRSRC image = FindResourceW(Self(), MAKEINTRESOURCEW(dir->entries[0].id), RT_ICON);
    ASSERT_NE(image, nullptr);
    const auto* header =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Self(), image)));
    EXPECT_EQ(header->biWidth, 64);
    EXPECT_EQ(header->biHeight, 128) << "image and mask";
    EXPECT_EQ(header->biBitCount, 8);

    HICON icon = static_cast<HICON>(LoadImageW(Self(), L"ID_MAINICON", IMAGE_ICON, 64, 64, 0));
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}

TEST(ResourcesTest, ManifestHasAnEmptyAssemblyElement) {
    HRSRC resource = FindResourceW(Self(), MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(resource, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(Self(), resource)));
    std::string manifest(data, SizeofResource(Self(), resource));
    size_t open = manifest.find("<assembly");
    ASSERT_NE(open, std::string::npos);
    size_t openEnd = manifest.find('>', open);
    size_t close = manifest.find("</assembly>");
    ASSERT_NE(close, std::string::npos);
    std::string inside = manifest.substr(openEnd + 1, close - openEnd - 1);
    EXPECT_EQ(inside.find('<'), std::string::npos) << "no child elements: " << inside;
}

} // namespace
