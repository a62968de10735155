#include "export/save_dialog.h"

#include <commdlg.h>

#include <cstring>

#include "export/save_formats.h"

namespace {

constexpr int SaveNameCapacity = 256;

// Kept for the whole run: the request is cleared at every opening, but the full path stays,
// so each dialog opens with the path chosen last.
OPENFILENAMEW saveRequest;
wchar_t chosenPath[SaveNameCapacity];
wchar_t chosenTitle[SaveNameCapacity];

} // namespace

const wchar_t* AskSaveFileName(HWND owner, const wchar_t* title, int saveFormat) {
    std::memset(&saveRequest, 0, sizeof(saveRequest));
    saveRequest.lStructSize = sizeof(saveRequest);
    saveRequest.hwndOwner = owner;
    saveRequest.lpstrFilter = SaveFilterList;
    // "All (*.*)" at every opening, whatever the format.
    saveRequest.nFilterIndex = 1;
    saveRequest.lpstrFile = chosenPath;
    saveRequest.nMaxFile = SaveNameCapacity;
    saveRequest.lpstrFileTitle = chosenTitle;
    saveRequest.nMaxFileTitle = SaveNameCapacity;
    saveRequest.lpstrTitle = title;
    saveRequest.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    saveRequest.lpstrDefExt = DefaultExtensionOf(saveFormat);

    // A dialog that fails because the chosen path is too long writes the length it needed
    // over the path; the next opening must still offer the last path chosen.
    wchar_t lastPath[SaveNameCapacity];
    std::memcpy(lastPath, chosenPath, sizeof(chosenPath));
    if (GetSaveFileNameW(&saveRequest))
        return chosenPath;
    std::memcpy(chosenPath, lastPath, sizeof(chosenPath));
    MessageBoxW(owner, L"キャンセルしました", L"キャンセル", MB_OK);
    return nullptr;
}
