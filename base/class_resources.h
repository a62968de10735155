#pragma once
#include <windows.h>

// The icon and background brush of one window class, held for the whole run.
struct WindowClassResources {
    HICON icon;
    HBRUSH background;
};

// Obtained during static initialisation, before wWinMain runs.
extern const WindowClassResources frameClassResources;
extern const WindowClassResources documentClassResources;
extern const WindowClassResources canvasClassResources;
