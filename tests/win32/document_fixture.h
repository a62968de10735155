#pragma once
// A frame window with its MDI client, created in-process, in which the tests open documents
// through the program's own menu commands, dialogs and document sources.

#include <gtest/gtest.h>

#include "app/startup.h"
#include "base/app_state.h"
#include "base/canvas_layout.h"
#include "document/document_sources.h"
#include "resources/resource_ids.h"
#include "win32_test_support.h"

class DocumentTest : public testing::Test {
  protected:
    void SetUp() override {
        UseTestModuleAsInstance();
        frame = CreateFrameWindow(appState.instance);
        ASSERT_NE(frame, nullptr);
        // Room for the largest document window the tests make.
        SetWindowPos(frame, nullptr, 0, 0, 1200, 980, SWP_NOZORDER);
        PumpMessages();
    }
    void TearDown() override {
        if (IsWindow(frame))
            DestroyWindow(frame);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // File > 新規作成(&N), typing the given texts and pressing 決定. Returns every dialog seen;
    // message boxes are answered with OK.
    std::vector<SeenDialog> NewSheet(const wchar_t* width, const wchar_t* height) {
        return RunAnsweringDialogs([&] { SendMessageW(frame, WM_COMMAND, IDM_FILE_NEW, 0); },
                                   [&](HWND dialog) {
                                       if (WindowText(dialog) == L"新規作成" &&
                                           GetDlgItem(dialog, IDC_PAPER_WIDTH)) {
                                           SetDlgItemTextW(dialog, IDC_PAPER_WIDTH, width);
                                           SetDlgItemTextW(dialog, IDC_PAPER_HEIGHT, height);
                                           ClickDialogButton(dialog, IDC_PAPER_OK);
                                       } else {
                                           ClickDialogButton(dialog, IDOK);
                                       }
                                   });
    }

    // The 画像ロード path after the user has picked the file.
    std::vector<SeenDialog> LoadPicture(const std::wstring& path, int* result = nullptr) {
        int opened = -1;
        std::vector<SeenDialog> seen = RunAnsweringDialogs([&] {
            appState.imageDocumentOpen = 1;
            opened = OpenDocument(path.c_str());
        });
        if (result)
            *result = opened;
        return seen;
    }

    // Closes the document as its close box does; a changed picture is let go (いいえ).
    void CloseDocument() {
        RunAnsweringDialogs([] { SendMessageW(appState.documentWindow, WM_CLOSE, 0, 0); },
                            [](HWND question) { ClickDialogButton(question, IDNO); });
        PumpMessages();
    }

    // 0xRRGGBB of a canvas pixel, read from the surface's own memory.
    static uint32_t CanvasRgb(int x, int y) {
        return appState.canvasPixels[CanvasPixelIndex(x, y, appState.surfaceSize)] & 0xFFFFFF;
    }

    static uint32_t ResetCopyRgb(int x, int y) {
        return ResetCopyPixel(appState.history, x, y) & 0xFFFFFF;
    }

    static RECT ChildRect(HWND child) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    static SIZE ClientSize(HWND window) {
        RECT r;
        GetClientRect(window, &r);
        return SIZE{r.right, r.bottom};
    }

    HWND frame = nullptr;
};

// Message texts of the document sources.
const wchar_t LoadFailureText[] = L"画像が読み込めませんでした";
const wchar_t LoadFailureCaption[] = L"破損または対応していないファイルです";
