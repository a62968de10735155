#include "document/document_file.h"

#include <string>

#include "base/app_state.h"
#include "export/save_formats.h"
#include "export/save_image.h"
#include "history/snapshot_history.h"

namespace {

// What the question calls the picture: its file's name, or the document window's title.
std::wstring NameOfPicture() {
    const std::wstring& file = appState.documentFile;
    const size_t slash = file.find_last_of(L"\\/");
    if (file.empty())
        return L"イラスト用紙";
    return slash == std::wstring::npos ? file : file.substr(slash + 1);
}

// A stroke in progress ends where it is, as it does when a menu opens: the question then
// concerns, and a save writes, a whole picture rather than one with a rubber band in it.
void EndStrokeInProgress() {
    if (appState.canvasWindow && GetCapture() == appState.canvasWindow)
        ReleaseCapture();
}

} // namespace

int SaveDocumentAs(int saveFormat) {
    if (!DocumentIsOpen())
        return 0;
    const wchar_t* path = RunSaveCommand(saveFormat);
    if (!path)
        return 0;
    appState.documentFile = path;
    appState.documentFormat = saveFormat;
    MarkPictureSaved();
    return 1;
}

int SaveDocument() {
    if (!DocumentIsOpen())
        return 0;
    if (appState.documentFile.empty() || !MimeTypeOf(appState.documentFormat))
        return SaveDocumentAs(SaveFormatPng);
    if (!WriteCanvasToFile(appState.documentFile.c_str(), appState.documentFormat))
        return 0;
    MarkPictureSaved();
    return 1;
}

int ConfirmDiscardChanges() {
    // The question's own loop keeps the palette and its 終了 working: a second way out chosen
    // while it shows waits for the first answer.
    static int asking = 0;
    if (asking)
        return 0;
    EndStrokeInProgress();
    if (!DocumentIsOpen() || !PictureIsChanged())
        return 1;
    asking = 1;
    const std::wstring question = L"「" + NameOfPicture() + L"」への変更を保存しますか？";
    const int answer = MessageBoxW(appState.frameWindow, question.c_str(), L"フデマル",
                                   MB_YESNOCANCEL | MB_ICONWARNING);
    const int goOn = answer == IDNO || (answer == IDYES && SaveDocument());
    asking = 0;
    return goOn;
}
