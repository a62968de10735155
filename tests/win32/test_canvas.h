#pragma once
// A canvas made the way the program makes it, without opening a document, and a test pattern
// to paint on it.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Makes appState's canvas: a 32-bit bottom-up DIB section selected into a memory DC that is
// compatible with the frame's DC, with canvasSize and surfaceSize set. Returns 1 on success.
int MakeTestCanvas(int width, int height);

// Fills the canvas with gradients (so flips and shifts show) and flat web-safe blocks, with
// the unused top byte set on some pixels and clear on others, as GDI and the tools leave it.
void PaintTestPattern();

// The canvas pixel at column x of row y (row 0 at the top), as 0xRRGGBB.
uint32_t CanvasRgb(int x, int y);
