#pragma once
// Reads an extended dialog template (DLGTEMPLATEEX) from a module's resources, so tests can
// check the template itself rather than what a particular system makes of it.

#include <windows.h>

#include <string>
#include <vector>

struct DialogItem {
    DWORD exStyle;
    DWORD style;
    short x, y, cx, cy;
    int id;
    std::wstring className; // predefined classes by name: "Button", "Edit", "Static", ...
    std::wstring text;
};

struct DialogTemplate {
    bool found = false;
    bool extended = false;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu;
    std::wstring windowClass;
    std::wstring title;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring typeface;
    std::vector<DialogItem> items;
};

DialogTemplate LoadDialogTemplate(HMODULE module, const wchar_t* name, WORD language);
