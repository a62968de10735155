#pragma once
#include <windows.h>

// Composes the whole palette surface off-screen (background, label, swatches, colour discs
// from the current colours) and copies it to `target` with one BitBlt. Every GDI object it
// makes is released before it returns. Returns 0 when the off-screen surface could not be
// made; nothing is drawn then.
int PaintPaletteSurface(HDC target, int width, int height);
