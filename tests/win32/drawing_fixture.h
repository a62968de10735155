#pragma once
// A sheet opened through the program's own menu command, drawn on by sending the canvas window
// the mouse messages a person's hand would make.

#include <string>
#include <vector>

#include "document_fixture.h"
#include "history/snapshot_history.h"

class DrawingTest : public DocumentTest {
  protected:
    // A white sheet with its black frame, shown at zoom 0.
    void OpenSheet(int width, int height) {
        NewSheet(std::to_wstring(width).c_str(), std::to_wstring(height).c_str());
        canvas = appState.canvasWindow;
        ASSERT_NE(canvas, nullptr);
        ASSERT_EQ(appState.zoomLevel, 0);
        PumpMessages();
    }

    // A mouse position as the system packs it: x and y as signed 16-bit values.
    static LPARAM Position(int x, int y) {
        return LPARAM(uint32_t(uint16_t(int16_t(x))) | (uint32_t(uint16_t(int16_t(y))) << 16));
    }
    void Press(int x, int y) { SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, Position(x, y)); }
    void Move(int x, int y, WPARAM keys = MK_LBUTTON) {
        SendMessageW(canvas, WM_MOUSEMOVE, keys, Position(x, y));
    }
    void Release(int x, int y) { SendMessageW(canvas, WM_LBUTTONUP, 0, Position(x, y)); }

    // Press at `from`, one move to every point of `through`, release at the last of them.
    void Drag(ToolCode tool, POINT from, const std::vector<POINT>& through) {
        appState.activeTool = tool;
        Press(from.x, from.y);
        POINT last = from;
        for (POINT p : through) {
            Move(p.x, p.y);
            last = p;
        }
        Release(last.x, last.y);
    }
    void Click(ToolCode tool, int x, int y) {
        appState.activeTool = tool;
        Press(x, y);
        Release(x, y);
    }

    // A solid rectangle in the colour: one stroke, one history step.
    void RectangleStroke(int left, int top, int right, int bottom, RgbTriple colour) {
        appState.primaryColour = colour;
        Drag(ToolCode::Rectangle, POINT{left, top}, {POINT{right, bottom}});
    }

    // The whole canvas as 0xRRGGBB, row by row from the top, once GDI has finished drawing.
    static std::vector<uint32_t> Picture() {
        GdiFlush();
        const IntSize size = appState.surfaceSize;
        std::vector<uint32_t> pixels;
        pixels.reserve(size_t(size.w) * size_t(size.h));
        for (int y = 0; y < size.h; ++y)
            for (int x = 0; x < size.w; ++x)
                pixels.push_back(CanvasRgb(x, y));
        return pixels;
    }
    static uint32_t Rgb(int x, int y) {
        GdiFlush();
        return CanvasRgb(x, y);
    }
    static uint32_t& RawPixel(int x, int y) {
        return appState.canvasPixels[CanvasPixelIndex(x, y, appState.surfaceSize)];
    }
    // Fills the canvas with a pattern of many colours, so that an inverted pixel left behind or
    // a pixel put back wrong shows. Like everything that draws, it says where it drew.
    static void PaintPattern() {
        GdiFlush();
        for (int y = 0; y < appState.surfaceSize.h; ++y)
            for (int x = 0; x < appState.surfaceSize.w; ++x)
                RawPixel(x, y) = 0xFF000000u | uint32_t((x * 37) & 0xFF) << 16 |
                                 uint32_t((y * 53) & 0xFF) << 8 | uint32_t((x * y) & 0xFF);
        CanvasChanged(IntRect{0, 0, appState.surfaceSize.w, appState.surfaceSize.h});
    }

    // Pixels that differ between two pictures of the canvas.
    static int DifferingPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        int differing = 0;
        for (size_t i = 0; i < a.size() && i < b.size(); ++i)
            differing += a[i] != b[i] ? 1 : 0;
        return differing + int(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
    }

    static int HeldSnapshots() {
        int held = 0;
        for (int slot = 0; slot < HistorySlotCount; ++slot)
            held += HoldsSnapshot(appState.history, slot);
        return held;
    }

    HWND canvas = nullptr;
};

const RgbTriple Black = {0, 0, 0};
const RgbTriple White = {255, 255, 255};
const RgbTriple Red = {255, 0, 0};
const RgbTriple Green = {0, 160, 0};
const RgbTriple Blue = {0, 0, 255};

inline uint32_t Hex(RgbTriple c) {
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | uint32_t(c.b);
}
