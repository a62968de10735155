#pragma once
// The one program-wide record. Every window and dialog procedure reads and writes it
// directly; nothing caches a copy. It is plain data, so it builds without <windows.h>.

#include <cstdint>
#include <string>

#include "base/colour.h"
#include "base/int_rect.h"
#include "base/packed_point.h"
#include "base/tile_store.h"
#include "base/win_handles.h"

enum class ToolCode : int {
    Pen = 0,
    Ellipse = 1,
    Rectangle = 2,
    Line = 3,
    Fill = 4,
    Eyedropper = 5,
    Spray = 6,
};

// Same fields, order and meaning as the Win32 SCROLLINFO; the document window copies it into
// a SCROLLINFO when it talks to a scroll bar.
struct ScrollRecord {
    unsigned cbSize;
    unsigned fMask;
    int nMin;
    int nMax;
    unsigned nPage;
    int nPos;
    int nTrackPos;
};

// Order in which the palette takes its setting controls when it opens.
enum PaletteControlIndex : int {
    ToleranceTrackbar = 0, // 1014
    PenWidthTrackbar = 1,  // 1010
    PenWidthBox = 2,       // 1013
    ToleranceBox = 3,      // 1015
    PreviewCheckBox = 4,   // 1023
    SprayStrengthBox = 5,  // 1018
    SprayTrackbar = 6,     // 1017
    PaletteControlCount = 7,
};

struct AppState {
    // Windows.
    HINSTANCE instance = nullptr;
    HWND frameWindow = nullptr;
    HWND mdiClient = nullptr;
    HWND documentWindow = nullptr;
    HWND canvasWindow = nullptr;
    HWND paletteWindow = nullptr;
    HWND paletteControls[PaletteControlCount] = {};

    // Tool, colours and settings.
    ToolCode activeTool = ToolCode::Spray;
    RgbTriple primaryColour = {0, 0, 0};
    RgbTriple secondaryColour = {255, 255, 255};
    int penWidth = 10;
    int outlineWidth = 1;
    int previewOutlines = 1;
    int fillTolerance = 20;
    int sprayStrength = 50;

    // The part of the palette that shows the two colour discs, and the first swatch cell.
    static constexpr IntRect colourIndicatorRect = {20, 120, 135, 180};
    static constexpr IntRect swatchCellRect = {145, 115, 160, 130};
    // The palette's client rectangle, read once when it opens.
    IntRect paletteClientRect = {0, 0, 0, 0};

    // Document geometry, zoom and scrolling. The scroll offsets are the nPos fields of the
    // two scroll records: hScrollInfo.nPos is the x offset, vScrollInfo.nPos the y offset.
    IntSize canvasSize = {680, 480};
    int documentMargin = 100;
    IntSize documentSize = {680, 480};
    int zoomLevel = 0;
    IntSize viewSize = {0, 0};
    ScrollRecord hScrollInfo = {};
    ScrollRecord vScrollInfo = {};
    // A drag with the middle button moves the picture with the pointer: 1 while it lasts, with
    // the pointer's screen position and the scroll offsets where it began.
    int panActive = 0;
    int panStartX = 0, panStartY = 0;
    int panStartOffsetX = 0, panStartOffsetY = 0;

    // Document state and the canvas surface.
    int blankDocumentOpen = 0;
    int imageDocumentOpen = 0;
    HDC canvasDc = nullptr;
    HBITMAP canvasDib = nullptr;
    uint32_t* canvasPixels = nullptr;
    IntSize surfaceSize = {0, 0};
    // The picture's file: the one it was opened from or last saved to, and its format (a save
    // format, 1 BMP to 5 TIFF), where 上書き保存 writes. Empty and 0 for a new sheet or a
    // pasted picture that has not been saved yet.
    std::wstring documentFile;
    int documentFormat = 0;

    // Undo history: its snapshots and the reset copy, as tiles shared between them.
    TileStore history;
    int historyPos = 0;
    int historyCount = 0;

    // Stroke in progress.
    int strokeActive = 0;
    PackedPoint anchorPoint = 0;
    PackedPoint dragPoint = 0;
    PackedPoint previewPoint = 0;
    double cursorX = 0.0;
    double cursorY = 0.0;
    IntRect sprayRect = {0, 0, 0, 0};
    int sprayCount = 0;
};

extern AppState appState;

inline bool DocumentIsOpen() {
    return appState.blankDocumentOpen == 1 || appState.imageDocumentOpen == 1;
}
