#include "document/document_sources.h"

#include <shlwapi.h>

#include "app/app_state.h"
#include "app/window_class.h"
#include "resources/resource_ids.h"

// No canvas surface can be made yet: every document source ends in the load-failure path.
int OpenDocument(const wchar_t*) {
    MessageBoxW(nullptr, L"画像が読み込めませんでした", L"破損または対応していないファイルです",
                MB_OK);
    appState.imageDocumentOpen = 0;
    appState.blankDocumentOpen = 0;
    return 0;
}

int OpenImageDocument(HWND) {
    return 0;
}

INT_PTR CALLBACK PaperDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        CenterWindow(dialog);
        wchar_t text[32];
        wsprintfW(text, L"%d", appState.canvasSize.w);
        SetDlgItemTextW(dialog, IDC_PAPER_WIDTH, text);
        wsprintfW(text, L"%d", appState.canvasSize.h);
        SetDlgItemTextW(dialog, IDC_PAPER_HEIGHT, text);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PAPER_CANCEL)
            EndDialog(dialog, 2);
        return FALSE;
    default:
        return FALSE;
    }
}
