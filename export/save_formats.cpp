#include "export/save_formats.h"

namespace {

struct SaveFormatEntry {
    const wchar_t* defaultExtension;
    const wchar_t* mimeType;
};

// Indexed by SaveFormat - 1.
const SaveFormatEntry saveFormats[] = {
    {L"bmp", L"image/bmp"}, {L"jpg", L"image/jpeg"},  {L"png", L"image/png"},
    {L"gif", L"image/gif"}, {L"tiff", L"image/tiff"},
};

const SaveFormatEntry* EntryOf(int saveFormat) {
    if (saveFormat < SaveFormatBmp || saveFormat > SaveFormatTiff)
        return nullptr;
    return &saveFormats[saveFormat - SaveFormatBmp];
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

const wchar_t* DefaultExtensionOf(int saveFormat) {
    const SaveFormatEntry* entry = EntryOf(saveFormat);
    return entry ? entry->defaultExtension : nullptr;
}

const wchar_t* MimeTypeOf(int saveFormat) {
    const SaveFormatEntry* entry = EntryOf(saveFormat);
    return entry ? entry->mimeType : nullptr;
}

// The literal's own terminating null is the list's final one.
const wchar_t SaveFilterList[] = L"All (*.*)\0*.*\0"
                                 L"BMP (*.bmp)\0*.bmp\0"
                                 L"JPG (*.jpg)\0*.jpg\0"
                                 L"GIF (*.gif)\0*.gif\0"
                                 L"TIFF (*.tiff)\0*.tiff\0";

int MimeTypesEqual(const wchar_t* a, const wchar_t* b) {
    if (!a || !b)
        return 0;
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

std::wstring FolderOfPath(const std::wstring& path) {
    size_t last = path.size();
    while (last > 0 && !IsSeparator(path[last - 1]))
        --last;
    if (last == 0) {
        // "C:name" lies in the current folder of drive C:.
        if (path.size() >= 2 && path[1] == L':')
            return path.substr(0, 2);
        return L".";
    }
    size_t folderEnd = last - 1;
    while (folderEnd > 0 && IsSeparator(path[folderEnd - 1]))
        --folderEnd;
    // Keep the separator of a root ("\" or "C:\"), or the folder would become relative.
    bool isRoot = folderEnd == 0 || (folderEnd == 2 && path[1] == L':');
    return path.substr(0, isRoot ? folderEnd + 1 : folderEnd);
}

const wchar_t SaveFailureCaption[] = L"保存できませんでした";

std::wstring SaveFailureText(const std::wstring& path) {
    return L"画像を保存できませんでした。\n" + path;
}
