#pragma once
#include <windows.h>

// Registers "FrameClassName" and creates the visible frame window with its MDI client.
HWND CreateFrameWindow(HINSTANCE instance);

// The whole run: frame, palette (whose modal loop runs the program), then the frame's own
// message loop. Returns the exit code of the quit request.
int RunFudemaru(HINSTANCE instance);
