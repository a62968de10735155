#pragma once
// The palette opened in the test process: the program's own template and dialog procedure,
// run modelessly so the test keeps the message loop.

#include <windows.h>

#include <gtest/gtest.h>

class PaletteTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HWND Control(int id) const { return GetDlgItem(palette, id); }
    std::wstring BoxText(int id) const;
    int TrackbarPos(int id) const;

    // Presses the left button (or sends another mouse message) at client pixel (x, y) of the
    // surface. Returns 1 when the press posted the caption drag (WM_NCLBUTTONDOWN, HTCAPTION,
    // the same position); that message is taken off the queue so no move loop starts.
    int PressSurface(int x, int y, UINT message = WM_LBUTTONDOWN);

    // Paints the palette now and reads a client pixel back from the window.
    void RepaintNow();
    COLORREF ClientPixel(int x, int y) const;
    // 1 when no control covers the client pixel (x, y), so it shows the painted surface. The
    // group boxes draw only their frame; their insides show the surface.
    int SurfaceShowsAt(int x, int y) const;

    HWND palette = nullptr;
};
