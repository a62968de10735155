#include "test_canvas.h"

#include "base/app_state.h"

int MakeTestCanvas(int width, int height) {
    HDC windowDc = GetDC(appState.frameWindow);
    appState.canvasDc = CreateCompatibleDC(windowDc);
    ReleaseDC(appState.frameWindow, windowDc);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    appState.canvasDib =
        CreateDIBSection(appState.canvasDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!appState.canvasDc || !appState.canvasDib || !bits)
        return 0;
    appState.canvasPixels = static_cast<uint32_t*>(bits);
    SelectObject(appState.canvasDc, appState.canvasDib);
    appState.canvasSize = {width, height};
    appState.surfaceSize = {width, height};
    return 1;
}

namespace {

uint32_t& CanvasPixel(int x, int y) {
    int w = appState.surfaceSize.w;
    int h = appState.surfaceSize.h;
    return appState.canvasPixels[x + (h - 1 - y) * w];
}

uint32_t PatternRgb(int x, int y) {
    int w = appState.surfaceSize.w;
    int h = appState.surfaceSize.h;
    if (x < w / 2) {
        // Red grows to the right, green downwards: a flip or shift changes every pixel.
        uint32_t r = uint32_t(x * 255 / (w / 2 - 1));
        uint32_t g = uint32_t(y * 255 / (h - 1));
        return (r << 16) | (g << 8) | 0x80;
    }
    // Blocks of web-safe colours, which every palette holds exactly.
    int column = (x - w / 2) * 6 / (w - w / 2);
    int row = y * 6 / h;
    uint32_t r = uint32_t(column) * 0x33;
    uint32_t g = uint32_t(row) * 0x33;
    uint32_t b = uint32_t((column + row) % 6) * 0x33;
    return (r << 16) | (g << 8) | b;
}

} // namespace

void PaintTestPattern() {
    for (int y = 0; y < appState.surfaceSize.h; ++y)
        for (int x = 0; x < appState.surfaceSize.w; ++x) {
            uint32_t top = ((x / 16 + y / 16) % 2) ? 0xFF000000u : 0;
            CanvasPixel(x, y) = top | PatternRgb(x, y);
        }
}

uint32_t CanvasRgb(int x, int y) {
    return CanvasPixel(x, y) & 0xFFFFFF;
}
