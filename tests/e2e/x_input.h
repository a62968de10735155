#pragma once
// Real X input, through xdotool, for the scenarios that prove the program works with a real
// mouse and keyboard and not only with messages. Coordinates are screen pixels, which are the
// X root window's pixels (Wine runs without a virtual desktop here).

#include <windows.h>

#include <string>

bool XMoveTo(int x, int y);
bool XClickAt(int x, int y);
// Presses at `from`, moves to `to` in `steps` moves a few milliseconds apart, releases.
bool XDrag(POINT from, POINT to, int steps = 10);
// Drags a window by a point of its own (its caption or a surface that acts as one): presses,
// waits until the window's thread is in its move loop, moves, waits until the window has
// followed, releases and waits until the loop has ended. Timing alone loses the press when the
// program is slow to answer: the loop then starts where the pointer already is.
bool XDragWindow(HWND window, POINT from, POINT to, int steps = 10);
// Wheel notches at a point: positive turns away from the user (zoom in), negative toward.
bool XWheelAt(int x, int y, int notches);
// Key names as xdotool knows them, e.g. "alt+f", "Escape", "Return".
bool XKey(const char* keys);
// Types text as key presses (ASCII).
bool XType(const std::wstring& text);

POINT CentreOf(HWND window);
// A point of a window's client area, in screen coordinates.
POINT ScreenPointOf(HWND window, int clientX, int clientY);
