#include "dialog_template.h"

namespace {

struct Reader {
    const BYTE* at;
    const BYTE* end;

    template <typename T> T Take() {
        T value{};
        if (at + sizeof(T) <= end) {
            memcpy(&value, at, sizeof(T));
            at += sizeof(T);
        }
        return value;
    }
    std::wstring String() {
        std::wstring s;
        for (WORD c = Take<WORD>(); c != 0 && at < end; c = Take<WORD>())
            s.push_back(static_cast<wchar_t>(c));
        return s;
    }
    // A string, an ordinal (0xFFFF then a number, given as "#n" or a predefined class name),
    // or nothing (a single 0).
    std::wstring StringOrOrdinal(bool isClass) {
        WORD first = Take<WORD>();
        if (first == 0)
            return L"";
        if (first == 0xFFFF) {
            WORD ordinal = Take<WORD>();
            if (isClass) {
                switch (ordinal) {
                case 0x80:
                    return L"Button";
                case 0x81:
                    return L"Edit";
                case 0x82:
                    return L"Static";
                case 0x83:
                    return L"ListBox";
                case 0x84:
                    return L"ScrollBar";
                case 0x85:
                    return L"ComboBox";
                default:
                    break;
                }
            }
            return L"#" + std::to_wstring(ordinal);
        }
        std::wstring s(1, static_cast<wchar_t>(first));
        s += String();
        return s;
    }
    void AlignToDword(const BYTE* base) {
        while ((at - base) % 4 != 0)
            ++at;
    }
};

} // namespace

DialogTemplate LoadDialogTemplate(HMODULE module, const wchar_t* name, WORD language) {
    DialogTemplate t;
    HRSRC resource = FindResourceExW(module, RT_DIALOG, name, language);
    if (!resource)
        return t;
    HGLOBAL loaded = LoadResource(module, resource);
    const BYTE* base = static_cast<const BYTE*>(LockResource(loaded));
    if (!base)
        return t;
    Reader r{base, base + SizeofResource(module, resource)};
    WORD version = r.Take<WORD>();
    WORD signature = r.Take<WORD>();
    t.found = true;
    t.extended = version == 1 && signature == 0xFFFF;
    if (!t.extended)
        return t;
    r.Take<DWORD>(); // help id
    t.exStyle = r.Take<DWORD>();
    t.style = r.Take<DWORD>();
    WORD count = r.Take<WORD>();
    t.x = r.Take<short>();
    t.y = r.Take<short>();
    t.cx = r.Take<short>();
    t.cy = r.Take<short>();
    t.menu = r.StringOrOrdinal(false);
    t.windowClass = r.StringOrOrdinal(false);
    t.title = r.String();
    if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
        t.pointSize = r.Take<WORD>();
        t.weight = r.Take<WORD>();
        t.italic = r.Take<BYTE>();
        t.charset = r.Take<BYTE>();
        t.typeface = r.String();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignToDword(base);
        DialogItem item;
        r.Take<DWORD>(); // help id
        item.exStyle = r.Take<DWORD>();
        item.style = r.Take<DWORD>();
        item.x = r.Take<short>();
        item.y = r.Take<short>();
        item.cx = r.Take<short>();
        item.cy = r.Take<short>();
        item.id = static_cast<int>(r.Take<DWORD>());
        item.className = r.StringOrOrdinal(true);
        item.text = r.StringOrOrdinal(false);
        WORD extra = r.Take<WORD>();
        r.at += extra;
        t.items.push_back(item);
    }
    return t;
}
